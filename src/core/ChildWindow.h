#pragma once

class QListView;
class QMdiSubWindow;
class QTreeView;
class QWidget;

namespace kaldor {

// A window shown inside the main window. Its opening procedure runs once the window sits in
// its frame and before the frame is shown, so that sizing and centering see the real frame
// and the window appears with its own size, caption and icon.
class ChildWindow {
public:
    virtual ~ChildWindow() = default;
    virtual void FormLoad() = 0;
    // Called when the window's menu item is chosen again while the window is open, before it
    // is raised.
    virtual void FormReopen() {}
};

// Gives the window's frame a starting outer size in twips (15 twips to the pixel). Where the
// window's layout needs more room at the current font, the layout wins: the frame grows now
// and whenever a later text needs more (it never shrinks by itself).
// A maximized or minimized frame keeps its size and takes the size given when it is restored.
void setOuterSizeTwips(QWidget* window, int width, int height);

// Gives the frame a new outer width in twips, keeping its height (the one it has when restored).
void setOuterWidthTwips(QWidget* window, int width);

// Grows the window's frame to what its layout needs, keeping the frame's centre.
void growToLayout(QWidget* window);

// When the frame is closed while it is the active one, the window used before it becomes the
// active one, as on Windows (Qt's area goes back to the first window opened). The Window menu's
// Next and Previous keep the order of opening.
void activateUsedBeforeOnClose(QMdiSubWindow* frame);

// Keeps the list box at least as wide as its widest entry, whenever entries are added or
// changed, so that no entry is cut.
void keepEntriesWhole(QListView* list);

// Keeps each column of the list view at least as wide as its widest entry, and the list view
// wide enough for its columns, whenever entries are added or changed.
void keepColumnsWhole(QTreeView* view);

} // namespace kaldor
