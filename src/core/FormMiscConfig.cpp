#include "FormMiscConfig.h"

#include "AccessibleNames.h"
#include "DriveMap.h"
#include "ModuleGlobals.h"
#include "Odbc.h"
#include "ResourceStrings.h"
#include "SaveReport.h"
#include "WindowHelpers.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStorageInfo>
#include <QVBoxLayout>

#include <algorithm>

namespace kaldor {

namespace {

// The text with a backslash appended when its last character is not one, whatever the
// platform's own separator.
QString withBackslash(const QString& path)
{
    return path.endsWith(QLatin1Char('\\')) ? path : path + QLatin1Char('\\');
}

// The drives a user can choose: the mapped Windows locations whose folders exist, in the
// map's order, then the roots of the mounted file systems, in name order.
QStringList driveTexts(const DriveMap& drives)
{
    QStringList mapped;
    for (const DriveMap::Entry& entry : drives.entries())
        if (!mapped.contains(entry.prefix, Qt::CaseInsensitive) &&
            QFileInfo(drives.toLocal(entry.prefix)).isDir())
            mapped.append(entry.prefix);
    QStringList roots;
    const QList<QStorageInfo> volumes = QStorageInfo::mountedVolumes();
    for (const QStorageInfo& v : volumes)
        if (v.isValid() && v.isReady())
            roots.append(QDir::toNativeSeparators(v.rootPath()));
    roots.append(QDir::toNativeSeparators(QDir::rootPath()));
    std::sort(roots.begin(), roots.end());
    roots.erase(std::unique(roots.begin(), roots.end()), roots.end());
    return mapped + roots;
}

} // namespace

FormMiscConfig::FormMiscConfig()
    : m_panel2(
          named<QGroupBox>(QStringLiteral("SSPanel2"), QStringLiteral("(SSPanel2 396)"), this)),
      m_comboDatasource(named<QComboBox>(QStringLiteral("ComboDatasource"), m_panel2)),
      m_panel1(
          named<QGroupBox>(QStringLiteral("SSPanel1"), QStringLiteral("(SSPanel1 246)"), this)),
      m_driveShared(named<QComboBox>(QStringLiteral("DriveShared"), m_panel1)),
      m_dirShared(named<DirectoryPicker>(QStringLiteral("DirShared"), m_panel1)),
      m_reportLocationTitle(named<QLabel>(QStringLiteral("ReportLocationTitle"),
                                          QStringLiteral("Reports Location Override"), this)),
      m_reportFileLocation(named<QLineEdit>(QStringLiteral("ReportFileLocation"), this)),
      m_saveFileLocation(
          named<QPushButton>(QStringLiteral("SaveFileLocation"), QStringLiteral("Save"), this)),
      m_commandExit(
          named<QPushButton>(QStringLiteral("CommandExit"), QStringLiteral("(Finished 381)"), this))
{
    makeTypedCombo(m_comboDatasource);
    makeSelectionOnly(m_driveShared);
    m_reportFileLocation->setToolTip(QStringLiteral("File name and path for Reports"));
    m_reportLocationTitle->setBuddy(m_reportFileLocation);
    for (QWidget* control :
         std::initializer_list<QWidget*>{m_comboDatasource, m_driveShared, m_dirShared})
        nameAfterToolTip(control);

    auto* top = new QVBoxLayout(m_panel2);
    top->addWidget(m_comboDatasource);
    auto* shared = new QVBoxLayout(m_panel1);
    shared->addWidget(m_driveShared);
    shared->addWidget(m_dirShared, 1);
    auto* grid = new QGridLayout(this);
    grid->addWidget(m_panel2, 0, 0, 1, 2);
    grid->addWidget(m_panel1, 1, 0, 1, 2);
    grid->addWidget(m_reportLocationTitle, 2, 0, 1, 2);
    grid->addWidget(m_reportFileLocation, 3, 0);
    grid->addWidget(m_saveFileLocation, 3, 1);
    grid->addWidget(m_commandExit, 4, 1);
    grid->setRowStretch(1, 1);

    connect(m_comboDatasource, &QComboBox::activated, this, [this] { ComboDatasource_Click(); });
    connect(m_driveShared, &QComboBox::activated, this, [this] { DriveShared_Change(); });
    connect(m_dirShared, &DirectoryPicker::pathChanged, this, [this] { DirShared_Change(); });
    connect(m_dirShared, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
        if (item)
            DirShared_Open(item->data(Qt::UserRole).toString());
    });
    connect(m_reportFileLocation, &QLineEdit::textChanged, this,
            [this] { ReportFileLocation_Change(); });
    connect(m_saveFileLocation, &QPushButton::clicked, this, [this] { SaveFileLocation_Click(); });
    connect(m_commandExit, &QPushButton::clicked, this, [this] { CommandExit_Click(); });
}

void FormMiscConfig::FormLoad()
{
    setCaptions();
    m_drives = DriveMap::load();
    showStoredLocation();
    Trapped(QStringLiteral("FormMiscConfig,FormLoad"), QString(), [&] {
        fillDataSources();
        setComboText(m_comboDatasource, config().DataSource);
        if (m_comboDatasource->currentText().isEmpty())
            setComboText(m_comboDatasource, QStringLiteral("Calibration Data"));
    });
}

void FormMiscConfig::setCaptions()
{
    setOuterSizeTwips(this, 5550, 6810);
    CenterForm(this);
    setWindowResIcon(this, 111);
    setWindowTitle(resString(245));
    m_panel2->setTitle(resString(396));
    m_comboDatasource->setToolTip(resString(453));
    m_panel1->setTitle(resString(246));
    m_driveShared->setToolTip(resString(454));
    m_dirShared->setToolTip(resString(455));
    m_commandExit->setText(resString(381));
    m_commandExit->setToolTip(resString(434));
}

// Shows the stored shared directory as it is, without running the change handlers: the drive
// in the drive picker, the folder it resolves to in the directory picker (or else the drive's
// folder), and the stored text in ReportFileLocation.
void FormMiscConfig::showStoredLocation()
{
    const SystemConfig& c = config();
    const QSignalBlocker driveBlocker(m_driveShared);
    const QSignalBlocker dirBlocker(m_dirShared);
    const QSignalBlocker textBlocker(m_reportFileLocation);
    fillCombo(m_driveShared, driveTexts(m_drives));
    setComboText(m_driveShared, c.SharedDrive);
    if (!m_dirShared->setPath(m_drives.resolve(c.SharedPath, c.SharedDrive)))
        m_dirShared->setPath(m_drives.toLocal(c.SharedDrive));
    m_reportFileLocation->setText(c.SharedPath);
}

void FormMiscConfig::fillDataSources()
{
    const db::DataSourceListing listing = db::listDataSources({32, 255, -1});
    m_comboDatasource->clear();
    for (const db::DataSourceEntry& entry : listing.entries)
        m_comboDatasource->addItem(entry.name);
}

void FormMiscConfig::ComboDatasource_Click()
{
    config().DataSource = m_comboDatasource->currentText();
}

void FormMiscConfig::DriveShared_Change()
{
    const QString drive = m_driveShared->currentText();
    if (!m_dirShared->setPath(m_drives.toLocal(drive)))
        ErrorHandler(68, QStringLiteral("Device unavailable"),
                     QStringLiteral("FormMiscConfig,DriveShared"), QString());
    config().SharedDrive = drive;
}

void FormMiscConfig::DirShared_Change()
{
    SystemConfig& c = config();
    c.SharedPath = m_drives.toWindows(m_dirShared->path());
    c.SharedDir = withBackslash(c.SharedPath);
    m_reportFileLocation->setText(c.SharedDir);
}

// A folder double-clicked in the picker.
void FormMiscConfig::DirShared_Open(const QString& folder)
{
    if (!m_dirShared->setPath(folder))
        ErrorHandler(76, QStringLiteral("Path not found"),
                     QStringLiteral("FormMiscConfig,DirShared"), QString());
}

void FormMiscConfig::ReportFileLocation_Change()
{
    config().SharedDir = m_reportFileLocation->text();
    config().SharedPath = m_reportFileLocation->text();
}

void FormMiscConfig::SaveFileLocation_Click()
{
    SaveConfig();
    // Before a login only the data source is saved, none when none was chosen.
    reportSaved(session().LoggedIn ? resString(917)
                                   : resString(918).arg(config().DataSource).trimmed());
}

void FormMiscConfig::CommandExit_Click()
{
    closeChildWindow(this);
}

} // namespace kaldor
