#include "FormChangeHistory.h"

#include "AccessibleNames.h"
#include "Journal.h"
#include "JournalModel.h"
#include "ModuleGlobals.h"
#include "MultiLineTextBox.h"
#include "ResourceStrings.h"
#include "WindowHelpers.h"
#include "WrappingLabel.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeView>
#include <QVBoxLayout>

#include <algorithm>

namespace kaldor {

namespace {

// The widest a column grows to show its entries; the selected change's statement shows whole
// below the list.
constexpr int WidestColumn = 360;

} // namespace

FormChangeHistory::FormChangeHistory()
    : m_model(new JournalModel(this)),
      m_labelJournal(named<WrappingLabel>(QStringLiteral("LabelJournal"), QString(), this)),
      m_labelFilter(named<QLabel>(QStringLiteral("LabelFilter"), this)),
      m_textFilter(named<QLineEdit>(QStringLiteral("TextFilter"), this)),
      m_labelChanges(named<QLabel>(QStringLiteral("LabelChanges"), this)),
      m_listChanges(named<QTreeView>(QStringLiteral("ListChanges"), this)),
      m_labelStatement(named<QLabel>(QStringLiteral("LabelStatement"), this)),
      m_textStatement(named<MultiLineTextBox>(QStringLiteral("TextStatement"), this)),
      m_commandRefresh(named<QPushButton>(QStringLiteral("CommandRefresh"), this)),
      m_commandClose(named<QPushButton>(QStringLiteral("CommandClose"), this))
{
    m_labelFilter->setBuddy(m_textFilter);
    m_labelChanges->setBuddy(m_listChanges);
    m_labelStatement->setBuddy(m_textStatement);
    m_textFilter->setClearButtonEnabled(true);

    // Many thousands of rows: one height for all, no tree decoration, no editing.
    m_listChanges->setModel(m_model);
    m_listChanges->setRootIsDecorated(false);
    m_listChanges->setUniformRowHeights(true);
    m_listChanges->setItemsExpandable(false);
    m_listChanges->setAlternatingRowColors(true);
    m_listChanges->setSelectionMode(QAbstractItemView::SingleSelection);
    m_listChanges->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_listChanges->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_listChanges->setAllColumnsShowFocus(true);
    m_listChanges->setTextElideMode(Qt::ElideRight);
    m_listChanges->header()->setStretchLastSection(true);

    m_textStatement->setReadOnly(true);
    m_textStatement->setLineWrapMode(QPlainTextEdit::WidgetWidth);

    auto* filterRow = new QHBoxLayout;
    filterRow->addWidget(m_labelFilter);
    filterRow->addWidget(m_textFilter, 1);
    auto* column = new QVBoxLayout(this);
    column->addWidget(m_labelJournal);
    column->addLayout(filterRow);
    column->addWidget(m_labelChanges);
    column->addWidget(m_listChanges, 3);
    column->addWidget(m_labelStatement);
    column->addWidget(m_textStatement, 1);
    column->addLayout(buttonRow({m_commandRefresh}, {m_commandClose}));

    connect(m_textFilter, &QLineEdit::textChanged, this, [this](const QString& text) {
        m_model->setFilter(text);
        showStatement();
    });
    connect(m_listChanges->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this] { showStatement(); });
    connect(m_model, &QAbstractItemModel::modelReset, this, [this] { showStatement(); });
    connect(m_commandRefresh, &QPushButton::clicked, this, [this] { reload(); });
    connect(m_commandClose, &QPushButton::clicked, this, [this] { closeChildWindow(this); });
}

void FormChangeHistory::FormLoad()
{
    setOuterSizeTwips(this, 15000, 8400);
    CenterForm(this);
    setWindowResIcon(this, 101);
    setWindowTitle(resString(951));
    m_labelFilter->setText(resString(958));
    m_textFilter->setToolTip(resString(959));
    m_labelChanges->setText(resString(960));
    m_labelStatement->setText(resString(961));
    m_commandRefresh->setText(resString(962));
    m_commandRefresh->setToolTip(resString(963));
    m_commandClose->setText(resString(964));
    m_commandClose->setToolTip(resString(965));
    nameListsAfterLabels(this);
    reload();
}

void FormChangeHistory::FormReopen()
{
    reload();
}

void FormChangeHistory::reload()
{
    const QString path = journalFile();
    m_model->load(path);
    m_labelJournal->setText(m_model->summary());
    m_labelJournal->setToolTip(path);
    fitColumns();
}

// The statement of the selected change, or nothing while none is selected.
void FormChangeHistory::showStatement()
{
    const QModelIndex current = m_listChanges->currentIndex();
    m_textStatement->setPlainText(current.isValid() ? m_model->statement(current.row())
                                                    : QString());
}

// Each column but the last as wide as the entries read so far need, up to a limit; the last
// takes the rest of the list's width.
void FormChangeHistory::fitColumns()
{
    for (int c = 0; c < JournalModel::ColumnCount - 1; ++c) {
        m_listChanges->resizeColumnToContents(c);
        m_listChanges->setColumnWidth(c, std::min(m_listChanges->columnWidth(c), WidestColumn));
    }
}

} // namespace kaldor
