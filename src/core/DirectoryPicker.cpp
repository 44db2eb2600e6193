#include "DirectoryPicker.h"

#include <QDir>
#include <QFileInfo>
#include <QSignalBlocker>

namespace kaldor {

DirectoryPicker::DirectoryPicker(QWidget* parent) : QListWidget(parent) {}

bool DirectoryPicker::setPath(const QString& path)
{
    if (path.trimmed().isEmpty())
        return false;
    const QString folder = QDir::cleanPath(QDir::current().absoluteFilePath(path));
    if (!QFileInfo(folder).isDir())
        return false;
    if (folder == m_path)
        return true;
    m_path = folder;
    refill();
    Q_EMIT pathChanged();
    return true;
}

void DirectoryPicker::refill()
{
    const QSignalBlocker blocker(this);
    clear();
    QStringList chain;
    for (QDir d(m_path);;) {
        chain.prepend(d.absolutePath());
        if (d.isRoot() || !d.cdUp())
            break;
    }
    const auto add = [this](const QString& folder, const QString& text) {
        auto* item = new QListWidgetItem(text, this);
        item->setData(Qt::UserRole, folder);
        return item;
    };
    QListWidgetItem* current = nullptr;
    for (const QString& folder : std::as_const(chain)) {
        const QString name =
            QDir(folder).isRoot() ? QDir::toNativeSeparators(folder) : QFileInfo(folder).fileName();
        current = add(folder, name);
    }
    const QStringList subfolders =
        QDir(m_path).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString& name : subfolders)
        add(QDir(m_path).absoluteFilePath(name), name);
    setCurrentItem(current);
}

} // namespace kaldor
