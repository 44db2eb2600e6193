#include "FormDesktop.h"

#include "FieldView.h"
#include "ModuleGlobals.h"
#include "ResourceStrings.h"
#include "SaveReport.h"
#include "WindowHelpers.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace kaldor {

namespace {

const QString Source = QStringLiteral("FormDesktop,");

const QStringList& titleEntries()
{
    static const QStringList entries{
        QStringLiteral("title  - English"), QStringLiteral("title2 - German"),
        QStringLiteral("title3 - Spanish"), QStringLiteral("title4 - French"),
        QStringLiteral("title5 - Italiano")};
    return entries;
}

// The column an entry names: its first six characters without the blanks at their ends.
QString columnOf(const QString& entry)
{
    return Trim(entry.left(6));
}

} // namespace

FormDesktop::FormDesktop()
    : m_labelDesktop(named<QLabel>(QStringLiteral("LabelDesktop"))),
      m_comboDesktop(named<QComboBox>(QStringLiteral("ComboDesktop"))),
      m_labelTitle(named<QLabel>(QStringLiteral("LabelTitle"))),
      m_comboTitle(named<QComboBox>(QStringLiteral("ComboTitle"))),
      m_commandOK(named<QPushButton>(QStringLiteral("CommandOK"))),
      m_commandCancel(named<QPushButton>(QStringLiteral("CommandCancel")))
{
    makeTypedCombo(m_comboDesktop);
    makeTypedCombo(m_comboTitle);
    m_labelDesktop->setBuddy(m_comboDesktop);
    m_labelTitle->setBuddy(m_comboTitle);
    auto* grid = new QGridLayout;
    grid->addWidget(m_labelDesktop, 0, 0);
    grid->addWidget(m_comboDesktop, 0, 1);
    grid->addWidget(m_labelTitle, 1, 0);
    grid->addWidget(m_comboTitle, 1, 1);
    grid->setColumnStretch(1, 1);
    QHBoxLayout* buttons = buttonRow({}, {m_commandOK, m_commandCancel});
    auto* column = new QVBoxLayout(this);
    column->addLayout(grid);
    column->addStretch(1);
    column->addLayout(buttons);

    // Only a choice from a list is an edit; typed text is not.
    for (QComboBox* combo : {m_comboDesktop, m_comboTitle})
        connectListChoice(combo, this, [this] { m_commandOK->setEnabled(true); });
    connect(m_commandOK, &QPushButton::clicked, this, [this] { CommandOK_Click(); });
    connect(m_commandCancel, &QPushButton::clicked, this, [this] { closeChildWindow(this); });
}

void FormDesktop::FormLoad()
{
    setOuterSizeTwips(this, 5400, 2400);
    CenterForm(this);
    setWindowTitle(resString(525));
    m_labelDesktop->setText(resString(526));
    m_labelTitle->setText(resString(527));
    m_commandOK->setText(resString(125));
    m_commandOK->setToolTip(resString(433));
    m_commandCancel->setText(resString(381));
    m_commandCancel->setToolTip(resString(434));
    GetConfigDesktop();
    m_commandOK->setEnabled(false);
}

void FormDesktop::GetConfigDesktop()
{
    QString sql;
    Trapped(Source + QStringLiteral("GetConfigDesktop"), sql, [&] {
        const Hourglass hourglass;
        ChooseSql(sql, QStringLiteral("select desktop from mt.desktop;commit"),
                  QStringLiteral("select desktop from mt.desktop;"));
        fillCombo(m_comboDesktop,
                  columnTexts(session().MainDatabase->query(sql), QStringLiteral("desktop")));
        fillCombo(m_comboTitle, titleEntries());
        showStoredText(m_comboDesktop, config().Desktop);
        int title = -1;
        for (int i = 0; i < titleEntries().size(); ++i)
            if (columnOf(titleEntries().at(i)) == config().Title)
                title = i;
        m_comboTitle->setCurrentIndex(title);
        if (title < 0)
            m_comboTitle->setEditText(QString());
    });
}

void FormDesktop::CommandOK_Click()
{
    QString sql;
    Trapped(Source + QStringLiteral("CommandOK"), sql, [&] {
        const Hourglass hourglass;
        config().Desktop = m_comboDesktop->currentText();
        config().Title = columnOf(m_comboTitle->currentText());
        SaveConfig();
        sql = FieldViewStatement(session().DatabaseType, config().Desktop, config().Title);
        session().MainDatabase->execute(sql);
        m_commandOK->setEnabled(false);
    });
    reportSaved(resString(923).arg(config().Desktop, m_comboTitle->currentText()));
}

} // namespace kaldor
