#pragma once

#include "reading/readas.h"

#include <QList>
#include <QString>

class QRect;
class QTextEdit;
class QWidget;

// The document pane as a screen reader meets it: a read-only multi-line text
// whose characters are the pane's SpokenText, with its caret, selection,
// lines as laid out on screen, character boxes and hit testing all in that
// text's offsets, mapped to the pane's own cursor positions.
namespace documentaccessible {

// Lets screen readers ask `view` for this text, and Right and Left step
// over stretches read in words (idempotent).
void install(QTextEdit *view);

// A document box (richtextbox) holding `text`, `stretches` read in words,
// installed before anything is set: a screen reader is told only of the
// interface the box keeps. One replaced after Qt reported it is one a reader
// goes on asking in vain.
QTextEdit *makeBox(QWidget *parent, const QRect &geometry, const QString &text,
                   const QList<readas::Stretch> &stretches);

// Tells screen readers where the caret now is, in spoken offsets; the
// pane's own notice gives its cursor position, which differs after the
// first stretch read in words.
void announceCaret(QTextEdit *view);

// Ctrl+Right and Ctrl+Left: the caret to the start of the word after it
// (before it, when not `forward`), words being those the reader reads,
// spaces and line breaks stepped over; the selection extended when `select`.
// With Ctrl held, Orca says what a move to the right passed over, and from
// the caret to the end of the word there after a move to the left, less a
// last character that is neither a space nor a letter or digit, so a
// bracket or a full stop alone would be lost. It takes the move for one by
// a character when Ctrl is let go before it hears of the move (Qt reports
// the release without Ctrl), and says the character at the caret: until
// the caret moves again, that character is the same word, and so is the
// word there, through the spaces after it. Else a quick and a held press in
// turn would say one word twice and skip the next.
// Signs that end the text have no space after them: they are no stop, and
// are heard with the word before them. A sign with a word right after it
// (「（」 before 4点) is heard with that word: the stop is before the sign.
void moveByWord(QTextEdit *view, bool forward, bool select);

// Where a move of the caret from `from` to the next character, `to`, stops:
// past a stretch read in words that `to` lies inside, so that the reader
// hears those words once.
int characterStop(QTextEdit *view, int from, int to);

} // namespace documentaccessible
