#pragma once

#include <QRect>

class QTextEdit;

namespace richtextbox {

// Sets up `box`, made and still empty, as a read-only document box in the
// monospaced Gothic face: tables in its documents are drawn by character
// position alone, so lines never wrap. It scrolls, takes the keyboard focus
// and opens at the document's first line once filled. A box a screen reader
// reads its own way is given that way before this (documentaccessible).
void setUp(QTextEdit *box, const QRect &geometry);

} // namespace richtextbox
