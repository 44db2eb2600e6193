// The report editor's second tab: the prompts of the selected report and their validation.
#include "FormReports.h"

#include "AccessibleNames.h"
#include "ListBox.h"
#include "ModuleGlobals.h"
#include "ResourceStrings.h"
#include "Seams.h"
#include "WindowHelpers.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QEventLoop>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace kaldor {

namespace {

const QString Source = QStringLiteral("FormSQLReports,");
constexpr int Caption = 116;
constexpr int MaxPrompts = 20;
constexpr int FullWidth = 16050;
constexpr int EditWidth = 12675;
constexpr int NarrowWidth = 8890;
constexpr int TypeColumn = 3;
const QString None = QStringLiteral("NONE");
const QString String = QStringLiteral("String");

QPushButton* button(const QString& name, const QString& caption, const QString& tooltip)
{
    auto* b = named<QPushButton>(name, caption);
    b->setToolTip(tooltip);
    return b;
}

QLineEdit* textBox(const QString& name, const QString& tooltip)
{
    auto* box = named<QLineEdit>(name);
    box->setToolTip(tooltip);
    return box;
}

const QStringList& validationTables()
{
    static const QStringList tables{None,
                                    QStringLiteral("INVENTORY"),
                                    QStringLiteral("CALIBRATION"),
                                    QStringLiteral("LOCATION"),
                                    QStringLiteral("REPAIR"),
                                    QStringLiteral("CUSTOMERS")};
    return tables;
}

const QStringList& promptTypes()
{
    static const QStringList types{QStringLiteral("Date"), QStringLiteral("Number"), String,
                                   QStringLiteral("Time")};
    return types;
}

// The VIZ/IDOV form number of a validation table, or an empty text.
QString formOfTable(const QString& table)
{
    const int index = validationTables().indexOf(table);
    return index > 0 ? QString::number(index + 6) : QString();
}

// The type column's text for a stored prompt type.
QString typeText(const QString& storedType)
{
    const QString t = upperCase(storedType);
    return t == u"D"   ? resString(405)
           : t == u"T" ? resString(406)
           : t == u"N" ? resString(407)
           : t == u"S" ? resString(408)
                       : QString();
}

} // namespace

QWidget* FormReports::buildPromptsTab()
{
    auto* page = new QWidget;
    m_listViewPrompts = named<QTreeWidget>(QStringLiteral("ListViewPrompts"), page);
    m_listViewPrompts->setRootIsDecorated(false);
    m_listViewPrompts->setUniformRowHeights(true);
    m_listViewPrompts->setSelectionMode(QAbstractItemView::SingleSelection);
    m_listViewPrompts->setColumnCount(9);
    nameAfterToolTip(m_listViewPrompts);
    m_commandAddPrompt = named<QPushButton>(QStringLiteral("CommandAddPrompt"));
    m_commandRemovePrompt = named<QPushButton>(QStringLiteral("CommandRemovePrompt"));
    m_commandEditPrompt = button(QStringLiteral("CommandEditPrompt"), QStringLiteral("Edit Prompt"),
                                 QStringLiteral("Edit Highlighted Prompt from Prompt List"));
    m_commandSaveValidation =
        button(QStringLiteral("CommandSaveValidation"), QStringLiteral("Done"),
               QStringLiteral("Save this New or Edited Prompt ONLY!!"));
    m_commandCancelEditPrompt =
        button(QStringLiteral("CommandCancelEditPrompt"), QStringLiteral("Cancel Prompt"),
               QStringLiteral("Cancel the changes to this New or Edited Prompt ONLY!!"));

    m_ssFrameValidation = named<QGroupBox>(QStringLiteral("SSFrameValidation"));
    m_textPromptName =
        textBox(QStringLiteral("TextPromptName"), QStringLiteral("Enter Prompt Dialog"));
    m_textReplace = textBox(QStringLiteral("TextReplace"),
                            QStringLiteral("Enter Variable to Replace(wrap with $ signs)"));
    m_textDefault =
        textBox(QStringLiteral("TextDefault"), QStringLiteral("Enter Default or Leave Blank"));
    m_comboType = named<QComboBox>(QStringLiteral("ComboType"));
    makeSelectionOnly(m_comboType);
    m_comboType->setToolTip(QStringLiteral("Select Prompt Type"));
    auto* fields = new QFormLayout;
    fields->addRow(QStringLiteral("Prompt:"), m_textPromptName);
    fields->addRow(QStringLiteral("Replace:"), m_textReplace);
    fields->addRow(QStringLiteral("Default:"), m_textDefault);
    fields->addRow(QStringLiteral("Type:"), m_comboType);
    auto* frame = new QHBoxLayout(m_ssFrameValidation);
    frame->addLayout(fields, 1);
    frame->addWidget(buildValidationArea(), 1);
    m_ssFrameValidation->hide();

    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {m_commandAddPrompt, m_commandRemovePrompt, m_commandEditPrompt})
        buttons->addWidget(b);
    buttons->addStretch(1);
    buttons->addWidget(m_commandSaveValidation);
    buttons->addWidget(m_commandCancelEditPrompt);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(m_listViewPrompts, 1);
    layout->addLayout(buttons);
    layout->addWidget(m_ssFrameValidation, 1);
    return page;
}

QWidget* FormReports::buildValidationArea()
{
    auto* area = new QWidget;
    m_checkDBValid = named<QCheckBox>(QStringLiteral("CheckDBValid"),
                                      QStringLiteral("Enable Database Validation"));
    m_label4 = named<QLabel>(QStringLiteral("Label4"), QStringLiteral("Validation Table:"));
    m_combo1 = named<QComboBox>(QStringLiteral("Combo1"));
    makeSelectionOnly(m_combo1);
    m_label5 = named<QLabel>(QStringLiteral("Label5"), QStringLiteral("Validation Column:"));
    m_combo2 = named<QComboBox>(QStringLiteral("Combo2"));
    makeSelectionOnly(m_combo2);
    m_checkCustomValid = named<QCheckBox>(QStringLiteral("CheckCustomValid"),
                                          QStringLiteral("Enable Custom Validation"));
    m_pickList = named<QRadioButton>(QStringLiteral("PickList"), QStringLiteral("Pick List"));
    m_validList = named<QRadioButton>(QStringLiteral("ValidList"), QStringLiteral("Valid List"));
    for (QRadioButton* o : {m_pickList, m_validList})
        o->setAutoExclusive(false); // both may be off; their clicks keep them exclusive
    m_label6 = named<QLabel>(QStringLiteral("Label6"), QStringLiteral("Custom Validation Values"));
    m_textVal = named<QLineEdit>(QStringLiteral("TextVal"));
    m_listValidation = named<ListBox>(QStringLiteral("ListValidation"));
    m_commandAddCustomVal = button(
        QStringLiteral("CommandAddCustomVal"), QStringLiteral("Add Value"),
        QStringLiteral("Click here if top line is ready to be entered into list or Enter CR"));
    m_commandRemoveCustomVal =
        button(QStringLiteral("CommandRemoveCustomVal"), QStringLiteral("Remove Value"),
               QStringLiteral("Remove Highlighted Value from Custom Validation List"));

    m_label4->setBuddy(m_combo1);
    m_label5->setBuddy(m_combo2);
    // The values typed in the box go to the list below it: both go by the list's label.
    m_label6->setBuddy(m_listValidation);
    m_textVal->setAccessibleName(m_label6->text());

    auto* grid = new QGridLayout(area);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(m_checkDBValid, 0, 0, 1, 2);
    auto* columns = new QFormLayout;
    columns->addRow(m_label4, m_combo1);
    columns->addRow(m_label5, m_combo2);
    columns->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    grid->addLayout(columns, 1, 0, 2, 2);
    grid->addWidget(m_checkCustomValid, 3, 0, 1, 2);
    auto* force = new QHBoxLayout;
    force->addWidget(m_pickList);
    force->addWidget(m_validList);
    grid->addLayout(force, 4, 0, 1, 2);
    grid->addWidget(m_label6, 5, 0, 1, 2);
    grid->addWidget(m_textVal, 6, 0);
    grid->addWidget(m_commandAddCustomVal, 6, 1);
    grid->addWidget(m_listValidation, 7, 0);
    grid->addWidget(m_commandRemoveCustomVal, 7, 1, Qt::AlignTop);
    grid->setColumnStretch(0, 1);
    grid->setRowStretch(7, 1);
    return area;
}

void FormReports::ListConfigure()
{
    const QStringList headers{
        resString(401),           resString(402),           resString(403),
        resString(404),           QStringLiteral("DB"),     QStringLiteral("Table"),
        QStringLiteral("Column"), QStringLiteral("Custom"), QStringLiteral("Force")};
    const int widths[] = {2500, 1400, 1500, 1000, 500, 1200, 900, 700, 600};
    m_listViewPrompts->setHeaderLabels(headers);
    // A header whose caption needs more room than its width in this font gets that room, and
    // so does the type column for the longest of its texts.
    QHeaderView* header = m_listViewPrompts->header();
    int typeWidth = 0;
    for (const int text : {405, 406, 407, 408}) {
        // The room an entry of this text takes, as the list view's items are drawn.
        QStyleOptionViewItem entry;
        entry.initFrom(m_listViewPrompts);
        entry.features = QStyleOptionViewItem::HasDisplay;
        entry.text = resString(text);
        entry.font = m_listViewPrompts->font();
        typeWidth = std::max(typeWidth, m_listViewPrompts->style()
                                            ->sizeFromContents(QStyle::CT_ItemViewItem, &entry,
                                                               QSize(), m_listViewPrompts)
                                            .width());
    }
    for (int i = 0; i < headers.size(); ++i)
        header->resizeSection(i, std::max({twips(widths[i]), header->sectionSizeHint(i),
                                           i == TypeColumn ? typeWidth : 0}));
}

// ---- the prompt list ----------------------------------------------------------------------

void FormReports::loadPromptList(QString& sql)
{
    m_listViewPrompts->clear();
    const QString text = QStringLiteral("select * from mt.qrb_zv_report_prompts where zvrtag = ") +
                         reportTag() + QStringLiteral(" order by sequence asc;");
    ChooseSql(sql, text + QStringLiteral("commit"), text);
    const db::ResultSet rows = session().DirectDatabase->query(sql);
    QList<QTreeWidgetItem*> items;
    items.reserve(rows.size());
    for (qsizetype i = 0; i < rows.size(); ++i) {
        const auto value = [&](QStringView column) {
            return rows.value(i, column).value_or(QString());
        };
        auto* item = new QTreeWidgetItem;
        fillPromptEntry(item, {value(u"prompt"), value(u"prompt_string"), value(u"default_value"),
                               typeText(value(u"prompt_type")), value(u"db_validation"),
                               value(u"validation_table"), value(u"validation_column"),
                               value(u"custom_validation"), value(u"force_validation")});
        items.append(item);
    }
    m_listViewPrompts->addTopLevelItems(items);
}

void FormReports::fillPromptEntry(QTreeWidgetItem* item, const Prompt& p) const
{
    const QString texts[] = {p.prompt, p.replace, p.defaultValue, p.type, p.db,
                             p.table,  p.column,  p.custom,       p.force};
    for (int i = 0; i < 9; ++i)
        item->setText(i, texts[i]);
}

FormReports::Prompt FormReports::promptOf(const QTreeWidgetItem* item) const
{
    return {item->text(0), item->text(1), item->text(2), item->text(3), item->text(4),
            item->text(5), item->text(6), item->text(7), item->text(8)};
}

QTreeWidgetItem* FormReports::selectedPrompt() const
{
    QTreeWidgetItem* item = m_listViewPrompts->currentItem();
    return item && item->isSelected() ? item : nullptr;
}

void FormReports::setPromptButtons(bool enabled)
{
    for (QPushButton* b : {m_commandRemovePrompt, m_commandAddPrompt, m_commandEditPrompt})
        b->setEnabled(enabled);
}

// Waits, with the window and the rest of the program working, until Done or Cancel Prompt
// ends the pending add or edit, or the window goes away.
// The editing frame with Done and Cancel Prompt.
void FormReports::showPromptEditing(bool visible)
{
    for (QWidget* w : std::initializer_list<QWidget*>{
             m_ssFrameValidation, m_commandCancelEditPrompt, m_commandSaveValidation})
        w->setVisible(visible);
}

// The keyboard goes to the prompt list as the editing controls go away; it would fall to the
// next button of the window otherwise (Add Report, Finished), which a further Enter presses.
void FormReports::keyboardBackToPrompts()
{
    QWidget* focus = QApplication::focusWidget();
    if (focus && (focus == m_commandSaveValidation || focus == m_commandCancelEditPrompt ||
                  m_ssFrameValidation->isAncestorOf(focus)))
        // As a click's focus: a list with no current entry keeps none (Qt makes the first one
        // current when the focus arrives by the keyboard).
        m_listViewPrompts->setFocus(Qt::MouseFocusReason);
}

void FormReports::waitForPromptEdit(const QPointer<FormReports>& self)
{
    m_textPromptName->setFocus(); // the editing starts at the question
    QEventLoop loop;
    m_promptWait = &loop;
    connect(this, &QObject::destroyed, &loop, &QEventLoop::quit);
    notifyUserWait();
    loop.exec();
    if (self)
        m_promptWait = nullptr;
}

// ---- adding, editing, removing ------------------------------------------------------------

void FormReports::CommandAddPrompt_Click()
{
    const QPointer<FormReports> self(this);
    QString sql;
    Trapped(Source + QStringLiteral("CommandAddPrompt"), sql, [&] {
        CleanReportNames(sql);
        m_listValidation->clear();
        setWidthTwips(EditWidth);
        if (m_listViewPrompts->topLevelItemCount() == MaxPrompts) {
            messageBox(resString(498), MsgButtons::Ok, MsgIcon::Critical, resString(Caption));
            return;
        }
        setReportButtons(false);
        setTabEnabled(0, false);
        setPromptButtons(false);
        m_editedPrompt = {QString(), QString(),           QString(),
                          String,    QStringLiteral("N"), None,
                          None,      QStringLiteral("N"), QStringLiteral("P")};
        m_pickList->setChecked(false);
        m_validList->setChecked(true);
        m_promptEditMode = PromptEdit::AddPending;
        for (QLineEdit* box : {m_textVal, m_textPromptName, m_textReplace, m_textDefault})
            box->clear();
        for (QWidget* w : std::initializer_list<QWidget*>{
                 m_ssFrameValidation, m_commandCancelEditPrompt, m_commandSaveValidation,
                 m_checkDBValid, m_pickList, m_validList, m_checkCustomValid, m_listValidation,
                 m_combo1, m_combo2, m_textVal, m_label4, m_label5, m_label6, m_commandAddCustomVal,
                 m_commandRemoveCustomVal})
            w->show();
        fillCombo(m_combo1, validationTables());
        fillCombo(m_combo2, {});
        fillCombo(m_comboType, promptTypes());
        showStoredText(m_combo1, None);
        showStoredText(m_combo2, None);
        showStoredText(m_comboType, String);
        waitForPromptEdit(self);
        if (!self)
            return;
        showPromptEditing(false);
        if (m_promptEditMode == PromptEdit::NonePending) {
            auto* item = new QTreeWidgetItem;
            fillPromptEntry(item, m_editedPrompt);
            m_listViewPrompts->addTopLevelItem(item);
        }
        m_commandSave->setEnabled(true);
        m_commandRemovePrompt->setEnabled(true);
        setTabEnabled(0, true);
        setWidthTwips(FullWidth);
    });
}

void FormReports::EditPrompt()
{
    QTreeWidgetItem* item = selectedPrompt();
    if (!item)
        return;
    const QPointer<FormReports> self(this);
    QString sql;
    Trapped(Source + QStringLiteral("EditPrompt"), sql, [&] {
        m_listValidation->clear();
        CleanReportNames(sql);
        m_editedPrompt.type = item->text(3) == resString(408) ? String : item->text(3);
        m_editedPrompt.replace = item->text(1);
        m_editedPrompt.defaultValue = item->text(2);
        setListAndModesEnabled(false);
        setPromptButtons(false);
        setReportButtons(false);
        setTabEnabled(0, false);
        if (!showStoredPrompt(item->text(0), sql))
            showPromptValues(promptOf(item));
        showPromptEditing(true);
        if (m_editedPrompt.type.left(6) == String) {
            SetValidationVisible(false);
            const QString table = m_combo1->currentText();
            fillCombo(m_combo1, validationTables());
            showStoredText(m_combo1, table);
            LoadCustomValidList(sql);
        } else {
            SetValidationVisible(true);
            m_editedPrompt.db = QStringLiteral("N");
            m_editedPrompt.table = None;
            m_editedPrompt.column = None;
            m_editedPrompt.custom = QStringLiteral("N");
            m_editedPrompt.force = QStringLiteral("N");
            m_validList->setChecked(false);
            m_pickList->setChecked(false);
        }
        m_promptEditMode = PromptEdit::EditPending;
        waitForPromptEdit(self);
        if (!self || m_promptEditMode != PromptEdit::NonePending)
            return; // cancelled
        showPromptEditing(false);
        setWidthTwips(FullWidth);
        setTabEnabled(0, true);
        m_commandSave->setEnabled(true);
        setTabEnabled(1, false);
        setPromptButtons(true);
    });
}

// Shows the stored row of the prompt with this question; false when there is none.
bool FormReports::showStoredPrompt(const QString& question, QString& sql)
{
    const QString text =
        QStringLiteral("SELECT DB_VALIDATION,VALIDATION_TABLE,VALIDATION_COLUMN,"
                       "CUSTOM_VALIDATION,FORCE_VALIDATION,PROMPT,PROMPT_STRING,DEFAULT_VALUE,"
                       "PROMPT_TYPE FROM MT.QRB_ZV_REPORT_PROMPTS WHERE PROMPT='") +
        question + QStringLiteral("' AND zvrtag = ") + reportTag() + QStringLiteral(";");
    ChooseSql(sql, text + QStringLiteral("commit"), text);
    const db::ResultSet row = session().MainDatabase->query(sql);
    if (row.isEmpty())
        return false;
    const auto text0 = [&row](QStringView column) {
        return row.value(0, column).value_or(QString());
    };
    const QString type = text0(u"prompt_type");
    const QString shownType = type == u"D"   ? QStringLiteral("Date")
                              : type == u"N" ? QStringLiteral("Number")
                              : type == u"S" ? String
                              : type == u"T" ? QStringLiteral("Time")
                                             : QString();
    if (type == u"S")
        m_ssFrameValidation->show();
    showPromptValues({text0(u"prompt"), text0(u"prompt_string"), text0(u"default_value"), shownType,
                      text0(u"db_validation"), text0(u"validation_table"),
                      text0(u"validation_column"), text0(u"custom_validation"),
                      text0(u"force_validation")});
    return true;
}

// Puts a prompt's values into the editing boxes.
void FormReports::showPromptValues(const Prompt& p)
{
    m_textPromptName->setText(p.prompt);
    m_textReplace->setText(p.replace);
    m_textDefault->setText(p.defaultValue);
    fillCombo(m_comboType, promptTypes());
    showStoredText(m_comboType, p.type == resString(408) ? String : p.type);
    m_checkDBValid->setChecked(p.db == u"Y");
    fillCombo(m_combo1, {});
    fillCombo(m_combo2, {});
    showStoredText(m_combo1, p.table.isEmpty() ? None : p.table);
    showStoredText(m_combo2, p.column.isEmpty() ? None : p.column);
    m_checkCustomValid->setChecked(p.custom == u"Y");
    if (p.force == u"V" || p.force == u"P" || p.force == u"N") {
        m_validList->setChecked(p.force == u"V");
        m_pickList->setChecked(p.force == u"P");
    }
}

void FormReports::CommandSaveValidation_Click()
{
    if (m_textPromptName->text().isEmpty()) {
        m_textPromptName->setFocus();
        return;
    }
    if (m_textReplace->text().isEmpty()) {
        m_textReplace->setFocus();
        return;
    }
    QString sql;
    Trapped(Source + QStringLiteral("CommandSaveValidation"), sql, [&] {
        Prompt& p = m_editedPrompt;
        p.prompt = m_textPromptName->text();
        p.replace = m_textReplace->text();
        p.defaultValue = m_textDefault->text();
        p.type = m_comboType->currentText();
        p.db = m_checkDBValid->isChecked() ? QStringLiteral("Y") : QStringLiteral("N");
        const bool isString = p.type == String;
        if (!isString)
            p.force = QStringLiteral("N");
        else if (m_pickList->isChecked())
            p.force = QStringLiteral("P");
        else if (m_validList->isChecked())
            p.force = QStringLiteral("V");
        p.custom =
            isString && m_checkCustomValid->isChecked() ? QStringLiteral("Y") : QStringLiteral("N");
        p.table = m_combo1->currentText();
        p.column = m_combo2->currentText();
        if (m_promptEditMode == PromptEdit::EditPending)
            if (QTreeWidgetItem* item = selectedPrompt())
                fillPromptEntry(item, p);
        CleanReportNames(sql);
        writeCustomValues(sql);
        m_promptEditMode = PromptEdit::NonePending;
        keyboardBackToPrompts();
        if (m_promptWait)
            m_promptWait->quit();
        ResetReportButtons();
        lockList(m_listSQLReports, true);
    });
}

void FormReports::CommandCancelEditPrompt_Click()
{
    keyboardBackToPrompts();
    for (QWidget* w : std::initializer_list<QWidget*>{
             m_commandAddCustomVal, m_commandRemoveCustomVal, m_ssFrameValidation,
             m_commandSaveValidation, m_commandCancelEditPrompt})
        w->hide();
    m_commandSave->setEnabled(true);
    m_commandExit->setEnabled(true);
    setTabEnabled(1, true);
    setTabEnabled(0, true);
    setPromptButtons(true);
    setListAndModesEnabled(true);
    setWidthTwips(FullWidth);
    m_promptEditMode = PromptEdit::EditPending;
    if (m_promptWait)
        m_promptWait->quit();
}

void FormReports::CommandRemovePrompt_Click()
{
    QTreeWidgetItem* item = selectedPrompt();
    if (!item)
        return;
    setReportButtons(false);
    m_commandSave->setEnabled(true);
    delete item;
    if (m_listViewPrompts->topLevelItemCount() == 0)
        m_commandRemovePrompt->setEnabled(false);
}

void FormReports::ComboType_Click()
{
    SetValidationVisible(m_comboType->currentText() != String);
    m_commandSave->setEnabled(true);
}

void FormReports::SetValidationVisible(bool hide)
{
    for (QWidget* w : std::initializer_list<QWidget*>{
             m_checkDBValid, m_pickList, m_validList, m_checkCustomValid, m_listValidation,
             m_combo1, m_combo2, m_textVal, m_label4, m_label5, m_label6, m_commandAddCustomVal,
             m_commandRemoveCustomVal})
        w->setVisible(!hide);
    if (!hide)
        m_commandEditPrompt->show();
    setWidthTwips(hide ? NarrowWidth : EditWidth);
    setTabEnabled(1, true);
}

// The report's prompt rows become the list's entries, numbered from 1 in list order.
void FormReports::rewritePrompts(QString& sql)
{
    QList<Prompt> prompts;
    if (!m_cloneInProgress) // a clone keeps no prompts
        for (int i = 0; i < m_listViewPrompts->topLevelItemCount(); ++i)
            prompts.append(promptOf(m_listViewPrompts->topLevelItem(i)));
    executeAll(sql, ReportPromptsSql(session().DatabaseType, selectedReport(), prompts));
}

// ---- validation -------------------------------------------------------------------------

void FormReports::LoadCustomValidList(QString& sql)
{
    Trapped(Source + QStringLiteral("LoadCustomValidList"), sql, [&] {
        const Hourglass hourglass;
        const QString text =
            QStringLiteral("select val from mt.qrb_zv_prompt_validation where prompt_string = '") +
            m_editedPrompt.replace + QStringLiteral("' and zvrtag=") + reportTag() +
            QStringLiteral(";");
        ChooseSql(sql, text + QStringLiteral("commit"), text);
        fillList(m_listValidation,
                 columnTexts(session().MainDatabase->query(sql), QStringLiteral("val")));
        m_commandSave->setEnabled(false);
        setTabEnabled(1, true);
    });
}

// The columns that answers may be validated against, for the chosen form. Runs while an add
// or edit waits, whose procedure a failure is reported for.
void FormReports::Combo1_Click()
{
    const QString form = formOfTable(m_combo1->currentText());
    if (form.isEmpty()) {
        fillCombo(m_combo2, {None});
        return;
    }
    QString sql;
    const QString pending = m_promptEditMode == PromptEdit::AddPending
                                ? QStringLiteral("CommandAddPrompt")
                                : QStringLiteral("EditPrompt");
    Trapped(Source + pending, sql, [&] {
        const QString text =
            QStringLiteral("SELECT DISTINCT DATACOL FROM MT.ME2_CUSTOMIZ WHERE FFORM='") + form +
            QStringLiteral("' AND FTYPE='SPVAL' ORDER BY DATACOL;");
        ChooseSql(sql, text + QStringLiteral("commit"), text);
        fillCombo(m_combo2,
                  columnTexts(session().MainDatabase->query(sql), QStringLiteral("datacol")));
    });
}

void FormReports::setForce(const QString& force)
{
    m_pickList->setChecked(force == u"P");
    m_validList->setChecked(force == u"V");
}

void FormReports::CommandAddCustomVal_Click()
{
    if (Trim(m_textVal->text()).isEmpty())
        return;
    m_listValidation->addItem(m_textVal->text());
    m_textVal->clear();
    m_textVal->setFocus();
}

void FormReports::CommandRemoveCustomVal_Click()
{
    const QListWidgetItem* item = m_listValidation->currentItem();
    if (!item || !item->isSelected() || m_selectedValidationIndex < 0 ||
        m_selectedValidationIndex >= m_listValidation->count())
        return;
    removeEntry(m_listValidation, m_selectedValidationIndex);
    m_selectedValidationIndex = -1;
    m_textVal->clear();
    m_textVal->setFocus();
}

void FormReports::writeCustomValues(QString& sql)
{
    QStringList values;
    for (int i = 0; i < m_listValidation->count(); ++i)
        values.append(m_listValidation->item(i)->text());
    executeAll(sql, ReportValuesSql(session().DatabaseType, selectedReport(),
                                    m_editedPrompt.replace, values));
}

} // namespace kaldor
