#pragma once

class QTextEdit;

// The document pane as a screen reader meets it: a read-only multi-line text
// whose characters are the pane's SpokenText, with its caret, selection,
// lines as laid out on screen, character boxes and hit testing all in that
// text's offsets, mapped to the pane's own cursor positions.
namespace documentaccessible {

// Lets screen readers ask `view` for this text (idempotent).
void install(QTextEdit *view);

// Tells screen readers where the caret now is, in spoken offsets; the
// pane's own notice gives its cursor position, which differs after the
// first stretch read in words.
void announceCaret(QTextEdit *view);

// The pane's position of the start of the word after `position` (before
// it, when not `forward`), words being those the reader reads: Ctrl+Right
// and Ctrl+Left move by them. Spaces and line breaks are stepped over.
int wordStart(QTextEdit *view, int position, bool forward);

} // namespace documentaccessible
