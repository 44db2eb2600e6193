#include "FormReports.h"
#include "ReportFiles.h"

#include "AccessibleNames.h"
#include "CustomDialog.h"
#include "DriveMap.h"
#include "ListBox.h"
#include "ModuleGlobals.h"
#include "MultiLineTextBox.h"
#include "OptionButton.h"
#include "ReportStatements.h"
#include "ResourceStrings.h"
#include "SaveReport.h"
#include "Seams.h"
#include "TabControl.h"
#include "WindowHelpers.h"
#include "WrappingLabel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEventLoop>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace kaldor {

namespace {

const QString Source = QStringLiteral("FormSQLReports,");
constexpr int Caption = 116;
constexpr int FullWidth = 16050;
const QString PdfOutput = QStringLiteral(".PDF - Adobe Acrobat Reader");

QString placeholder(const QString& name)
{
    return QLatin1Char('(') + name + QLatin1Char(')');
}

QPushButton* button(const QString& name)
{
    return named<QPushButton>(name, placeholder(name));
}

QLabel* label(const QString& name)
{
    return named<WrappingLabel>(name, placeholder(name));
}

QRadioButton* option(const QString& name, const QString& caption)
{
    return named<OptionButton>(name, caption);
}

// A combo box that can show a stored text its list lacks: typed (the file name) or
// selection-only (the output conversion).
QComboBox* storedTextCombo(const QString& name, void (*kind)(QComboBox*))
{
    auto* combo = named<QComboBox>(name);
    kind(combo);
    return combo;
}

const QStringList& outputConversions()
{
    static const QStringList list{PdfOutput,
                                  QStringLiteral(".XLS - M/S Excel or Open Office SCALC"),
                                  QStringLiteral(".HTML - Standard HTML 4.01"),
                                  QStringLiteral(".DOC - MicroSoft Word or Open Office"),
                                  QStringLiteral(".TEXT - Standard Text"),
                                  QStringLiteral(".RPT - Crystal Reports"),
                                  QStringLiteral(".RTF - Rich Text")};
    return list;
}

// A column of the report's row; a name that the quote clean-up has just changed finds no row,
// which reads as a report with nothing stored yet.
db::Value firstRowValue(const db::ResultSet& rows, QStringView column)
{
    return rows.isEmpty() ? db::Value() : rows.value(0, column);
}

} // namespace

FormReports::FormReports()
    : m_ssTab1(named<TabControl>(QStringLiteral("SSTab1"))),
      m_reportInstructions1(label(QStringLiteral("ReportInstructions1"))),
      m_reportInstructions2(label(QStringLiteral("ReportInstructions2"))),
      m_frame1(named<QGroupBox>(QStringLiteral("Frame1"))),
      m_listSQLReports(named<ListBox>(QStringLiteral("ListSQLReports"))),
      m_frame3(named<QGroupBox>(QStringLiteral("Frame3"), QStringLiteral("Report Type"))),
      m_sqlReportsMode(option(QStringLiteral("SQLReports_Mode"), QStringLiteral("SQL Reports"))),
      m_crystalReportsMode(
          option(QStringLiteral("CrystalReports_mode"), QStringLiteral("Crystal Reports"))),
      m_frame4(named<QGroupBox>(QStringLiteral("Frame4"), QStringLiteral("Report Status"))),
      m_activeMode(option(QStringLiteral("Active_mode"), QStringLiteral("Active Reports"))),
      m_inactiveMode(option(QStringLiteral("Inactive_mode"), QStringLiteral("Inactive Reports"))),
      m_frame2(named<QGroupBox>(QStringLiteral("Frame2"))),
      m_ssPanel1(named<QGroupBox>(QStringLiteral("SSPanel1"))),
      m_textSQLStatement(named<MultiLineTextBox>(QStringLiteral("TextSQLStatement"))),
      m_reportFileNameLabel(label(QStringLiteral("ReportFileNameLabel"))),
      m_comboFilename(storedTextCombo(QStringLiteral("ComboFilename"), makeTypedCombo)),
      m_reportOutputLabel(label(QStringLiteral("ReportOutputLabel"))),
      m_comboOutput(storedTextCombo(QStringLiteral("ComboOutput"), makeSelectionOnly)),
      m_checkLinks(named<QCheckBox>(QStringLiteral("CheckLinks"))),
      m_commandAddReport(button(QStringLiteral("CommandAddReport"))),
      m_commandRemoveReport(button(QStringLiteral("CommandRemoveReport"))),
      m_commandCloneReport(button(QStringLiteral("CommandCloneReport"))),
      m_commandEditTitle(button(QStringLiteral("CommandEditTitle"))),
      m_commandSave(button(QStringLiteral("CommandSave"))),
      m_commandExit(button(QStringLiteral("CommandExit"))),
      m_promptDirecttions(label(QStringLiteral("PromptDirecttions")))
{
    m_sqlReportsMode->setChecked(true);
    m_activeMode->setChecked(true);
    m_listSQLReports->setSelectionMode(QAbstractItemView::SingleSelection);
    m_listSQLReports->setUniformItemSizes(true);
    m_textSQLStatement->setTabChangesFocus(true);
    m_reportFileNameLabel->setWordWrap(false);
    m_reportOutputLabel->setWordWrap(false);
    m_reportFileNameLabel->setBuddy(m_comboFilename);
    m_reportOutputLabel->setBuddy(m_comboOutput);
    nameAfterToolTip(m_listSQLReports);
    nameAfterToolTip(m_textSQLStatement);

    m_ssTab1->addTab(buildDetailsTab(), QStringLiteral("(397)"));
    m_ssTab1->addTab(buildPromptsTab(), QStringLiteral("(398)"));

    auto* buttons = new QHBoxLayout;
    for (QPushButton* b :
         {m_commandAddReport, m_commandRemoveReport, m_commandCloneReport, m_commandEditTitle})
        buttons->addWidget(b);
    buttons->addStretch(1);
    buttons->addWidget(m_commandSave);
    buttons->addWidget(m_commandExit);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_ssTab1, 1);
    layout->addLayout(buttons);
    layout->addWidget(m_promptDirecttions);

    connectEvents();
}

FormReports::~FormReports() = default;

QWidget* FormReports::buildDetailsTab()
{
    auto* page = new QWidget;
    (new QVBoxLayout(m_frame1))->addWidget(m_listSQLReports);
    auto* types = new QVBoxLayout(m_frame3);
    types->addWidget(m_sqlReportsMode);
    types->addWidget(m_crystalReportsMode);
    auto* status = new QVBoxLayout(m_frame4);
    status->addWidget(m_activeMode);
    status->addWidget(m_inactiveMode);

    auto* statement = new QGridLayout(m_ssPanel1);
    statement->addWidget(m_textSQLStatement, 0, 0, 1, 2);
    statement->addWidget(m_reportFileNameLabel, 1, 0);
    statement->addWidget(m_comboFilename, 1, 1);
    statement->addWidget(m_reportOutputLabel, 2, 0);
    statement->addWidget(m_comboOutput, 2, 1);
    statement->setColumnStretch(1, 1);
    statement->setRowStretch(0, 1);
    auto* properties = new QVBoxLayout(m_frame2);
    properties->addWidget(m_ssPanel1, 1);
    properties->addWidget(m_checkLinks);

    auto* modes = new QHBoxLayout;
    modes->addWidget(m_frame3);
    modes->addWidget(m_frame4);
    // The two steps' texts begin on one line, however many lines each takes.
    for (QLabel* step : {m_reportInstructions1, m_reportInstructions2})
        step->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    auto* grid = new QGridLayout(page);
    grid->addWidget(m_reportInstructions1, 0, 0);
    grid->addWidget(m_reportInstructions2, 0, 1);
    grid->addWidget(m_frame1, 1, 0);
    grid->addLayout(modes, 2, 0);
    grid->addWidget(m_frame2, 1, 1, 2, 1);
    grid->setColumnStretch(0, 2);
    grid->setColumnStretch(1, 3);
    grid->setRowStretch(1, 1);
    return page;
}

void FormReports::connectEvents()
{
    connectListClick(m_listSQLReports, this, [this] { ListSQLReports_Click(); });
    connect(m_listSQLReports, &QListWidget::itemDoubleClicked, this,
            [this] { ListSQLReports_Click(); });
    for (QRadioButton* mode :
         {m_sqlReportsMode, m_crystalReportsMode, m_activeMode, m_inactiveMode})
        connect(mode, &QRadioButton::clicked, this, [this, mode] { modeClicked(mode); });
    connect(m_textSQLStatement, &QPlainTextEdit::textChanged, this, [this] { reportEdited(); });
    connect(m_checkLinks, &QCheckBox::stateChanged, this, [this] { reportEdited(); });
    connect(m_comboFilename, &QComboBox::currentTextChanged, this,
            [this] { m_commandSave->setEnabled(true); });
    connect(m_commandAddReport, &QPushButton::clicked, this, [this] { CommandAddReport_Click(); });
    connect(m_commandCloneReport, &QPushButton::clicked, this,
            [this] { CommandCloneReport_Click(); });
    connect(m_commandEditTitle, &QPushButton::clicked, this, [this] { CommandEditTitle_Click(); });
    connect(m_commandRemoveReport, &QPushButton::clicked, this,
            [this] { CommandRemoveReport_Click(); });
    connect(m_commandSave, &QPushButton::clicked, this, [this] { CommandSave_Click(); });
    connect(m_commandExit, &QPushButton::clicked, this, [this] { closeChildWindow(this); });
    connect(m_ssTab1, &QTabWidget::currentChanged, this, [this](int index) { tabChanged(index); });

    connect(m_commandAddPrompt, &QPushButton::clicked, this, [this] { CommandAddPrompt_Click(); });
    connect(m_commandEditPrompt, &QPushButton::clicked, this, [this] { EditPrompt(); });
    // A double-click (or Enter) opens a prompt as Edit Prompt does, but not while another one is
    // being added or edited (Edit Prompt is disabled then): that one's wait would never end.
    connectEntryChoice(m_listViewPrompts, this, [this] {
        if (!m_promptWait)
            EditPrompt();
    });
    connect(m_commandRemovePrompt, &QPushButton::clicked, this,
            [this] { CommandRemovePrompt_Click(); });
    connect(m_commandSaveValidation, &QPushButton::clicked, this,
            [this] { CommandSaveValidation_Click(); });
    connect(m_commandCancelEditPrompt, &QPushButton::clicked, this,
            [this] { CommandCancelEditPrompt_Click(); });
    connect(m_comboType, &QComboBox::activated, this, [this] { ComboType_Click(); });

    connect(m_combo1, &QComboBox::activated, this, [this] { Combo1_Click(); });
    connect(m_pickList, &QRadioButton::clicked, this, [this] { setForce(QStringLiteral("P")); });
    connect(m_validList, &QRadioButton::clicked, this, [this] { setForce(QStringLiteral("V")); });
    connectListClick(m_listValidation, this,
                     [this] { m_selectedValidationIndex = m_listValidation->currentRow(); });
    connect(m_commandAddCustomVal, &QPushButton::clicked, this,
            [this] { CommandAddCustomVal_Click(); });
    connect(m_textVal, &QLineEdit::returnPressed, this, [this] { CommandAddCustomVal_Click(); });
    connect(m_commandRemoveCustomVal, &QPushButton::clicked, this,
            [this] { CommandRemoveCustomVal_Click(); });
}

void FormReports::setCaptions()
{
    setWindowResIcon(this, 103);
    setWindowTitle(resString(Caption));
    m_ssTab1->setTabText(0, resString(397));
    m_ssTab1->setTabText(1, resString(398));
    m_reportInstructions1->setText(resString(144));
    m_reportInstructions2->setText(resString(145));
    m_frame1->setTitle(resString(146));
    m_listSQLReports->setToolTip(resString(448));
    m_frame2->setTitle(resString(147));
    m_ssPanel1->setTitle(resString(148));
    m_textSQLStatement->setToolTip(resString(449));
    m_reportFileNameLabel->setText(resString(155));
    m_reportOutputLabel->setText(resString(156));
    m_checkLinks->setText(resString(150));
    m_checkLinks->setToolTip(resString(450));
    const std::pair<QPushButton*, std::pair<int, int>> buttons[] = {
        {m_commandAddReport, {142, 427}},   {m_commandRemoveReport, {143, 428}},
        {m_commandCloneReport, {528, 529}}, {m_commandEditTitle, {530, 531}},
        {m_commandSave, {125, 433}},        {m_commandExit, {381, 434}},
        {m_commandAddPrompt, {399, 431}},   {m_commandRemovePrompt, {400, 432}}};
    for (const auto& [b, texts] : buttons) {
        b->setText(resString(texts.first));
        b->setToolTip(resString(texts.second));
    }
    m_promptDirecttions->setText(
        QStringLiteral("You must click the Save Changes button after Adding/Editing/Removing "
                       "Prompts and when saving Report Properties and Cloning Reports"));
    m_listViewPrompts->setToolTip(resString(430));
    nameListsAfterLabels(this);
}

void FormReports::FormLoad()
{
    QString sql;
    Trapped(Source + QStringLiteral("FormLoad"), sql, [&] {
        setOuterSizeTwips(this, FullWidth, 9405);
        CenterForm(this);
        setCaptions();
        m_commandCancelEditPrompt->hide();
        m_commandSaveValidation->hide();
        for (QRadioButton* mode :
             {m_sqlReportsMode, m_crystalReportsMode, m_activeMode, m_inactiveMode})
            mode->show();
        ListConfigure();
        m_cloneInProgress = false;
        m_titleEditInProgress = false;
        m_reportTypeMode = ReportTypeMode::SQLReports;
        m_showActive = true;
        LoadReportList();
        showCrystalBoxes(false);
        setOptionOn(m_activeMode);
        setOptionOn(m_sqlReportsMode);
    });
}

// The report list and the four mode options.
void FormReports::setListAndModesEnabled(bool enabled)
{
    lockList(m_listSQLReports, !enabled);
    for (QWidget* w : std::initializer_list<QWidget*>{m_sqlReportsMode, m_crystalReportsMode,
                                                      m_activeMode, m_inactiveMode})
        w->setEnabled(enabled);
}

// The file and output boxes; their labels stay in both modes.
void FormReports::showCrystalBoxes(bool visible)
{
    m_comboFilename->setVisible(visible);
    m_comboOutput->setVisible(visible);
}

// The window keeps its height; only its width changes with what it shows.
void FormReports::setWidthTwips(int width)
{
    setOuterWidthTwips(this, width);
}

// ---- the catalogue -------------------------------------------------------------------------

bool FormReports::crystalMode() const
{
    return m_reportTypeMode == ReportTypeMode::CrystalReports;
}

QString FormReports::selectedReport() const
{
    return selectedText(m_listSQLReports);
}

QString FormReports::quotedReport() const
{
    return FixQuotes(selectedReport());
}

// The sub-query that finds the selected report's tag.
QString FormReports::reportTag() const
{
    return ReportTagSql(selectedReport());
}

void FormReports::CleanReportNames(QString& sql)
{
    executeAll(sql, ReportCleanNamesSql(session().DatabaseType));
}

void FormReports::LoadReportList()
{
    QString sql;
    Trapped(Source + QStringLiteral("LoadReportList"), sql, [&] {
        const Hourglass hourglass;
        CleanReportNames(sql);
        const QString list =
            QStringLiteral("select report_name from mt.qrb_zv_reports where report_type = '") +
            (crystalMode() ? u'C' : u'S') + QStringLiteral("' and zvrtag ") +
            (m_showActive ? QStringLiteral("in") : QStringLiteral("not in")) +
            QStringLiteral(" (select zvrtag from mt.qrb_zv_group_reports);");
        ChooseSql(sql, list + QStringLiteral("commit"), list);
        showCrystalBoxes(crystalMode());
        m_textSQLStatement->setVisible(!crystalMode());
        if (crystalMode() && (m_showActive || !m_cloneInProgress))
            LoadFilenames();
        fillList(m_listSQLReports,
                 columnTexts(session().MainDatabase->query(sql), QStringLiteral("report_name")));
        if (m_listSQLReports->count() > 0 && !m_listSQLReports->item(0)->text().isEmpty())
            selectReport(0);
        const bool empty = m_listSQLReports->count() == 0;
        if (empty) {
            m_checkLinks->setChecked(false);
            m_checkLinks->setEnabled(false);
            showSql(QString());
            m_textSQLStatement->setEnabled(false);
            m_listViewPrompts->clear();
        } else {
            m_checkLinks->setEnabled(true);
            m_textSQLStatement->setEnabled(true);
        }
        for (QPushButton* b : {m_commandRemoveReport, m_commandCloneReport, m_commandEditTitle,
                               m_commandAddPrompt, m_commandRemovePrompt, m_commandEditPrompt})
            b->setEnabled(!empty);
        m_commandAddReport->setEnabled(true);
        setTabEnabled(1, true);
    });
}

// Selects an entry as code does: a change of the selection is a click on the list.
void FormReports::selectReport(int row)
{
    const bool changed =
        m_listSQLReports->currentRow() != row || !m_listSQLReports->item(row)->isSelected();
    {
        const QSignalBlocker blocker(m_listSQLReports);
        m_listSQLReports->setCurrentRow(row);
    }
    if (changed)
        ListSQLReports_Click();
}

void FormReports::ListSQLReports_Click()
{
    if (!m_cloneInProgress && !m_titleEditInProgress)
        GetReportData();
}

void FormReports::GetReportData()
{
    QString sql;
    Trapped(Source + QStringLiteral("GetReportData"), sql, [&] {
        const Hourglass hourglass;
        CleanReportNames(sql);
        if (crystalMode()) {
            const QString text = QStringLiteral("select report_filename,report_out from "
                                                "mt.qrb_zv_reports where report_name = '") +
                                 quotedReport();
            ChooseSql(sql, text + QStringLiteral("';commit"), text + QStringLiteral("';"));
            const db::ResultSet row = session().MainDatabase->query(sql);
            showStoredText(m_comboFilename,
                           firstRowValue(row, u"report_filename").value_or(QString()));
            showStoredText(m_comboOutput, firstRowValue(row, u"report_out").value_or(PdfOutput));
        } else {
            showSql(QString());
            ChooseSql(sql,
                      QStringLiteral("select sql_link, zvrtag, report_sql from mt.qrb_zv_reports "
                                     "where report_name = '") +
                          quotedReport() + QStringLiteral("';commit"),
                      QStringLiteral("select CAST(report_sql AS text) 'report_sql' ,sql_link "
                                     "'sql_link', zvrtag 'zvrtag' from mt.qrb_zv_reports where "
                                     "report_name = '") +
                          quotedReport() + QLatin1Char('\''));
            const db::ResultSet row = session().DirectDatabase->query(sql);
            showSql(firstRowValue(row, u"report_sql").value_or(QString()));
            const db::Value link = firstRowValue(row, u"sql_link");
            m_checkLinks->setChecked(link && upperCase(*link) == u"Y");
            if (const db::Value tag = firstRowValue(row, u"zvrtag"))
                m_currentTag = *tag;
        }
        loadPromptList(sql);
        m_commandSave->setEnabled(crystalMode());
        setTabEnabled(1, true);
        const bool prompts = m_listViewPrompts->topLevelItemCount() > 0;
        m_commandRemovePrompt->setEnabled(prompts);
        m_commandEditPrompt->setEnabled(prompts);
        setReportButtons(true);
    });
}

void FormReports::LoadFilenames()
{
    Trapped(QStringLiteral("FormCrystalReports,LoadFilenames"), QString(), [&] {
        const QString folder = DriveMap::load().resolve(config().SharedDir, config().SharedDrive);
        fillCombo(m_comboFilename, reportFiles(folder));
        fillCombo(m_comboOutput, outputConversions());
        m_commandSave->setEnabled(true);
    });
}

// The SQL text as it is written back: the stored text itself while the box shows it
// unchanged, else the box's text with the line ends of the platform the texts come from.
QString FormReports::sqlText() const
{
    const QString shown = m_textSQLStatement->toPlainText();
    if (shown == m_shownSql)
        return m_storedSql;
    QString text = shown;
    return text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
}

// Puts a text into the SQL box; the box's change handler runs only when its text changes.
void FormReports::showSql(const QString& text)
{
    if (m_storedSql == text && m_textSQLStatement->toPlainText() == m_shownSql)
        return;
    m_storedSql = text;
    m_textSQLStatement->setPlainText(text);
    m_shownSql = m_textSQLStatement->toPlainText();
}

void FormReports::reportEdited()
{
    setReportButtons(false);
    m_commandSave->setEnabled(true);
    setTabEnabled(1, false);
}

// Add, Remove, Clone, Edit Title and the report list.
void FormReports::setReportButtons(bool enabled)
{
    lockList(m_listSQLReports, !enabled);
    for (QWidget* w : std::initializer_list<QWidget*>{m_commandAddReport, m_commandRemoveReport,
                                                      m_commandCloneReport, m_commandEditTitle})
        w->setEnabled(enabled);
}

void FormReports::modeClicked(QRadioButton* option)
{
    if (option == m_sqlReportsMode)
        m_reportTypeMode = ReportTypeMode::SQLReports;
    else if (option == m_crystalReportsMode)
        m_reportTypeMode = ReportTypeMode::CrystalReports;
    else if (option == m_activeMode)
        m_showActive = true;
    else
        m_showActive = false;
    LoadReportList();
}

// Turns an option on from code: its click handling runs when the option changes.
void FormReports::setOptionOn(QRadioButton* option)
{
    if (option->isChecked())
        return;
    option->setChecked(true);
    modeClicked(option);
}

bool FormReports::nameExists(const QString& name, QString& sql)
{
    sql = ReportExistsSql(session().DatabaseType, name);
    return !session().MainDatabase->query(sql).isEmpty();
}

// Asks for a report name that no report has yet; nothing when the question is cancelled or
// the window goes away meanwhile. An add's question marks the window as having added.
std::optional<QString> FormReports::askNewName(bool adding, const QString& defaultValue,
                                               QString& sql)
{
    const QPointer<FormReports> self(this);
    for (;;) {
        qint32 colour = 0;
        const QString name = CustomDialog(resString(Caption), resString(adding ? 163 : 530), 1, 0,
                                          160, 0, defaultValue, colour, 0);
        if (!self || name == DialogCancelled)
            return std::nullopt;
        if (adding) {
            m_reportAdded = true;
            CleanReportNames(sql);
        }
        if (!nameExists(name, sql))
            return name;
        messageBox(resString(164), MsgButtons::Ok, MsgIcon::Critical, resString(Caption));
    }
}

void FormReports::insertReport(const QString& name, QString& sql)
{
    sql = ReportInsertSql(session().DatabaseType, name, crystalMode(), m_currentTag);
    session().MainDatabase->execute(sql);
}

void FormReports::CommandAddReport_Click()
{
    if (m_adding)
        return; // its name is being asked already
    m_adding = true;
    const QPointer<FormReports> self(this);
    QString sql;
    Trapped(Source + QStringLiteral("CommandAddReport"), sql, [&] {
        const std::optional<QString> name = askNewName(true, QString(), sql);
        if (!self || !name)
            return;
        setReportButtons(false);
        {
            const Hourglass hourglass;
            m_currentTag = Calczvrtag().toUpper();
            insertReport(*name, sql);
        }
        m_listSQLReports->addItem(*name);
        messageBox(resString(503), MsgButtons::Ok, MsgIcon::Information, resString(Caption));
        const QList<QListWidgetItem*> same =
            m_listSQLReports->findItems(*name, Qt::MatchExactly | Qt::MatchCaseSensitive);
        if (!same.isEmpty())
            selectReport(m_listSQLReports->row(same.first()));
        m_commandSave->setEnabled(true);
        m_checkLinks->setEnabled(true);
        m_commandAddPrompt->setEnabled(false);
        if (crystalMode()) {
            m_comboFilename->setEnabled(true);
            if (!m_cloneInProgress)
                LoadFilenames();
            m_comboFilename->setFocus();
            m_showActive = false;
            setOptionOn(m_crystalReportsMode);
        } else {
            m_textSQLStatement->setEnabled(true);
            m_textSQLStatement->setFocus();
        }
        for (QPushButton* b : {m_commandAddReport, m_commandEditTitle, m_commandRemoveReport})
            b->setEnabled(false);
        setTabEnabled(1, false);
        CleanReportNames(sql);
    });
    if (self)
        m_adding = false;
}

void FormReports::CommandCloneReport_Click()
{
    const QPointer<FormReports> self(this);
    m_cloneInProgress = true;
    for (QPushButton* b :
         {m_commandAddReport, m_commandRemoveReport, m_commandCloneReport, m_commandEditTitle,
          m_commandRemovePrompt, m_commandEditPrompt, m_commandAddPrompt})
        b->setEnabled(false);
    CommandAddReport_Click();
    if (self)
        m_cloneInProgress = false;
}

void FormReports::CommandEditTitle_Click()
{
    const QPointer<FormReports> self(this);
    const auto finish = [this] {
        for (QPushButton* b :
             {m_commandAddReport, m_commandRemoveReport, m_commandCloneReport, m_commandEditTitle})
            b->setEnabled(true);
        m_titleEditInProgress = false;
    };
    m_titleEditInProgress = true;
    for (QPushButton* b :
         {m_commandAddReport, m_commandRemoveReport, m_commandCloneReport, m_commandEditTitle})
        b->setEnabled(false);
    QString sql;
    Trapped(Source + QStringLiteral("CommandEditTitle"), sql, [&] {
        const QString old = selectedReport();
        const std::optional<QString> name = askNewName(false, FixQuotes(old), sql);
        if (!self)
            return;
        if (name) {
            sql = ReportRenameSql(session().DatabaseType, old, *name);
            session().MainDatabase->execute(sql);
            // The entry selected now: while the dialog waited, the list may have been filled
            // again (a switch between SQL and Crystal reports) and its entries replaced.
            QListWidgetItem* item = m_listSQLReports->currentItem();
            if (item && item->isSelected())
                item->setText(*name);
            const QList<QListWidgetItem*> same =
                m_listSQLReports->findItems(*name, Qt::MatchExactly | Qt::MatchCaseSensitive);
            if (!same.isEmpty())
                selectReport(m_listSQLReports->row(same.first()));
        }
        finish();
    });
}

void FormReports::CommandRemoveReport_Click()
{
    if (selectedReport().isNull()) {
        messageBox(resString(167), MsgButtons::Ok, MsgIcon::Critical, resString(Caption));
        return;
    }
    if (messageBox(resString(168), MsgButtons::YesNo, MsgIcon::Exclamation, resString(Caption),
                   MsgAnswer::Yes) == MsgAnswer::No)
        return;
    QString sql;
    Trapped(Source + QStringLiteral("CommandRemoveReport"), sql, [&] {
        const Hourglass hourglass;
        const int index = m_listSQLReports->currentRow();
        executeAll(sql, ReportRemoveSql(session().DatabaseType, selectedReport()));
        LoadReportList();
        if (m_listSQLReports->count() > 0) {
            selectReport(std::max(index - 1, 0));
            GetReportData();
        }
        for (QPushButton* b : {m_commandAddReport, m_commandCloneReport, m_commandEditTitle})
            b->setEnabled(true);
    });
}

void FormReports::CommandSave_Click()
{
    const auto refuse = [this](int message) {
        refuseSave(resString(919).arg(selectedReport()),
                   {resString(message), resString(Caption), MsgIcon::Critical});
    };
    if (!crystalMode() && m_textSQLStatement->toPlainText().isEmpty())
        return refuse(165);
    if (crystalMode() && m_comboFilename->currentText().isEmpty())
        return refuse(166);
    if (crystalMode() && m_comboOutput->currentText().isEmpty())
        return refuse(524);
    const QString report = selectedReport(); // the reload after an add selects another entry
    QString sql;
    Trapped(Source + QStringLiteral("CommandSave"), sql, [&] {
        sql = ReportSaveSql(session().DatabaseType,
                            {report, crystalMode(), m_comboFilename->currentText(),
                             m_comboOutput->currentText(), sqlText(), m_checkLinks->isChecked()});
        for (QPushButton* b :
             {m_commandAddReport, m_commandRemoveReport, m_commandCloneReport, m_commandEditTitle})
            b->setEnabled(false);
        {
            const Hourglass hourglass;
            session().MainDatabase->execute(sql);
            rewritePrompts(sql);
        }
        ResetReportButtons();
        setWidthTwips(FullWidth);
        for (QPushButton* b : {m_commandRemovePrompt, m_commandAddPrompt, m_commandEditPrompt})
            b->setEnabled(true);
        if (m_reportAdded) {
            m_inactiveMode->setChecked(true);
            modeClicked(m_inactiveMode);
        }
        setListAndModesEnabled(true);
    });
    reportSaved(resString(919).arg(report));
}

void FormReports::ResetReportButtons()
{
    m_commandSave->setEnabled(false);
    m_commandAddCustomVal->hide();
    m_commandRemoveCustomVal->hide();
    setReportButtons(true);
    setTabEnabled(0, true);
    setTabEnabled(1, true);
}

void FormReports::setTabEnabled(int tab, bool enabled)
{
    enableTab(m_ssTab1, tab, enabled);
}

void FormReports::tabChanged(int index)
{
    if (m_currentTab == 1) {
        m_commandSaveValidation->hide();
        m_commandCancelEditPrompt->hide();
        setWidthTwips(FullWidth);
    }
    m_commandAddCustomVal->hide();
    m_commandRemoveCustomVal->hide();
    m_currentTab = index;
}

} // namespace kaldor
