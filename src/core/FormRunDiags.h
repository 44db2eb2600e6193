#pragma once

#include "SwitchWindow.h"

namespace kaldor {

// The diagnostics switch (Diags).
class FormRunDiags final : public SwitchWindow {
    Q_OBJECT
public:
    FormRunDiags();
};

} // namespace kaldor
