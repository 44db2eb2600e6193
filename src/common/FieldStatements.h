#pragma once

#include "Session.h"

#include <QString>
#include <QStringList>

#include <array>
#include <optional>

namespace kaldor {

// What the field window saves for one field, as its controls hold it.
struct FieldSave {
    QString field;                  // the field number
    bool search = false;            // the search screen's offsets (form 0), else the form's
    QString formCode;               // the field's form code as the window reads it ("0" searching)
    QStringList hiddenGroups;       // the groups that may not see the field
    std::array<QString, 3> general; // title x, data x, data y
    std::optional<QString> browser; // the browser chosen from the list, none for a typed one
    std::array<QString, 3> browserOffsets; // title x, data x, data y
};

// The statements of a field's save, in the order they are sent.
struct FieldSaveStatements {
    QStringList groups; // the hidden groups: one delete, then one insert for each
    // The general offsets' update, then for a chosen browser its delete and insert; none for a
    // field of no known form, whose save fails after the groups are written.
    std::optional<QStringList> offsets;
};

// The maintenance call that gives every field its offsets' rows, in the dialect's words (empty
// for no dialect).
QString FieldMaintSql(DatabaseKind dialect);

// The statements in the dialect's words (empty texts for no dialect). Only a group's name is
// quoted; the offsets and the browser go in as they stand.
FieldSaveStatements FieldSaveSql(DatabaseKind dialect, const FieldSave& save);

} // namespace kaldor
