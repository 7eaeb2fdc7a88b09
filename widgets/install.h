#pragma once

// Process-wide set-up of the widgets, called once after the application
// object exists (by the program's start-up and by the test mains): the
// design font names' substitutes, and what screen readers hear for tab pages,
// spoken labels, announcers and plain windows, in the screen's own pixels.
namespace widgets {

void install();

} // namespace widgets
