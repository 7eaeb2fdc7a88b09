#pragma once

class QWidget;

namespace placement {

// Moves a top-level window so that its frame is centred on its screen, its
// top-left corner kept inside the screen's available area so that a window
// bigger than the screen keeps its title and menu bar within reach. Before
// a window's first show its frame is not known: the frame of a window already
// shown stands in for it, and the window is centred again once its own frame
// is known, should that differ. Where the platform places windows itself
// (Wayland), leaves them to it.
void centerOnScreen(QWidget *window);

} // namespace placement
