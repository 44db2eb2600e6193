#include "FormTreeConfig.h"

#include "AccessibleNames.h"
#include "DisplayStatements.h"
#include "ListBox.h"
#include "ModuleGlobals.h"
#include "ResourceStrings.h"
#include "SaveReport.h"
#include "TabControl.h"
#include "WindowHelpers.h"
#include "WrappingLabel.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QVBoxLayout>

namespace kaldor {

namespace {

const QString Source = QStringLiteral("FormTreeConfig,");
constexpr int FullResults = 5;

// The six levels: the field number prefix, the list names, the labels and the tab caption
// (a resource number, or 0 for the plain text).
struct LevelInfo {
    const char* prefix;
    const char* invisible;
    const char* visible;
    std::array<const char*, 3> labels;
    int caption;
    const char* plainCaption;
};
constexpr std::array<LevelInfo, 6> LevelInfos{{
    {"42", "ListInvInvisible", "ListInvVisible", {"Label1", "Label2", "Label3"}, 0, "Inventory"},
    {"23", "ListCalInvisible", "ListCalVisible", {"Label5", "Label6", "Label7"}, 132, ""},
    {"28",
     "ListLocationInvisible",
     "ListLocationVisible",
     {"Label8", "Label9", "Label10"},
     133,
     ""},
    {"32", "ListRepairInvisible", "ListRepairVisible", {"Label13", "Label12", "Label11"}, 134, ""},
    {"46", "ListCusInvisible", "ListCusVisible", {"Label14", "Label15", "Label16"}, 0, "Customers"},
    {"",
     "ListResInvisible",
     "ListResVisible",
     {"Label19", "Label18", "Label17"},
     0,
     "Full Results"},
}};

// The field number an entry stores: four characters, or for full results the text before the
// first " -".
QString fieldNumberOf(const QString& entry, int level)
{
    if (level != FullResults)
        return entry.left(4);
    const qsizetype dash = entry.indexOf(QLatin1String(" -"));
    return dash < 0 ? entry : entry.left(dash);
}

QString candidateQuery()
{
    return QStringLiteral(
        "select fldnum,title from mt.customiz where title not like '%unused%' and title not like "
        "'%user defined%' and title <> ''"
        " and fldnum not like '%90' and fldnum not like '%91' and fldnum not like '%92' and "
        "fldnum not like '%93'"
        " and fldnum not like '%94' and fldnum not like '%95' and fldnum not like '%tag' and "
        "fldnum <> 'nthrow' and fldnum <> 'num_meas'"
        " and fldnum not like '%src' and fldnum not like '%publish' and fldnum not like '%replic' "
        "and fldnum <> 'sys_cov_fac'"
        " and fldnum <> 'remark' and fldnum <> 'test_desc'and fldnum not like '%_u' and fldnum "
        "not like '%_p'"
        " and fldnum not like '%_flag' and fldnum <> 'row_num' and fldnum <> 'test_step2' and "
        "fldnum <> 'name'"
        " and fldnum <> 'prefix' and fldnum <> 'units' and fldnum <> 'created' and fldnum <> "
        "'modifiedby'"
        " and fldnum <> '2501' and fldnum <> '4601' and fldnum <> '4201'"
        " and fldnum <> '4260' and fldnum <> '4261' and fldnum <> '2384' and fldnum <> '2385'"
        " and fldnum <> '2836' and fldnum <> '2837' and fldnum <> '3253' and fldnum <> '3270'"
        " and fldnum not in (select fldnum from mt.qrb_zv_tree_fields) order by fldnum asc;");
}

} // namespace

FormTreeConfig::FormTreeConfig()
    : m_frame1(named<QGroupBox>(QStringLiteral("Frame1"))),
      m_ssTab1(named<TabControl>(QStringLiteral("SSTab1"))),
      m_frame2(named<QGroupBox>(QStringLiteral("Frame2"))),
      m_label4(named<WrappingLabel>(QStringLiteral("Label4"))),
      m_textMaxAssets(named<QLineEdit>(QStringLiteral("TextMaxAssets"))),
      m_commandSave(named<QPushButton>(QStringLiteral("CommandSave"))),
      m_commandExit(named<QPushButton>(QStringLiteral("CommandExit")))
{
    for (int i = 0; i < Levels; ++i)
        m_ssTab1->addTab(buildLevel(i), QString());
    auto* tabs = new QVBoxLayout(m_frame1);
    tabs->addWidget(m_ssTab1);
    m_label4->setBuddy(m_textMaxAssets);
    auto* features = new QHBoxLayout(m_frame2);
    features->addWidget(m_label4, 1);
    features->addWidget(m_textMaxAssets);
    QHBoxLayout* buttons = buttonRow({}, {m_commandSave, m_commandExit});
    auto* column = new QVBoxLayout(this);
    column->addWidget(m_frame1, 1);
    column->addWidget(m_frame2);
    column->addLayout(buttons);

    connect(m_textMaxAssets, &QLineEdit::textChanged, this,
            [this] { m_commandSave->setEnabled(true); });
    connect(m_commandSave, &QPushButton::clicked, this, [this] { CommandSave_Click(); });
    connect(m_commandExit, &QPushButton::clicked, this, [this] { closeChildWindow(this); });
}

QWidget* FormTreeConfig::buildLevel(int index)
{
    const LevelInfo& info = LevelInfos.at(size_t(index));
    Level& level = m_levels.at(size_t(index));
    level.invisible = named<ListBox>(QString::fromLatin1(info.invisible));
    level.visible = named<ListBox>(QString::fromLatin1(info.visible));
    for (size_t i = 0; i < level.labels.size(); ++i) {
        level.labels.at(i) = named<WrappingLabel>(QString::fromLatin1(info.labels.at(i)));
    }
    // The labels above the lists say what to do with them: the lists go by their tooltips.
    for (QListWidget* list : {level.invisible, level.visible}) {
        list->setUniformItemSizes(true);
        keepEntriesWhole(list);
        nameAfterToolTip(list);
    }
    QListWidget* invisible = level.invisible;
    QListWidget* visible = level.visible;
    connectEntryChoice(invisible, this,
                       [this, invisible, visible] { moveToDisplayed(invisible, visible); });
    connectEntryChoice(visible, this,
                       [this, invisible, visible] { moveToHidden(visible, invisible); });

    auto* page = new QWidget;
    auto* grid = new QGridLayout(page);
    grid->addWidget(level.labels[0], 0, 0);
    grid->addWidget(level.invisible, 1, 0, 2, 1);
    grid->addWidget(level.labels[1], 0, 1);
    grid->addWidget(level.visible, 1, 1);
    grid->addWidget(level.labels[2], 2, 1);
    grid->setRowStretch(1, 1);
    return page;
}

void FormTreeConfig::FormLoad()
{
    setOuterSizeTwips(this, 9600, 7200);
    CenterForm(this);
    setWindowTitle(resString(375));
    for (int i = 0; i < Levels; ++i) {
        const LevelInfo& info = LevelInfos.at(size_t(i));
        Level& level = m_levels.at(size_t(i));
        m_ssTab1->setTabText(i, info.caption ? resString(info.caption)
                                             : QString::fromLatin1(info.plainCaption));
        level.invisible->setToolTip(resString(445));
        level.visible->setToolTip(
            i == FullResults
                ? QStringLiteral("Select upto 7 fields. Remarks and Test_Desc are fixed and are "
                                 "not included. The last 3 fields can be tol_err, test_status and "
                                 "tur in that order")
                : resString(446));
        level.labels[0]->setText(resString(377));
        level.labels[1]->setText(resString(378));
        level.labels[2]->setText(resString(379));
    }
    m_frame1->setTitle(resString(376));
    m_frame2->setTitle(resString(149));
    m_label4->setText(resString(380));
    m_textMaxAssets->setToolTip(resString(447));
    m_commandSave->setText(resString(125));
    m_commandSave->setToolTip(resString(433));
    m_commandExit->setText(resString(381));
    m_commandExit->setToolTip(resString(434));
    QString sql;
    Trapped(Source + QStringLiteral("LoadFeatures"), sql, [&] { LoadFeatures(sql); });
    Trapped(Source + QStringLiteral("LoadFieldLists"), sql, [&] { LoadFieldLists(sql); });
    m_commandSave->setEnabled(false);
}

void FormTreeConfig::LoadFeatures(QString& sql)
{
    const Hourglass hourglass;
    ChooseSql(sql, QStringLiteral("select * from mt.qrb_zv_tree_config;commit"),
              QStringLiteral("select * from mt.qrb_zv_tree_config;"));
    const db::ResultSet rows = session().MainDatabase->query(sql);
    // Reading the first row of an empty result fails (no current record).
    m_textMaxAssets->setText(rows.text(0, u"max_rows_display", QStringLiteral("25")));
}

FormTreeConfig::Level* FormTreeConfig::levelOf(const QString& fieldNumber)
{
    const QString prefix = fieldNumber.left(2);
    if (fieldNumber.size() >= 2 && (prefix == u"21" || prefix == u"16"))
        return nullptr;
    for (int i = 0; i < FullResults; ++i)
        if (fieldNumber.size() >= 2 && prefix == QLatin1String(LevelInfos.at(size_t(i)).prefix))
            return &m_levels.at(size_t(i));
    return &m_levels.at(FullResults);
}

void FormTreeConfig::LoadFieldLists(QString& sql)
{
    const Hourglass hourglass;
    for (Level& level : m_levels) {
        level.invisible->clear();
        level.visible->clear();
    }
    ChooseSql(sql,
              QStringLiteral("select fldnum,len,(select title from mt.customiz where "
                             "customiz.fldnum = mt.qrb_zv_tree_fields.fldnum) from "
                             "mt.qrb_zv_tree_fields;commit"),
              QStringLiteral("select fldnum,len,(select title from mt.customiz where "
                             "customiz.fldnum = mt.qrb_zv_tree_fields.fldnum) 'title' from "
                             "mt.qrb_zv_tree_fields;"));
    const db::ResultSet shown = session().MainDatabase->query(sql);
    for (qsizetype r = 0; r < shown.size(); ++r) {
        const db::Row& row = shown.row(r);
        const QString number = row.value(0).value_or(QString());
        if (Level* level = levelOf(number))
            level->visible->addItem(number + QStringLiteral(" - ") +
                                    row.value(2).value_or(QString()));
    }
    const QString candidates = candidateQuery();
    ChooseSql(sql, candidates + QStringLiteral("commit"), candidates);
    const db::ResultSet rows = session().MainDatabase->query(sql);
    // Each level's entries are collected, sorted once and added in one go.
    std::array<QStringList, Levels> entries;
    for (qsizetype r = 0; r < rows.size(); ++r) {
        const QString number = rows.text(r, u"fldnum");
        if (Level* level = levelOf(number))
            entries.at(size_t(level - m_levels.data()))
                .append(number + QStringLiteral(" - ") + rows.text(r, u"title"));
    }
    for (int i = 0; i < Levels; ++i) {
        fillList(m_levels.at(size_t(i)).invisible, sortedTexts(entries.at(size_t(i))));
    }
}

void FormTreeConfig::moveToDisplayed(QListWidget* from, QListWidget* to)
{
    QListWidgetItem* item = from->currentItem();
    if (!item || !item->isSelected())
        return;
    m_commandSave->setEnabled(true);
    to->addItem(item->text());
    removeEntry(from, from->row(item));
}

void FormTreeConfig::moveToHidden(QListWidget* from, QListWidget* to)
{
    QListWidgetItem* item = from->currentItem();
    if (!item || !item->isSelected())
        return;
    m_commandSave->setEnabled(true);
    addSorted(to, item->text());
    removeEntry(from, from->row(item));
}

TreeSave FormTreeConfig::readSave() const
{
    TreeSave save{{}, m_textMaxAssets->text()};
    for (int i = 0; i < Levels; ++i) {
        const QListWidget* list = m_levels.at(size_t(i)).visible;
        QStringList fields;
        for (int row = 0; row < list->count(); ++row)
            fields.append(fieldNumberOf(list->item(row)->text(), i));
        save.levels.append(fields);
    }
    return save;
}

void FormTreeConfig::CommandSave_Click()
{
    QString sql;
    Trapped(Source + QStringLiteral("CommandSave"), sql, [&] {
        const Hourglass hourglass;
        executeAll(sql, TreeSaveSql(session().DatabaseType, readSave()));
        m_commandSave->setEnabled(false);
    });
    reportSaved(resString(921));
}

} // namespace kaldor
