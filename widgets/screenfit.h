#pragma once

#include <QSize>

class QWidget;

// A window of fixed design whose client area does not fit its screen (a
// desktop scaled to 150 or 200 %, a small screen) opens within the screen's
// available area, and its content scrolls in both directions; the control
// with the focus, and the caret of a text box, are scrolled wholly into view
// whatever moved them: Tab, arrows, Ctrl+Tab, a shortcut or the mouse.
// Where the design fits, nothing changes.
namespace screenfit {

// Whether a client area of `client` (device-independent pixels) fits the
// available area of `window`'s screen with the frame a window gets there.
bool fits(const QWidget *window, QSize client);

// The widget to build `window`'s content on, `client` in size. Where that
// fits the screen, the window itself, sized to `client`; otherwise a surface
// of that size in a scroll area that fills the window, the window sized to
// what room its screen has. A window with no palette of its own shows
// through the scroll area, as it would around its controls.
QWidget *surface(QWidget *window, QSize client);

// `content`, fixed at `size`, in a scroll area made a child of `parent`: for
// a main window's central widget, where fits() says no.
QWidget *scrolled(QWidget *content, QSize size, QWidget *parent);

// The size a window whose client area is `client` is given on its screen:
// `client`, or less where the screen has not that much room.
QSize windowSize(const QWidget *window, QSize client);

} // namespace screenfit
