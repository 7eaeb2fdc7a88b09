#pragma once

class QGroupBox;

// A frame that every page of a tab set repeats under one title ("答え").
// Screen readers name each frame the focus enters: on every change of page
// they would say the title again. Such a frame is exposed as a client area
// (an AT-SPI filler), which readers pass over as layout; it keeps its title
// as its name for a reader's review of the window.
namespace pageframe {

// Lets screen readers ask marked frames; see widgets::install().
void installAccessibility();

void mark(QGroupBox *frame);

} // namespace pageframe
