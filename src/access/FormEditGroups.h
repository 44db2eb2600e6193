#pragma once

#include "ChildWindow.h"

#include "ResultSet.h"

#include <QList>
#include <QPointer>
#include <QWidget>

#include <array>
#include <optional>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QRadioButton;
class QTabWidget;

namespace kaldor {

struct GroupSave;

// The group editor: the groups of web users, their privileges, the forms they see, the age
// of the data they may see and the reports they may run. Adding and removing a group act on
// the database at once; every other edit is written by Save.
class FormEditGroups final : public QWidget, public ChildWindow {
    Q_OBJECT
public:
    FormEditGroups();
    void FormLoad() override;

private:
    // The controls of one record panel of the Data tab (Calibration, Location, Maintenance).
    struct AgePanel {
        QGroupBox* panel = nullptr;
        QCheckBox* display = nullptr;
        QCheckBox* latest = nullptr;
        QLabel* label = nullptr;
        QLineEdit* interval = nullptr;
        QComboBox* unit = nullptr;
    };
    enum Panel { Cal, Loc, Rep };
    // One column of the group row with the control that shows it.
    struct Field;

    QWidget* buildGeneralTab();
    QWidget* buildDataTab();
    QWidget* buildReportsTab();
    AgePanel buildAgePanel(const QString& prefix, const QString& panelName);
    void setCaptions();
    void connectEditEvents();

    void LoadGroupList();
    void LoadIntervals();
    void SelectFirst();
    void GetConfig();
    void CommandAddGroup_Click();
    void CommandRemoveGroup_Click();
    void CommandSave_Click();
    void moveReport(QListWidget* from, QListWidget* to);

    QList<Field> fields() const;
    void readField(const Field& field, const db::Value& value);
    QString valueOf(const Field& field) const;
    GroupSave readSave(const QString& group) const;
    void setEdited(bool edited);
    void enableProperties();
    std::optional<QString> promptNewGroup(const QPointer<FormEditGroups>& self);
    bool addNewGroup(const QString& name, QString& sql);
    void selectGroupNamed(const QString& name);

    QGroupBox* m_frame1;
    QListWidget* m_listGroups;
    QPushButton* m_commandAddGroup;
    QPushButton* m_commandRemoveGroup;
    QLabel* m_label1;
    QGroupBox* m_frame2;
    QLabel* m_label2;
    QPushButton* m_commandSave;
    QPushButton* m_commandExit;
    QTabWidget* m_tabs;

    QGroupBox* m_panelPrivileges = nullptr;
    QRadioButton* m_optionDisallowUse = nullptr;
    QRadioButton* m_optionAllowUse = nullptr;
    QGroupBox* m_panelFeatures = nullptr;
    QCheckBox* m_checkMerge = nullptr;

    QGroupBox* m_panelInventory = nullptr;
    QCheckBox* m_checkInvDisplay = nullptr;
    QCheckBox* m_checkAllowCustomer = nullptr;
    std::array<AgePanel, 3> m_age;

    QLabel* m_label3 = nullptr;
    QListWidget* m_listReportsAvailable = nullptr;
    QLabel* m_label5 = nullptr;
    QLabel* m_label4 = nullptr;
    QListWidget* m_listExecutableReports = nullptr;
    QLabel* m_label6 = nullptr;

    bool m_adding = false;
};

} // namespace kaldor
