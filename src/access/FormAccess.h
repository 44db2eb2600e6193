#pragma once

#include "ChildWindow.h"

#include <QWidget>

class QCalendarWidget;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QTabWidget;

namespace kaldor {

struct SessionSave;

namespace db {
class ResultSet;
}

// Session privileges of one group or one VIZ/IDOV user: access dates, daily access times,
// the most concurrent sessions and whether a session ends with the browser.
class FormAccess final : public QWidget, public ChildWindow {
    Q_OBJECT
public:
    FormAccess();
    void FormLoad() override;

private:
    // A check box that switches a month calendar on, with the label behind the calendar.
    struct DateBox {
        QGroupBox* panel;
        QCheckBox* check;
        QCalendarWidget* calendar;
        QLabel* label;
    };
    // The hour and minute boxes of one time of day.
    struct TimeBoxes {
        QGroupBox* panel;
        QComboBox* hour;
        QComboBox* minute;
    };

    QWidget* generalTab();
    QWidget* datesTab();
    QWidget* timesTab();
    void layOut();
    void connectEvents();
    void setCaptions();

    void LoadCombos();
    void LoadList();
    void LoadGroupList();
    void LoadUserList();
    void SelectFirst();
    void GetConfig();
    void showRow(const db::ResultSet& row);
    void showNoRow();
    void Option_Click();
    void ListItems_Click();
    void CommandSave_Click();
    bool passesChecks();
    bool timeReadable(const TimeBoxes& time, int message);
    SessionSave readSave() const;
    QString keyColumn() const;

    void markEditing();
    void setBrowsing();

    QLabel* m_label1;
    QGroupBox* m_frame1;
    QRadioButton* m_optionGroups;
    QRadioButton* m_optionUserNames;
    QLabel* m_label2;
    QGroupBox* m_frame2;
    QListWidget* m_listItems;
    QLabel* m_label3;
    QGroupBox* m_frame3;
    QTabWidget* m_ssTabAccess;
    QGroupBox* m_ssPanel1;
    QLabel* m_label4;
    QLineEdit* m_textMaxSessions;
    QCheckBox* m_checkCloses;
    DateBox m_start;
    DateBox m_stop;
    TimeBoxes m_startTime;
    TimeBoxes m_endTime;
    QPushButton* m_commandSave;
    QPushButton* m_commandExit;
};

} // namespace kaldor
