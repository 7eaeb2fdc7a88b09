#pragma once

#include "reading/caretbrowsing.h"
#include "reading/spokentext.h"

#include <QAbstractTextDocumentLayout>
#include <QAccessible>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextLayout>

#include <algorithm>
#include <utility>

// `view` as the paper's pane: caret browsing, filled with `html`, shown at
// 400 by 200 pixels and focused. Its text as a screen reader gets it; null
// when the pane is never shown.
inline QAccessibleTextInterface *showCaretPane(QTextBrowser &view, const QString &html)
{
    caretbrowsing::enable(&view);
    view.resize(400, 200);
    view.setHtml(html);
    view.show();
    if (!QTest::qWaitForWindowExposed(&view))
        return nullptr;
    view.setFocus();
    return QAccessible::queryAccessibleInterface(&view)->textInterface();
}

namespace caretpane {

// The screen line the caret is on: its block and line number there.
inline std::pair<int, int> screenLine(const QTextEdit &view)
{
    const QTextCursor cursor = view.textCursor();
    const QTextBlock block = cursor.block();
    const QTextLine line = block.layout()->lineForTextPosition(cursor.position() - block.position());
    return {block.blockNumber(), line.isValid() ? line.lineNumber() : -1};
}

// The screen lines that begin inside a stretch read in words.
inline int linesStartingInWords(const QTextEdit &view)
{
    view.document()->documentLayout()->documentSize(); // laid out to the end
    const SpokenText spoken(*view.document());
    int count = 0, from = 0, to = 0;
    for (QTextBlock block = view.document()->begin(); block.isValid(); block = block.next()) {
        for (int i = 1; block.layout() && i < block.layout()->lineCount(); ++i)
            count += spoken.insideWords(block.position() + block.layout()->lineAt(i).textStart(), &from, &to);
    }
    return count;
}

struct HeardLine
{
    int start = 0;
    int end = 0;
    bool inRow = false; // the caret was in a table's row
};

// The lines a reader hears from Ctrl+Home, Down after Down to the last
// screen line, as ranges of the text; with `up`, from Ctrl+End and Up,
// given back in the text's order. Home at each line puts the caret at its
// start, where a line begun inside a stretch read in words has it inside
// the stretch; Right from there must hear the character at the caret and
// go on to the next, and End keep the caret on the line: a line of
// {-1, -1} tells where one did not.
inline QList<HeardLine> linesHeard(QTextEdit &view, bool up = false)
{
    QAccessibleTextInterface *text = QAccessible::queryAccessibleInterface(&view)->textInterface();
    const SpokenText spoken(*view.document());
    QList<HeardLine> heard;
    QTest::keyClick(&view, up ? Qt::Key_End : Qt::Key_Home, Qt::ControlModifier);
    for (std::pair<int, int> was{-1, -1}; screenLine(view) != was && heard.size() < 10000;) {
        was = screenLine(view);
        QTest::keyClick(&view, Qt::Key_Home);
        const QTextCursor stop = view.textCursor();
        HeardLine line;
        text->textAtOffset(text->cursorPosition(), QAccessible::LineBoundary, &line.start, &line.end);
        int from = 0, to = 0;
        line.inRow = spoken.rowAt(stop.position(), &from, &to);
        heard.append(line);
        QTest::keyClick(&view, Qt::Key_End);
        if (screenLine(view) != was) {
            heard.append({-1, -1, false});
            break;
        }
        view.setTextCursor(stop);
        text->textAtOffset(text->cursorPosition(), QAccessible::CharBoundary, &from, &to);
        QTest::keyClick(&view, Qt::Key_Right);
        if (to > from && text->cursorPosition() != to) {
            heard.append({-1, -1, false});
            break;
        }
        view.setTextCursor(stop);
        QTest::keyClick(&view, up ? Qt::Key_Up : Qt::Key_Down);
    }
    if (up)
        std::reverse(heard.begin(), heard.end());
    return heard;
}

// Where `heard` stops taking in the whole text, each line once and in
// order, as an index into it (its size for a text not reached to its end);
// -1 when it does. A line comes again only where the caret stays in a
// table's row, which is one line however its cells wrap.
inline qsizetype firstAmiss(const QList<HeardLine> &heard, int characters)
{
    int end = 0;
    for (qsizetype i = 0; i < heard.size(); ++i) {
        const HeardLine &line = heard.at(i);
        if (i > 0 && line.inRow && line.start == heard.at(i - 1).start && line.end == heard.at(i - 1).end)
            continue;
        if (line.start != end || line.end < line.start)
            return i;
        end = line.end;
    }
    return end == characters ? -1 : heard.size();
}

// The lines heard around `at`, each with its range, to tell what went amiss.
inline QByteArray around(QAccessibleTextInterface *text, const QList<HeardLine> &heard, qsizetype at)
{
    QString said;
    for (qsizetype i = std::max<qsizetype>(0, at - 2); i < std::min(heard.size(), at + 2); ++i) {
        const HeardLine &line = heard.at(i);
        said += QStringLiteral("[%1, %2) %3\n").arg(line.start).arg(line.end).arg(text->text(line.start, line.end));
    }
    return said.toUtf8();
}

} // namespace caretpane
