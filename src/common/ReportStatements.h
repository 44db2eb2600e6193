#pragma once

#include "Session.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace kaldor {

// What the report window saves for the selected report, as its controls hold it.
struct ReportSave {
    QString report;       // the report's name
    bool crystal = false; // a Crystal report: its file and output, else its SQL
    QString fileName;     // the Crystal file
    QString output;       // the Crystal output conversion
    QString sqlText;      // the SQL report's statement
    bool links = false;   // the SQL report's links box
};

// A prompt of a report as the prompt list holds it.
struct ReportPrompt {
    QString prompt, replace, defaultValue, type, db, table, column, custom, force;
};

// The report window's statements in the dialect's words (empty texts for no dialect). Report
// names, the SQL text and the Crystal file name are quoted; the tag and the output are not.

// The sub-query that finds a report's tag, the same in both dialects.
QString ReportTagSql(const QString& report);
// Quotes taken out of every prompt and report name.
QStringList ReportCleanNamesSql(DatabaseKind dialect);
// The query whether a report of that name exists.
QString ReportExistsSql(DatabaseKind dialect, const QString& report);
// A new report's row, with its tag, inactive.
QString ReportInsertSql(DatabaseKind dialect, const QString& report, bool crystal,
                        const QString& tag);
// A report renamed.
QString ReportRenameSql(DatabaseKind dialect, const QString& old, const QString& report);
// A report's group rows deleted, then its row.
QStringList ReportRemoveSql(DatabaseKind dialect, const QString& report);
// The report's Crystal file and output, or its SQL text and links.
QString ReportSaveSql(DatabaseKind dialect, const ReportSave& save);
// The report's prompt rows deleted, then one insert for each prompt, numbered from 1 in list
// order. The question, its replace text and its default are quoted; the type is its first
// letter in upper case.
QStringList ReportPromptsSql(DatabaseKind dialect, const QString& report,
                             const QList<ReportPrompt>& prompts);
// A prompt's custom values deleted, then one insert for each value; neither the prompt's
// replace text nor the values are quoted.
QStringList ReportValuesSql(DatabaseKind dialect, const QString& report, const QString& replace,
                            const QStringList& values);

} // namespace kaldor
