#pragma once

#include "ChildWindow.h"
#include "DirectoryPicker.h"
#include "DriveMap.h"

#include <QWidget>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace kaldor {

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
