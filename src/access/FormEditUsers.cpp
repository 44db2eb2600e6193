#include "FormEditUsers.h"

#include "AccessibleNames.h"
#include "ModuleGlobals.h"
#include "ResourceStrings.h"
#include "SaveReport.h"
#include "Seams.h"
#include "TextList.h"
#include "UserStatements.h"
#include "WindowHelpers.h"
#include "WrappingLabel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include <utility>

namespace kaldor {

namespace {

const QString Source = QStringLiteral("FormEditUsers,");

// The columns of mt.userlist whose names differ between the engines.
QString segregateColumn()
{
    return session().DatabaseType == DatabaseKind::SqlServer ? QStringLiteral("Segregate")
                                                             : QStringLiteral("i4240");
}

QString realNameColumn()
{
    return session().DatabaseType == DatabaseKind::SqlServer ? QStringLiteral("mtname")
                                                             : QStringLiteral("name");
}

// Runs a query in the session's dialect and gives the texts of one column.
QStringList loadColumn(const QString& procedure, const QString& anywhere, const QString& sqlServer,
                       QStringView column)
{
    QStringList texts;
    QString sql;
    Trapped(Source + procedure, sql, [&] {
        const Hourglass h;
        ChooseSql(sql, anywhere, sqlServer);
        texts = columnTexts(session().MainDatabase->query(sql), column);
    });
    return texts;
}

} // namespace

FormEditUsers::FormEditUsers()
    : m_label1(named<WrappingLabel>(QStringLiteral("Label1"), QStringLiteral("(Step 1 171)"))),
      m_frame1(named<QGroupBox>(QStringLiteral("Frame1"), QStringLiteral("(Usernames 173)"))),
      m_listUsers(named<TextList>(QStringLiteral("ListUsers"))),
      m_label2(named<QLabel>(QStringLiteral("Label2"), QStringLiteral("(Step 2 172)"))),
      m_frame2(named<QGroupBox>(QStringLiteral("Frame2"), QStringLiteral("(Properties 174)"))),
      m_ssPanel2(named<QGroupBox>(QStringLiteral("SSPanel2"), QStringLiteral("(Groups 178)"))),
      m_label7(named<QLabel>(QStringLiteral("Label7"), QStringLiteral("(Group 186)"))),
      m_comboGroup(named<QComboBox>(QStringLiteral("ComboGroup"))),
      m_checkUsePV(named<QCheckBox>(QStringLiteral("CheckUsePV"), QStringLiteral("(Use 181)"))),
      m_label8(named<QLabel>(QStringLiteral("Label8"), QStringLiteral("(Real Name 183)"))),
      m_textRealName(named<QLineEdit>(QStringLiteral("TextRealName"))),
      m_ssPanel1(named<QGroupBox>(QStringLiteral("SSPanel1"), QStringLiteral("(Security 177)"))),
      m_label5(named<QLabel>(QStringLiteral("Label5"), QStringLiteral("(Level 180)"))),
      m_comboLevel(named<QComboBox>(QStringLiteral("ComboLevel"))),
      m_label6(named<QLabel>(QStringLiteral("Label6"), QStringLiteral("(Segregate 182)"))),
      m_comboSegregate(named<QComboBox>(QStringLiteral("ComboSegregate"))),
      m_label9(named<QLabel>(QStringLiteral("Label9"), QStringLiteral("(Labor Rate 184)"))),
      m_textLaborRate(named<QLineEdit>(QStringLiteral("TextLaborRate"))),
      m_commandSave(
          named<QPushButton>(QStringLiteral("CommandSave"), QStringLiteral("(Save 125)"))),
      m_commandExit(
          named<QPushButton>(QStringLiteral("CommandExit"), QStringLiteral("(Finished 381)")))
{
    for (QComboBox* combo : {m_comboGroup, m_comboLevel, m_comboSegregate})
        makeSelectionOnly(combo);
    keepEntriesWhole(m_listUsers);
    // The VIZ/IDOV properties are shown for reference only.
    m_ssPanel1->setEnabled(false);
    layOut();
    connectEditEvents();
    connectListClick(m_listUsers, this, [this] { GetConfig(); });
    connect(m_listUsers, &TextList::doubleClicked, this, [this] { GetConfig(); });
    connect(m_commandSave, &QPushButton::clicked, this, [this] { CommandSave_Click(); });
    connect(m_commandExit, &QPushButton::clicked, this, [this] { closeChildWindow(this); });
}

void FormEditUsers::layOut()
{
    (new QVBoxLayout(m_frame1))->addWidget(m_listUsers);

    for (const auto& [label, control] : {std::pair<QLabel*, QWidget*>{m_label7, m_comboGroup},
                                         {m_label8, m_textRealName},
                                         {m_label5, m_comboLevel},
                                         {m_label6, m_comboSegregate},
                                         {m_label9, m_textLaborRate}})
        label->setBuddy(control);
    nameAfterToolTip(m_listUsers);

    auto* groups = new QFormLayout(m_ssPanel2);
    groups->addRow(m_label7, m_comboGroup);
    groups->addRow(m_checkUsePV);
    groups->addRow(m_label8, m_textRealName);

    auto* security = new QFormLayout(m_ssPanel1);
    security->addRow(m_label5, m_comboLevel);
    security->addRow(m_label6, m_comboSegregate);
    security->addRow(m_label9, m_textLaborRate);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_commandSave);
    buttons->addWidget(m_commandExit);

    auto* properties = new QVBoxLayout(m_frame2);
    properties->addWidget(m_ssPanel2);
    properties->addWidget(m_ssPanel1);
    properties->addLayout(buttons);

    auto* window = new QVBoxLayout(this);
    window->addWidget(m_label1);
    window->addWidget(m_frame1, 1);
    window->addWidget(m_label2);
    window->addWidget(m_frame2);
}

void FormEditUsers::connectEditEvents()
{
    const auto edited = [this] { markEdited(); };
    connect(m_checkUsePV, &QCheckBox::toggled, this, edited);
    for (QComboBox* combo : {m_comboGroup, m_comboLevel, m_comboSegregate}) {
        connect(combo, &QComboBox::currentTextChanged, this, edited);
        connect(combo, &QComboBox::activated, this, edited);
    }
    for (QLineEdit* text : {m_textLaborRate, m_textRealName})
        connect(text, &QLineEdit::textChanged, this, edited);
}

void FormEditUsers::FormLoad()
{
    setOuterSizeTwips(this, 6375, 7170);
    CenterForm(this);
    setWindowResIcon(this, 106);
    setWindowTitle(resString(170));
    setCaptions();
    LoadGroupList();
    LoadUserList();
    LoadSegregates();
    LoadLevels();
    SelectFirst();
    setUnedited();
}

void FormEditUsers::setCaptions()
{
    m_label1->setText(resString(171));
    m_frame1->setTitle(resString(173));
    m_listUsers->setToolTip(resString(462));
    m_label2->setText(resString(172));
    m_frame2->setTitle(resString(174));
    m_ssPanel2->setTitle(resString(178));
    m_label7->setText(resString(186));
    m_comboGroup->setToolTip(resString(470));
    m_checkUsePV->setText(resString(181));
    m_checkUsePV->setToolTip(resString(468));
    m_label8->setText(resString(183));
    m_textRealName->setToolTip(resString(471));
    m_ssPanel1->setTitle(resString(177));
    m_label5->setText(resString(180));
    m_comboLevel->setToolTip(resString(467));
    m_label6->setText(resString(182));
    m_comboSegregate->setToolTip(resString(469));
    m_label9->setText(resString(184));
    m_textLaborRate->setToolTip(resString(472));
    m_commandSave->setText(resString(125));
    m_commandSave->setToolTip(resString(433));
    m_commandExit->setText(resString(381));
    m_commandExit->setToolTip(resString(434));
}

void FormEditUsers::LoadGroupList()
{
    fillCombo(m_comboGroup,
              loadColumn(QStringLiteral("LoadGroupList"),
                         QStringLiteral("select group_id from mt.qrb_zv_groupconfig;commit"),
                         QStringLiteral("select group_id from mt.qrb_zv_groupconfig;"),
                         u"group_id"));
}

void FormEditUsers::LoadUserList()
{
    m_listUsers->setTexts(loadColumn(
        QStringLiteral("LoadUserList"),
        QStringLiteral("select mtuser from mt.userlist where mtuser <> 'kaldor';commit"),
        QStringLiteral("select mtuser from mt.userlist where mtuser <> 'kaldor';"), u"mtuser"));
}

void FormEditUsers::LoadSegregates()
{
    fillCombo(m_comboSegregate,
              loadColumn(QStringLiteral("LoadSegregates"),
                         QStringLiteral("select i4240 from mt.segregate;commit"),
                         QStringLiteral("select i4240 from mt.segregate;"), u"i4240"));
}

void FormEditUsers::LoadLevels()
{
    fillCombo(m_comboLevel, {QStringLiteral("5"), QStringLiteral("4"), QStringLiteral("3"),
                             QStringLiteral("2"), QStringLiteral("1"), QStringLiteral("0")});
}

void FormEditUsers::SelectFirst()
{
    if (m_listUsers->count() == 0 || m_listUsers->text(0).isEmpty())
        return;
    {
        const QSignalBlocker blocker(m_listUsers);
        m_listUsers->setCurrentRow(0);
    }
    GetConfig();
}

void FormEditUsers::GetConfig()
{
    const QString user = selectedText(m_listUsers);
    if (user.isNull())
        return;
    QString sql;
    Trapped(Source + QStringLiteral("GetConfig"), sql, [&] {
        const Hourglass h;
        const QString u = FixQuotes(user);
        ChooseSql(sql,
                  QStringLiteral("select * from mt.userlist where mtuser = '") + u +
                      QStringLiteral("';commit"),
                  QStringLiteral("select * from mt.userlist where mtuser = '") + u +
                      QStringLiteral("'"));
        const db::ResultSet viz = session().MainDatabase->query(sql);
        setComboText(m_comboLevel, viz.text(0, u"mtlevel", QStringLiteral("0")));
        setComboText(m_comboSegregate, viz.text(0, segregateColumn(), QStringLiteral("MT")));
        m_textRealName->setText(viz.text(0, realNameColumn()));

        ChooseSql(sql,
                  QStringLiteral("select * from mt.qrb_zv_userlist where mtuser = '") + u +
                      QStringLiteral("';commit"),
                  QStringLiteral("select * from mt.qrb_zv_userlist where mtuser = '") + u +
                      QStringLiteral("'"));
        const db::ResultSet kaldor = session().MainDatabase->query(sql);
        if (kaldor.isEmpty()) {
            m_comboGroup->clear();
            LoadGroupList();
            m_checkUsePV->setChecked(true);
        } else {
            // A NULL group reads as no group; a group outside the list shows as its text.
            setComboText(m_comboGroup, kaldor.text(0, u"group_id"));
            m_checkUsePV->setChecked(kaldor.value(0, u"zv_inhibit_use") != QStringLiteral("Y"));
        }
        setUnedited();
    });
}

bool FormEditUsers::passesChecks()
{
    struct Check {
        bool failed;
        int message;
    };
    const Check checks[] = {
        {m_textRealName->text().isEmpty(), 195},
        {m_comboSegregate->currentText().isEmpty(), 196},
        {m_comboLevel->currentText().isEmpty(), 197},
        {m_comboGroup->currentText().isEmpty(), 198},
        {!m_textLaborRate->text().isEmpty() && session().VizVersion >= 6 &&
             !IsNumeric(m_textLaborRate->text()),
         414},
    };
    for (const Check& check : checks) {
        if (check.failed) {
            refuseSave(resString(913).arg(selectedText(m_listUsers)),
                       {resString(check.message), resString(170), MsgIcon::Exclamation});
            return false;
        }
    }
    if (m_textLaborRate->text().isEmpty())
        m_textLaborRate->setText(QStringLiteral("0.00"));
    return true;
}

void FormEditUsers::CommandSave_Click()
{
    const QString user = selectedText(m_listUsers);
    // With an empty list there is no user to save: the edits are dropped, so that the window
    // is never left with the list disabled and nothing to save.
    if (user.isNull()) {
        setUnedited();
        return;
    }
    if (!passesChecks())
        return;
    QString sql;
    Trapped(Source + QStringLiteral("CommandSave"), sql, [&] {
        const Hourglass h;
        const DatabaseKind dialect = session().DatabaseType;
        sql = UserPurgeSql(dialect);
        session().MainDatabase->execute(sql);
        sql = UserExistsSql(dialect, user);
        const bool exists = !session().MainDatabase->query(sql).isEmpty();
        sql = UserRowSql(dialect, exists,
                         {user, m_comboGroup->currentText(), m_checkUsePV->isChecked()});
        session().MainDatabase->execute(sql);
    });
    setUnedited();
    reportSaved(resString(913).arg(user));
}

void FormEditUsers::markEdited()
{
    lockList(m_listUsers, true);
    m_commandSave->setEnabled(true);
}

void FormEditUsers::setUnedited()
{
    lockList(m_listUsers, false);
    m_commandSave->setEnabled(false);
}

} // namespace kaldor
