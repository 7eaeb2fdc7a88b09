#include "widgets/focusring.h"

#include <QEvent>
#include <QPainter>
#include <QWidget>

namespace {

class Ring : public QWidget
{
public:
    explicit Ring(QWidget *control) : QWidget(control)
    {
        setObjectName(QStringLiteral("focusRing"));
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setFocusPolicy(Qt::NoFocus);
        hide();
        control->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched != parent())
            return false;
        auto *control = static_cast<QWidget *>(watched);
        if (event->type() == QEvent::FocusIn) {
            setGeometry(control->rect());
            raise();
            show();
        } else if (event->type() == QEvent::FocusOut) {
            hide();
        } else if (event->type() == QEvent::Resize) {
            setGeometry(control->rect());
        }
        return false;
    }

    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        QPen pen(palette().color(QPalette::Highlight));
        pen.setWidth(2);
        pen.setJoinStyle(Qt::MiterJoin);
        painter.setPen(pen);
        painter.drawRect(QRectF(rect()).adjusted(1, 1, -1, -1));
    }
};

} // namespace

namespace focusring {

void attach(QWidget *control)
{
    new Ring(control);
}

} // namespace focusring
