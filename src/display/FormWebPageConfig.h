#pragma once

#include "ChildWindow.h"

#include <QString>
#include <QWidget>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace kaldor {

// The style sheet, background colour and wallpaper of each page of the web application, one
// page at a time; every page can be reset to its defaults by the database's procedure.
class FormWebPageConfig final : public QWidget, public ChildWindow {
    Q_OBJECT
public:
    FormWebPageConfig();
    void FormLoad() override;

    // The fixed tables of pages and colours.
    static QString FormName(int index);
    static QString ColorName(int index);
    static int ColorNumber(const QString& text);

private:
    void LoadColors();
    void LoadWebForms();
    void GetConfig();
    void CommandSave_Click();
    void CommandReset_Click();
    void edited();

    QGroupBox* m_frame1;
    QGroupBox* m_frame2;
    QLabel* m_label1;
    QLabel* m_label2;
    QListWidget* m_listPage;
    QLabel* m_label3;
    QLineEdit* m_textStyleSheet;
    QLabel* m_label4;
    QComboBox* m_comboColor;
    QLabel* m_label5;
    QLineEdit* m_textWallpaper;
    QPushButton* m_commandSave;
    QPushButton* m_commandReset;
    QPushButton* m_commandExit;
};

} // namespace kaldor
