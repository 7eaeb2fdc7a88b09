#include "document/documentclean.h"

#include <QHash>
#include <QPen>
#include <QSet>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextList>
#include <QTextTable>

#include <algorithm>
#include <cmath>
#include <vector>

namespace documentclean {

namespace {

// ---- Cost ----------------------------------------------------------------
//
// What laying a piece out costs Qt, in about one character of plain text
// each: every character, and a little per paragraph and per run of one
// format; a long paragraph more than its length (line breaking looks back
// along the line); a table cell a large fixed share, since the pane lays a
// table out whole, in one step, where it lays paragraphs out a screenful at
// a time; and everything inside a table three times over for each table
// around it, since a table lays each cell out more than once to find its
// column widths.

constexpr qint64 blockCost = 20;
constexpr qint64 fragmentCost = 10;
constexpr qint64 cellCost = 100;
constexpr qint64 longLine = 20000;

qint64 weight(int tables)
{
    qint64 w = 1;
    for (int i = 0; i < tables; ++i)
        w *= 3;
    return w;
}

qint64 cost(const QTextBlock &block)
{
    const qint64 length = block.length();
    qint64 fragments = 0;
    for (auto it = block.begin(); !it.atEnd(); ++it)
        ++fragments;
    return length + blockCost + fragments * fragmentCost + length * length / longLine;
}

qint64 cost(QTextFrame *frame, int tables);

qint64 cost(QTextTable *table, int row, int tables)
{
    qint64 sum = 0;
    for (int column = 0; column < table->columns(); ++column) {
        const QTextTableCell cell = table->cellAt(row, column);
        if (!cell.isValid() || cell.row() != row || cell.column() != column)
            continue;
        sum += cellCost * weight(tables);
        for (auto it = cell.begin(); !it.atEnd(); ++it) {
            if (QTextFrame *child = it.currentFrame())
                sum += cost(child, tables);
            else
                sum += cost(it.currentBlock()) * weight(tables);
        }
    }
    return sum;
}

// `tables`: how many tables lie around the frame's contents.
qint64 cost(QTextFrame *frame, int tables)
{
    if (auto *table = qobject_cast<QTextTable *>(frame)) {
        qint64 sum = 0;
        for (int row = 0; row < table->rows(); ++row)
            sum += cost(table, row, tables + 1);
        return sum;
    }
    qint64 sum = 0;
    for (auto it = frame->begin(); !it.atEnd(); ++it) {
        if (QTextFrame *child = it.currentFrame())
            sum += cost(child, tables);
        else
            sum += cost(it.currentBlock()) * weight(tables);
    }
    return sum;
}

// Removes everything from `position` to the end.
void cutFrom(QTextDocument &document, int position)
{
    QTextCursor cursor(&document);
    cursor.setPosition(position);
    cursor.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
}

// Keeps the top-level pieces that fit in the limit, and of the first one
// that does not, when it is a table, the rows that fit.
Cut cutToLimit(QTextDocument &document, qint64 limit, bool &empty)
{
    qint64 spent = 0;
    qint64 plain = 0; // of which plain paragraphs at the top level
    int kept = 0;     // top-level pieces kept
    for (auto it = document.rootFrame()->begin(); !it.atEnd(); ++it) {
        QTextFrame *frame = it.currentFrame();
        const qint64 piece = frame ? cost(frame, 0) : cost(it.currentBlock());
        if (spent + piece <= limit) {
            spent += piece;
            if (!frame)
                plain += piece;
            ++kept;
            continue;
        }
        int end = frame ? frame->firstPosition() - 1 : it.currentBlock().position();
        if (auto *table = qobject_cast<QTextTable *>(frame)) {
            int rows = 0;
            while (rows < table->rows() && spent + cost(table, rows, 1) <= limit)
                spent += cost(table, rows++, 1);
            if (rows > 0) {
                table->removeRows(rows, table->rows() - rows);
                end = table->lastPosition() + 1;
                ++kept;
            }
        }
        // A page of plain paragraphs is long; one whose cost comes from
        // anything else (tables, runs of formats, very long lines) complex.
        const bool plainPiece = !frame && it.currentBlock().length() * 2 >= piece - blockCost - fragmentCost;
        empty = kept == 0;
        cutFrom(document, std::max(0, end));
        return plainPiece && plain * 2 >= spent ? Cut::Long : Cut::Complex;
    }
    return Cut::None;
}

// ---- Formats -------------------------------------------------------------

void clampDouble(QTextFormat &format, int property, qreal low, qreal high)
{
    if (!format.hasProperty(property))
        return;
    const qreal value = format.doubleProperty(property);
    const qreal kept = std::isfinite(value) ? std::clamp(value, low, high) : low;
    if (kept != value)
        format.setProperty(property, kept);
}

void clampInt(QTextFormat &format, int property, int low, int high)
{
    if (!format.hasProperty(property))
        return;
    const int value = format.intProperty(property);
    const int kept = std::clamp(value, low, high);
    if (kept != value)
        format.setProperty(property, kept);
}

QTextLength clampLength(const QTextLength &length, qreal maxFixed)
{
    switch (length.type()) {
    case QTextLength::FixedLength:
        return QTextLength(QTextLength::FixedLength, std::clamp(length.rawValue(), 0.0, maxFixed));
    case QTextLength::PercentageLength:
        return QTextLength(QTextLength::PercentageLength, std::clamp(length.rawValue(), 0.0, 100.0));
    case QTextLength::VariableLength:
        break;
    }
    return length;
}

void clampLengthProperty(QTextFormat &format, int property, qreal maxFixed)
{
    if (format.hasProperty(property))
        format.setProperty(property, clampLength(format.lengthProperty(property), maxFixed));
}

// A paper's sizes: what stays well inside these is left as written.
constexpr qreal maxSpace = 200;  // margins, indents, line heights, in pixels
constexpr qreal maxInner = 50;   // paddings, spacings
constexpr qreal maxBorder = 10;
constexpr qreal maxWidth = 4000; // a frame or column
constexpr int maxToolTip = 500;

// Font sizes are also rounded: every size is a font Qt loads and measures,
// so a paragraph in thousands of sizes costs thousands of fonts.
void cleanCharFormat(QTextCharFormat &format)
{
    if (format.hasProperty(QTextFormat::FontPointSize))
        format.setProperty(QTextFormat::FontPointSize,
                           std::clamp(std::round(format.doubleProperty(QTextFormat::FontPointSize)), 4.0, 72.0));
    clampInt(format, QTextFormat::FontPixelSize, 4, 96);
    clampInt(format, QTextFormat::FontSizeAdjustment, -2, 4);
    clampInt(format, QTextFormat::FontStretch, 50, 200);
    clampDouble(format, QTextFormat::FontWordSpacing, -4, 40);
    if (format.hasProperty(QTextFormat::FontLetterSpacing)) {
        if (format.fontLetterSpacingType() == QFont::PercentageSpacing)
            clampDouble(format, QTextFormat::FontLetterSpacing, 50, 200);
        else
            clampDouble(format, QTextFormat::FontLetterSpacing, -4, 20);
    }
    if (format.hasProperty(QTextFormat::TextOutline)) {
        QPen pen = format.textOutline();
        pen.setWidthF(std::clamp(pen.widthF(), 0.0, 3.0));
        format.setTextOutline(pen);
    }
    // Shown as rich text, a tool tip would load pictures by any name; as
    // escaped text it shows what the author wrote, and nothing else.
    if (format.hasProperty(QTextFormat::TextToolTip)) {
        const QString tip = format.toolTip().left(maxToolTip);
        if (tip.isEmpty())
            format.clearProperty(QTextFormat::TextToolTip);
        else
            format.setToolTip(QStringLiteral("<p style=\"white-space:pre-wrap\">%1</p>").arg(tip.toHtmlEscaped()));
    }
    format.clearProperty(QTextFormat::BackgroundImageUrl);
    format.clearProperty(QTextFormat::ImageTitle);
}

void cleanBlockFormat(QTextBlockFormat &format)
{
    if (format.hasProperty(QTextFormat::LineHeight)) {
        if (format.lineHeightType() == QTextBlockFormat::ProportionalHeight)
            clampDouble(format, QTextFormat::LineHeight, 50, 300);
        else
            clampDouble(format, QTextFormat::LineHeight, 0, maxSpace);
    }
    for (int property : {QTextFormat::BlockTopMargin, QTextFormat::BlockBottomMargin,
                         QTextFormat::BlockLeftMargin, QTextFormat::BlockRightMargin})
        clampDouble(format, property, 0, maxSpace);
    clampDouble(format, QTextFormat::TextIndent, -maxSpace, maxSpace);
    clampInt(format, QTextFormat::BlockIndent, 0, 10);
    clampLengthProperty(format, QTextFormat::BlockTrailingHorizontalRulerWidth, maxWidth);
    format.clearProperty(QTextFormat::BackgroundImageUrl);
}

void cleanFrameFormat(QTextFrameFormat &format)
{
    clampDouble(format, QTextFormat::FrameBorder, 0, maxBorder);
    for (int property : {QTextFormat::FrameMargin, QTextFormat::FrameTopMargin,
                         QTextFormat::FrameBottomMargin, QTextFormat::FrameLeftMargin,
                         QTextFormat::FrameRightMargin, QTextFormat::FramePadding})
        clampDouble(format, property, 0, maxInner);
    clampLengthProperty(format, QTextFormat::FrameWidth, maxWidth);
    clampLengthProperty(format, QTextFormat::FrameHeight, maxWidth);
    format.clearProperty(QTextFormat::BackgroundImageUrl);
    if (format.isTableFormat()) {
        QTextTableFormat table = format.toTableFormat();
        clampDouble(table, QTextFormat::TableCellSpacing, 0, maxInner);
        clampDouble(table, QTextFormat::TableCellPadding, 0, maxInner);
        QList<QTextLength> widths = table.columnWidthConstraints();
        for (QTextLength &width : widths)
            width = clampLength(width, maxWidth);
        if (!widths.isEmpty())
            table.setColumnWidthConstraints(widths);
        format = table;
    }
}

void cleanCellFormat(QTextCharFormat &format)
{
    for (int property : {QTextFormat::TableCellTopPadding, QTextFormat::TableCellBottomPadding,
                         QTextFormat::TableCellLeftPadding, QTextFormat::TableCellRightPadding})
        clampDouble(format, property, 0, maxInner);
    for (int property : {QTextFormat::TableCellTopBorder, QTextFormat::TableCellBottomBorder,
                         QTextFormat::TableCellLeftBorder, QTextFormat::TableCellRightBorder})
        clampDouble(format, property, 0, maxBorder);
    cleanCharFormat(format);
}

void cleanFrames(QTextFrame *frame, const std::atomic_bool &cancelled)
{
    QTextFrameFormat format = frame->frameFormat();
    cleanFrameFormat(format);
    frame->setFrameFormat(format);
    if (auto *table = qobject_cast<QTextTable *>(frame)) {
        for (int row = 0; row < table->rows() && !cancelled; ++row) {
            for (int column = 0; column < table->columns(); ++column) {
                QTextTableCell cell = table->cellAt(row, column);
                if (cell.row() != row || cell.column() != column)
                    continue;
                QTextCharFormat cellFormat = cell.format();
                cleanCellFormat(cellFormat);
                cell.setFormat(cellFormat);
            }
        }
    }
    for (QTextFrame *child : frame->childFrames())
        cleanFrames(child, cancelled);
}

// Cleans every paragraph and run of text; each distinct format is cleaned
// once, and written back only where it changed.
QList<Picture> cleanText(QTextDocument &document, const std::atomic_bool &cancelled)
{
    QHash<int, std::optional<QTextBlockFormat>> blockFormats;
    QHash<int, std::optional<QTextCharFormat>> charFormats;
    QSet<QTextList *> lists;
    std::vector<std::pair<int, QTextBlockFormat>> blockChanges;
    std::vector<std::tuple<int, int, QTextCharFormat>> charChanges;
    QList<Picture> pictures;

    for (QTextBlock block = document.begin(); block.isValid() && !cancelled; block = block.next()) {
        auto found = blockFormats.find(block.blockFormatIndex());
        if (found == blockFormats.end()) {
            QTextBlockFormat format = block.blockFormat();
            const QTextBlockFormat before = format;
            cleanBlockFormat(format);
            found = blockFormats.insert(block.blockFormatIndex(),
                                        format == before ? std::nullopt : std::optional(format));
        }
        if (*found)
            blockChanges.emplace_back(block.position(), **found);
        if (QTextList *list = block.textList(); list && !lists.contains(list)) {
            lists.insert(list);
            QTextListFormat format = list->format();
            clampInt(format, QTextFormat::ListIndent, 0, 10);
            list->setFormat(format);
        }
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const QTextCharFormat original = fragment.charFormat();
            if (original.isImageFormat()) {
                QTextCharFormat format = original;
                cleanCharFormat(format);
                for (int i = 0; i < fragment.length(); ++i)
                    pictures.append({fragment.position() + i, format.toImageFormat()});
                continue;
            }
            auto charFound = charFormats.find(fragment.charFormatIndex());
            if (charFound == charFormats.end()) {
                QTextCharFormat format = original;
                cleanCharFormat(format);
                charFound = charFormats.insert(fragment.charFormatIndex(),
                                               format == original ? std::nullopt : std::optional(format));
            }
            if (*charFound)
                charChanges.emplace_back(fragment.position(), fragment.length(), **charFound);
        }
    }

    QTextCursor cursor(&document);
    for (const auto &[position, format] : blockChanges) {
        cursor.setPosition(position);
        cursor.setBlockFormat(format);
    }
    for (const auto &[position, length, format] : charChanges) {
        cursor.setPosition(position);
        cursor.setPosition(position + length, QTextCursor::KeepAnchor);
        cursor.setCharFormat(format);
    }
    return pictures;
}

} // namespace

Outcome clean(QTextDocument &document, const std::atomic_bool &cancelled, const Limits &limits)
{
    Outcome outcome;
    outcome.cut = cutToLimit(document, limits.cost, outcome.empty);
    if (outcome.empty || cancelled)
        return outcome;
    cleanFrames(document.rootFrame(), cancelled);
    if (cancelled)
        return outcome;
    outcome.pictures = cleanText(document, cancelled);
    return outcome;
}

void setPictures(QTextDocument &document, const QList<Picture> &pictures)
{
    QTextCursor cursor(&document);
    for (const Picture &picture : pictures) {
        cursor.setPosition(picture.position);
        cursor.setPosition(picture.position + 1, QTextCursor::KeepAnchor);
        cursor.setCharFormat(picture.format);
    }
}

} // namespace documentclean
