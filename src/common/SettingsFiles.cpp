#include "SettingsFiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kaldor {

bool FolderExists(const QString& path)
{
    return !path.isEmpty() && QFileInfo(path).isDir();
}

QString GetSettingsFolder()
{
    QString base;
    const QString allUsers = qEnvironmentVariable("AllUsersProfile");
    if (!allUsers.isEmpty()) {
        base = allUsers + QStringLiteral("/Application Data/Tarrowby");
    } else {
        const QString programData = qEnvironmentVariable("ProgramData");
        if (programData.isEmpty())
            return QCoreApplication::instance() ? QCoreApplication::applicationDirPath()
                                                : QDir::currentPath();
        base = programData + QStringLiteral("/Tarrowby");
    }
    if (!FolderExists(base))
        QDir().mkpath(base);
    const QString folder = base + QStringLiteral("/Velmora");
    if (!FolderExists(folder))
        QDir().mkdir(folder);
    return folder;
}

QString SettingsFile()
{
    return GetSettingsFolder() + QStringLiteral("/datasource.ini");
}

QString ErrorLogFile()
{
    return GetSettingsFolder() + QStringLiteral("/errors.log");
}

// Opens the file only when it is, or for writing becomes, a regular file: a named pipe or a
// device in its place would block the program or take what is written. `mode` is ReadOnly,
// WriteOnly with Truncate, or WriteOnly with Append. On failure `error` says why.
bool openRegularFile(QFile& file, QIODevice::OpenMode mode, QString* error)
{
    const bool writing = mode.testFlag(QIODevice::WriteOnly);
    int flags = O_CLOEXEC | O_NOCTTY | O_NONBLOCK | (writing ? O_WRONLY | O_CREAT : O_RDONLY);
    if (mode.testFlag(QIODevice::Append))
        flags |= O_APPEND;
    const QByteArray path = QFile::encodeName(file.fileName());
    const int fd = ::open(path.constData(), flags, 0666);
    struct stat info = {};
    if (fd < 0) {
        // A pipe with no reader refuses a writer at once; say what is there, not the errno.
        const int reason = errno;
        *error = ::stat(path.constData(), &info) == 0 && !S_ISREG(info.st_mode)
                     ? QStringLiteral("Not a regular file")
                     : QString::fromLocal8Bit(std::strerror(reason));
        return false;
    }
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        *error = QStringLiteral("Not a regular file");
        return false;
    }
    const bool ready = ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK) == 0 &&
                       (!mode.testFlag(QIODevice::Truncate) || ::ftruncate(fd, 0) == 0);
    if (!ready || !file.open(fd, mode & ~QIODevice::Truncate, QFileDevice::AutoCloseHandle)) {
        *error = ready ? file.errorString() : QString::fromLocal8Bit(std::strerror(errno));
        ::close(fd);
        return false;
    }
    return true;
}

} // namespace kaldor
