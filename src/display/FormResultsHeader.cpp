#include "FormResultsHeader.h"

#include "DisplayStatements.h"
#include "ModuleGlobals.h"
#include "ResourceStrings.h"
#include "SaveReport.h"
#include "WindowHelpers.h"
#include "WrappingLabel.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace kaldor {

namespace {
const QString Source = QStringLiteral("FormResultsHeader,");
}

FormResultsHeader::FormResultsHeader()
    : m_label1(named<WrappingLabel>(QStringLiteral("Label1"))),
      m_textHeader(named<QLineEdit>(QStringLiteral("TextHeader"))),
      m_commandSave(named<QPushButton>(QStringLiteral("CommandSave"))),
      m_commandExit(named<QPushButton>(QStringLiteral("CommandExit")))
{
    m_label1->setBuddy(m_textHeader);
    QHBoxLayout* buttons = buttonRow({}, {m_commandSave, m_commandExit});
    auto* column = new QVBoxLayout(this);
    column->addWidget(m_label1);
    column->addWidget(m_textHeader);
    column->addStretch(1);
    column->addLayout(buttons);

    connect(m_textHeader, &QLineEdit::textChanged, this,
            [this] { m_commandSave->setEnabled(true); });
    connect(m_commandSave, &QPushButton::clicked, this, [this] { CommandSave_Click(); });
    connect(m_commandExit, &QPushButton::clicked, this, [this] { closeChildWindow(this); });
}

void FormResultsHeader::FormLoad()
{
    setOuterSizeTwips(this, 9600, 2600);
    CenterForm(this);
    setWindowTitle(resString(421));
    m_label1->setText(resString(422));
    m_textHeader->setToolTip(resString(452));
    m_commandSave->setText(resString(125));
    m_commandSave->setToolTip(resString(433));
    m_commandExit->setText(resString(381));
    m_commandExit->setToolTip(resString(434));
    QString sql;
    Trapped(Source + QStringLiteral("FormLoad"), sql, [&] {
        const Hourglass hourglass;
        ChooseSql(sql, QStringLiteral("select header from mt.qrb_zv_result_header;commit"),
                  QStringLiteral("select header from mt.qrb_zv_result_header;"));
        const db::ResultSet rows = session().MainDatabase->query(sql);
        m_textHeader->setText(rows.isEmpty() ? QString() : rows.text(0, u"header"));
    });
    m_commandSave->setEnabled(false);
}

void FormResultsHeader::CommandSave_Click()
{
    const QString header = m_textHeader->text();
    if (header.isEmpty()) {
        m_commandSave->setEnabled(false);
        return;
    }
    QString sql;
    Trapped(Source + QStringLiteral("CommandSave"), sql, [&] {
        const Hourglass hourglass;
        executeAll(sql, HeaderSaveSql(session().DatabaseType, header));
        m_commandSave->setEnabled(false);
    });
    reportSaved(resString(924));
}

} // namespace kaldor
