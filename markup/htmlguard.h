#pragma once

#include "markup/limits.h"

#include <QList>
#include <QString>
#include <QStringView>

namespace htmlguard {

// What the rich-text engine can read and lay out in about a second. Beyond
// these its cost grows steeply (deep nesting, nested tables, huge element
// counts, very long paragraphs, many distinct formats), so a file over them
// would keep a core busy, or freeze the window.
struct Limits
{
    int tags = DocumentLimits::tags;
    int depth = DocumentLimits::depth;
    int tableDepth = DocumentLimits::tableDepth;
    qsizetype paragraphChars = DocumentLimits::paragraphChars;
    // Runs of text under distinct elements and attributes: each is a format
    // of its own, and the reader looks every new format up among all the
    // others (anchors, each named apart, and font sizes are the usual ones).
    int formats = DocumentLimits::formats;
    int styleDeclarations = DocumentLimits::styleDeclarations;
    // The places of every table's grid: its rows times the columns its
    // widest row reaches, a row's cells set beside those that cells of
    // earlier rows still span.
    qint64 tableCells = DocumentLimits::tableCells;
    qint64 pictureReach = DocumentLimits::pictureReach;
};

// What one style sheet asks of the parse: Qt matches each selector against
// every element and again against each of its ancestors, and a selector of
// several compounds ("div p") climbs from each of those to the top.
struct SheetShape
{
    qint64 simple = 0;  // selectors of one compound (".a", "p.b")
    qint64 complex = 0; // selectors of more
};

SheetShape sheetShape(QStringView css);

struct Report
{
    // Why the document would be too costly to show, in a short phrase;
    // empty when it is fine.
    QString problem;
    // For each element, the elements it lies in, itself included; and the
    // same summed over those elements (what a complex selector climbs).
    qint64 elementDepths = 0;
    qint64 ancestorDepths = 0;
    // The places of the grids of the tables read, as Limits::tableCells.
    qint64 tableCells = 0;
    // The text of each <style> element, in document order.
    struct Style
    {
        qsizetype start = 0;
        qsizetype length = 0;
        SheetShape shape;
    };
    QList<Style> styles;
    // What to write where, in document order, for the reader to show what
    // HTML shows (see repair()).
    struct Repair
    {
        qsizetype at = 0;
        QString text;
        qsizetype replaced = 0; // characters it stands for
    };
    QList<Repair> repairs;
    // Markup that HTML hides as well, but that was plainly meant to be
    // shown: what follows a comment or a title, style or script left open.
    bool hidesTheRest = false;

    // What matching `shape` against this document costs, in the unit of
    // DocumentLimits::styleMatches.
    qint64 matches(const SheetShape &shape) const;
};

// Reads `html` as Qt's reader would, and tells what it would cost. Text
// holding NUL characters is a binary file, not a document.
Report check(QStringView html, const Limits &limits = {});

// check()'s problem alone.
QString problem(QStringView html, const Limits &limits = {});

// Blanks, in `html`, the <style> elements `report` found past the first
// ones whose matches fit in `budget`; returns what they cost.
qint64 dropCostlyStyles(QString &html, const Report &report, qint64 budget);

// Writes `report`'s repairs into `html`, the text it was made from (after
// dropCostlyStyles(), which keeps every place), where the reader would
// otherwise hide what HTML shows: an unclosed <link> closed, a head ended
// before the first thing shown, comments ended where HTML ends them, text
// before a table's first row or a row's first cell given a cell, and the
// reader's own property that empties a paragraph made unknown to it.
void repair(QString &html, const Report &report);

// Makes the reader's own "-qt-paragraph-type" (which, set to "empty",
// drops a paragraph's text) unknown to it in a style sheet, in place.
void keepParagraphsShown(QString &css);

} // namespace htmlguard
