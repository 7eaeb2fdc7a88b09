#pragma once

class QWidget;

namespace placement {

// Moves a top-level window so that its frame is centred on its screen, its
// size bounded by the screen's available area (such a window scrolls its
// content, see widgets/screenfit.h) and its top-left corner kept inside that
// area, so that its title and menu bar stay within reach. Before
// a window's first show its frame is not known: the frame of a window already
// shown stands in for it, and the window is centred again once its own frame
// is known, should that differ. Where the platform places windows itself
// (Wayland), leaves them to it.
void centerOnScreen(QWidget *window);

} // namespace placement
