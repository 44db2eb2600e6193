#include "FormWebPageConfig.h"

#include "AccessibleNames.h"
#include "DisplayStatements.h"
#include "ListBox.h"
#include "ModuleGlobals.h"
#include "ResourceStrings.h"
#include "SaveReport.h"
#include "Seams.h"
#include "WindowHelpers.h"
#include "WrappingLabel.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <array>

namespace kaldor {

namespace {

const QString Source = QStringLiteral("FormWebPageConfig,");
constexpr int NoColor = 24;

// A page: the resource of its shown name (0: the key itself is shown) and its key.
struct Page {
    int resource;
    const char* key;
};
constexpr std::array<Page, 17> Pages{{{281, "Login Form"},
                                      {282, "Action Selection Form"},
                                      {283, "Search Screen"},
                                      {284, "Tree View"},
                                      {285, "Inventory Form"},
                                      {286, "Calibration Form"},
                                      {0, "Cal Records List"},
                                      {287, "Location Form"},
                                      {288, "Repair Form"},
                                      {289, "Results Form"},
                                      {0, "Full Results Form"},
                                      {290, "Customer Form"},
                                      {291, "Merge Form"},
                                      {292, "Report List"},
                                      {300, "Authentication Pass"},
                                      {301, "Authentication Fail"},
                                      {418, "Report Prompts"}}};

// A colour: the resource of its name, its English name and its code.
struct Color {
    int resource;
    const char* name;
    const char* code;
};
constexpr std::array<Color, 25> Colors{{{265, "Black", "#000000"},
                                        {266, "White", "#FFFFFF"},
                                        {267, "Red", "#FF0000"},
                                        {268, "Green", "#008000"},
                                        {269, "Blue", "#0000FF"},
                                        {270, "Yellow", "#FFFF00"},
                                        {271, "Aqua", "#00FFFF"},
                                        {272, "Fuchsia", "#FF00FF"},
                                        {273, "Gray", "#808080"},
                                        {274, "Lime", "#00FF00"},
                                        {275, "Maroon", "#800000"},
                                        {276, "Purple", "#800080"},
                                        {277, "Navy", "#000080"},
                                        {278, "Olive", "#808000"},
                                        {279, "Silver", "#C0C0C0"},
                                        {280, "Teal", "#008080"},
                                        {512, "Beige", "#F5F5DC"},
                                        {513, "AliceBlue", "#F0F8FF"},
                                        {514, "Cornsilk", "#FFF8DC"},
                                        {515, "AntiqueWhite", "#FAEBD7"},
                                        {516, "Gainsboro", "#DCDCDC"},
                                        {517, "LightGrey", "#D3D3D3"},
                                        {518, "LightCyan", "E0FFFF"},
                                        {519, "WhiteSmoke", "#F5F5F5"},
                                        {0, "None", ""}}};

} // namespace

QString FormWebPageConfig::FormName(int index)
{
    if (index < 0 || index >= int(Pages.size()))
        return {};
    return QString::fromLatin1(Pages.at(size_t(index)).key);
}

QString FormWebPageConfig::ColorName(int index)
{
    if (index < 0 || index >= NoColor)
        return {};
    return QString::fromLatin1(Colors.at(size_t(index)).code);
}

int FormWebPageConfig::ColorNumber(const QString& text)
{
    if (text.isEmpty())
        return NoColor;
    for (int i = 0; i < NoColor; ++i)
        if (text == QLatin1String(Colors.at(size_t(i)).name) ||
            text == QLatin1String(Colors.at(size_t(i)).code))
            return i;
    return NoColor;
}

FormWebPageConfig::FormWebPageConfig()
    : m_frame1(named<QGroupBox>(QStringLiteral("Frame1"))),
      m_frame2(named<QGroupBox>(QStringLiteral("Frame2"))),
      m_label1(named<WrappingLabel>(QStringLiteral("Label1"))),
      m_label2(named<WrappingLabel>(QStringLiteral("Label2"))),
      m_listPage(named<ListBox>(QStringLiteral("ListPage"))),
      m_label3(named<QLabel>(QStringLiteral("Label3"))),
      m_textStyleSheet(named<QLineEdit>(QStringLiteral("TextStyleSheet"))),
      m_label4(named<QLabel>(QStringLiteral("Label4"))),
      m_comboColor(named<QComboBox>(QStringLiteral("ComboColor"))),
      m_label5(named<QLabel>(QStringLiteral("Label5"))),
      m_textWallpaper(named<QLineEdit>(QStringLiteral("TextWallpaper"))),
      m_commandSave(named<QPushButton>(QStringLiteral("CommandSave"))),
      m_commandReset(named<QPushButton>(QStringLiteral("CommandReset"))),
      m_commandExit(named<QPushButton>(QStringLiteral("CommandExit")))
{
    keepEntriesWhole(m_listPage);
    nameAfterToolTip(m_listPage);
    m_label3->setBuddy(m_textStyleSheet);
    m_label4->setBuddy(m_comboColor);
    m_label5->setBuddy(m_textWallpaper);
    auto* pages = new QVBoxLayout(m_frame1);
    pages->addWidget(m_label1);
    pages->addWidget(m_listPage, 1);
    auto* properties = new QFormLayout;
    properties->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    properties->addRow(m_label3, m_textStyleSheet);
    properties->addRow(m_label4, m_comboColor);
    properties->addRow(m_label5, m_textWallpaper);
    auto* right = new QVBoxLayout(m_frame2);
    right->addWidget(m_label2);
    right->addLayout(properties);
    right->addStretch(1);
    auto* frames = new QHBoxLayout;
    frames->addWidget(m_frame1, 1);
    frames->addWidget(m_frame2, 2);
    QHBoxLayout* buttons = buttonRow({m_commandReset}, {m_commandSave, m_commandExit});
    auto* column = new QVBoxLayout(this);
    column->addLayout(frames, 1);
    column->addLayout(buttons);

    connectListClick(m_listPage, this, [this] { GetConfig(); });
    for (QLineEdit* box : {m_textStyleSheet, m_textWallpaper})
        connect(box, &QLineEdit::textChanged, this, [this] { edited(); });
    connect(m_comboColor, &QComboBox::activated, this, [this] { edited(); });
    connect(m_commandSave, &QPushButton::clicked, this, [this] { CommandSave_Click(); });
    connect(m_commandReset, &QPushButton::clicked, this, [this] { CommandReset_Click(); });
    connect(m_commandExit, &QPushButton::clicked, this, [this] { closeChildWindow(this); });
}

void FormWebPageConfig::FormLoad()
{
    setOuterSizeTwips(this, 9600, 6600);
    CenterForm(this);
    setWindowTitle(resString(237));
    m_frame1->setTitle(resString(240));
    m_frame2->setTitle(resString(241));
    m_label1->setText(resString(238));
    m_label2->setText(resString(239));
    m_listPage->setToolTip(resString(441));
    m_label3->setText(resString(242));
    m_textStyleSheet->setToolTip(resString(442));
    m_label4->setText(resString(243));
    m_comboColor->setToolTip(resString(443));
    m_label5->setText(resString(244));
    m_textWallpaper->setToolTip(resString(444));
    m_commandSave->setText(resString(125));
    m_commandSave->setToolTip(resString(433));
    m_commandReset->setText(resString(520));
    m_commandReset->setToolTip(resString(521));
    m_commandExit->setText(resString(381));
    m_commandExit->setToolTip(resString(434));
    LoadColors();
    LoadWebForms();
    m_listPage->setCurrentRow(0); // the selection loads the page
    lockList(m_listPage, false);
    m_commandSave->setEnabled(false);
}

void FormWebPageConfig::LoadColors()
{
    for (const Color& c : Colors)
        m_comboColor->addItem(c.resource ? resString(c.resource) : QString::fromLatin1(c.name));
    m_comboColor->setCurrentIndex(-1); // no colour shown until a page's row chooses one
}

void FormWebPageConfig::LoadWebForms()
{
    for (const Page& p : Pages)
        m_listPage->addItem(p.resource ? resString(p.resource) : QString::fromLatin1(p.key));
}

void FormWebPageConfig::GetConfig()
{
    const QString page = FormName(m_listPage->currentRow());
    if (selectedText(m_listPage).isNull() || page.isEmpty())
        return;
    QString sql;
    Trapped(Source + QStringLiteral("GetConfig"), sql, [&] {
        const Hourglass hourglass;
        const QString text =
            QStringLiteral("select * from mt.qrb_zv_page_configuration where web_page = '") + page +
            QStringLiteral("';");
        ChooseSql(sql, text + QStringLiteral("commit"), text);
        const db::ResultSet rows = session().MainDatabase->query(sql);
        if (rows.isEmpty()) {
            messageBox(resString(293), MsgButtons::Ok, MsgIcon::Critical, resString(237));
            return;
        }
        m_textStyleSheet->setText(rows.text(0, u"style_sheet"));
        m_textWallpaper->setText(rows.text(0, u"wallpaper"));
        const db::Value background = rows.value(0, u"background");
        m_comboColor->setCurrentIndex(background ? ColorNumber(*background) : NoColor);
        m_commandSave->setEnabled(false);
        lockList(m_listPage, false);
    });
}

void FormWebPageConfig::edited()
{
    m_commandSave->setEnabled(true);
    lockList(m_listPage, true);
}

void FormWebPageConfig::CommandSave_Click()
{
    QString sql;
    Trapped(Source + QStringLiteral("CommandSave"), sql, [&] {
        const Hourglass hourglass;
        sql = PageSaveSql(session().DatabaseType,
                          {FormName(m_listPage->currentRow()), m_textStyleSheet->text(),
                           m_textWallpaper->text(), ColorName(m_comboColor->currentIndex())});
        session().MainDatabase->execute(sql);
        lockList(m_listPage, false);
        m_commandSave->setEnabled(false);
    });
    reportSaved(resString(922).arg(selectedText(m_listPage)));
}

void FormWebPageConfig::CommandReset_Click()
{
    if (messageBox(resString(522), MsgButtons::YesNo, MsgIcon::Information, resString(101),
                   MsgAnswer::No) != MsgAnswer::Yes)
        return;
    QString sql;
    Trapped(Source + QStringLiteral("CommandReset"), sql, [&] {
        const Hourglass hourglass;
        m_listPage->clear();
        m_comboColor->clear();
        sql = PageResetSql(session().DatabaseType);
        session().MainDatabase->execute(sql);
        FormLoad();
    });
}

} // namespace kaldor
