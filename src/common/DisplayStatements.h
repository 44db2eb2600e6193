#pragma once

#include "Session.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace kaldor {

// The saves of the small display windows (tree view, web pages, results header) in the
// dialect's words, empty texts for no dialect.

// What the tree view window saves: the displayed field numbers of each level, the first level
// (inventory) first, and the most asset listings as typed.
struct TreeSave {
    QList<QStringList> levels;
    QString maxAssets;
};
// Every tree field deleted, one insert for each displayed field, then the most asset listings.
// Nothing is quoted.
QStringList TreeSaveSql(DatabaseKind dialect, const TreeSave& save);

// What the web page window saves for one page.
struct PageSave {
    QString page;       // the page's stored name
    QString styleSheet; // empty: NULL
    QString wallpaper;
    QString background; // the colour's stored name
};
// The page's update; the style sheet and the wallpaper are quoted.
QString PageSaveSql(DatabaseKind dialect, const PageSave& save);
// The call that gives every page its default look back.
QString PageResetSql(DatabaseKind dialect);

// The results header's delete, then the insert of the header, quoted.
QStringList HeaderSaveSql(DatabaseKind dialect, const QString& header);

} // namespace kaldor
