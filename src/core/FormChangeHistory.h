#pragma once

#include "ChildWindow.h"

#include <QWidget>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTreeView;

namespace kaldor {

class JournalModel;

// The change journal, read only: every change that this program and kaldor-config made, the
// newest first, with its time, user, data source, window, what it changed and its outcome.
// The filter narrows the list to the changes with a text in one of their columns; the selected
// change's statement shows below the list. It reads the journal again when it is opened, when
// its menu item is chosen while it is open, and on Refresh.
class FormChangeHistory final : public QWidget, public ChildWindow {
    Q_OBJECT
public:
    FormChangeHistory();
    void FormLoad() override;
    void FormReopen() override;

private:
    void reload();
    void showStatement();
    void fitColumns();

    JournalModel* m_model;
    QLabel* m_labelJournal;
    QLabel* m_labelFilter;
    QLineEdit* m_textFilter;
    QLabel* m_labelChanges;
    QTreeView* m_listChanges;
    QLabel* m_labelStatement;
    QPlainTextEdit* m_textStatement;
    QPushButton* m_commandRefresh;
    QPushButton* m_commandClose;
};

} // namespace kaldor
