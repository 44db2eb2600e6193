#include "DriveMap.h"

#include "ModuleGlobals.h"

#include <QDir>
#include <QFile>

namespace kaldor {

namespace {

const QChar Backslash = QLatin1Char('\\');
const QChar Slash = QLatin1Char('/');

// A Windows location with backslashes only and one at its end, so that a prefix matches
// only whole parts: C:\ matches C:\VIZIDOV and C:, \\server\share matches no \\server\shared.
QString comparable(const QString& location)
{
    QString text = location;
    text.replace(Slash, Backslash);
    return text.endsWith(Backslash) ? text : text + Backslash;
}

// An absolute, clean local path; a relative one is read from the current folder.
QString localFolder(const QString& path)
{
    return QDir::cleanPath(QDir::current().absoluteFilePath(path));
}

// The folder names of a path below a drive's root, where ".." stops at the root as it does
// on a drive.
QStringList belowRoot(const QString& rest)
{
    QStringList parts;
    const QStringList names = rest.split(Backslash, Qt::SkipEmptyParts);
    for (const QString& part : names) {
        if (part == u"..") {
            if (!parts.isEmpty())
                parts.removeLast();
        } else if (part != u".") {
            parts.append(part);
        }
    }
    return parts;
}

bool isUnder(const QString& folder, const QString& root)
{
    return folder == root || folder.startsWith(root.endsWith(Slash) ? root : root + Slash);
}

} // namespace

bool isWindowsLocation(const QString& location)
{
    const bool drive = location.size() >= 2 && location.at(0).isLetter() &&
                       location.at(0).unicode() < 128 && location.at(1) == QLatin1Char(':');
    return drive || location.startsWith(QStringLiteral("\\\\"));
}

QString underDrive(const QString& path, const QString& drive)
{
    if (isWindowsLocation(path) || path.startsWith(Backslash) || path.startsWith(Slash) ||
        drive.isEmpty())
        return path;
    if (drive.endsWith(Backslash) || drive.endsWith(Slash))
        return drive + path;
    return drive + (isWindowsLocation(drive) ? Backslash : Slash) + path;
}

DriveMap::DriveMap(QList<Entry> entries) : m_entries(std::move(entries)) {}

DriveMap DriveMap::load()
{
    const QString fromEnvironment = qEnvironmentVariable("KALDOR_DRIVES");
    if (!fromEnvironment.isEmpty())
        return fromText(fromEnvironment, QLatin1Char(';'));
    QFile file(fileName());
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return fromText(QString::fromUtf8(file.readAll()), QLatin1Char('\n'));
}

DriveMap DriveMap::fromText(const QString& text, QChar separator)
{
    QList<Entry> entries;
    const QStringList parts = text.split(separator);
    for (const QString& part : parts) {
        const QString line = part.trimmed();
        if (line.startsWith(QLatin1Char('#')) || line.startsWith(QLatin1Char(';')))
            continue;
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (equals < 0)
            continue;
        Entry entry{line.left(equals).trimmed(), line.mid(equals + 1).trimmed()};
        if (!entry.prefix.isEmpty() && !entry.folder.isEmpty())
            entries.append(entry);
    }
    return DriveMap(entries);
}

QString DriveMap::fileName()
{
    return GetSettingsFolder() + QStringLiteral("/drives.ini");
}

QString DriveMap::toLocal(const QString& location) const
{
    if (!isWindowsLocation(location)) {
#ifdef Q_OS_WIN
        return {};
#else
        // Stored on a computer like this one: backslashes there were separators too.
        if (!location.startsWith(Slash))
            return {};
        return QDir::cleanPath(QString(location).replace(Backslash, Slash));
#endif
    }
    const QString wanted = comparable(location);
    const Entry* best = nullptr;
    qsizetype bestLength = -1;
    for (const Entry& entry : m_entries) {
        const QString prefix = comparable(entry.prefix);
        if (prefix.size() > bestLength && wanted.startsWith(prefix, Qt::CaseInsensitive)) {
            best = &entry;
            bestLength = prefix.size();
        }
    }
    if (!best) {
#ifdef Q_OS_WIN
        return QDir::cleanPath(location);
#else
        return {};
#endif
    }
    QStringList parts = belowRoot(wanted.mid(bestLength));
    parts.prepend(localFolder(best->folder));
    return QDir::cleanPath(parts.join(Slash));
}

QString DriveMap::resolve(const QString& path, const QString& drive) const
{
    return toLocal(underDrive(path, drive));
}

QString DriveMap::toWindows(const QString& folder) const
{
    const QString local = localFolder(folder);
    const Entry* best = nullptr;
    QString bestRoot;
    for (const Entry& entry : m_entries) {
        const QString root = localFolder(entry.folder);
        if ((!best || root.size() > bestRoot.size()) && isUnder(local, root)) {
            best = &entry;
            bestRoot = root;
        }
    }
    if (!best)
        return QDir::toNativeSeparators(local);
    QString rest = local.mid(bestRoot.size());
    if (rest.startsWith(Slash))
        rest.remove(0, 1);
    if (rest.isEmpty())
        return best->prefix;
    rest.replace(Slash, Backslash);
    return (best->prefix.endsWith(Backslash) ? best->prefix : best->prefix + Backslash) + rest;
}

} // namespace kaldor
