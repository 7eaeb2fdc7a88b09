#include "reading/characterkeys.h"

#include "reading/documentaccessible.h"
#include "widgets/keystrokes.h"

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
    const std::optional<keystrokes::Move> move = keystrokes::caretMove(key, keystrokes::Unit::Character);
    if (!move)
        return false;
    const bool select = move->select;
    const bool right = move->forward;
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
