#include "reading/documentaccessible.h"

#include "markup/limits.h"
#include "reading/boundarytext.h"
#include "reading/characterkeys.h"
#include "reading/spokenreading.h"
#include "reading/spokentext.h"
#include "reading/viewportextents.h"
#include "speech/textboundaries.h"
#include "widgets/freshaccessible.h"
#include "widgets/richtextbox.h"
#include "widgets/screenpixels.h"

#include <QAbstractTextDocumentLayout>
#include <QPointer>
#include <QScreen>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextEdit>
#include <QTextLayout>
#include <QTimer>

#include <algorithm>
#include <array>
#include <optional>
#include <tuple>

namespace {

const char spokenProperty[] = "spokenDocument";
// The pane's caret position a word move left, until the caret moves again.
const char wordMoveProperty[] = "wordMovedTo";
const char wordMoveFromProperty[] = "wordMovedFrom";

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

    int cursorPosition() const override { return caretOffset(view()->textCursor().position()); }

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

    // Qt's bridge answers a range's extents by asking each of its
    // characters in turn, on the window's thread. One run of such asks is
    // answered while its cost stays within rangeExtentSteps; the rest of it
    // is empty, so that a longer range has the box of its start.
    QRect characterRect(int offset) const override
    {
        if (startRun(offset) > DocumentLimits::rangeExtentSteps)
            return QRect();
        m_runSteps += DocumentLimits::characterSteps;
        return screenpixels::toScreen(laidOutRect(offset), view());
    }

    // The cost so far of the run of characters asked in turn that `offset`
    // goes on, or starts. A run ends when the event loop turns: a reader's
    // calls are never one run.
    qint64 startRun(int offset) const
    {
        if (*m_runEnded || offset != m_runLast + 1) {
            if (*m_runEnded) {
                *m_runEnded = false;
                const auto ended = m_runEnded;
                QTimer::singleShot(0, view(), [ended] { *ended = true; });
            }
            m_runSteps = 0;
        }
        m_runLast = offset;
        return m_runSteps;
    }

    // The character under `point`, where characterRect() reports it.
    int offsetAtPoint(const QPoint &point) const override
    {
        return offsetAtLaidOutPoint(screenpixels::fromScreen(point, view()));
    }

    // --- where the characters lie, in the pixels Qt lays out in ----------

    QRect laidOutRect(int offset) const
    {
        if (offset < 0 || offset >= characterCount())
            return QRect();
        const QRect box = spokenBox(offset);
        const QRect global = viewportextents::toGlobal(box, viewportOnScreen(), screenArea());
        // Qt's bridge gives a range the box of the character just past it
        // too, for a line the next line's first. Across the view's edge that
        // stretched a hidden line into the window (Orca's flat review read
        // it at the window's top) or a shown one down over the controls
        // below: there, a character is only a point, which no range takes in.
        if (offset > 0 && viewportextents::acrossEdge(box, spokenBox(offset - 1), view()->viewport()->height()))
            return QRect(global.topLeft(), QSize(0, 0));
        return global;
    }

    int offsetAtLaidOutPoint(const QPoint &point) const
    {
        const std::optional<QPoint> local = viewportextents::toViewport(point, viewportOnScreen(), screenArea());
        if (!local)
            return -1;
        // A character's box takes in every pixel its line touches, so the
        // pixel is tried at its middle, then at its top and bottom edges: a
        // line may end or begin inside a pixel row. Newer Qt also gives a
        // cell's end for the room after its last character, where no
        // character is: only the one drawn there counts.
        int position = -1;
        for (const qreal down : {0.5, 0.02, 0.98}) {
            const QPointF inDocument = QPointF(*local + scrolled()) + QPointF(0.5, down);
            position = view()->document()->documentLayout()->hitTest(inDocument, Qt::ExactHit);
            if (position >= 0 && characterBox(position).contains(*local))
                break;
            position = -1;
        }
        if (position < 0)
            return -1;
        // Of the characters read for the one drawn there, the first whose
        // box holds the point: not one reported as only a point.
        const int first = spoken().caretOffset(position);
        const QRect drawn = spokenBox(first);
        for (int offset = first; offset < characterCount() && spokenBox(offset) == drawn; ++offset) {
            if (laidOutRect(offset).contains(point))
                return offset;
        }
        return -1;
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

    // The pane's position of the start of the word after `position` (before
    // it, when not `forward`): see documentaccessible::moveByWord().
    int wordStart(int position, bool forward) const
    {
        const int count = characterCount();
        const int from = caretOffset(position);
        int offset = from;
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
            // To the right, a move past spaces alone (from a word's end)
            // would be heard as 「space」 or 「blank」: it goes on over the next word.
            const bool onlySpaces =
                forward && QStringView(spoken().text()).mid(from, offset - from).trimmed().isEmpty();
            if (!spoken().text().at(offset).isSpace() && !signsToTheEnd(offset) && !signsAgainstIt(offset)
                && (forward ? moved > position : moved < position) && !onlySpaces)
                return moved;
        }
    }

    // The character at the caret a word move left is a word, and the word
    // there runs on through the spaces after it: to the right the one moved
    // past, to the left the one landed on. See documentaccessible::moveByWord().
    QString textAtOffset(int offset, QAccessible::TextBoundaryType type, int *start, int *end) const override
    {
        if ((offset == -2 || offset == cursorPosition()) && wordMovedHere()
            && (type == QAccessible::WordBoundary || type == QAccessible::CharBoundary)) {
            const bool withSpaces = type == QAccessible::WordBoundary;
            if (const std::optional<int> from = movedFrom())
                return wordPassed(*from, withSpaces, start, end);
            return wordAtCaret(withSpaces, start, end);
        }
        return ReadOnlyTextAccessible::textAtOffset(offset, type, start, end);
    }

    // See documentaccessible::characterStop().
    int characterStop(int from, int to) const
    {
        int start = 0, end = 0;
        // From a later line of a stretch, where a reader is past its words,
        // Right goes on as from the stretch's end.
        if (to > from && spoken().insideWords(from, &start, &end) && !onFirstLine(start, from)) {
            QTextCursor cursor(view()->document());
            cursor.setPosition(caretStop(end, true));
            const int past = cursor.position();
            cursor.setVisualNavigation(true);
            if (!cursor.movePosition(QTextCursor::Right))
                return past;
            return characterStop(past, cursor.position());
        }
        if (!spoken().insideWords(to, &start, &end))
            return to;
        return to > from ? caretStop(end, true) : caretStop(start, false);
    }

private:
    QTextEdit *view() const { return static_cast<QTextEdit *>(widget()); }

    // Where a reader's caret is for the pane's caret at `position`. Inside a
    // stretch read in words but on a later screen line than its start, it
    // is past the words: they are heard with the line they start on, and
    // this line from after them, else Down would hear the line before again.
    int caretOffset(int position) const
    {
        int start = 0, end = 0;
        if (spoken().insideWords(position, &start, &end) && !onFirstLine(start, position))
            return spoken().toSpoken(position, true);
        return spoken().caretOffset(position);
    }

    // Whether `position` is on the screen line where the stretch starting at
    // `start` begins.
    bool onFirstLine(int start, int position) const
    {
        const QTextBlock block = view()->document()->findBlock(start);
        view()->document()->documentLayout()->blockBoundingRect(block); // laid out, if not yet
        const QTextLayout *layout = block.layout();
        if (!layout || layout->lineCount() == 0)
            return true;
        const QTextLine first = layout->lineForTextPosition(start - block.position());
        const QTextLine line = layout->lineForTextPosition(position - block.position());
        return !first.isValid() || !line.isValid() || first.lineNumber() == line.lineNumber();
    }

    bool wordMovedHere() const
    {
        const QTextCursor cursor = view()->textCursor();
        bool moved = false;
        const int position = view()->property(wordMoveProperty).toInt(&moved);
        return moved && position == cursor.position() && !cursor.hasSelection()
            && (cursorPosition() < characterCount() || movedFrom());
    }

    // Where a word move to the right started; none after one to the left.
    std::optional<int> movedFrom() const
    {
        bool moved = false;
        const int position = view()->property(wordMoveFromProperty).toInt(&moved);
        return moved ? std::optional<int>(position) : std::nullopt;
    }

    // What a word move to the right from `from` passed over, to the caret;
    // less the spaces and line breaks before the caret unless `withSpaces`.
    QString wordPassed(int from, bool withSpaces, int *start, int *end) const
    {
        const QString &all = spoken().text();
        *start = std::min(caretOffset(from), cursorPosition());
        *end = cursorPosition();
        while (!withSpaces && *end > *start && all.at(*end - 1).isSpace())
            --*end;
        return all.mid(*start, *end - *start);
    }

    // The word at the caret, `withSpaces` with the spaces and line breaks
    // after it; through the end of the text when only signs and spaces
    // follow, as those signs are no stop of their own.
    QString wordAtCaret(bool withSpaces, int *start, int *end) const
    {
        const QString &all = spoken().text();
        Range word = boundaries().at(cursorPosition(), TextBoundaries::Unit::Word);
        while (word.end < all.size() && signsAgainstIt(word.end))
            word.end = boundaries().at(word.end, TextBoundaries::Unit::Word).end;
        int past = word.end;
        while (past < all.size() && all.at(past).isSpace())
            ++past;
        if (past < all.size() && signsToTheEnd(past))
            word.end = int(all.size());
        else if (withSpaces)
            word.end = past;
        *start = word.start;
        *end = word.end;
        return all.mid(word.start, word.end - word.start);
    }

    // Whether only signs and spaces run from `offset` to the end of the
    // text. With Ctrl held Orca drops a last sign from the word it is given
    // (see documentaccessible::moveByWord()), and after such signs there is
    // no space to give with them: a stop there would be heard as nothing.
    bool signsToTheEnd(int offset) const { return offset >= reading().signsFrom(); }

    // Whether the word before `offset` is signs alone with no space after
    // it, as 「（」 before 4点 or 「。」 before the next sentence. Such signs
    // are heard with the word after them, not before: Orca, finding a sign
    // before the caret, would start the next word it reads there and say
    // the sign alone, and with Ctrl held would drop a last sign.
    bool signsAgainstIt(int offset) const
    {
        const QString &all = spoken().text();
        if (offset <= 0 || offset >= all.size() || all.at(offset).isSpace())
            return false;
        const Range word = boundaries().at(offset - 1, TextBoundaries::Unit::Word);
        return !all.at(word.start).isSpace()
            && signsAtTheEnd(QStringView(all).mid(word.start, offset - word.start)) == 0;
    }

    // The box of the character at `position`, in viewport coordinates: from
    // the caret before it to the caret after it on its line, every pixel
    // the pane's hit test gives it; a caret's width where there is none.
    QRect characterBox(int position) const
    {
        const QTextBlock block = view()->document()->findBlock(position);
        const QTextLayout *layout = block.layout();
        if (!layout)
            return QRect();
        const QPointF lines = linesOrigin(block);
        const int inBlock = position - block.position();
        const QTextLine line = layout->lineForTextPosition(inBlock);
        if (!line.isValid())
            return QRect();
        const int next = std::min(layout->nextCursorPosition(inBlock), line.textStart() + line.textLength());
        const qreal from = xOnLine(block, line, inBlock), to = xOnLine(block, line, std::max(next, inBlock));
        const QPointF origin = lines - scrolled();
        QRect box = QRectF(origin + QPointF(std::min(from, to), line.y()), QSizeF(std::abs(to - from), line.height()))
                        .toAlignedRect();
        box.setWidth(std::max(box.width(), 1));
        return box;
    }

    // Where the caret at `inBlock` stands along `line`. Qt walks the line's
    // runs for each position asked, so the places of a line's carets are
    // worked out together once, while the layout holds, when that costs
    // little: a range's characters are asked in turn. Each walk is counted
    // against the run of asks.
    qreal xOnLine(const QTextBlock &block, const QTextLine &line, int inBlock) const
    {
        const auto key = std::tuple(&spoken(), *m_layoutChanges, block.layout(), line.lineNumber());
        if (m_lineKey != key) {
            m_lineKey = key;
            m_lineRuns = runsOn(block, line);
            m_lineCarets.clear();
            const qint64 steps = qint64(line.textLength() + 1) * m_lineRuns;
            if (steps <= DocumentLimits::lineCaretSteps) {
                m_runSteps += steps;
                // Qt drops a block's shaped glyphs after each ask unless
                // told to keep them, and shaping is most of the cost.
                QTextLayout *layout = block.layout();
                const bool kept = layout->cacheEnabled();
                layout->setCacheEnabled(true);
                for (int i = 0; i <= line.textLength(); ++i)
                    m_lineCarets.push_back(line.cursorToX(line.textStart() + i));
                layout->setCacheEnabled(kept);
            }
        }
        if (m_lineCarets.empty()) {
            m_runSteps += m_lineRuns;
            return line.cursorToX(inBlock);
        }
        return m_lineCarets.at(std::clamp(inBlock - line.textStart(), 0, line.textLength()));
    }

    // The runs Qt splits `line` into to lay it out, at least one: one for
    // each run of format, tab, object and change of script.
    static int runsOn(const QTextBlock &block, const QTextLine &line)
    {
        const int from = block.position() + line.textStart(), to = from + line.textLength();
        int runs = 0;
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (fragment.position() >= to)
                break;
            runs += fragment.position() + fragment.length() > from;
        }
        const QString text = block.text();
        QChar::Script last = QChar::Script_Common;
        for (int i = line.textStart(); i < std::min<int>(line.textStart() + line.textLength(), text.size()); ++i) {
            const QChar c = text.at(i);
            const QChar::Script script = c.script();
            if (c == u'\t' || c == QChar::ObjectReplacementCharacter) {
                runs += 2;
            } else if (script > QChar::Script_Common && script != last) {
                ++runs;
                last = script;
            }
        }
        return std::max(runs, 1);
    }

    // Where the lines of `block` stand in the document. Working it out asks
    // for every line of the block, so for a long paragraph it is kept while
    // the block and the document keep their layout: a range's characters
    // ask it in turn.
    QPointF linesOrigin(const QTextBlock &block) const
    {
        const QTextLayout *layout = block.layout();
        const QAbstractTextDocumentLayout *document = view()->document()->documentLayout();
        const auto key = [&] { return std::tuple(&spoken(), *m_layoutChanges, layout, block.blockNumber()); };
        if (m_linesKey == key())
            return m_linesOrigin;
        // Lays the text out as far as the block, if not yet.
        const QRectF blockBox = document->blockBoundingRect(block);
        m_linesOrigin = blockBox.topLeft() - layout->boundingRect().topLeft();
        m_linesKey = key();
        return m_linesOrigin;
    }

    // How far the view is scrolled into the document.
    QPoint scrolled() const
    {
        return QPoint(view()->horizontalScrollBar()->value(), view()->verticalScrollBar()->value());
    }

    // The box of what the character at `offset` is read for, in viewport
    // coordinates: a stretch read in words for each of its words, as far as
    // its first line goes, from its first character's box to the last's on
    // that line (however long the stretch, two boxes).
    QRect spokenBox(int offset) const
    {
        // A range's characters are asked in turn, each with the one before.
        const auto key = std::tuple(offset, &spoken(), *m_layoutChanges, scrolled());
        for (const auto &[known, box] : m_lastBoxes) {
            if (known == key)
                return box;
        }
        std::swap(m_lastBoxes[0], m_lastBoxes[1]);
        m_lastBoxes[0] = {key, spokenBoxOf(offset)};
        return m_lastBoxes[0].second;
    }

    QRect spokenBoxOf(int offset) const
    {
        const int position = documentPosition(offset);
        const QRect box = characterBox(position);
        int from = 0, to = 0;
        if (!spoken().insideWords(position + 1, &from, &to) || from != position)
            return box;
        const int last = std::min(to, lineEnd(position)) - 1;
        return last > position ? box | characterBox(last) : box;
    }

    // Where the line holding the character at `position` ends.
    int lineEnd(int position) const
    {
        const QTextBlock block = view()->document()->findBlock(position);
        const QTextLayout *layout = block.layout();
        const QTextLine line = layout ? layout->lineForTextPosition(position - block.position()) : QTextLine();
        return line.isValid() ? block.position() + line.textStart() + line.textLength() : position + 1;
    }

    QRect viewportOnScreen() const
    {
        const QWidget *viewport = view()->viewport();
        return QRect(viewport->mapToGlobal(QPoint(0, 0)), viewport->size());
    }

    QRect screenArea() const { return view()->screen()->virtualGeometry(); }

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
    // changed; a document the pane was given ready comes with it.
    const SpokenReading &reading() const
    {
        QTextDocument *document = view()->document();
        if (!m_reading || document != m_document || !m_reading->isFor(*document)) {
            m_reading = SpokenReading::of(*document);
            m_document = document;
            watchLayout(document);
        }
        return *m_reading;
    }

    // What is kept of where characters lie holds while the document's text,
    // formats and layout stay as they were (a zoom step may leave its size).
    void watchLayout(QTextDocument *document) const
    {
        QObject::disconnect(m_textWatch);
        QObject::disconnect(m_layoutWatch);
        const auto changes = m_layoutChanges;
        const auto changed = [changes] { ++*changes; };
        m_textWatch = QObject::connect(document, &QTextDocument::contentsChange, view(), changed);
        m_layoutWatch =
            QObject::connect(document->documentLayout(), &QAbstractTextDocumentLayout::update, view(), changed);
        changed();
    }

    const SpokenText &spoken() const { return reading().spoken(); }
    const TextBoundaries &boundaries() const { return reading().boundaries(); }

    // The pane's position for a spoken offset, brought inside the text.
    int documentPosition(int offset) const { return spoken().toDocument(std::clamp(offset, 0, characterCount())); }

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
    mutable std::shared_ptr<quint64> m_layoutChanges = std::make_shared<quint64>(0);
    mutable QMetaObject::Connection m_textWatch, m_layoutWatch;
    mutable std::tuple<const SpokenText *, quint64, const QTextLayout *, int> m_linesKey;
    mutable QPointF m_linesOrigin;
    mutable std::tuple<const SpokenText *, quint64, const QTextLayout *, int> m_lineKey;
    mutable int m_lineRuns = 1;
    mutable std::vector<qreal> m_lineCarets;
    mutable std::shared_ptr<bool> m_runEnded = std::make_shared<bool>(true);
    mutable int m_runLast = -2;
    mutable qint64 m_runSteps = 0;
    mutable std::array<std::pair<std::tuple<int, const SpokenText *, quint64, QPoint>, QRect>, 2> m_lastBoxes;
    mutable std::shared_ptr<const SpokenReading> m_reading;
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
    const auto forgetWordMove = [view] {
        view->setProperty(wordMoveProperty, QVariant());
        view->setProperty(wordMoveFromProperty, QVariant());
    };
    QObject::connect(view, &QTextEdit::cursorPositionChanged, view, forgetWordMove);
    QObject::connect(view, &QTextEdit::textChanged, view, forgetWordMove);
    // One made when the box was filled would answer with the text as shown.
    dropEarlyAccessible<DocumentAccessible>(view);
}

QTextEdit *makeBox(QWidget *parent, const QRect &geometry, const QString &text, const QList<readas::Stretch> &stretches)
{
    // Given its parent only once it reads as a document: Qt 6.9 and later
    // tell a screen reader of a widget's new parent, which would name an
    // interface made before the box's own, then thrown away.
    auto *box = new QTextEdit;
    install(box);
    box->setParent(parent);
    richtextbox::setUp(box, geometry);
    box->setPlainText(text);
    readas::mark(box->document(), stretches);
    return box;
}

void moveByWord(QTextEdit *view, bool forward, bool select)
{
    QAccessibleInterface *face = QAccessible::queryAccessibleInterface(view);
    auto *text = dynamic_cast<DocumentAccessible *>(face);
    QTextCursor cursor = view->textCursor();
    const int from = cursor.position();
    if (text)
        cursor.setPosition(text->wordStart(from, forward), select ? QTextCursor::KeepAnchor : QTextCursor::MoveAnchor);
    view->setTextCursor(cursor);
    if (text && !select) {
        view->setProperty(wordMoveProperty, cursor.position());
        view->setProperty(wordMoveFromProperty, forward ? QVariant(from) : QVariant());
    }
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
