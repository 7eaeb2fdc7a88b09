#include "reading/caretbrowsing.h"

#include "reading/documentaccessible.h"
#include "widgets/focusring.h"
#include "widgets/keystrokes.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTimer>

namespace {

class CaretKeys : public QObject
{
public:
    explicit CaretKeys(QTextBrowser *view) : QObject(view), m_view(view) {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched != m_view)
            return false;
        switch (event->type()) {
        case QEvent::KeyPress:
            return followLink(static_cast<QKeyEvent *>(event)) || moveByWord(static_cast<QKeyEvent *>(event))
                || endOfLine(static_cast<QKeyEvent *>(event));
        case QEvent::ContextMenu: keepScroll(static_cast<QContextMenuEvent *>(event)); break;
        default: break;
        }
        return false;
    }

private:
    bool followLink(QKeyEvent *key)
    {
        if ((key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) || keystrokes::held(key))
            return false;
        const QString link = caretbrowsing::linkAtCaret(m_view);
        if (link.isEmpty())
            return false;
        emit m_view->anchorClicked(QUrl(link));
        return true;
    }

    // Qt's own word moves run over a whole Japanese sentence at once: the
    // caret moves by the words a screen reader reads instead.
    bool moveByWord(QKeyEvent *key)
    {
        const std::optional<keystrokes::Move> move = keystrokes::caretMove(key, keystrokes::Unit::Word);
        if (!move)
            return false;
        documentaccessible::moveByWord(m_view, move->forward, move->select);
        return true;
    }

    // Qt's End steps back only over a space that a line wraps after: where a
    // Japanese line wraps between two letters it lands on the next line's
    // start, where the caret is drawn and read, and Down skips a line. On a
    // line that wraps, End stops before its last character instead.
    bool endOfLine(QKeyEvent *key)
    {
        const bool select = key->matches(QKeySequence::SelectEndOfLine);
        if (!select && !key->matches(QKeySequence::MoveToEndOfLine))
            return false;
        QTextCursor cursor = m_view->textCursor();
        const QTextBlock block = cursor.block();
        const QTextLayout *layout = block.layout();
        const QTextLine line = layout ? layout->lineForTextPosition(cursor.positionInBlock()) : QTextLine();
        if (!line.isValid() || line.lineNumber() + 1 >= layout->lineCount() || line.textLength() == 0)
            return false;
        const int end = line.textStart() + line.textLength();
        if (block.text().at(end - 1).isSpace())
            return false;
        cursor.setPosition(block.position() + layout->previousCursorPosition(end),
                           select ? QTextCursor::KeepAnchor : QTextCursor::MoveAnchor);
        m_view->setTextCursor(cursor);
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

// Where the text before `position` ends. At a line's end the spaces the line
// ends with are passed over: the caret shows right after the line's last
// word there (End, Ctrl+End and say-all leave it so). Before a word, the
// caret is that word's.
int endOfText(const QTextDocument *document, int position)
{
    const QTextBlock block = document->findBlock(position);
    const QString text = block.text();
    const int caret = position - block.position();
    for (int i = caret; i < text.size() && text.at(i) != QChar::LineSeparator; ++i) {
        if (!text.at(i).isSpace())
            return position;
    }
    int end = caret;
    while (end > 0 && text.at(end - 1).isSpace() && text.at(end - 1) != QChar::LineSeparator)
        --end;
    return block.position() + end;
}

} // namespace

namespace caretbrowsing {

void enable(QTextBrowser *view)
{
    view->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::LinksAccessibleByMouse
                                  | Qt::TextSelectableByKeyboard);
    view->setFocusPolicy(Qt::StrongFocus);
    view->installEventFilter(new CaretKeys(view));
    focusring::attach(view);
    documentaccessible::install(view);
    // After the pane's own notice, which gives the cursor's document position.
    QObject::connect(view, &QTextEdit::cursorPositionChanged, view, [view] {
        QMetaObject::invokeMethod(
            view, [view] { documentaccessible::announceCaret(view); }, Qt::QueuedConnection);
    });
}

QString linkAtCaret(const QTextBrowser *view)
{
    const QTextCursor cursor = view->textCursor();
    const QString after = anchorAt(view->document(), cursor.position());
    if (!after.isEmpty() || cursor.position() == 0)
        return after;
    const int end = endOfText(view->document(), cursor.position());
    return end > 0 ? anchorAt(view->document(), end - 1) : QString();
}

} // namespace caretbrowsing
