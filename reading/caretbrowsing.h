#pragma once

#include <QString>

class QTextBrowser;

// Caret browsing in a read-only browser pane: a caret the keys move (arrows,
// Ctrl+arrows, Home, End, Page Up/Down, Ctrl+Home/End), drawn while the pane
// has the focus, with a focus ring round the pane; Enter on a link follows
// it as a click does; the Menu key opens the context menu where the caret is
// without scrolling the pane; and screen readers get the pane as a text they
// move through (see documentaccessible.h). Mouse selection and mouse links
// are kept.
namespace caretbrowsing {

void enable(QTextBrowser *view);

// The link the caret is on or just after, spaces at a line's end passed
// over; empty when none.
QString linkAtCaret(const QTextBrowser *view);

} // namespace caretbrowsing
