#include "widgets/arrowrow.h"

#include <QKeyEvent>
#include <QWidget>

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
        if (key->modifiers() & ~Qt::KeypadModifier)
            return false;
        int step = 0;
        if (key->key() == Qt::Key_Right || key->key() == Qt::Key_Down)
            step = 1;
        else if (key->key() == Qt::Key_Left || key->key() == Qt::Key_Up)
            step = -1;
        const int at = m_row.indexOf(static_cast<QWidget *>(watched));
        if (step == 0 || at < 0)
            return false;
        const int to = at + step;
        if (to >= 0 && to < m_row.size())
            m_row.at(to)->setFocus(step > 0 ? Qt::TabFocusReason : Qt::BacktabFocusReason);
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
