#pragma once

namespace kaldor {

// Tells the main window which window each menu item shows.
void registerAllWindows();

} // namespace kaldor
