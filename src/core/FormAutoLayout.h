#pragma once

#include "SwitchWindow.h"

namespace kaldor {

// The automatic layout switch (autoLayout).
class FormAutoLayout final : public SwitchWindow {
    Q_OBJECT
public:
    FormAutoLayout();
};

} // namespace kaldor
