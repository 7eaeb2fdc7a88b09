#include "widgets/arrowrow.h"

#include "widgets/keystrokes.h"

#include <QKeyEvent>
#include <QWidget>

#include <algorithm>

namespace {

class ArrowRow : public QObject
{
public:
    ArrowRow(const QList<QWidget *> &row, QObject *parent) : QObject(parent), m_row(row)
    {
        for (QWidget *control : m_row)
            control->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        const auto *key = static_cast<QKeyEvent *>(event);
        if (keystrokes::held(key))
            return false;
        const int at = m_row.indexOf(static_cast<QWidget *>(watched));
        const int last = int(m_row.size()) - 1;
        int to = -1;
        switch (key->key()) {
        case Qt::Key_Right:
        case Qt::Key_Down: to = std::min(at + 1, last); break;
        case Qt::Key_Left:
        case Qt::Key_Up: to = std::max(at - 1, 0); break;
        case Qt::Key_Home: to = 0; break;
        case Qt::Key_End: to = last; break;
        default: return false;
        }
        if (at < 0)
            return false;
        if (to != at)
            m_row.at(to)->setFocus(to > at ? Qt::TabFocusReason : Qt::BacktabFocusReason);
        // A key moved the focus, or kept it at an end: it is drawn. Qt 6.9 and
        // later draw it only for a move Qt's own keys made.
        m_row.at(to)->window()->setAttribute(Qt::WA_KeyboardFocusChange);
        return true;
    }

private:
    QList<QWidget *> m_row;
};

} // namespace

namespace arrowrow {

void attach(const QList<QWidget *> &row)
{
    if (!row.isEmpty())
        new ArrowRow(row, row.first());
}

} // namespace arrowrow
