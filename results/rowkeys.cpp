#include "results/rowkeys.h"

#include "widgets/keystrokes.h"

#include <QKeyEvent>
#include <QTextBlock>
#include <QTextEdit>

namespace {

bool onBlankLine(const QTextCursor &cursor)
{
    return cursor.block().length() <= 1;
}

} // namespace

RowKeys::RowKeys(QTextEdit *view) : QObject(view), m_view(view)
{
    view->installEventFilter(this);
}

bool RowKeys::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_view || event->type() != QEvent::KeyPress)
        return false;
    const auto *key = static_cast<QKeyEvent *>(event);
    const std::optional<keystrokes::Move> line = keystrokes::caretMove(key, keystrokes::Unit::Line);
    if (!line || line->select)
        return false;
    const bool down = line->forward;
    // Two of the box's own moves, the column kept, when the first lands on
    // a blank line and the second on a row.
    const auto move = down ? QTextCursor::Down : QTextCursor::Up;
    QTextCursor cursor = m_view->textCursor();
    if (!cursor.movePosition(move) || !onBlankLine(cursor) || !cursor.movePosition(move) || onBlankLine(cursor))
        return false;
    m_view->setTextCursor(cursor);
    return true;
}
