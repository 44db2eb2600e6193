#include "FormAutoLayout.h"

#include "SwitchStatements.h"

namespace kaldor {

namespace {

const SwitchTexts AutoLayoutTexts{
    u"Auto Layout",
    u"LabelAutoLayout",
    u"Auto Layout Configuration",
    u"ComboAutoLayout",
    u"AutoLayoutSave",
    u"AutoLayoutFinish",
    u"select Autolayout from mt.qrb_zv_system_configuration; commit",
    u"select Autolayout from mt.qrb_zv_system_configuration;",
    u"Autolayout",
    u"On",
    u"Autolayout is not saved. Please select On or Off and click Save Changes",
    &AutoLayoutSaveSql,
    &SystemConfig::AutoLayout,
};

} // namespace

FormAutoLayout::FormAutoLayout() : SwitchWindow(QStringLiteral("FormAutoLayout"), AutoLayoutTexts)
{
}

} // namespace kaldor
