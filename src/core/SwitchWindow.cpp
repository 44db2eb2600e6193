#include "SwitchWindow.h"

#include "ResourceStrings.h"
#include "SaveReport.h"
#include "Seams.h"
#include "WindowHelpers.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace kaldor {

namespace {

QString text(const char16_t* s)
{
    return QString::fromUtf16(s);
}

} // namespace

SwitchWindow::SwitchWindow(const QString& formName, const SwitchTexts& texts)
    : m_formName(formName), m_texts(texts),
      m_label(named<QLabel>(text(texts.labelName), text(texts.labelText), this)),
      m_combo(named<QComboBox>(text(texts.comboName), this)),
      m_save(named<QPushButton>(text(texts.saveName), QStringLiteral("Save"), this)),
      m_finish(named<QPushButton>(text(texts.finishName), QStringLiteral("Finish"), this))
{
    setWindowTitle(text(texts.caption));
    m_combo->setToolTip(QStringLiteral("Select Auto Layout (On/Off)"));
    makeSelectionOnly(m_combo);
    m_label->setBuddy(m_combo);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_save);
    buttons->addWidget(m_finish);
    auto* column = new QVBoxLayout(this);
    column->addWidget(m_label);
    column->addWidget(m_combo);
    column->addStretch();
    column->addLayout(buttons);

    connect(m_save, &QPushButton::clicked, this, [this] { Save_Click(); });
    connect(m_finish, &QPushButton::clicked, this, [this] { Finish_Click(); });
}

void SwitchWindow::FormLoad()
{
    setWindowResIcon(this, 111);
    setOuterSizeTwips(this, 4455, 3435);
    CenterForm(this);
    GetConfigDesktop();
}

void SwitchWindow::GetConfigDesktop()
{
    QString sql;
    Trapped(m_formName + QStringLiteral(",GetConfigDesktop"), sql, [&] {
        Hourglass h;
        fillCombo(m_combo, {QStringLiteral("On"), QStringLiteral("Off")});
        ChooseSql(sql, text(m_texts.selectAnywhere), text(m_texts.selectSqlServer));
        const db::ResultSet rows = session().MainDatabase->query(sql);
        QString value = rows.required(0, m_texts.column);
        if (value.isEmpty()) {
            value = text(m_texts.emptyValue);
            messageBox(text(m_texts.emptyMessage));
        }
        setComboText(m_combo, value);
    });
}

void SwitchWindow::Save_Click()
{
    QString sql;
    Trapped(m_formName + QStringLiteral(",CommandOK"), sql, [&] {
        Hourglass h;
        const QString value = m_combo->currentText();
        config().*(m_texts.value) = value;
        sql = m_texts.saveSql(session().DatabaseType, value);
        session().MainDatabase->execute(sql);
    });
    reportSaved(resString(916).arg(text(m_texts.caption), m_combo->currentText()));
}

void SwitchWindow::Finish_Click()
{
    closeChildWindow(this);
}

} // namespace kaldor
