#include "document/documentclean.h"

#include "speech/codepoints.h"

#include <QHash>
#include <QPen>
#include <QSet>
#include <QTextBlock>
#include <QTextBoundaryFinder>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextList>
#include <QTextTable>

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace documentclean {

namespace {

// ---- Cost ----------------------------------------------------------------
//
// What laying a piece out costs Qt, in about one character of plain Latin
// text each: every character, weighed by its script (see scriptWeight()),
// and a little per paragraph and per run of one format; a long paragraph more than its length (line breaking looks back
// along the line); a table cell a large fixed share, since the pane lays a
// table out whole, in one step, where it lays paragraphs out a screenful at
// a time; a place of the table's grid that a spanning cell covers a tenth of
// that, since the layout and every paint still walk it; and everything
// inside a table three times over for each table around it, since a table
// lays each cell out more than once to find its column widths.

constexpr qint64 blockCost = 20;
constexpr qint64 fragmentCost = 10;
constexpr qint64 cellCost = 100;
// Measured on Qt 6.4: 200 rows of one cell spanning 1,000 columns took
// 740 ms to lay out and 115 ms to paint, about 4 microseconds a place.
constexpr qint64 coveredCost = 10;
constexpr qint64 longLine = 20000;
// A run with no place to break a line at (a word, or letters held together
// by word joiners) is scanned again for each line it wraps over: 30,000
// letters took 1.3 s at 300 %, 40,000 in a narrow pane 1.5 s, under load.
// So its cost grows with its square, and no run much past 12,000 letters
// (120 ms) is kept. Runs in paragraphs shorter than `longRunsFrom` cost too
// little to look for.
constexpr qint64 unbreakableRun = 400;
constexpr qsizetype longRunsFrom = 2000;
// A floating picture (<img align=left>) is laid out as a frame that each line and
// each later float is fitted around: 2,000 of them held the window 190 ms, 8,000
// 2.3 s. So the n-th float costs n / `floatShare`, and about 1,200 are kept.
constexpr qint64 floatShare = 2;
// Marks on one letter are shaped together, each against those before it, on
// every paint: 2,000 of them took 35 ms to draw, 20,000 minutes.
constexpr qint64 marksOnALetter = 10;

qint64 weight(int tables)
{
    qint64 w = 1;
    for (int i = 0; i < tables; ++i)
        w *= 3;
    return w;
}

// Measured on Qt 6.4, laying out 300,000 characters in the pane's font and
// wrapping, against Latin: Thai 10 times as long, Myanmar 8, Tibetan 7,
// Han and kana 5 (every character a place to break), Lao, Arabic and Khmer
// 2 to 3. The slow ones are shaped, or broken into words, character by
// character, or fall back through every font; on another machine with
// other fonts, scripts of the same kind cost alike, so they share a weight.
int scriptWeight(QChar::Script script)
{
    switch (script) {
    case QChar::Script_Thai:
    case QChar::Script_Lao:
    case QChar::Script_Khmer:
    case QChar::Script_Myanmar:
    case QChar::Script_Tibetan:
    case QChar::Script_TaiTham:
    case QChar::Script_NewTaiLue:
    case QChar::Script_TaiViet:
    case QChar::Script_Balinese:
    case QChar::Script_Javanese: return 10;
    case QChar::Script_Han:
    case QChar::Script_Hiragana:
    case QChar::Script_Katakana:
    case QChar::Script_Hangul:
    case QChar::Script_Bopomofo:
    case QChar::Script_Yi: return 5;
    case QChar::Script_Arabic:
    case QChar::Script_Syriac:
    case QChar::Script_Thaana:
    case QChar::Script_Nko:
    case QChar::Script_Mongolian:
    case QChar::Script_Devanagari:
    case QChar::Script_Bengali:
    case QChar::Script_Gurmukhi:
    case QChar::Script_Gujarati:
    case QChar::Script_Oriya:
    case QChar::Script_Tamil:
    case QChar::Script_Telugu:
    case QChar::Script_Kannada:
    case QChar::Script_Malayalam:
    case QChar::Script_Sinhala:
    case QChar::Script_Hebrew: return 3;
    default: return 1;
    }
}

// The block's characters, each by its script's weight, and a run of marks
// on one letter by the square of its length.
qint64 textCost(const QString &text)
{
    qint64 sum = 0;
    qint64 marks = 0;
    for (qsizetype i = 0; i < text.size();) {
        const codepoints::CodePoint point = codepoints::at(text, i);
        const char32_t code = point.value;
        i += point.size;
        marks = QChar::isMark(code) ? marks + 1 : 0;
        sum += (code < 0x80 ? 1 : scriptWeight(QChar::script(code))) + marks / marksOnALetter;
    }
    return sum;
}

// Whether the layout breaks no line at `at`, where the finder may: Qt lays
// Korean out broken at spaces alone, a Hangul syllable or jamo as a letter,
// where the finder breaks between any two syllables. 40,000 syllables with
// no space, found as 40,000 runs of one, stalled the window 1.2 s at 300 %.
bool joinedInLayout(const QString &text, qsizetype at)
{
    const QChar before = text.at(at - 1);
    const QChar after = text.at(at);
    const bool hangulBefore = before.script() == QChar::Script_Hangul;
    const bool hangulAfter = after.script() == QChar::Script_Hangul;
    return (hangulBefore || hangulAfter) && (hangulBefore || before.isLetterOrNumber())
        && (hangulAfter || after.isLetterOrNumber());
}

// Each run between two places a line may break at, by its length squared.
qint64 runsCost(const QString &text)
{
    if (text.size() < longRunsFrom)
        return 0;
    qint64 sum = 0;
    QTextBoundaryFinder breaks(QTextBoundaryFinder::Line, text);
    qsizetype from = 0;
    for (qsizetype to = breaks.toNextBoundary(); to > from; to = breaks.toNextBoundary()) {
        if (to < text.size() && joinedInLayout(text, to))
            continue;
        sum += (to - from) * (to - from) / unbreakableRun;
        from = to;
    }
    return sum;
}

// ---- Height ---------------------------------------------------------------

// Type sizes as Qt scales a <font size> (an adjustment of -2 to 4).
constexpr std::array<qreal, 7> sizeSteps = {0.7, 0.8, 1.0, 1.2, 1.5, 2.0, 2.4};
// A line's height against its type's size, with the leading.
constexpr qreal lineSpacing = 1.3;

qreal clampedSpace(qreal value)
{
    return std::isfinite(value) ? std::clamp(value, 0.0, DocumentLimits::spaceSize) : 0;
}

// The size of a run's type in pixels, as the format will be once cleaned.
qreal typeSize(const QTextCharFormat &format, qreal plain)
{
    qreal size = plain;
    if (format.hasProperty(QTextFormat::FontPixelSize))
        size = std::clamp(format.intProperty(QTextFormat::FontPixelSize), DocumentLimits::pixelSize.low,
                          DocumentLimits::pixelSize.high);
    else if (format.hasProperty(QTextFormat::FontPointSize))
        size =
            std::clamp(format.fontPointSize(), DocumentLimits::pointSize.low, DocumentLimits::pointSize.high) * 4 / 3;
    const int adjustment = std::clamp(format.intProperty(QTextFormat::FontSizeAdjustment),
                                      DocumentLimits::sizeAdjustment.low, DocumentLimits::sizeAdjustment.high);
    return size * sizeSteps[adjustment + 2];
}

qreal lineHeight(const QTextBlockFormat &format, qreal type)
{
    const qreal plain = type * lineSpacing;
    const qreal value = format.lineHeight();
    switch (format.lineHeightType()) {
    case QTextBlockFormat::ProportionalHeight:
        return plain * std::clamp(value, DocumentLimits::lineHeightPercent.low, DocumentLimits::lineHeightPercent.high)
            / 100;
    case QTextBlockFormat::FixedHeight: return clampedSpace(value);
    case QTextBlockFormat::MinimumHeight: return std::max(plain, clampedSpace(value));
    case QTextBlockFormat::LineDistanceHeight: return plain + clampedSpace(value);
    default: return plain;
    }
}

// The paragraph's height in the narrowest pane: its largest type on every
// line, each character as wide as its type.
qreal height(const QTextBlock &block)
{
    const QFont plainFont = block.document()->defaultFont();
    const qreal plain = plainFont.pixelSize() > 0 ? plainFont.pixelSize() : plainFont.pointSizeF() * 4 / 3;
    qreal type = plain;
    for (auto it = block.begin(); !it.atEnd(); ++it)
        type = std::max(type, typeSize(it.fragment().charFormat(), plain));
    const QTextBlockFormat format = block.blockFormat();
    const qreal indents = clampedSpace(format.leftMargin()) + clampedSpace(format.rightMargin())
        + clampedSpace(std::abs(format.textIndent()))
        + std::clamp(format.indent(), 0, DocumentLimits::indentSteps) * 40;
    const qreal width = std::max(type, DocumentLimits::narrowestPane - indents);
    const qreal lines = std::ceil(block.length() * type / width);
    // Qt lets a paragraph's margins and its neighbours' overlap.
    return lines * lineHeight(format, type)
        + std::max(clampedSpace(format.topMargin()), clampedSpace(format.bottomMargin()));
}

qreal height(QTextFrame *frame);

// A table's rows, each as tall as its tallest cell.
qreal height(QTextTable *table, int row)
{
    qreal tallest = 0;
    for (int column = 0; column < table->columns(); ++column) {
        const QTextTableCell cell = table->cellAt(row, column);
        qreal sum = 0;
        for (auto it = cell.begin(); !it.atEnd(); ++it)
            sum += it.currentFrame() ? height(it.currentFrame()) : height(it.currentBlock());
        tallest = std::max(tallest, sum);
    }
    return tallest;
}

qreal height(QTextFrame *frame)
{
    qreal sum = 0;
    if (auto *table = qobject_cast<QTextTable *>(frame)) {
        for (int row = 0; row < table->rows(); ++row)
            sum += height(table, row);
        return sum;
    }
    for (auto it = frame->begin(); !it.atEnd(); ++it)
        sum += it.currentFrame() ? height(it.currentFrame()) : height(it.currentBlock());
    return sum;
}

qint64 cost(const QTextBlock &block)
{
    const qint64 length = block.length();
    qint64 fragments = 0;
    for (auto it = block.begin(); !it.atEnd(); ++it)
        ++fragments;
    const QString text = block.text();
    const qint64 base = 1 + textCost(text) + blockCost + fragments * fragmentCost + length * length / longLine;
    // A paragraph past the limit on its letters alone is cut whatever its
    // runs: the finder breaks Thai by a dictionary in a time that grows with
    // the square of the paragraph, 50 s for the 2.8 million letters of an
    // 8 MiB page, before the page was turned away.
    if (base > DocumentLimits::layoutCost)
        return base;
    return base + runsCost(text);
}

qint64 cost(QTextFrame *frame, int tables);

qint64 cost(QTextTable *table, int row, int tables)
{
    qint64 sum = 0;
    for (int column = 0; column < table->columns(); ++column) {
        const QTextTableCell cell = table->cellAt(row, column);
        if (!cell.isValid() || cell.row() != row || cell.column() != column) {
            sum += coveredCost * weight(tables);
            continue;
        }
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

// Qt takes a single row off a cell that spans rows of those removed, and
// keeps the cell when it starts among them: the table is left broken, and
// its layout crashes. So a table is cut only below every such cell; the
// rows that fit, or none.
int rowsToKeep(QTextTable *table, int fitting)
{
    for (int row = fitting; row < table->rows(); ++row) {
        for (int column = 0; column < table->columns(); ++column) {
            if (table->cellAt(row, column).rowSpan() > 1)
                return 0;
        }
    }
    return fitting;
}

// Removes everything from `position` to the end.
void cutFrom(QTextDocument &document, int position)
{
    QTextCursor cursor(&document);
    cursor.setPosition(position);
    cursor.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
}

// The floating pictures of a paragraph: each is an object of the
// document that its picture's format names.
qint64 floatsIn(const QTextBlock &block)
{
    qint64 floats = 0;
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFormat format = it.fragment().charFormat();
        const auto *object =
            format.objectIndex() < 0 ? nullptr : qobject_cast<QTextFrame *>(block.document()->objectForFormat(format));
        floats += object && object->frameFormat().position() != QTextFrameFormat::InFlow;
    }
    return floats;
}

// What `more` floats cost after `before` others.
qint64 floatsCost(qint64 before, qint64 more)
{
    return more * (2 * before + more - 1) / 2 / floatShare;
}

// Keeps the top-level pieces that fit in the limit, and of the first one
// that does not, when it is a table, the rows that fit.
Cut cutToLimit(QTextDocument &document, const Limits &limits, bool &empty)
{
    qint64 spent = 0;
    qint64 plain = 0; // of which plain paragraphs at the top level
    qreal tall = 0;   // the height reckoned so far
    int kept = 0;     // top-level pieces kept
    qint64 floats = 0;
    const auto fits = [&](qint64 cost, qreal height) {
        return spent + cost <= limits.cost && tall + height <= limits.height;
    };
    for (auto it = document.rootFrame()->begin(); !it.atEnd(); ++it) {
        QTextFrame *frame = it.currentFrame();
        const qint64 more = frame ? 0 : floatsIn(it.currentBlock());
        const qint64 piece = (frame ? cost(frame, 0) : cost(it.currentBlock())) + floatsCost(floats, more);
        const qreal pieceHeight = frame ? height(frame) : height(it.currentBlock());
        floats += more;
        if (fits(piece, pieceHeight)) {
            spent += piece;
            tall += pieceHeight;
            if (!frame)
                plain += piece;
            ++kept;
            continue;
        }
        int end = frame ? frame->firstPosition() - 1 : it.currentBlock().position();
        if (auto *table = qobject_cast<QTextTable *>(frame)) {
            int rows = 0;
            for (; rows < table->rows(); ++rows) {
                const qint64 rowCost = cost(table, rows, 1);
                const qreal rowHeight = height(table, rows);
                if (!fits(rowCost, rowHeight))
                    break;
                spent += rowCost;
                tall += rowHeight;
            }
            rows = rowsToKeep(table, rows);
            if (rows > 0) {
                table->removeRows(rows, table->rows() - rows);
                end = table->lastPosition() + 1;
                ++kept;
            }
        }
        // A page of plain paragraphs is long; one whose cost comes from
        // anything else (tables, runs of formats, very long lines) complex.
        const bool plainPiece =
            !frame && (1 + textCost(it.currentBlock().text())) * 2 >= piece - blockCost - fragmentCost;
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
    case QTextLength::VariableLength: break;
    }
    return length;
}

void clampLengthProperty(QTextFormat &format, int property, qreal maxFixed)
{
    if (format.hasProperty(property))
        format.setProperty(property, clampLength(format.lengthProperty(property), maxFixed));
}

void clampDouble(QTextFormat &format, int property, Bounds<qreal> bounds)
{
    clampDouble(format, property, bounds.low, bounds.high);
}

void clampInt(QTextFormat &format, int property, Bounds<int> bounds)
{
    clampInt(format, property, bounds.low, bounds.high);
}

constexpr qreal maxSpace = DocumentLimits::spaceSize;
constexpr qreal maxInner = DocumentLimits::innerSize;
constexpr qreal maxBorder = DocumentLimits::borderSize;
constexpr qreal maxWidth = DocumentLimits::widthSize;

// Qt fills a background picture's brush while it parses, from whatever
// answers the document's request (the placeholder, here), and draws it
// tiled: the brush goes with the address.
void dropBackgroundPicture(QTextFormat &format)
{
    format.clearProperty(QTextFormat::BackgroundImageUrl);
    if (format.hasProperty(QTextFormat::BackgroundBrush) && format.background().style() == Qt::TexturePattern)
        format.clearProperty(QTextFormat::BackgroundBrush);
}

void cleanCharFormat(QTextCharFormat &format)
{
    // Point sizes are rounded as well (limits.h).
    if (format.hasProperty(QTextFormat::FontPointSize)) {
        constexpr Bounds<qreal> points = DocumentLimits::pointSize;
        format.setProperty(
            QTextFormat::FontPointSize,
            std::clamp(std::round(format.doubleProperty(QTextFormat::FontPointSize)), points.low, points.high));
    }
    clampInt(format, QTextFormat::FontPixelSize, DocumentLimits::pixelSize);
    clampInt(format, QTextFormat::FontSizeAdjustment, DocumentLimits::sizeAdjustment);
    clampInt(format, QTextFormat::FontStretch, DocumentLimits::fontStretch);
    clampDouble(format, QTextFormat::FontWordSpacing, DocumentLimits::wordSpacing);
    if (format.hasProperty(QTextFormat::FontLetterSpacing)) {
        if (format.fontLetterSpacingType() == QFont::PercentageSpacing)
            clampDouble(format, QTextFormat::FontLetterSpacing, DocumentLimits::letterSpacingPercent);
        else
            clampDouble(format, QTextFormat::FontLetterSpacing, DocumentLimits::letterSpacing);
    }
    if (format.hasProperty(QTextFormat::TextOutline)) {
        QPen pen = format.textOutline();
        pen.setWidthF(std::clamp(pen.widthF(), 0.0, DocumentLimits::outlineWidth));
        format.setTextOutline(pen);
    }
    // Shown as rich text, a tool tip would load pictures by any name; as
    // escaped text it shows what the author wrote, and nothing else.
    if (format.hasProperty(QTextFormat::TextToolTip)) {
        const QString tip = format.toolTip().left(DocumentLimits::toolTipChars);
        if (tip.isEmpty())
            format.clearProperty(QTextFormat::TextToolTip);
        else
            format.setToolTip(QStringLiteral("<p style=\"white-space:pre-wrap\">%1</p>").arg(tip.toHtmlEscaped()));
    }
    dropBackgroundPicture(format);
    format.clearProperty(QTextFormat::ImageTitle);
}

// Each distinct font costs the window's thread a look-up, through every
// family of its list, the first time it is laid out. Fonts are kept in
// document order while they fit; past that, text is set in the default
// family, weight and style, at its own size.
class FontFold
{
public:
    explicit FontFold(int limit) : m_left(limit) {}

    void apply(QTextCharFormat &format)
    {
        QString key;
        for (int property : fontProperties)
            key += text(format.property(property)) + u'\x1e';
        if (key.size() == qsizetype(std::size(fontProperties)))
            return; // the default font
        for (int property : {QTextFormat::FontPointSize, QTextFormat::FontPixelSize, QTextFormat::FontSizeAdjustment})
            key += format.property(property).toString() + u'\x1e';
        if (m_kept.contains(key))
            return;
        const int families = std::max<int>(1, format.fontFamilies().toStringList().size());
        if (families <= m_left) {
            m_left -= families;
            m_kept.insert(key);
            return;
        }
        for (int property : fontProperties)
            format.clearProperty(property);
    }

private:
    static QString text(const QVariant &value)
    {
        return value.typeId() == QMetaType::QStringList ? value.toStringList().join(u'\x1f') : value.toString();
    }

    static constexpr int fontProperties[] = {
        QTextFormat::FontFamilies, QTextFormat::FontFamily,    QTextFormat::FontStyleName, QTextFormat::FontWeight,
        QTextFormat::FontItalic,   QTextFormat::FontStyleHint, QTextFormat::FontFixedPitch};
    int m_left;
    QSet<QString> m_kept;
};

void cleanBlockFormat(QTextBlockFormat &format)
{
    if (format.hasProperty(QTextFormat::LineHeight)) {
        if (format.lineHeightType() == QTextBlockFormat::ProportionalHeight)
            clampDouble(format, QTextFormat::LineHeight, DocumentLimits::lineHeightPercent);
        else
            clampDouble(format, QTextFormat::LineHeight, 0, maxSpace);
    }
    for (int property : {QTextFormat::BlockTopMargin, QTextFormat::BlockBottomMargin, QTextFormat::BlockLeftMargin,
                         QTextFormat::BlockRightMargin})
        clampDouble(format, property, 0, maxSpace);
    clampDouble(format, QTextFormat::TextIndent, -maxSpace, maxSpace);
    clampInt(format, QTextFormat::BlockIndent, 0, DocumentLimits::indentSteps);
    clampLengthProperty(format, QTextFormat::BlockTrailingHorizontalRulerWidth, maxWidth);
    dropBackgroundPicture(format);
}

void cleanFrameFormat(QTextFrameFormat &format)
{
    clampDouble(format, QTextFormat::FrameBorder, 0, maxBorder);
    for (int property : {QTextFormat::FrameMargin, QTextFormat::FrameTopMargin, QTextFormat::FrameBottomMargin,
                         QTextFormat::FrameLeftMargin, QTextFormat::FrameRightMargin, QTextFormat::FramePadding})
        clampDouble(format, property, 0, maxInner);
    clampLengthProperty(format, QTextFormat::FrameWidth, maxWidth);
    clampLengthProperty(format, QTextFormat::FrameHeight, maxWidth);
    dropBackgroundPicture(format);
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
QList<Picture> cleanText(QTextDocument &document, const std::atomic_bool &cancelled, int fonts)
{
    FontFold fold(fonts);
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
            found =
                blockFormats.insert(block.blockFormatIndex(), format == before ? std::nullopt : std::optional(format));
        }
        if (*found)
            blockChanges.emplace_back(block.position(), **found);
        if (QTextList *list = block.textList(); list && !lists.contains(list)) {
            lists.insert(list);
            QTextListFormat format = list->format();
            clampInt(format, QTextFormat::ListIndent, 0, DocumentLimits::indentSteps);
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
                fold.apply(format);
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
    outcome.cut = cutToLimit(document, limits, outcome.empty);
    if (outcome.empty || cancelled)
        return outcome;
    cleanFrames(document.rootFrame(), cancelled);
    // Before the pictures' places are taken, which it moves.
    dropClosingSpaces(document, cancelled);
    if (cancelled)
        return outcome;
    outcome.pictures = cleanText(document, cancelled, limits.fonts);
    return outcome;
}

void dropClosingSpaces(QTextDocument &document, const std::atomic_bool &cancelled)
{
    QTextCursor cursor(&document);
    cursor.beginEditBlock();
    // From the end, so that the places of the paragraphs still to do stay.
    for (QTextBlock block = document.lastBlock(); block.isValid() && !cancelled; block = block.previous()) {
        if (block.blockFormat().nonBreakableLines())
            continue;
        const QString text = block.text();
        qsizetype kept = text.size();
        while (kept > 0 && text.at(kept - 1) == u' ')
            --kept;
        if (kept == text.size())
            continue;
        cursor.setPosition(block.position() + int(kept));
        cursor.setPosition(block.position() + int(text.size()), QTextCursor::KeepAnchor);
        cursor.removeSelectedText();
    }
    cursor.endEditBlock();
}

void setPictureFormats(QTextDocument &document, const QList<Picture> &pictures)
{
    QTextCursor cursor(&document);
    // In one edit, or each move of the cursor lays its paragraph out again.
    cursor.beginEditBlock();
    for (const Picture &picture : pictures) {
        cursor.setPosition(picture.position);
        cursor.setPosition(picture.position + 1, QTextCursor::KeepAnchor);
        cursor.setCharFormat(picture.format);
    }
    cursor.endEditBlock();
}

} // namespace documentclean
