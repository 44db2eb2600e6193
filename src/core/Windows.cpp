#include "Windows.h"

#include "MDIFormMain.h"

namespace kaldor {

void registerAllWindows() {}

} // namespace kaldor
