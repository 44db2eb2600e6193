#pragma once

class QWidget;

namespace kaldor {

// A window shown inside the main window. Its opening procedure runs once the window sits in
// its frame, so that sizing and centering see the real frame.
class ChildWindow {
public:
    virtual ~ChildWindow() = default;
    virtual void FormLoad() = 0;
};

// Gives the window's frame an outer size in twips (15 twips to the pixel).
void setOuterSizeTwips(QWidget* window, int width, int height);

} // namespace kaldor
