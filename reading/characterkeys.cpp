#include "reading/characterkeys.h"

#include "reading/documentaccessible.h"

#include <QKeyEvent>
#include <QTextEdit>

CharacterKeys::CharacterKeys(QTextEdit *view) : QObject(view), m_view(view)
{
    view->installEventFilter(this);
}

bool CharacterKeys::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_view || event->type() != QEvent::KeyPress)
        return false;
    const auto *key = static_cast<QKeyEvent *>(event);
    const bool select = key->matches(QKeySequence::SelectNextChar)
                        || key->matches(QKeySequence::SelectPreviousChar);
    const bool right = key->matches(QKeySequence::MoveToNextChar) || key->matches(QKeySequence::SelectNextChar);
    if (!right && !select && !key->matches(QKeySequence::MoveToPreviousChar))
        return false;
    // Where the pane's own move would go, as it makes it.
    QTextCursor cursor = m_view->textCursor();
    const int from = cursor.position();
    cursor.setVisualNavigation(true);
    const auto mode = select ? QTextCursor::KeepAnchor : QTextCursor::MoveAnchor;
    if (!cursor.movePosition(right ? QTextCursor::Right : QTextCursor::Left, mode))
        return false;
    const int stop = documentaccessible::characterStop(m_view, from, cursor.position());
    if (stop == cursor.position())
        return false;
    cursor.setPosition(stop, mode);
    cursor.setVisualNavigation(false);
    m_view->setTextCursor(cursor);
    return true;
}
