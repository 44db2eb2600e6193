#include "FormSecurityFeatures.h"

#include "ModuleGlobals.h"
#include "ResourceStrings.h"
#include "SaveReport.h"
#include "WindowHelpers.h"
#include "WrappingLabel.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace kaldor {

FormSecurityFeatures::FormSecurityFeatures()
    : m_frame1(named<QGroupBox>(QStringLiteral("Frame1"), QStringLiteral("(Frame1 233)"), this)),
      m_checkLogin(named<QCheckBox>(QStringLiteral("CheckLogin"),
                                    QStringLiteral("(CheckLogin 234)"), m_frame1)),
      m_label1(
          named<WrappingLabel>(QStringLiteral("Label1"), QStringLiteral("(Label1 235)"), m_frame1)),
      m_commandSave(
          named<QPushButton>(QStringLiteral("CommandSave"), QStringLiteral("(Save 125)"), this)),
      m_commandExit(
          named<QPushButton>(QStringLiteral("CommandExit"), QStringLiteral("(Finished 381)"), this))
{
    m_label1->setAlignment(Qt::AlignLeft | Qt::AlignTop); // below its check box, however tall
    auto* inFrame = new QVBoxLayout(m_frame1);
    inFrame->addWidget(m_checkLogin);
    inFrame->addWidget(m_label1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_commandSave);
    buttons->addWidget(m_commandExit);
    auto* column = new QVBoxLayout(this);
    column->addWidget(m_frame1, 1);
    column->addLayout(buttons);

    connect(m_checkLogin, &QCheckBox::stateChanged, this, [this] { CheckLogin_Click(); });
    connect(m_commandSave, &QPushButton::clicked, this, [this] { CommandSave_Click(); });
    connect(m_commandExit, &QPushButton::clicked, this, [this] { CommandExit_Click(); });
}

void FormSecurityFeatures::FormLoad()
{
    setOuterSizeTwips(this, 3855, 4355);
    CenterForm(this);
    setWindowResIcon(this, 108);
    setWindowTitle(resString(232));
    m_frame1->setTitle(resString(233));
    m_checkLogin->setText(resString(234));
    m_checkLogin->setToolTip(resString(451));
    m_label1->setText(resString(235));
    m_commandSave->setText(resString(125));
    m_commandSave->setToolTip(resString(433));
    m_commandExit->setText(resString(381));
    m_commandExit->setToolTip(resString(434));
    m_checkLogin->setChecked(config().RequireLogin == u"Y");
    m_commandSave->setEnabled(false);
}

void FormSecurityFeatures::CheckLogin_Click()
{
    m_commandSave->setEnabled(true);
}

void FormSecurityFeatures::CommandSave_Click()
{
    config().RequireLogin = m_checkLogin->isChecked() ? QStringLiteral("Y") : QStringLiteral("N");
    SaveConfig();
    reportSaved(resString(915));
}

void FormSecurityFeatures::CommandExit_Click()
{
    closeChildWindow(this);
}

} // namespace kaldor
