#pragma once

#include <QListWidget>

namespace kaldor {

// A directory picker: the folders from the root down to the current folder, then the current
// folder's subfolders. Double-clicking an entry opens it. It takes local folders; a relative
// path is read from the current folder.
class DirectoryPicker final : public QListWidget {
    Q_OBJECT
public:
    explicit DirectoryPicker(QWidget* parent = nullptr);
    const QString& path() const { return m_path; }
    // False, leaving the picker as it was, when the path is no existing folder.
    bool setPath(const QString& path);

Q_SIGNALS:
    void pathChanged();

private:
    void refill();
    QString m_path;
};

} // namespace kaldor
