#pragma once

#include "ChildWindow.h"

#include <QWidget>

class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;

namespace kaldor {

// Whether web users must log in: the RequireLogin value of the system configuration record,
// saved with the whole record.
class FormSecurityFeatures final : public QWidget, public ChildWindow {
    Q_OBJECT
public:
    FormSecurityFeatures();
    void FormLoad() override;

private:
    void CheckLogin_Click();
    void CommandSave_Click();
    void CommandExit_Click();

    QGroupBox* m_frame1;
    QCheckBox* m_checkLogin;
    QLabel* m_label1;
    QPushButton* m_commandSave;
    QPushButton* m_commandExit;
};

} // namespace kaldor
