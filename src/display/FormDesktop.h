#pragma once

#include "ChildWindow.h"

#include <QWidget>

class QComboBox;
class QLabel;
class QPushButton;

namespace kaldor {

// Which desktop of VIZ/IDOV's field layouts and which title language the web application
// shows: stored in the system configuration record, then the view of web fields is redefined.
class FormDesktop final : public QWidget, public ChildWindow {
    Q_OBJECT
public:
    FormDesktop();
    void FormLoad() override;

private:
    void GetConfigDesktop();
    void CommandOK_Click();

    QLabel* m_labelDesktop;
    QComboBox* m_comboDesktop;
    QLabel* m_labelTitle;
    QComboBox* m_comboTitle;
    QPushButton* m_commandOK;
    QPushButton* m_commandCancel;
};

} // namespace kaldor
