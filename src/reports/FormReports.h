#pragma once

#include "ChildWindow.h"
#include "ReportStatements.h"

#include <QPointer>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <optional>

class QCheckBox;
class QComboBox;
class QEventLoop;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QTreeWidget;
class QTreeWidgetItem;

namespace kaldor {

// The report editor: the catalogue of SQL and Crystal reports on its first tab, the prompts
// of the selected report and their validation on its second. Adding, cloning, renaming and
// removing a report act on the database at once; the report's properties and prompts are
// written by Save, a prompt's custom values by Done.
class FormReports final : public QWidget, public ChildWindow {
    Q_OBJECT
public:
    FormReports();
    ~FormReports() override;
    void FormLoad() override;

private:
    // The prompt being added or edited: its nine values in the order of the list's columns.
    using Prompt = ReportPrompt;
    enum class PromptEdit { NonePending, EditPending, AddPending };
    // Which reports the list shows: SQL or Crystal reports.
    enum class ReportTypeMode { SQLReports, CrystalReports };

    // Layout and captions.
    QWidget* buildDetailsTab();
    QWidget* buildPromptsTab();
    QWidget* buildValidationArea();
    void setCaptions();
    void connectEvents();
    void setWidthTwips(int width);
    void showCrystalBoxes(bool visible);
    void setListAndModesEnabled(bool enabled);

    // The catalogue.
    void CleanReportNames(QString& sql);
    void LoadReportList();
    void GetReportData();
    void LoadFilenames();
    void CommandAddReport_Click();
    void CommandCloneReport_Click();
    void CommandEditTitle_Click();
    void CommandRemoveReport_Click();
    void CommandSave_Click();
    void ResetReportButtons();
    void ListSQLReports_Click();
    void modeClicked(QRadioButton* option);
    void setOptionOn(QRadioButton* option);
    void reportEdited();
    void selectReport(int row);
    void setReportButtons(bool enabled);
    bool crystalMode() const;
    QString selectedReport() const;
    QString quotedReport() const;
    QString reportTag() const;
    bool nameExists(const QString& name, QString& sql);
    std::optional<QString> askNewName(bool adding, const QString& defaultValue, QString& sql);
    void insertReport(const QString& name, QString& sql);
    QString sqlText() const;
    void showSql(const QString& text);

    // The prompts.
    void ListConfigure();
    void loadPromptList(QString& sql);
    void CommandAddPrompt_Click();
    void EditPrompt();
    void CommandSaveValidation_Click();
    void CommandCancelEditPrompt_Click();
    void CommandRemovePrompt_Click();
    void ComboType_Click();
    void SetValidationVisible(bool hide);
    void rewritePrompts(QString& sql);
    bool showStoredPrompt(const QString& question, QString& sql);
    void showPromptValues(const Prompt& p);
    void fillPromptEntry(QTreeWidgetItem* item, const Prompt& p) const;
    Prompt promptOf(const QTreeWidgetItem* item) const;
    void showPromptEditing(bool visible);
    void waitForPromptEdit(const QPointer<FormReports>& self);
    void keyboardBackToPrompts();
    void tabChanged(int index);
    void setTabEnabled(int tab, bool enabled);
    void setPromptButtons(bool enabled);
    QTreeWidgetItem* selectedPrompt() const;

    // The validation of a prompt.
    void LoadCustomValidList(QString& sql);
    void Combo1_Click();
    void CommandAddCustomVal_Click();
    void CommandRemoveCustomVal_Click();
    void writeCustomValues(QString& sql);
    void setForce(const QString& force);

    // Tab 0 and the window.
    QTabWidget* m_ssTab1;
    QLabel* m_reportInstructions1;
    QLabel* m_reportInstructions2;
    QGroupBox* m_frame1;
    QListWidget* m_listSQLReports;
    QGroupBox* m_frame3;
    QRadioButton* m_sqlReportsMode;
    QRadioButton* m_crystalReportsMode;
    QGroupBox* m_frame4;
    QRadioButton* m_activeMode;
    QRadioButton* m_inactiveMode;
    QGroupBox* m_frame2;
    QGroupBox* m_ssPanel1;
    QPlainTextEdit* m_textSQLStatement;
    QLabel* m_reportFileNameLabel;
    QComboBox* m_comboFilename;
    QLabel* m_reportOutputLabel;
    QComboBox* m_comboOutput;
    QCheckBox* m_checkLinks;
    QPushButton* m_commandAddReport;
    QPushButton* m_commandRemoveReport;
    QPushButton* m_commandCloneReport;
    QPushButton* m_commandEditTitle;
    QPushButton* m_commandSave;
    QPushButton* m_commandExit;
    QLabel* m_promptDirecttions;

    // Tab 1: prompts.
    QTreeWidget* m_listViewPrompts = nullptr;
    QPushButton* m_commandAddPrompt = nullptr;
    QPushButton* m_commandRemovePrompt = nullptr;
    QPushButton* m_commandEditPrompt = nullptr;
    QPushButton* m_commandSaveValidation = nullptr;
    QPushButton* m_commandCancelEditPrompt = nullptr;
    QGroupBox* m_ssFrameValidation = nullptr;
    QLineEdit* m_textPromptName = nullptr;
    QLineEdit* m_textReplace = nullptr;
    QLineEdit* m_textDefault = nullptr;
    QComboBox* m_comboType = nullptr;

    // Tab 1: validation.
    QCheckBox* m_checkDBValid = nullptr;
    QLabel* m_label4 = nullptr;
    QComboBox* m_combo1 = nullptr;
    QLabel* m_label5 = nullptr;
    QComboBox* m_combo2 = nullptr;
    QCheckBox* m_checkCustomValid = nullptr;
    QRadioButton* m_pickList = nullptr;
    QRadioButton* m_validList = nullptr;
    QLabel* m_label6 = nullptr;
    QLineEdit* m_textVal = nullptr;
    QListWidget* m_listValidation = nullptr;
    QPushButton* m_commandAddCustomVal = nullptr;
    QPushButton* m_commandRemoveCustomVal = nullptr;

    // The window state.
    ReportTypeMode m_reportTypeMode = ReportTypeMode::SQLReports;
    bool m_showActive = true; // the reports of groups (active), else those of none
    QString m_currentTag;
    bool m_cloneInProgress = false;
    bool m_titleEditInProgress = false;
    bool m_reportAdded = false;
    PromptEdit m_promptEditMode = PromptEdit::NonePending;
    Prompt m_editedPrompt;
    int m_selectedValidationIndex = -1;
    int m_currentTab = 0;
    // The stored SQL text as read, and as the text box shows it (line ends may differ).
    QString m_storedSql, m_shownSql;
    bool m_adding = false;
    // The wait of a pending prompt add or edit, which Done and Cancel Prompt end.
    QPointer<QEventLoop> m_promptWait;
};

} // namespace kaldor
