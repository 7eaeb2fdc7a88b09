#pragma once

#include "speech/textboundaries.h"

#include <QLabel>

// A figure as a screen reader meets it: an image from the start, whether or
// not its picture was drawn yet, named by its tab and described in words of
// all it shows. The words are also a text with a caret of its own, nothing
// shown on screen: Up and Down read them a sentence at a time, Left and
// Right a character, Home and End go to the ends of the sentence, Ctrl+Home
// and Ctrl+End to the ends of the words.
//
// The whole description is said when the keys bring the focus to the figure,
// and its caret starts again at the words' start; when the focus merely comes
// back with its window (or from a menu), a short hint stands in for it, so
// that a long description is not said whole again, and the caret stays.
class FigureLabel : public QLabel
{
public:
    FigureLabel(const QString &name, const QString &words, QWidget *parent = nullptr);

    // What the figure shows, in words; its text for a screen reader.
    const QString &words() const { return m_words; }
    const TextBoundaries &boundaries() const { return m_boundaries; }
    int caret() const { return m_caret; }
    // Moves the caret (brought inside the words) and tells screen readers.
    void setCaret(int offset);

    // Said in place of the description when the focus comes back with the window.
    static QString hint();

protected:
    void focusInEvent(QFocusEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    int caretAfterKey(const QKeyEvent *event) const;

    QString m_words;
    TextBoundaries m_boundaries;
    int m_caret = 0;
};
