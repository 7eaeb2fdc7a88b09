#pragma once

#include <QRect>
#include <QString>

class QTextEdit;
class QWidget;

namespace richtextbox {

// A read-only document box in the monospaced Gothic face: tables in its
// documents are drawn by character position alone, so lines never wrap. It
// scrolls, takes the keyboard focus and opens at the document's first line.
QTextEdit *make(QWidget *parent, const QRect &geometry, const QString &text);

// The same settings for a box made and still empty: one that a screen
// reader reads its own way is given that way first (documentaccessible).
void setUp(QTextEdit *box, const QRect &geometry);

} // namespace richtextbox
