#include "reading/documentaccessible.h"

#include "reading/boundarytext.h"
#include "reading/characterkeys.h"
#include "reading/spokentext.h"
#include "reading/textboundaries.h"

#include <QAccessibleWidget>
#include <QPointer>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextEdit>
#include <QTextLayout>

#include <algorithm>

namespace {

const char spokenProperty[] = "spokenDocument";

class DocumentAccessible : public ReadOnlyTextAccessible
{
public:
    explicit DocumentAccessible(QTextEdit *view) : ReadOnlyTextAccessible(view, QAccessible::EditableText) {}

    QAccessible::State state() const override
    {
        QAccessible::State s = ReadOnlyTextAccessible::state();
        s.multiLine = true;
        s.selectableText = true;
        return s;
    }

    QString text(QAccessible::Text t) const override
    {
        // The whole paper is the text, not a name or value to say at once.
        if (t == QAccessible::Value)
            return QString();
        return ReadOnlyTextAccessible::text(t);
    }

    // --- the text, in spoken offsets -------------------------------------

    int characterCount() const override { return spoken().text().size(); }

    QString text(int start, int end) const override
    {
        start = std::clamp(start, 0, characterCount());
        end = std::clamp(end, start, characterCount());
        return spoken().text().mid(start, end - start);
    }

    int cursorPosition() const override { return spoken().caretOffset(view()->textCursor().position()); }

    void setCursorPosition(int offset) override
    {
        QTextCursor cursor = view()->textCursor();
        cursor.setPosition(documentPosition(offset));
        view()->setTextCursor(cursor);
    }

    int selectionCount() const override { return view()->textCursor().hasSelection() ? 1 : 0; }

    void selection(int index, int *start, int *end) const override
    {
        *start = *end = 0;
        const QTextCursor cursor = view()->textCursor();
        if (index != 0 || !cursor.hasSelection())
            return;
        *start = spoken().toSpoken(cursor.selectionStart());
        *end = spoken().toSpoken(cursor.selectionEnd());
    }

    void setSelection(int index, int start, int end) override
    {
        if (index != 0)
            return;
        QTextCursor cursor = view()->textCursor();
        cursor.setPosition(documentPosition(start));
        cursor.setPosition(documentPosition(end), QTextCursor::KeepAnchor);
        view()->setTextCursor(cursor);
    }

    void addSelection(int start, int end) override { setSelection(0, start, end); }

    void removeSelection(int index) override
    {
        if (index != 0)
            return;
        QTextCursor cursor = view()->textCursor();
        cursor.clearSelection();
        view()->setTextCursor(cursor);
    }

    QRect characterRect(int offset) const override
    {
        if (offset < 0 || offset >= characterCount())
            return QRect();
        QTextCursor cursor(view()->document());
        cursor.setPosition(documentPosition(offset));
        QRect box = view()->cursorRect(cursor);
        QTextCursor next = cursor;
        if (next.movePosition(QTextCursor::NextCharacter)) {
            const QRect after = view()->cursorRect(next);
            if (after.top() == box.top())
                box.setRight(std::max(box.right(), after.left()));
        }
        return QRect(view()->viewport()->mapToGlobal(box.topLeft()), box.size());
    }

    int offsetAtPoint(const QPoint &point) const override
    {
        const QPoint local = view()->viewport()->mapFromGlobal(point);
        if (!view()->viewport()->rect().contains(local))
            return -1;
        return spoken().caretOffset(view()->cursorForPosition(local).position());
    }

    void scrollToSubstring(int start, int) override
    {
        QTextCursor cursor(view()->document());
        cursor.setPosition(documentPosition(start));
        const QRect box = view()->cursorRect(cursor);
        QScrollBar *bar = view()->verticalScrollBar();
        if (box.top() < 0 || box.bottom() > view()->viewport()->height())
            bar->setValue(bar->value() + box.top());
    }

    // See documentaccessible::wordStart().
    int wordStart(int position, bool forward) const
    {
        const int count = characterCount();
        int offset = spoken().caretOffset(position);
        while (true) {
            const Range word = boundaries().at(offset, TextBoundaries::Unit::Word);
            if (forward)
                offset = word.end;
            else if (word.start < offset)
                offset = word.start;
            else
                offset = boundaries().at(std::max(0, word.start - 1), TextBoundaries::Unit::Word).start;
            if (offset <= 0 || offset >= count)
                return spoken().toDocument(std::clamp(offset, 0, count));
            const int moved = spoken().toDocument(offset);
            if (!spoken().text().at(offset).isSpace() && (forward ? moved > position : moved < position))
                return moved;
        }
    }

    // See documentaccessible::characterStop().
    int characterStop(int from, int to) const
    {
        int start = 0, end = 0;
        if (!spoken().insideWords(to, &start, &end))
            return to;
        return to > from ? caretStop(end, true) : caretStop(start, false);
    }

private:
    QTextEdit *view() const { return static_cast<QTextEdit *>(widget()); }

    // A stretch may end inside what the caret steps over whole, as a unit
    // with a mark on its last letter does: the caret stops where it may
    // stand, past it or before it.
    int caretStop(int position, bool forward) const
    {
        const QTextBlock block = view()->document()->findBlock(position);
        const QTextLayout *layout = block.layout();
        const int inBlock = position - block.position();
        if (!layout || layout->isValidCursorPosition(inBlock))
            return position;
        return block.position()
               + (forward ? layout->nextCursorPosition(inBlock) : layout->previousCursorPosition(inBlock));
    }

    // Worked out again whenever the pane holds another document or its text
    // changed.
    const SpokenText &spoken() const
    {
        const QTextDocument *document = view()->document();
        if (document != m_document || document->revision() != m_revision
            || document->characterCount() - 1 != m_spoken.documentLength()) {
            m_spoken = SpokenText(*document);
            m_boundaries = TextBoundaries(m_spoken.text(), m_spoken.wordRanges());
            m_document = document;
            m_revision = document->revision();
        }
        return m_spoken;
    }

    const TextBoundaries &boundaries() const
    {
        spoken();
        return m_boundaries;
    }

    // The pane's position for a spoken offset, brought inside the text.
    int documentPosition(int offset) const
    {
        return spoken().toDocument(std::clamp(offset, 0, characterCount()));
    }

    Range pieceInside(int offset, QAccessible::TextBoundaryType type) const override
    {
        if (type == QAccessible::LineBoundary)
            return lineAt(offset);
        return unitPiece(boundaries(), offset, type);
    }

    // The laid-out line holding `offset`, with the break that ends it; in a
    // table, the whole row, as the spoken text reads it.
    Range lineAt(int offset) const
    {
        const SpokenText &words = spoken();
        const int position = words.toDocument(std::clamp(offset, 0, characterCount()));
        int rowFrom = 0, rowTo = 0;
        if (words.rowAt(position, &rowFrom, &rowTo)) {
            const int start = words.toSpoken(rowFrom);
            return {start, std::max(start, words.toSpoken(rowTo))};
        }
        const QTextBlock block = view()->document()->findBlock(position);
        int from = block.position();
        int to = block.position() + block.length(); // through the break
        const QTextLayout *layout = block.layout();
        if (layout && layout->lineCount() > 0) {
            const QTextLine line = layout->lineForTextPosition(position - block.position());
            if (line.isValid()) {
                from = block.position() + line.textStart();
                if (line.lineNumber() + 1 < layout->lineCount())
                    to = from + line.textLength();
            }
        }
        const int start = words.toSpoken(from, true);
        return {start, std::max(start, words.toSpoken(to, true))};
    }

    mutable QPointer<const QTextDocument> m_document;
    mutable int m_revision = -1;
    mutable SpokenText m_spoken;
    mutable TextBoundaries m_boundaries;
};

QAccessibleInterface *documentFactory(const QString &, QObject *object)
{
    auto *view = qobject_cast<QTextEdit *>(object);
    if (view && view->property(spokenProperty).toBool())
        return new DocumentAccessible(view);
    return nullptr;
}

} // namespace

namespace documentaccessible {

void install(QTextEdit *view)
{
    static const bool installed = [] {
        QAccessible::installFactory(documentFactory);
        return true;
    }();
    Q_UNUSED(installed);
    if (view->property(spokenProperty).toBool())
        return;
    view->setProperty(spokenProperty, true);
    new CharacterKeys(view);
    // Qt makes and keeps an interface at the first event about the box,
    // such as filling it: that one would answer with the text as shown.
    QAccessibleInterface *made = QAccessible::queryAccessibleInterface(view);
    if (made && !dynamic_cast<DocumentAccessible *>(made))
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(made));
}

int wordStart(QTextEdit *view, int position, bool forward)
{
    QAccessibleInterface *face = QAccessible::queryAccessibleInterface(view);
    if (auto *text = dynamic_cast<DocumentAccessible *>(face))
        return text->wordStart(position, forward);
    return position;
}

int characterStop(QTextEdit *view, int from, int to)
{
    QAccessibleInterface *face = QAccessible::queryAccessibleInterface(view);
    if (auto *text = dynamic_cast<DocumentAccessible *>(face))
        return text->characterStop(from, to);
    return to;
}

void announceCaret(QTextEdit *view)
{
    if (!QAccessible::isActive())
        return;
    QAccessibleInterface *face = QAccessible::queryAccessibleInterface(view);
    QAccessibleTextInterface *text = face ? face->textInterface() : nullptr;
    if (!text)
        return;
    QAccessibleTextCursorEvent event(view, text->cursorPosition());
    QAccessible::updateAccessibility(&event);
}

} // namespace documentaccessible
