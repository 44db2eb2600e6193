#pragma once

#include "ChildWindow.h"

#include <QWidget>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace kaldor {

class TextList;

// The user editor: the KALDOR group and use flag of each VIZ/IDOV user, with the user's
// VIZ/IDOV properties shown for reference.
class FormEditUsers final : public QWidget, public ChildWindow {
    Q_OBJECT
public:
    FormEditUsers();
    void FormLoad() override;

private:
    void layOut();
    void connectEditEvents();
    void setCaptions();
    void LoadGroupList();
    void LoadUserList();
    void LoadSegregates();
    void LoadLevels();
    void SelectFirst();
    void GetConfig();
    void CommandSave_Click();
    bool passesChecks();
    void markEdited();
    void setUnedited();

    QLabel* m_label1;
    QGroupBox* m_frame1;
    TextList* m_listUsers;
    QLabel* m_label2;
    QGroupBox* m_frame2;
    QGroupBox* m_ssPanel2;
    QLabel* m_label7;
    QComboBox* m_comboGroup;
    QCheckBox* m_checkUsePV;
    QLabel* m_label8;
    QLineEdit* m_textRealName;
    QGroupBox* m_ssPanel1;
    QLabel* m_label5;
    QComboBox* m_comboLevel;
    QLabel* m_label6;
    QComboBox* m_comboSegregate;
    QLabel* m_label9;
    QLineEdit* m_textLaborRate;
    QPushButton* m_commandSave;
    QPushButton* m_commandExit;
};

} // namespace kaldor
