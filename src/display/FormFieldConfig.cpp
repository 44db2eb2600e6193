#include "FormFieldConfig.h"

#include "AccessibleNames.h"
#include "FieldStatements.h"
#include "ListBox.h"
#include "ModuleGlobals.h"
#include "OptionButton.h"
#include "ResourceStrings.h"
#include "SaveReport.h"
#include "Seams.h"
#include "TabControl.h"
#include "WindowHelpers.h"
#include "WrappingLabel.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace kaldor {

namespace {

const QString Source = QStringLiteral("FormFieldConfig,");
constexpr std::array<const char16_t*, 3> GeneralColumns{
    u"general_field_title_x", u"general_field_data_x", u"general_field_data_y"};
constexpr std::array<const char16_t*, 3> BrowserColumns{
    u"browser_field_title_x", u"browser_field_data_x", u"browser_field_data_y"};

// An offset as the window takes it: an optional sign, digits, an optional decimal point.
bool isOffset(const QString& text)
{
    static const QRegularExpression number(QStringLiteral("^[+-]?(\\d+\\.?\\d*|\\.\\d+)$"));
    return number.match(text).hasMatch();
}

// The title column the field view serves: the stored title language when it names one.
QString titleColumn()
{
    static const QStringList columns{QStringLiteral("title"), QStringLiteral("title2"),
                                     QStringLiteral("title3"), QStringLiteral("title4"),
                                     QStringLiteral("title5")};
    return columns.contains(config().Title) ? config().Title : columns.first();
}

QLineEdit* offsetBox(const QString& name)
{
    return named<QLineEdit>(name);
}

} // namespace

FormFieldConfig::FormFieldConfig()
    : m_frame1(named<QGroupBox>(QStringLiteral("Frame1"))),
      m_frame2(named<QGroupBox>(QStringLiteral("Frame2"))),
      m_label1(named<WrappingLabel>(QStringLiteral("Label1"))),
      m_label2(named<WrappingLabel>(QStringLiteral("Label2"))),
      m_optionForm(named<OptionButton>(QStringLiteral("OptionForm"))),
      m_optionSearch(named<OptionButton>(QStringLiteral("OptionSearch"))),
      m_listViewFields(named<QTreeWidget>(QStringLiteral("ListViewFields"))),
      m_ssTab1(named<TabControl>(QStringLiteral("SSTab1"))),
      m_commandSave(named<QPushButton>(QStringLiteral("CommandSave"))),
      m_commandExit(named<QPushButton>(QStringLiteral("CommandExit")))
{
    for (size_t i = 0; i < m_labels.size(); ++i) {
        m_labels.at(i) = named<WrappingLabel>(QStringLiteral("Label%1").arg(i + 3));
    }
    m_listViewFields->setRootIsDecorated(false);
    m_listViewFields->setUniformRowHeights(true);
    m_listViewFields->setColumnCount(2);
    keepColumnsWhole(m_listViewFields);
    nameAfterToolTip(m_listViewFields);

    auto* fields = new QVBoxLayout(m_frame1);
    fields->addWidget(m_label1);
    fields->addWidget(m_optionForm);
    fields->addWidget(m_optionSearch);
    fields->addWidget(m_listViewFields, 1);
    m_ssTab1->addTab(buildPrivileges(), QString());
    m_ssTab1->addTab(buildOffsets(), QString());
    auto* properties = new QVBoxLayout(m_frame2);
    properties->addWidget(m_label2);
    properties->addWidget(m_ssTab1, 1);
    auto* frames = new QHBoxLayout;
    frames->addWidget(m_frame1, 2);
    frames->addWidget(m_frame2, 3);
    QHBoxLayout* buttons = buttonRow({}, {m_commandSave, m_commandExit});
    auto* column = new QVBoxLayout(this);
    column->addLayout(frames, 1);
    column->addLayout(buttons);

    connectListClick(m_listViewFields, this, [this] { GetConfig(); });
    for (QRadioButton* option : {m_optionForm, m_optionSearch})
        connect(option, &QRadioButton::clicked, this, [this] {
            LoadFieldList();
            SelectFirst(); // the field shown is always one of the list
        });
    connectEntryChoice(m_listInvisible, this,
                       [this] { moveGroup(m_listInvisible, m_listVisible); });
    connectEntryChoice(m_listVisible, this, [this] { moveGroup(m_listVisible, m_listInvisible); });
    for (QLineEdit* box : m_general)
        connect(box, &QLineEdit::textChanged, this, [this] { edited(); });
    for (QLineEdit* box : m_browser)
        connect(box, &QLineEdit::textChanged, this, [this] {
            edited();
            // The keyboard goes on to the browser's values, not to the next button (Save), when
            // a browser chosen from the list disables its own box.
            if (m_comboBrowser->hasFocus())
                m_browser.front()->setFocus(Qt::OtherFocusReason);
            m_comboBrowser->setEnabled(false);
        });
    connectListChoice(m_comboBrowser, this, [this] { ComboBrowser_Click(); });
    connect(m_commandSave, &QPushButton::clicked, this, [this] { CommandSave_Click(); });
    connect(m_commandExit, &QPushButton::clicked, this, [this] { closeChildWindow(this); });
}

QWidget* FormFieldConfig::buildPrivileges()
{
    auto* page = new QWidget;
    m_listInvisible = named<ListBox>(QStringLiteral("ListInvisible"));
    m_listVisible = named<ListBox>(QStringLiteral("ListVisible"));
    for (QListWidget* list : {m_listInvisible, m_listVisible}) {
        list->setUniformItemSizes(true);
        keepEntriesWhole(list);
    }
    m_labels[14 - 3]->setBuddy(m_listInvisible);
    m_labels[15 - 3]->setBuddy(m_listVisible);
    auto* grid = new QGridLayout(page);
    grid->addWidget(m_labels[14 - 3], 0, 0);
    grid->addWidget(m_listInvisible, 1, 0);
    grid->addWidget(m_labels[12 - 3], 2, 0);
    grid->addWidget(m_labels[15 - 3], 0, 1);
    grid->addWidget(m_listVisible, 1, 1);
    grid->addWidget(m_labels[13 - 3], 2, 1);
    grid->setRowStretch(1, 1);
    return page;
}

QWidget* FormFieldConfig::buildOffsets()
{
    auto* page = new QWidget;
    m_ssPanel1 = named<QGroupBox>(QStringLiteral("SSPanel1"));
    m_ssPanel2 = named<QGroupBox>(QStringLiteral("SSPanel2"));
    m_general = {offsetBox(QStringLiteral("TextGeneralTitleX")),
                 offsetBox(QStringLiteral("TextGeneralDataX")),
                 offsetBox(QStringLiteral("TextGeneralDataY"))};
    m_browser = {offsetBox(QStringLiteral("TextBrowserTitleX")),
                 offsetBox(QStringLiteral("TextBrowserDataX")),
                 offsetBox(QStringLiteral("TextBrowserDataY"))};
    m_comboBrowser = named<QComboBox>(QStringLiteral("ComboBrowser"));
    makeTypedCombo(m_comboBrowser);
    const auto label = [this](int number) { return m_labels.at(size_t(number - 3)); };
    const auto offsets = [](QGroupBox* panel, QLabel* titleLabel, QLabel* dataLabel, QLabel* x,
                            QLabel* y, const std::array<QLineEdit*, 3>& boxes) {
        // A row's label names its first box; the second box of the data row has none.
        titleLabel->setBuddy(boxes[0]);
        dataLabel->setBuddy(boxes[1]);
        nameAfterToolTip(boxes[2]);
        auto* grid = new QGridLayout(panel);
        grid->addWidget(x, 0, 1);
        grid->addWidget(y, 0, 2);
        grid->addWidget(titleLabel, 1, 0);
        grid->addWidget(boxes[0], 1, 1);
        grid->addWidget(dataLabel, 2, 0);
        grid->addWidget(boxes[1], 2, 1);
        grid->addWidget(boxes[2], 2, 2);
        return grid;
    };
    offsets(m_ssPanel1, label(3), label(4), label(5), label(6), m_general);
    QGridLayout* browser = offsets(m_ssPanel2, label(9), label(10), label(7), label(8), m_browser);
    label(11)->setBuddy(m_comboBrowser);
    auto* choice = new QHBoxLayout;
    choice->addWidget(label(11));
    choice->addWidget(m_comboBrowser, 1);
    browser->addLayout(choice, 3, 0, 1, 3);
    auto* column = new QVBoxLayout(page);
    column->addWidget(m_ssPanel1);
    column->addWidget(m_ssPanel2);
    column->addStretch(1);
    return page;
}

void FormFieldConfig::setCaptions()
{
    setWindowTitle(resString(214) + QStringLiteral("            Desktop: ") + config().Desktop);
    m_ssTab1->setTabText(0, resString(219));
    m_ssTab1->setTabText(1, resString(220));
    m_frame1->setTitle(resString(215));
    m_frame2->setTitle(resString(216));
    m_label1->setText(resString(217));
    m_label2->setText(resString(218));
    m_optionForm->setText(resString(509));
    m_optionForm->setToolTip(resString(511));
    m_optionSearch->setText(resString(508));
    m_optionSearch->setToolTip(resString(510));
    m_listViewFields->setToolTip(resString(456));
    m_listInvisible->setToolTip(resString(457));
    m_listVisible->setToolTip(resString(458));
    const std::array<std::pair<int, int>, 13> labelTexts{{{3, 223},
                                                          {4, 224},
                                                          {5, 225},
                                                          {6, 226},
                                                          {7, 225},
                                                          {8, 226},
                                                          {9, 223},
                                                          {10, 224},
                                                          {11, 227},
                                                          {12, 230},
                                                          {13, 231},
                                                          {14, 228},
                                                          {15, 229}}};
    for (const auto& [label, text] : labelTexts)
        m_labels.at(size_t(label - 3))->setText(resString(text));
    m_ssPanel1->setTitle(resString(221));
    m_ssPanel2->setTitle(resString(222));
    for (const std::array<QLineEdit*, 3>* boxes : {&m_general, &m_browser}) {
        (*boxes)[0]->setToolTip(resString(459));
        (*boxes)[1]->setToolTip(resString(459));
        (*boxes)[2]->setToolTip(resString(460));
    }
    m_comboBrowser->setToolTip(resString(461));
    nameListsAfterLabels(this);
    m_commandSave->setText(resString(125));
    m_commandSave->setToolTip(resString(433));
    m_commandExit->setText(resString(381));
    m_commandExit->setToolTip(resString(434));
}

void FormFieldConfig::FormLoad()
{
    setOuterSizeTwips(this, 10800, 7200);
    CenterForm(this);
    setCaptions();
    m_optionForm->setChecked(true);
    QString sql;
    Trapped(Source + QStringLiteral("FormLoad"), sql, [&] {
        DoFieldMaint();
        LoadBrowserList();
        ListConfigure();
        LoadFieldList();
        if (!config().Browser.isEmpty())
            showStoredText(m_comboBrowser, config().Browser);
        SelectFirst();
        m_commandSave->setEnabled(false);
        m_comboBrowser->setEnabled(m_comboBrowser->count() > 0);
    });
}

void FormFieldConfig::DoFieldMaint()
{
    QString sql;
    Trapped(Source + QStringLiteral("DoFieldMaint"), sql, [&] {
        const Hourglass hourglass;
        sql = FieldMaintSql(session().DatabaseType);
        session().MainDatabase->execute(sql);
    });
}

void FormFieldConfig::LoadBrowserList()
{
    QString sql;
    Trapped(Source + QStringLiteral("LoadBrowserList"), sql, [&] {
        const Hourglass hourglass;
        ChooseSql(sql, QStringLiteral("select browser_id from mt.qrb_zv_browser_list;commit"),
                  QStringLiteral("select browser_id from mt.qrb_zv_browser_list;"));
        const db::ResultSet rows = session().MainDatabase->query(sql);
        QStringList browsers;
        for (qsizetype r = 0; r < rows.size(); ++r)
            if (const QString id = rows.text(r, u"browser_id"); !id.isEmpty())
                browsers.append(id);
        fillCombo(m_comboBrowser, sortedTexts(browsers));
        if (browsers.isEmpty())
            enableBrowser(false);
    });
}

void FormFieldConfig::enableBrowser(bool enabled)
{
    m_comboBrowser->setEnabled(enabled);
    for (QLineEdit* box : m_browser)
        box->setEnabled(enabled);
    for (int label = 7; label <= 11; ++label)
        m_labels.at(size_t(label - 3))->setEnabled(enabled);
}

void FormFieldConfig::ListConfigure()
{
    m_listViewFields->setHeaderLabels({resString(262), resString(261)});
    QHeaderView* header = m_listViewFields->header();
    header->resizeSection(0, std::max(twips(850), header->sectionSizeHint(0)));
    header->resizeSection(1, std::max(twips(2000), header->sectionSizeHint(1)));
}

void FormFieldConfig::LoadFieldList()
{
    QString sql;
    Trapped(Source + QStringLiteral("LoadFieldList"), sql, [&] {
        const Hourglass hourglass;
        m_listViewFields->clear();
        const QString filter = searchMode() ? QStringLiteral("fform = '0'")
                                            : QStringLiteral("(fform = '2' or fform = '3' or "
                                                             "fform = '4' or fform = '5' or "
                                                             "fform = '6')");
        const QString text = QStringLiteral("select fldnum,") + titleColumn() +
                             QStringLiteral(" from mt.qrb_zv_customiz where ") + filter +
                             QStringLiteral(" and fldnum <> '2501' or fldnum='2340' order by "
                                            "fldnum asc;");
        ChooseSql(sql, text + QStringLiteral("commit"), text);
        const db::ResultSet rows = session().MainDatabase->query(sql);
        QList<QTreeWidgetItem*> items;
        items.reserve(rows.size());
        for (qsizetype r = 0; r < rows.size(); ++r) {
            const db::Row& row = rows.row(r);
            items.append(new QTreeWidgetItem(
                {row.value(0).value_or(QString()), row.value(1).value_or(QString())}));
        }
        const QSignalBlocker blocker(m_listViewFields);
        m_listViewFields->addTopLevelItems(items);
    });
}

void FormFieldConfig::SelectFirst()
{
    QString sql;
    Trapped(Source + QStringLiteral("SelectFirst"), sql, [&] {
        if (m_listViewFields->topLevelItemCount() == 0)
            return;
        {
            const QSignalBlocker blocker(m_listViewFields);
            m_listViewFields->setCurrentItem(m_listViewFields->topLevelItem(0));
        }
        GetConfig();
    });
}

bool FormFieldConfig::searchMode() const
{
    return m_optionSearch->isChecked();
}

QString FormFieldConfig::selectedField() const
{
    const QTreeWidgetItem* item = m_listViewFields->currentItem();
    return item && item->isSelected() ? item->text(0) : QString();
}

QString FormFieldConfig::formCode(const QString& field) const
{
    return searchMode() ? QStringLiteral("0") : GetfformByFieldNumber(field);
}

// Fills three offset boxes from the first row of the query: "0" for no row or NULL.
void FormFieldConfig::showOffsets(const std::array<QLineEdit*, 3>& boxes, const QString& sql,
                                  const std::array<const char16_t*, 3>& columns)
{
    const db::ResultSet rows = session().MainDatabase->query(sql);
    for (size_t i = 0; i < boxes.size(); ++i)
        boxes.at(i)->setText(rows.isEmpty()
                                 ? QStringLiteral("0")
                                 : rows.text(0, QStringView(columns.at(i)), QStringLiteral("0")));
}

void FormFieldConfig::GetConfig()
{
    const QString field = selectedField();
    if (field.isNull())
        return;
    QString sql;
    Trapped(Source + QStringLiteral("GetConfig"), sql, [&] {
        const Hourglass hourglass;
        m_listVisible->clear();
        m_listInvisible->clear();
        sql = QStringLiteral("select group_id from mt.qrb_zv_groupconfig where group_id not in "
                             "(select group_id from mt.qrb_zv_fields_group_inhibit where fldnum "
                             "= '") +
              field + QStringLiteral("');");
        fillList(m_listVisible, sortedTexts(columnTexts(session().MainDatabase->query(sql),
                                                        QStringLiteral("group_id"))));
        sql =
            QStringLiteral("select group_id from mt.qrb_zv_fields_group_inhibit where fldnum = '") +
            field + QStringLiteral("';");
        fillList(m_listInvisible, sortedTexts(columnTexts(session().MainDatabase->query(sql),
                                                          QStringLiteral("group_id"))));
        const QString code = formCode(field);
        sql = QStringLiteral("select * from mt.qrb_zv_general_offsets where fldnum = '") + field +
              QStringLiteral("' and fform = '") + code + QStringLiteral("';");
        showOffsets(m_general, sql, GeneralColumns);
        if (m_comboBrowser->count() > 0) {
            sql = QStringLiteral("select * from mt.qrb_zv_browser_offsets where fldnum = '") +
                  field + QStringLiteral("' and browser_id = '") + m_comboBrowser->currentText() +
                  QStringLiteral("' and fform = '") + code + QStringLiteral("';");
            showOffsets(m_browser, sql, BrowserColumns);
        } else {
            for (QLineEdit* box : m_browser)
                box->setText(QStringLiteral("0"));
        }
        unedited();
    });
}

void FormFieldConfig::ComboBrowser_Click()
{
    if (m_comboBrowser->count() == 0)
        return;
    QString sql;
    Trapped(Source + QStringLiteral("ComboBrowser"), sql, [&] {
        const Hourglass hourglass;
        const QString text = QStringLiteral("select * from mt.qrb_zv_browser_offsets where fldnum "
                                            "= '") +
                             selectedField() + QStringLiteral("' and browser_id = '") +
                             m_comboBrowser->currentText() + QStringLiteral("';");
        ChooseSql(sql, text + QStringLiteral("commit"), text);
        showOffsets(m_browser, sql, BrowserColumns);
    });
}

void FormFieldConfig::moveGroup(QListWidget* from, QListWidget* to)
{
    QListWidgetItem* item = from->currentItem();
    if (!item || !item->isSelected())
        return;
    addSorted(to, item->text());
    removeEntry(from, from->row(item));
    edited();
}

void FormFieldConfig::edited()
{
    lockList(m_listViewFields, true);
    m_optionSearch->setEnabled(false);
    m_optionForm->setEnabled(false);
    m_commandSave->setEnabled(true);
}

void FormFieldConfig::unedited()
{
    lockList(m_listViewFields, false);
    m_commandSave->setEnabled(false);
    m_optionSearch->setEnabled(true);
    m_optionForm->setEnabled(true);
    m_comboBrowser->setEnabled(m_comboBrowser->count() > 0);
}

// The offset checks; the first box that is no number gets the message and the focus.
bool FormFieldConfig::checkOffsets()
{
    std::vector<QLineEdit*> boxes(m_general.begin(), m_general.end());
    if (!m_comboBrowser->isEnabled())
        boxes.insert(boxes.end(), m_browser.begin(), m_browser.end());
    for (QLineEdit* box : boxes) {
        if (isOffset(box->text()))
            continue;
        refuseSave(resString(920).arg(selectedField()),
                   {resString(250), resString(214), MsgIcon::Critical});
        m_ssTab1->setCurrentIndex(1);
        box->setFocus();
        return false;
    }
    return true;
}

void FormFieldConfig::CommandSave_Click()
{
    const QString field = selectedField();
    if (field.isNull()) { // no field to write to
        unedited();
        return;
    }
    if (!checkOffsets())
        return;
    QString sql;
    Trapped(Source + QStringLiteral("CommandSave"), sql, [&] { writeField(sql); });
    reportSaved(resString(920).arg(field));
}

FieldSave FormFieldConfig::readSave() const
{
    const QString field = selectedField();
    FieldSave save{field, searchMode(), formCode(field), {}, {}, std::nullopt, {}};
    for (int i = 0; i < m_listInvisible->count(); ++i)
        save.hiddenGroups.append(m_listInvisible->item(i)->text());
    for (size_t i = 0; i < save.general.size(); ++i) {
        save.general.at(i) = m_general.at(i)->text();
        save.browserOffsets.at(i) = m_browser.at(i)->text();
    }
    const QString browser = m_comboBrowser->currentText();
    if (m_comboBrowser->currentIndex() >= 0 &&
        m_comboBrowser->itemText(m_comboBrowser->currentIndex()) == browser)
        save.browser = browser;
    return save;
}

void FormFieldConfig::writeField(QString& sql)
{
    const Hourglass hourglass;
    for (QLineEdit* box : m_browser)
        if (box->text().isEmpty())
            box->setText(QStringLiteral("0"));
    const FieldSaveStatements statements = FieldSaveSql(session().DatabaseType, readSave());
    executeAll(sql, statements.groups);
    if (!statements.offsets)
        throw db::DbException(db::DbError::typeMismatch());
    executeAll(sql, *statements.offsets);
    if (m_comboBrowser->count() == 0) {
        enableBrowser(false);
    } else {
        m_comboBrowser->setEnabled(true);
        config().Browser = m_comboBrowser->currentText();
    }
    m_commandSave->setEnabled(false);
    lockList(m_listViewFields, false);
    m_optionSearch->setEnabled(true);
    m_optionForm->setEnabled(true);
}

} // namespace kaldor
