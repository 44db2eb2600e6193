#include "FormRunDiags.h"

#include "SwitchStatements.h"

namespace kaldor {

namespace {

const SwitchTexts RunDiagsTexts{
    u"Run Diags",
    u"LabelRunDiags",
    u"Run Diags Configuration",
    u"ComboRunDiags",
    u"RunDiagsSave",
    u"RunDiagsFinish",
    u"select diags from mt.qrb_zv_system_configuration; commit",
    u"select diags from mt.qrb_zv_system_configuration;",
    u"diags",
    u"Off",
    u"Run Diags is not saved. Please select On or Off and click Save Changes",
    &RunDiagsSaveSql,
    &SystemConfig::Diags,
};

} // namespace

FormRunDiags::FormRunDiags() : SwitchWindow(QStringLiteral("FormRunDiags"), RunDiagsTexts) {}

} // namespace kaldor
