#include "reading/caretbrowsing.h"

#include "reading/documentaccessible.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTimer>

namespace {

// Drawn over the pane's frame while the pane has the focus; it takes no
// input and covers nothing but the frame.
class FocusRing : public QWidget
{
public:
    explicit FocusRing(QWidget *pane) : QWidget(pane)
    {
        setObjectName(QStringLiteral("focusRing"));
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setFocusPolicy(Qt::NoFocus);
        hide();
    }

protected:
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

class CaretKeys : public QObject
{
public:
    CaretKeys(QTextBrowser *view, FocusRing *ring) : QObject(view), m_view(view), m_ring(ring) {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched != m_view)
            return false;
        switch (event->type()) {
        case QEvent::FocusIn:
            m_ring->setGeometry(m_view->rect());
            m_ring->raise();
            m_ring->show();
            break;
        case QEvent::FocusOut:
            m_ring->hide();
            break;
        case QEvent::Resize:
            m_ring->setGeometry(m_view->rect());
            break;
        case QEvent::KeyPress:
            return followLink(static_cast<QKeyEvent *>(event));
        case QEvent::ContextMenu:
            keepScroll(static_cast<QContextMenuEvent *>(event));
            break;
        default:
            break;
        }
        return false;
    }

private:
    bool followLink(QKeyEvent *key)
    {
        if ((key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter)
            || key->modifiers() & ~Qt::KeypadModifier)
            return false;
        const QString link = caretbrowsing::linkAtCaret(m_view);
        if (link.isEmpty())
            return false;
        emit m_view->anchorClicked(QUrl(link));
        return true;
    }

    // The menu key's menu opens where the caret is, but the pane would first
    // scroll the caret into view: a reader who scrolled away keeps the place.
    void keepScroll(QContextMenuEvent *event)
    {
        if (event->reason() != QContextMenuEvent::Keyboard)
            return;
        const int top = m_view->verticalScrollBar()->value();
        const int left = m_view->horizontalScrollBar()->value();
        QTimer::singleShot(0, m_view, [view = m_view, top, left] {
            view->verticalScrollBar()->setValue(top);
            view->horizontalScrollBar()->setValue(left);
        });
    }

    QTextBrowser *m_view;
    FocusRing *m_ring;
};

QString anchorAt(const QTextDocument *document, int position)
{
    const QTextBlock block = document->findBlock(position);
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        if (position >= fragment.position() && position < fragment.position() + fragment.length())
            return fragment.charFormat().isAnchor() ? fragment.charFormat().anchorHref() : QString();
    }
    return QString();
}

} // namespace

namespace caretbrowsing {

void enable(QTextBrowser *view)
{
    view->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::LinksAccessibleByMouse
                                  | Qt::TextSelectableByKeyboard);
    view->setFocusPolicy(Qt::StrongFocus);
    view->installEventFilter(new CaretKeys(view, new FocusRing(view)));
    documentaccessible::install(view);
    // After the pane's own notice, which gives the cursor's document position.
    QObject::connect(view, &QTextEdit::cursorPositionChanged, view, [view] {
        QMetaObject::invokeMethod(view, [view] { documentaccessible::announceCaret(view); },
                                  Qt::QueuedConnection);
    });
}

QString linkAtCaret(const QTextBrowser *view)
{
    const QTextCursor cursor = view->textCursor();
    const QString after = anchorAt(view->document(), cursor.position());
    if (!after.isEmpty() || cursor.position() == 0)
        return after;
    return anchorAt(view->document(), cursor.position() - 1);
}

} // namespace caretbrowsing
