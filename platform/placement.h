#pragma once

class QWidget;

namespace placement {

// Moves a top-level window so that its frame is centred on its screen.
void centerOnScreen(QWidget *window);

} // namespace placement
