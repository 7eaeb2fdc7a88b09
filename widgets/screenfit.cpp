#include "widgets/screenfit.h"

#include <QApplication>
#include <QBoxLayout>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QTextEdit>
#include <QWindow>

namespace {

// Room kept round a control brought into view, for its focus ring.
constexpr int ringRoom = 4;

// The frame the window manager gives a window: that of a window already
// shown, or before any is, a title bar's height. (Where the guess is short,
// the window's placement bounds its size once it is framed.)
QMargins likelyFrame(const QWidget *window)
{
    for (const QWidget *other : QApplication::topLevelWidgets()) {
        if (other->isVisible() && other->windowType() == Qt::Window && other->windowHandle())
            return other->windowHandle()->frameMargins();
    }
    return QMargins(0, window->style()->pixelMetric(QStyle::PM_TitleBarHeight), 0, 0);
}

QSize room(const QWidget *window)
{
    const QScreen *screen = window->screen();
    if (!screen)
        return QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    return screen->availableGeometry().size().shrunkBy(likelyFrame(window));
}

// Where the focus is inside `control`, in its own coordinates: the caret of
// a text box, else the whole control. (A tab row heads its container, which
// shows from its top-left corner.)
QRect focusRect(const QWidget *control)
{
    if (const auto *text = qobject_cast<const QTextEdit *>(control)) {
        const QRect caret = text->cursorRect();
        return QRect(text->viewport()->mapTo(text, caret.topLeft()), caret.size());
    }
    return control->rect();
}

// Keeps what has the focus in a scroll area's view, following a caret as it
// moves while the focus stays put.
class Follower : public QObject
{
public:
    explicit Follower(QScrollArea *area) : QObject(area), m_area(area)
    {
        connect(qApp, &QApplication::focusChanged, this, [this](QWidget *, QWidget *now) { follow(now); });
    }

private:
    void follow(QWidget *now)
    {
        disconnect(m_moves);
        m_moves = {};
        if (!now || !m_area->widget()->isAncestorOf(now))
            return;
        if (auto *text = qobject_cast<QTextEdit *>(now))
            m_moves = connect(text, &QTextEdit::cursorPositionChanged, this, [this, text] { show(text); });
        show(now);
    }

    // The control as much as fits, then where its focus is inside it.
    void show(QWidget *control)
    {
        bring(control, control->rect());
        const QRect inner = focusRect(control);
        if (inner != control->rect())
            bring(control, inner);
    }

    // Scrolls the least that shows `part` of `control` whole; a part larger
    // than the view shows from its top-left corner, where reading starts.
    void bring(QWidget *control, const QRect &part)
    {
        const QRect wanted = part.translated(control->mapTo(m_area->widget(), QPoint()))
                                 .adjusted(-ringRoom, -ringRoom, ringRoom, ringRoom);
        bring(m_area->horizontalScrollBar(), wanted.left(), wanted.right(), m_area->viewport()->width());
        bring(m_area->verticalScrollBar(), wanted.top(), wanted.bottom(), m_area->viewport()->height());
    }

    static void bring(QScrollBar *bar, int first, int last, int view)
    {
        const int shown = bar->value();
        if (last - first + 1 > view || first < shown)
            bar->setValue(first);
        else if (last >= shown + view)
            bar->setValue(last - view + 1);
    }

    QScrollArea *m_area;
    QMetaObject::Connection m_moves;
};

// Qt's scroll area centres a control that Tab reaches on its middle, which
// for a control taller than the view (the question tabs) hides its top: the
// follower alone decides what is shown.
class Area : public QScrollArea
{
public:
    using QScrollArea::QScrollArea;

protected:
    bool focusNextPrevChild(bool next) override { return QAbstractScrollArea::focusNextPrevChild(next); }
};

} // namespace

namespace screenfit {

QWidget *scrolled(QWidget *content, QSize client, QWidget *parent)
{
    auto *area = new Area(parent);
    area->setObjectName(QStringLiteral("screenFit"));
    area->setFrameShape(QFrame::NoFrame);
    // Not a Tab stop of its own: the keys reach the controls on it as before.
    area->setFocusPolicy(Qt::NoFocus);
    // Transparent, so that the window's own ground shows where it would.
    area->viewport()->setAutoFillBackground(false);
    content->setFixedSize(client);
    area->setWidget(content);
    new Follower(area);
    return area;
}

bool fits(const QWidget *window, QSize client)
{
    const QSize available = room(window);
    return client.width() <= available.width() && client.height() <= available.height();
}

QSize windowSize(const QWidget *window, QSize client)
{
    return client.boundedTo(room(window));
}

QWidget *surface(QWidget *window, QSize client)
{
    window->resize(windowSize(window, client));
    if (fits(window, client))
        return window;
    auto *content = new QWidget;
    content->setObjectName(QStringLiteral("surface"));
    auto *layout = new QVBoxLayout(window);
    layout->setContentsMargins(QMargins());
    layout->addWidget(scrolled(content, client, window));
    return content;
}

} // namespace screenfit
