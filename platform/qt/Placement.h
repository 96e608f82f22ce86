#pragma once

class QWidget;

// Opens a top-level window within its screen's available area (the screen less the
// window manager's panels). Called just before the window is first shown.
//
// A window that fits keeps the size its layout gives it. One larger than the area (a
// small screen, a panel, a larger scale factor) would put controls where the user
// cannot reach them, and its layout would keep the window manager from shrinking it:
// its contents go into a scroll area instead, the window is sized to the area and
// may be made smaller, and every control keeps its size and place in the contents.
//
// With `centre` the window's frame stands in the middle of the area; otherwise the
// window system places it (a dialog over its owner), and it is moved only as far as
// keeps its frame on the area. The window manager's frame is known only once the
// window is on the screen: the window is fitted and placed again then, and again
// whenever its size changes while it settles.
void openWithinScreen(QWidget* window, bool centre);
