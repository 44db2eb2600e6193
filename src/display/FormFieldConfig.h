#pragma once

#include "ChildWindow.h"

#include <QString>
#include <QWidget>

#include <array>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QTreeWidget;

namespace kaldor {

struct FieldSave;

// Which groups see each field of the web forms and the search screen, and where its title and
// data are drawn: general offsets and per-browser corrections.
class FormFieldConfig final : public QWidget, public ChildWindow {
    Q_OBJECT
public:
    FormFieldConfig();
    void FormLoad() override;

private:
    QWidget* buildPrivileges();
    QWidget* buildOffsets();
    void setCaptions();
    void DoFieldMaint();
    void LoadBrowserList();
    void ListConfigure();
    void LoadFieldList();
    void SelectFirst();
    void GetConfig();
    void ComboBrowser_Click();
    void CommandSave_Click();
    bool checkOffsets();
    FieldSave readSave() const;
    void writeField(QString& sql);
    void moveGroup(QListWidget* from, QListWidget* to);
    void edited();
    void unedited();
    void enableBrowser(bool enabled);
    void showOffsets(const std::array<QLineEdit*, 3>& boxes, const QString& sql,
                     const std::array<const char16_t*, 3>& columns);
    bool searchMode() const;
    QString selectedField() const;
    QString formCode(const QString& field) const;

    QGroupBox* m_frame1;
    QGroupBox* m_frame2;
    QLabel* m_label1;
    QLabel* m_label2;
    QRadioButton* m_optionForm;
    QRadioButton* m_optionSearch;
    QTreeWidget* m_listViewFields;
    QTabWidget* m_ssTab1;
    std::array<QLabel*, 13> m_labels{}; // Label3 .. Label15, at their number less 3
    QListWidget* m_listInvisible = nullptr;
    QListWidget* m_listVisible = nullptr;
    QGroupBox* m_ssPanel1 = nullptr;
    QGroupBox* m_ssPanel2 = nullptr;
    std::array<QLineEdit*, 3> m_general{};
    std::array<QLineEdit*, 3> m_browser{};
    QComboBox* m_comboBrowser = nullptr;
    QPushButton* m_commandSave;
    QPushButton* m_commandExit;
};

} // namespace kaldor
