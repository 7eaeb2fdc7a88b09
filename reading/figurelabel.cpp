#include "reading/figurelabel.h"

#include "reading/figureaccessible.h"

#include <QAccessible>
#include <QFocusEvent>
#include <QKeyEvent>

#include <algorithm>

using Unit = TextBoundaries::Unit;

FigureLabel::FigureLabel(const QString &name, const QString &words, QWidget *parent)
    : QLabel(parent), m_words(words), m_boundaries(words)
{
    figureaccessible::install();
    setAccessibleName(name);
    setAccessibleDescription(words);
}

QString FigureLabel::hint()
{
    return QStringLiteral("説明は上下の矢印キーで一文ずつ読めます");
}

void FigureLabel::setCaret(int offset)
{
    offset = std::clamp(offset, 0, int(m_words.size()));
    if (offset == m_caret)
        return;
    m_caret = offset;
    if (!QAccessible::isActive())
        return;
    QAccessibleTextCursorEvent event(this, m_caret);
    QAccessible::updateAccessibility(&event);
}

// Set before Qt tells screen readers of the focus, so that they read the
// description chosen here. Heard whole, the words are read on from their
// start, so Down says the second sentence; after the hint, from where the
// reader left them, as a text box keeps its caret when its window comes
// back. Quietly: the focus that follows is what the reader is told.
void FigureLabel::focusInEvent(QFocusEvent *event)
{
    const Qt::FocusReason reason = event->reason();
    const bool cameBack =
        reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason || reason == Qt::MenuBarFocusReason;
    if (!m_words.isEmpty())
        setAccessibleDescription(cameBack ? hint() : m_words);
    if (!cameBack)
        m_caret = 0;
    QLabel::focusInEvent(event);
}

void FigureLabel::keyPressEvent(QKeyEvent *event)
{
    const int next = caretAfterKey(event);
    if (next < 0) {
        QLabel::keyPressEvent(event);
        return;
    }
    setCaret(next);
    event->accept();
}

// Where a key takes the caret; -1 for a key the figure leaves alone.
int FigureLabel::caretAfterKey(const QKeyEvent *event) const
{
    const int size = int(m_words.size());
    const bool control = event->modifiers() & Qt::ControlModifier;
    const TextBoundaries::Range sentence = m_boundaries.at(m_caret, Unit::Sentence);
    switch (event->key()) {
    case Qt::Key_Down: return sentence.end < size ? sentence.end : m_caret;
    case Qt::Key_Up: return sentence.start == 0 ? 0 : m_boundaries.at(sentence.start - 1, Unit::Sentence).start;
    case Qt::Key_Right: return m_boundaries.at(m_caret, Unit::Character).end;
    case Qt::Key_Left: return m_caret == 0 ? 0 : m_boundaries.at(m_caret - 1, Unit::Character).start;
    case Qt::Key_Home: return control ? 0 : sentence.start;
    case Qt::Key_End: return control ? size : std::max(sentence.start, sentence.end - 1);
    default: return -1;
    }
}
