#pragma once

#include "ChildWindow.h"
#include "DriveMap.h"

#include <QListWidget>
#include <QWidget>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

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

// The two settings of this computer: the ODBC data source the tool logs in through, and the
// shared ZUD/ODO directory in which the report editor looks for report files.
class FormMiscConfig final : public QWidget, public ChildWindow {
    Q_OBJECT
public:
    FormMiscConfig();
    void FormLoad() override;

private:
    void setCaptions();
    void showStoredLocation();
    void fillDataSources();

    void ComboDatasource_Click();
    void DriveShared_Change();
    void DirShared_Change();
    void DirShared_Open(const QString& folder);
    void ReportFileLocation_Change();
    void SaveFileLocation_Click();
    void CommandExit_Click();

    QGroupBox* m_panel2;
    QComboBox* m_comboDatasource;
    QGroupBox* m_panel1;
    QComboBox* m_driveShared;
    DirectoryPicker* m_dirShared;
    QLabel* m_reportLocationTitle;
    QLineEdit* m_reportFileLocation;
    QPushButton* m_saveFileLocation;
    QPushButton* m_commandExit;
    DriveMap m_drives;
};

} // namespace kaldor
