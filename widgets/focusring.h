#pragma once

class QWidget;

// A ring in the highlight colour round `control` while it has the focus, for
// controls whose style draws no focus of their own (pictures, the read-only
// document pane).
namespace focusring {

void attach(QWidget *control);

} // namespace focusring
