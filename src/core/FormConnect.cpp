#include "FormConnect.h"

#include "IconCachingStyle.h"
#include "MDIFormMain.h"
#include "ModuleGlobals.h"
#include "Odbc.h"
#include "ResourceStrings.h"
#include "SaveReport.h"
#include "Seams.h"
#include "WindowHelpers.h"

#include <QApplication>
#include <QGridLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTimer>

namespace kaldor {

namespace {

constexpr int DataSourceSlots = 64;

QLineEdit* lineEdit(const char16_t* name, QWidget* parent)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromUtf16(name));
    return edit;
}

// The failure without the password typed, should a driver's message repeat it.
db::DbError withoutPassword(db::DbError error, const QString& password)
{
    if (password.isEmpty())
        return error;
    const auto hide = [&password](QString& text) {
        text.replace(password, QStringLiteral("***"), Qt::CaseInsensitive);
    };
    hide(error.description);
    for (db::DiagRecord& r : error.records) {
        hide(r.source);
        hide(r.message);
    }
    return error;
}

// What the status bar says of a failed login: the driver's records, else the failure itself.
QString failureText(const db::DbError& error)
{
    QStringList records;
    for (const db::DiagRecord& r : error.records)
        records.append(r.sqlState + QLatin1Char(' ') + QString::number(r.native) +
                       QLatin1Char(' ') + OneLine(r.message));
    return resString(925).arg(records.isEmpty() ? error.description
                                                : records.join(QStringLiteral("; ")));
}

} // namespace

FormConnect::FormConnect()
    : m_label1(new QLabel(QStringLiteral("(Please Login 108)"), this)),
      m_textLogin(lineEdit(u"TextLogin", this)),
      m_label3(new QLabel(QStringLiteral("(Password 105)"), this)),
      m_textPassword(lineEdit(u"TextPassword", this)),
      m_commandConnect(new QPushButton(QStringLiteral("(Connect 118)"), this))
{
    m_label1->setObjectName(QStringLiteral("Label1"));
    m_label3->setObjectName(QStringLiteral("Label3"));
    m_commandConnect->setObjectName(QStringLiteral("CommandConnect"));
    setMasked(m_textPassword, true);
    m_label1->setBuddy(m_textLogin);
    m_label3->setBuddy(m_textPassword);
    m_commandConnect->setDefault(true);

    auto* grid = new QGridLayout(this);
    grid->addWidget(m_label1, 0, 0);
    grid->addWidget(m_textLogin, 0, 1);
    grid->addWidget(m_label3, 1, 0);
    grid->addWidget(m_textPassword, 1, 1);
    grid->addWidget(m_commandConnect, 0, 2, 2, 1);
    grid->setRowStretch(2, 1); // the rows stay together in a larger window

    connect(m_commandConnect, &QPushButton::clicked, this, [this] { CommandConnect_Click(); });
    connect(m_textLogin, &QLineEdit::returnPressed, this, [this] { CommandConnect_Click(); });
    connect(m_textPassword, &QLineEdit::returnPressed, this, [this] { CommandConnect_Click(); });
}

void FormConnect::FormLoad()
{
    setOuterSizeTwips(this, 6615, 1230);
    CenterForm(this);
    setWindowIcon(QIcon(QStringLiteral(":/icons/102.png")));
    setWindowTitle(resString(103));
    if (auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget()))
        frame->setWindowIcon(windowIcon());
    m_label1->setText(resString(108));
    m_label3->setText(resString(105) + QLatin1Char(':'));
    m_commandConnect->setText(resString(118));
    m_commandConnect->setToolTip(resString(425));
    m_textLogin->clear();
    m_textLogin->setFocus();
}

void FormConnect::CommandConnect_Click()
{
    if (m_textPassword->text().isEmpty()) {
        messageBox(resString(109), MsgButtons::Ok, MsgIcon::Critical, resString(101));
        m_commandConnect->setFocus();
        return;
    }
    m_textPassword->setText(Trim(m_textPassword->text()));
    QString dataSource = commandLine();
    if (dataSource.isEmpty())
        dataSource = config().DataSource;
    if (dataSource.isEmpty())
        dataSource = QStringLiteral("Calibration Data");
    if (!login(dataSource))
        return;

    QApplication::restoreOverrideCursor();
    if (auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget()))
        frame->close();
    else
        close();
    QApplication::processEvents();
    setAfterLoginTitle(dataSource);
    GetConfig();
    // The first icons a window shows (a calendar's arrows) and the desktop icon theme's index
    // that finding them reads are made here, in the idle time after the main window is shown.
    QTimer::singleShot(0, qApp, [] { prepareStandardIcons(); });
}

// Steps 4 to 9 of the login; false when the attempt failed (and was reported).
bool FormConnect::login(const QString& dataSource)
{
    bool overflow = false;
    const db::DataSourceListing listing =
        db::listDataSources({32, 255, DataSourceSlots}, &overflow);

    if (overflow) {
        loginFailed(
            db::DbError{db::OdbcConnectFailed,
                        QStringLiteral("More than %1 ODBC data sources").arg(DataSourceSlots),
                        {}});
        return false;
    }
    session().DatabaseType = DatabaseKind::Undetermined;
    for (const db::DataSourceEntry& entry : listing.entries) {
        if (entry.name != dataSource)
            continue;
        session().DatabaseType = dialectOfDriver(entry.description);
        if (session().DatabaseType == DatabaseKind::Undetermined) {
            messageBox(QStringLiteral("There is an incorect ODBC configuration, please check "
                                      "this. Program will end."));
            endProgram(1);
        }
        break;
    }

    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_commandConnect->setEnabled(false);
    try {
        const QString user = m_textLogin->text();
        session().MainDatabase =
            db::OdbcConnection::open(dataSource, user, m_textPassword->text(),
                                     db::ConnectOptions::forProgram(QStringLiteral("main")));
        session().DirectDatabase =
            db::OdbcConnection::open(dataSource, user, m_textPassword->text(),
                                     db::ConnectOptions::forProgram(QStringLiteral("direct")));
    } catch (const db::DbException& e) {
        loginFailed(e.error());
        return false;
    }
    m_textPassword->clear();
    showStatus(QString()); // an earlier attempt's failure is no news any more
    session().LoggedIn = true;
    Startup();
    return true;
}

void FormConnect::loginFailed(const db::DbError& error)
{
    while (QApplication::overrideCursor())
        QApplication::restoreOverrideCursor();
    const db::DbError shown = withoutPassword(error, m_textPassword->text());
    LogFailure(shown, QStringLiteral("FormConnect,CommandConnect"), QString());
    showStatus(failureText(shown));
    messageBox(resString(110), MsgButtons::Ok, MsgIcon::Critical, resString(101));
    m_textPassword->clear();
    m_textPassword->setFocus();
    m_commandConnect->setEnabled(true);
}

} // namespace kaldor
