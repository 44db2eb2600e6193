#pragma once

#include "ChildWindow.h"

#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;

namespace kaldor::db {
struct DbError;
}

namespace kaldor {

// The login window: user name and password, the data source's dialect, the two connections.
class FormConnect final : public QWidget, public ChildWindow {
    Q_OBJECT
public:
    FormConnect();
    void FormLoad() override;

private:
    void CommandConnect_Click();
    bool login(const QString& dataSource);
    // Logs the failure with the driver's records and shows it; the login can be tried again.
    void loginFailed(const db::DbError& error);

    QLabel* m_label1;
    QLineEdit* m_textLogin;
    QLabel* m_label3;
    QLineEdit* m_textPassword;
    QPushButton* m_commandConnect;
};

} // namespace kaldor
