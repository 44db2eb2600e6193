#include "FormEditGroups.h"

#include "AccessibleNames.h"
#include "CustomDialog.h"
#include "GroupStatements.h"
#include "ListBox.h"
#include "ModuleGlobals.h"
#include "OptionButton.h"
#include "ResourceStrings.h"
#include "SaveReport.h"
#include "Seams.h"
#include "TabControl.h"
#include "WindowHelpers.h"
#include "WrappingLabel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QStringList>
#include <QTabWidget>
#include <QVBoxLayout>

namespace kaldor {

namespace {

const QString Source = QStringLiteral("FormEditGroups,");
constexpr int Caption = 115;

// Controls are created with a placeholder caption, their objectName in parentheses.
QString placeholder(const QString& name)
{
    return QLatin1Char('(') + name + QLatin1Char(')');
}

QGroupBox* frame(const QString& name, QWidget* parent)
{
    return named<QGroupBox>(name, placeholder(name), parent);
}

QCheckBox* checkBox(const QString& name, QWidget* parent)
{
    return named<QCheckBox>(name, placeholder(name), parent);
}

QPushButton* button(const QString& name, QWidget* parent)
{
    return named<QPushButton>(name, placeholder(name), parent);
}

QLabel* label(const QString& name, QWidget* parent)
{
    return named<WrappingLabel>(name, placeholder(name), parent);
}

QListWidget* listBox(const QString& name, QWidget* parent)
{
    auto* list = named<ListBox>(name, parent);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setUniformItemSizes(true);
    keepEntriesWhole(list);
    return list;
}

// The entry of a list that is selected, or null: the current entry when it is selected.
QListWidgetItem* selectedItem(const QListWidget* list)
{
    QListWidgetItem* item = list->currentItem();
    return item && item->isSelected() ? item : nullptr;
}

// Shows a stored unit as it is stored: the entry that equals it exactly, or the text alone.
void showUnit(QComboBox* combo, const QString& text)
{
    combo->setCurrentIndex(combo->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive));
    if (combo->currentText() != text)
        combo->setEditText(text);
}

// Replaces a list's entries with a column of the rows, in one pass.
void fillList(QListWidget* list, const db::ResultSet& rows, const QString& column)
{
    kaldor::fillList(list, columnTexts(rows, column));
}

// How a group column is read into its control and written back.
enum class FieldKind { Inhibit, Flag, FlagNullOn, Text, Unit };

} // namespace

struct FormEditGroups::Field {
    QString column;
    FieldKind kind;
    QWidget* control;
};

FormEditGroups::FormEditGroups()
    : m_frame1(frame(QStringLiteral("Frame1"), this)),
      m_listGroups(listBox(QStringLiteral("ListGroups"), m_frame1)),
      m_commandAddGroup(button(QStringLiteral("CommandAddGroup"), m_frame1)),
      m_commandRemoveGroup(button(QStringLiteral("CommandRemoveGroup"), m_frame1)),
      m_label1(label(QStringLiteral("Label1"), this)),
      m_frame2(frame(QStringLiteral("Frame2"), this)),
      m_label2(label(QStringLiteral("Label2"), this)),
      m_commandSave(button(QStringLiteral("CommandSave"), m_frame2)),
      m_commandExit(button(QStringLiteral("CommandExit"), m_frame2)),
      m_tabs(named<TabControl>(QStringLiteral("SSTabGroupConfig"), m_frame2))
{
    nameAfterToolTip(m_listGroups);
    auto* groups = new QVBoxLayout(m_frame1);
    groups->addWidget(m_listGroups, 1);
    groups->addWidget(m_commandAddGroup);
    groups->addWidget(m_commandRemoveGroup);

    m_tabs->addTab(buildGeneralTab(), QStringLiteral("(General)"));
    m_tabs->addTab(buildDataTab(), QStringLiteral("(Data)"));
    m_tabs->addTab(buildReportsTab(), QStringLiteral("(Reports)"));

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_commandSave);
    buttons->addWidget(m_commandExit);
    auto* properties = new QVBoxLayout(m_frame2);
    properties->addWidget(m_tabs, 1);
    properties->addLayout(buttons);

    // The two steps' texts begin on one line, however many lines each takes.
    for (QLabel* step : {m_label1, m_label2})
        step->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    auto* grid = new QGridLayout(this);
    grid->addWidget(m_label1, 0, 0);
    grid->addWidget(m_label2, 0, 1);
    grid->addWidget(m_frame1, 1, 0);
    grid->addWidget(m_frame2, 1, 1);
    grid->setColumnStretch(0, 2);
    grid->setColumnStretch(1, 5);
    grid->setRowStretch(1, 1);
    // Save and Finished below the tabs come after the controls of every tab page.
    QWidget::setTabOrder(m_listExecutableReports, m_commandSave);
    QWidget::setTabOrder(m_commandSave, m_commandExit);

    connectEditEvents();
    connectListClick(m_listGroups, this, [this] { GetConfig(); });
    connect(m_listGroups, &QListWidget::itemSelectionChanged, this, [this] { enableProperties(); });
    connect(m_listGroups, &QListWidget::itemDoubleClicked, this, [this] { GetConfig(); });
    connect(m_commandAddGroup, &QPushButton::clicked, this, [this] { CommandAddGroup_Click(); });
    connect(m_commandRemoveGroup, &QPushButton::clicked, this,
            [this] { CommandRemoveGroup_Click(); });
    connect(m_commandSave, &QPushButton::clicked, this, [this] { CommandSave_Click(); });
    connect(m_commandExit, &QPushButton::clicked, this, [this] { closeChildWindow(this); });
    connectEntryChoice(m_listReportsAvailable, this,
                       [this] { moveReport(m_listReportsAvailable, m_listExecutableReports); });
    connectEntryChoice(m_listExecutableReports, this,
                       [this] { moveReport(m_listExecutableReports, m_listReportsAvailable); });
}

QWidget* FormEditGroups::buildGeneralTab()
{
    auto* page = new QWidget;
    m_panelPrivileges = frame(QStringLiteral("SSPanel1"), page);
    m_optionDisallowUse =
        named<OptionButton>(QStringLiteral("OptionDisallowUse"),
                            placeholder(QStringLiteral("OptionDisallowUse")), m_panelPrivileges);
    m_optionAllowUse =
        named<OptionButton>(QStringLiteral("OptionAllowUse"),
                            placeholder(QStringLiteral("OptionAllowUse")), m_panelPrivileges);
    auto* privileges = new QVBoxLayout(m_panelPrivileges);
    privileges->addWidget(m_optionDisallowUse);
    privileges->addWidget(m_optionAllowUse);

    m_panelFeatures = frame(QStringLiteral("SSPanel6"), page);
    m_checkMerge = checkBox(QStringLiteral("CheckMerge"), m_panelFeatures);
    (new QVBoxLayout(m_panelFeatures))->addWidget(m_checkMerge);

    auto* layout = new QVBoxLayout(page);
    layout->addWidget(m_panelPrivileges);
    layout->addWidget(m_panelFeatures);
    layout->addStretch(1);
    return page;
}

FormEditGroups::AgePanel FormEditGroups::buildAgePanel(const QString& prefix,
                                                       const QString& panelName)
{
    AgePanel p;
    p.panel = frame(panelName, nullptr);
    p.display = checkBox(QStringLiteral("Check") + prefix + QStringLiteral("Display"), p.panel);
    p.latest = checkBox(QStringLiteral("Check") + prefix + QStringLiteral("Latest"), p.panel);
    p.label = label(QStringLiteral("Label") + prefix + QStringLiteral("Data"), p.panel);
    p.label->setWordWrap(false);
    p.interval =
        named<QLineEdit>(QStringLiteral("Text") + prefix + QStringLiteral("Interval"), p.panel);
    p.unit = named<QComboBox>(QStringLiteral("Combo") + prefix + QStringLiteral("Type"), p.panel);
    makeTypedCombo(p.unit);
    p.label->setBuddy(p.interval);
    nameAfterToolTip(p.unit);

    auto* age = new QHBoxLayout;
    age->addWidget(p.interval, 1);
    age->addWidget(p.unit, 1);
    auto* layout = new QVBoxLayout(p.panel);
    layout->setSpacing(2);
    layout->addWidget(p.display);
    layout->addWidget(p.latest);
    layout->addWidget(p.label);
    layout->addLayout(age);
    return p;
}

QWidget* FormEditGroups::buildDataTab()
{
    auto* page = new QWidget;
    m_panelInventory = frame(QStringLiteral("SSPanel5"), page);
    m_checkInvDisplay = checkBox(QStringLiteral("CheckInvDisplay"), m_panelInventory);
    m_checkAllowCustomer = checkBox(QStringLiteral("CheckAllowCustomer"), m_panelInventory);
    auto* inventory = new QVBoxLayout(m_panelInventory);
    inventory->addWidget(m_checkInvDisplay);
    inventory->addWidget(m_checkAllowCustomer);

    m_age[Cal] = buildAgePanel(QStringLiteral("Cal"), QStringLiteral("SSPanel2"));
    m_age[Loc] = buildAgePanel(QStringLiteral("Loc"), QStringLiteral("SSPanel3"));
    m_age[Rep] = buildAgePanel(QStringLiteral("Rep"), QStringLiteral("SSPanel4"));
    auto* results = checkBox(QStringLiteral("CheckCalResults"), m_age[Cal].panel);
    static_cast<QVBoxLayout*>(m_age[Cal].panel->layout())->insertWidget(2, results);
    QWidget::setTabOrder(m_age[Cal].latest, results);
    // Each panel keeps its controls at its top, however tall the window.
    for (QGroupBox* panel :
         {m_panelInventory, m_age[Cal].panel, m_age[Loc].panel, m_age[Rep].panel})
        static_cast<QVBoxLayout*>(panel->layout())->addStretch(1);

    auto* grid = new QGridLayout(page);
    grid->addWidget(m_panelInventory, 0, 0);
    grid->addWidget(m_age[Cal].panel, 0, 1);
    grid->addWidget(m_age[Loc].panel, 1, 0);
    grid->addWidget(m_age[Rep].panel, 1, 1);
    return page;
}

QWidget* FormEditGroups::buildReportsTab()
{
    auto* page = new QWidget;
    m_label3 = label(QStringLiteral("Label3"), page);
    m_listReportsAvailable = listBox(QStringLiteral("ListReportsAvailable"), page);
    m_label5 = label(QStringLiteral("Label5"), page);
    m_label4 = label(QStringLiteral("Label4"), page);
    m_listExecutableReports = listBox(QStringLiteral("ListExecutableReports"), page);
    m_label6 = label(QStringLiteral("Label6"), page);
    m_label3->setBuddy(m_listReportsAvailable);
    m_label4->setBuddy(m_listExecutableReports);

    auto* grid = new QGridLayout(page);
    grid->addWidget(m_label3, 0, 0);
    grid->addWidget(m_listReportsAvailable, 1, 0);
    grid->addWidget(m_label5, 2, 0);
    grid->addWidget(m_label4, 0, 1);
    grid->addWidget(m_listExecutableReports, 1, 1);
    grid->addWidget(m_label6, 2, 1);
    grid->setRowStretch(1, 1);
    return page;
}

// Every edit of a property control marks the window edited, also when code sets the value.
void FormEditGroups::connectEditEvents()
{
    const auto edited = [this] { setEdited(true); };
    for (QCheckBox* check : findChildren<QCheckBox*>())
        connect(check, &QCheckBox::stateChanged, this, edited);
    for (QRadioButton* option : {m_optionDisallowUse, m_optionAllowUse}) {
        // A click counts also on the option that is selected already, and so does a double-click.
        connect(option, &QRadioButton::toggled, this, edited);
        connect(option, &QRadioButton::clicked, this, edited);
        connectDoubleClick(option, this, edited);
    }
    for (const AgePanel& p : m_age) {
        connect(p.interval, &QLineEdit::textChanged, this, edited);
        connect(p.unit, &QComboBox::currentTextChanged, this, edited);
        connect(p.unit, &QComboBox::activated, this, edited);
    }
}

void FormEditGroups::FormLoad()
{
    QString sql;
    Trapped(Source + QStringLiteral("FormLoad"), sql, [&] {
        setOuterSizeTwips(this, 9150, 8100);
        CenterForm(this);
        setCaptions();
        LoadGroupList();
        LoadIntervals();
        SelectFirst();
        setEdited(false);
    });
}

void FormEditGroups::setCaptions()
{
    setWindowResIcon(this, 103);
    setWindowTitle(resString(Caption));
    m_frame1->setTitle(resString(119));
    m_listGroups->setToolTip(resString(473));
    m_commandAddGroup->setText(resString(121));
    m_commandAddGroup->setToolTip(resString(474));
    m_commandRemoveGroup->setText(resString(122));
    m_commandRemoveGroup->setToolTip(resString(475));
    m_label1->setText(resString(120));
    m_frame2->setTitle(resString(123));
    m_label2->setText(resString(124));
    m_commandSave->setText(resString(125));
    m_commandSave->setToolTip(resString(433));
    m_commandExit->setText(resString(381));
    m_commandExit->setToolTip(resString(434));
    m_tabs->setTabText(0, resString(126));
    m_tabs->setTabText(1, resString(127));
    m_tabs->setTabText(2, resString(114));

    m_panelPrivileges->setTitle(resString(130));
    m_optionDisallowUse->setText(resString(128));
    m_optionDisallowUse->setToolTip(resString(477));
    m_optionAllowUse->setText(resString(129));
    m_optionAllowUse->setToolTip(resString(476));
    m_panelFeatures->setTitle(resString(149));
    m_checkMerge->setText(resString(389));
    m_checkMerge->setToolTip(resString(478));

    m_panelInventory->setTitle(resString(131));
    m_checkInvDisplay->setText(resString(135));
    m_checkInvDisplay->setToolTip(resString(479));
    m_checkAllowCustomer->setText(resString(137));
    m_checkAllowCustomer->setToolTip(resString(479));
    const int panelTitles[] = {132, 133, 134};
    for (std::size_t i = 0; i < m_age.size(); ++i) {
        const AgePanel& p = m_age[i];
        p.panel->setTitle(resString(panelTitles[i]));
        p.display->setText(resString(135));
        p.display->setToolTip(resString(479));
        p.latest->setText(resString(162));
        p.latest->setToolTip(resString(480));
        p.label->setText(resString(136) + QLatin1Char(':'));
        p.interval->setToolTip(resString(481));
        p.unit->setToolTip(resString(482));
    }
    findChild<QCheckBox*>(QStringLiteral("CheckCalResults"))->setText(resString(502));

    m_label3->setText(resString(138));
    m_listReportsAvailable->setToolTip(resString(483));
    m_label5->setText(resString(140));
    m_label4->setText(resString(139));
    m_listExecutableReports->setToolTip(resString(484));
    m_label6->setText(resString(141));
    nameListsAfterLabels(this);
}

void FormEditGroups::LoadGroupList()
{
    QString sql;
    Trapped(Source + QStringLiteral("LoadGroupList"), sql, [&] {
        const Hourglass hourglass;
        ChooseSql(sql, QStringLiteral("select group_id from mt.qrb_zv_groupconfig;commit"),
                  QStringLiteral("select group_id from mt.qrb_zv_groupconfig;"));
        fillList(m_listGroups, session().MainDatabase->query(sql), QStringLiteral("group_id"));
        enableProperties();
    });
}

void FormEditGroups::LoadIntervals()
{
    const QStringList units{QStringLiteral("D"), QStringLiteral("M"), QStringLiteral("Y")};
    for (const AgePanel& p : m_age)
        fillCombo(p.unit, units);
}

void FormEditGroups::SelectFirst()
{
    if (m_listGroups->count() == 0 || m_listGroups->item(0)->text().isEmpty())
        return;
    {
        const QSignalBlocker blocker(m_listGroups);
        m_listGroups->setCurrentRow(0);
    }
    GetConfig();
}

// The controls of a group in the order the group's row is read and its update is written.
QList<FormEditGroups::Field> FormEditGroups::fields() const
{
    auto* results = findChild<QCheckBox*>(QStringLiteral("CheckCalResults"));
    QList<Field> list{
        {QStringLiteral("zv_inhibit_use"), FieldKind::Inhibit, m_optionDisallowUse},
        {QStringLiteral("inv_data_display"), FieldKind::Flag, m_checkInvDisplay},
        {QStringLiteral("view_merge_data"), FieldKind::FlagNullOn, m_checkMerge},
        {QStringLiteral("customer_data_display"), FieldKind::Flag, m_checkAllowCustomer},
    };
    const QString prefixes[] = {QStringLiteral("cal_"), QStringLiteral("loc_"),
                                QStringLiteral("rep_")};
    for (std::size_t i = 0; i < m_age.size(); ++i) {
        const AgePanel& p = m_age[i];
        list.append({prefixes[i] + QStringLiteral("data_display"), FieldKind::Flag, p.display});
        list.append({prefixes[i] + QStringLiteral("show_latest"), FieldKind::Flag, p.latest});
        if (i == Cal)
            list.append({QStringLiteral("cal_show_results"), FieldKind::Flag, results});
        list.append({prefixes[i] + QStringLiteral("data_old_number"), FieldKind::Text, p.interval});
        list.append({prefixes[i] + QStringLiteral("data_old_type"), FieldKind::Unit, p.unit});
    }
    return list;
}

// Shows a stored value: "Y" alone denies use; a flag is off only for "N" (and for NULL, but
// for the one flag whose NULL reads as on).
void FormEditGroups::readField(const Field& field, const db::Value& value)
{
    switch (field.kind) {
    case FieldKind::Inhibit:
        (value && *value == u"Y" ? m_optionDisallowUse : m_optionAllowUse)->setChecked(true);
        break;
    case FieldKind::Flag:
    case FieldKind::FlagNullOn: {
        const bool on = value ? *value != u"N" : field.kind == FieldKind::FlagNullOn;
        static_cast<QCheckBox*>(field.control)->setCheckState(on ? Qt::Checked : Qt::Unchecked);
        break;
    }
    case FieldKind::Text:
        static_cast<QLineEdit*>(field.control)->setText(value.value_or(QString()));
        break;
    case FieldKind::Unit:
        showUnit(static_cast<QComboBox*>(field.control), value.value_or(QString()));
        break;
    }
}

// The value that Save writes for one control; texts go in unchanged.
QString FormEditGroups::valueOf(const Field& field) const
{
    QString value;
    switch (field.kind) {
    case FieldKind::Inhibit:
        value = m_optionDisallowUse->isChecked() ? QStringLiteral("Y") : QStringLiteral("N");
        break;
    case FieldKind::Flag:
    case FieldKind::FlagNullOn:
        value = static_cast<QCheckBox*>(field.control)->checkState() == Qt::Unchecked
                    ? QStringLiteral("N")
                    : QStringLiteral("Y");
        break;
    case FieldKind::Text:
        value = static_cast<QLineEdit*>(field.control)->text();
        break;
    case FieldKind::Unit:
        value = static_cast<QComboBox*>(field.control)->currentText();
        break;
    }
    return value;
}

void FormEditGroups::GetConfig()
{
    enableProperties();
    QListWidgetItem* item = selectedItem(m_listGroups);
    if (!item)
        return;
    QString sql;
    Trapped(Source + QStringLiteral("GetConfig"), sql, [&] {
        const Hourglass hourglass;
        QString group = item->text();
        FixQuotes(group);
        sql = QStringLiteral("select * from mt.qrb_zv_groupconfig where group_id = '") + group +
              QStringLiteral("';");
        const db::ResultSet row = session().MainDatabase->query(sql);
        for (const Field& f : fields())
            readField(f, row.value(0, f.column));

        sql = QStringLiteral("select report_name from mt.qrb_zv_reports where zvrtag not in "
                             "(select zvrtag from mt.qrb_zv_group_reports where group_id = '") +
              group + QStringLiteral("');");
        fillList(m_listReportsAvailable, session().MainDatabase->query(sql),
                 QStringLiteral("report_name"));

        const QString executable =
            QStringLiteral("select report_name from mt.qrb_zv_reports where zvrtag in "
                           "(select zvrtag from mt.qrb_zv_group_reports where group_id = '") +
            group;
        ChooseSql(sql, executable + QStringLiteral("');commit"),
                  executable + QStringLiteral("');"));
        fillList(m_listExecutableReports, session().MainDatabase->query(sql),
                 QStringLiteral("report_name"));
        setEdited(false);
    });
}

void FormEditGroups::moveReport(QListWidget* from, QListWidget* to)
{
    QListWidgetItem* item = selectedItem(from);
    if (!item)
        return;
    setEdited(true);
    to->addItem(item->text());
    removeEntry(from, from->row(item));
}

void FormEditGroups::CommandAddGroup_Click()
{
    if (m_adding)
        return;
    m_adding = true;
    const QPointer<FormEditGroups> self(this);
    const std::optional<QString> name = promptNewGroup(self);
    if (!self)
        return; // the window was closed while the prompt waited
    m_adding = false;
    if (!name)
        return;
    LoadGroupList();
    selectGroupNamed(*name);
    GetConfig();
    m_commandSave->setEnabled(true);
}

// Asks for a new group's name until it is one that does not exist yet, then inserts the group.
// Nothing when the prompt is cancelled or the window goes away meanwhile.
std::optional<QString> FormEditGroups::promptNewGroup(const QPointer<FormEditGroups>& self)
{
    QString sql;
    std::optional<QString> added;
    Trapped(Source + QStringLiteral("CommandAddGroup"), sql, [&] {
        for (;;) {
            qint32 colour = 0;
            const QString name =
                CustomDialog(resString(Caption), resString(158), 1, 0, 60, 0, QString(), colour, 0);
            if (!self || name == DialogCancelled)
                return;
            if (addNewGroup(name, sql)) {
                added = name;
                return;
            }
            messageBox(resString(159), MsgButtons::Ok, MsgIcon::Critical, resString(Caption));
        }
    });
    return added;
}

// Inserts the group unless one of that name exists; false when it exists.
bool FormEditGroups::addNewGroup(const QString& name, QString& sql)
{
    sql = GroupExistsSql(session().DatabaseType, name);
    if (!session().MainDatabase->query(sql).isEmpty())
        return false;
    const Hourglass hourglass;
    executeAll(sql, GroupAddSql(session().DatabaseType, name));
    return true;
}

// Selects the first group whose name equals `name` in upper case, without loading it.
void FormEditGroups::selectGroupNamed(const QString& name)
{
    const QString wanted = upperCase(name);
    for (int i = 0; i < m_listGroups->count(); ++i) {
        if (upperCase(m_listGroups->item(i)->text()) == wanted) {
            const QSignalBlocker blocker(m_listGroups);
            m_listGroups->setCurrentRow(i);
            return;
        }
    }
}

void FormEditGroups::CommandRemoveGroup_Click()
{
    const auto warn = [](int text, MsgButtons buttons, MsgIcon icon) {
        return messageBox(resString(text), buttons, icon, resString(Caption));
    };
    QListWidgetItem* item = selectedItem(m_listGroups);
    if (!item) {
        warn(160, MsgButtons::Ok, MsgIcon::Critical);
        return;
    }
    if (upperCase(item->text()) == u"MT") {
        warn(294, MsgButtons::Ok, MsgIcon::Critical);
        return;
    }
    const QString group = item->text();
    if (warn(161, MsgButtons::OkCancel, MsgIcon::Exclamation) == MsgAnswer::Cancel)
        return;
    QString sql;
    Trapped(Source + QStringLiteral("CommandRemoveGroup"), sql, [&] {
        const Hourglass hourglass;
        executeAll(sql, GroupRemoveSql(session().DatabaseType, group));
    });
    LoadGroupList();
}

GroupSave FormEditGroups::readSave(const QString& group) const
{
    GroupSave save{group, {}, {}};
    for (const Field& f : fields())
        save.settings.append({f.column, valueOf(f)});
    for (int i = 0; i < m_listExecutableReports->count(); ++i)
        save.executableReports.append(m_listExecutableReports->item(i)->text());
    return save;
}

void FormEditGroups::CommandSave_Click()
{
    QListWidgetItem* item = selectedItem(m_listGroups);
    if (!item) {
        // Nothing to write to (an edit made while the name of a new group was asked for, and
        // the new group not found again): back to unedited, so the group list is usable.
        setEdited(false);
        return;
    }
    QString sql;
    Trapped(Source + QStringLiteral("CommandSave"), sql, [&] {
        const Hourglass hourglass;
        executeAll(sql, GroupSaveSql(session().DatabaseType, readSave(item->text())));
    });
    setEdited(false);
    reportSaved(resString(912).arg(item->text()));
}

// Unedited: the group list, Add and Remove usable, Save not; edited: the reverse.
void FormEditGroups::setEdited(bool edited)
{
    lockList(m_listGroups, edited);
    m_commandAddGroup->setEnabled(!edited);
    m_commandRemoveGroup->setEnabled(!edited);
    m_commandSave->setEnabled(edited);
}

// The property controls are usable only while a group is selected, so that no edit can be
// made that Save would have no group to write to.
void FormEditGroups::enableProperties()
{
    const bool any = selectedItem(m_listGroups) != nullptr;
    for (int i = 0; i < m_tabs->count(); ++i)
        m_tabs->widget(i)->setEnabled(any);
}

} // namespace kaldor
