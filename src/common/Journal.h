#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>

namespace kaldor {

// The window and action on whose behalf statements are sent while the scope lives, as the
// error routine names them ("FormEditGroups,CommandSave"); scopes nest, the innermost counts.
class ActionScope final {
public:
    explicit ActionScope(const QString& action);
    ~ActionScope();
    ActionScope(const ActionScope&) = delete;
    ActionScope& operator=(const ActionScope&) = delete;
};

// The change journal: every statement that changes data, sent by the program or by
// kaldor-config, appended as one JSON object per line with when, where, who, on whose behalf,
// the text as sent and its outcome. Reads are not journalled, the password never is.
//
// The file is $KALDOR_JOURNAL, else journal.jsonl in the settings folder. Lines are appended
// whole under a file lock, so that several programs may share one journal; one that reaches
// 50 MB is renamed with its date and a new one started. A journal that cannot be written is
// said once in the error log, and changes nothing else the program does.
void startJournal();
QString journalFile();

// Called with the reason when the journal first cannot be written, after the error log's note:
// the main window's status bar says it too.
void setJournalFailureHandler(std::function<void(const QString& why)> handler);

// The statements of a batch, cut at semicolons outside quotes, brackets and braces.
QStringList splitStatements(const QString& sql);

// Whether a statement text changes data: one of its statements inserts, updates, deletes,
// alters, creates, drops or calls a procedure.
bool changesData(const QString& sql);

// Appends one line (with its line feed) to the journal at `path`; false with a reason when it
// cannot.
bool appendJournalLine(const QString& path, const QByteArray& line, QString* why);

// The size at which a journal is renamed and a new one started.
constexpr qint64 JournalRotationBytes = qint64(50) * 1024 * 1024;

} // namespace kaldor
