#include "Windows.h"

#include "FormAccess.h"
#include "FormAutoLayout.h"
#include "FormChangeHistory.h"
#include "FormDesktop.h"
#include "FormEditGroups.h"
#include "FormEditUsers.h"
#include "FormFieldConfig.h"
#include "FormMiscConfig.h"
#include "FormReports.h"
#include "FormResultsHeader.h"
#include "FormRunDiags.h"
#include "FormSecurityFeatures.h"
#include "FormTreeConfig.h"
#include "FormWebPageConfig.h"
#include "MDIFormMain.h"

namespace kaldor {

void registerAllWindows()
{
    registerMenuWindow(QStringLiteral("mnuEditgroups"), QStringLiteral("FormEditGroups"),
                       [] { return new FormEditGroups; });
    registerMenuWindow(QStringLiteral("mnuEditUsers"), QStringLiteral("FormEditUsers"),
                       [] { return new FormEditUsers; });
    registerMenuWindow(QStringLiteral("mnuAccess"), QStringLiteral("FormAccess"),
                       [] { return new FormAccess; });
    registerMenuWindow(QStringLiteral("mnuSQL"), QStringLiteral("FormReports"),
                       [] { return new FormReports; });
    registerMenuWindow(QStringLiteral("mnuMiscConfig"), QStringLiteral("FormMiscConfig"),
                       [] { return new FormMiscConfig; });
    registerMenuWindow(QStringLiteral("mnuSecFeat"), QStringLiteral("FormSecurityFeatures"),
                       [] { return new FormSecurityFeatures; });
    registerMenuWindow(QStringLiteral("mnuAutoLayout"), QStringLiteral("FormAutoLayout"),
                       [] { return new FormAutoLayout; });
    registerMenuWindow(QStringLiteral("mnuWebConfig"), QStringLiteral("FormWebPageConfig"),
                       [] { return new FormWebPageConfig; });
    registerMenuWindow(QStringLiteral("mnuDesktopConfiguration"), QStringLiteral("FormDesktop"),
                       [] { return new FormDesktop; });
    registerMenuWindow(QStringLiteral("mnuResultsHeader"), QStringLiteral("FormResultsHeader"),
                       [] { return new FormResultsHeader; });
    registerMenuWindow(QStringLiteral("MnuTreeConfig"), QStringLiteral("FormTreeConfig"),
                       [] { return new FormTreeConfig; });
    registerMenuWindow(QStringLiteral("mnuFieldConfig"), QStringLiteral("FormFieldConfig"),
                       [] { return new FormFieldConfig; });
    registerMenuWindow(QStringLiteral("mnuRunDiags"), QStringLiteral("FormRunDiags"),
                       [] { return new FormRunDiags; });
    registerMenuWindow(QStringLiteral("mnuChangeHistory"), QStringLiteral("FormChangeHistory"),
                       [] { return new FormChangeHistory; });
}

} // namespace kaldor
