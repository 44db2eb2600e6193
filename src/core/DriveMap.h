#pragma once

#include <QChar>
#include <QList>
#include <QString>

namespace kaldor {

// Where the Windows locations kept in the database (a drive such as C:\, a network share such
// as \\server\share\) are on this computer. Each entry maps a location prefix to a local
// folder: PREFIX=FOLDER, for example C:\=/srv/calibration/c. The entries come from the
// environment variable KALDOR_DRIVES (entries separated by ';') when it is set, else from
// drives.ini in the settings folder (one entry a line). Every window that touches files
// resolves locations through this map.
class DriveMap final {
public:
    struct Entry {
        QString prefix; // a Windows location, as written
        QString folder; // the local folder it stands for
    };

    DriveMap() = default;
    explicit DriveMap(QList<Entry> entries);

    // The map in force now: KALDOR_DRIVES, else drives.ini, else no entries.
    static DriveMap load();
    // The entries of a text, separated by `separator`. Blank parts, parts without a prefix
    // or folder and lines starting with '#' or ';' are skipped; blanks around both sides of
    // the '=' are dropped.
    static DriveMap fromText(const QString& text, QChar separator);
    // The drives.ini of the settings folder.
    static QString fileName();

    const QList<Entry>& entries() const { return m_entries; }

    // The local folder of a location, or an empty text when this computer cannot resolve it.
    // A Windows location (drive letter or \\) is mapped through the longest matching prefix,
    // ignoring case; a local absolute path stands for itself; a relative path resolves to
    // nothing. The folder need not exist.
    QString toLocal(const QString& location) const;
    // toLocal of `path` taken under `drive` when `path` is relative (no drive, not beginning
    // with a backslash or slash): the shared ZUD/ODO directory from SharedPath and SharedDrive.
    QString resolve(const QString& path, const QString& drive) const;
    // The Windows form of a local folder that lies under a mapped folder (the longest mapped
    // folder wins), otherwise the local folder itself.
    QString toWindows(const QString& folder) const;

private:
    QList<Entry> m_entries;
};

// Whether the text is a Windows location: it begins with a drive letter and a colon, or
// with two backslashes.
bool isWindowsLocation(const QString& location);

// `path` under `drive` when `path` is relative, else `path`.
QString underDrive(const QString& path, const QString& drive);

} // namespace kaldor
