#include "document/paperzoom.h"

#include "markup/limits.h"
#include "reading/spokenreading.h"
#include "widgets/keystrokes.h"

#include <QKeyEvent>
#include <QKeySequence>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>

namespace {

// The document's font as parsed, kept on the document at the first zoom.
const char ownFontProperty[] = "paperzoomOwnFont";
// A run's size as parsed, kept in its format at the first zoom.
constexpr int ownPointSize = QTextFormat::UserProperty + 0x7a00;
constexpr int ownPixelSize = QTextFormat::UserProperty + 0x7a01;

bool hasOwnSize(const QTextFormat &format)
{
    return format.isCharFormat() && !format.isImageFormat()
        && (format.hasProperty(QTextFormat::FontPointSize) || format.hasProperty(QTextFormat::FontPixelSize));
}

QTextCharFormat scaled(QTextCharFormat format, qreal scale)
{
    if (format.hasProperty(QTextFormat::FontPointSize)) {
        if (!format.hasProperty(ownPointSize))
            format.setProperty(ownPointSize, format.doubleProperty(QTextFormat::FontPointSize));
        format.setProperty(QTextFormat::FontPointSize, format.doubleProperty(ownPointSize) * scale);
    }
    if (format.hasProperty(QTextFormat::FontPixelSize)) {
        if (!format.hasProperty(ownPixelSize))
            format.setProperty(ownPixelSize, format.intProperty(QTextFormat::FontPixelSize));
        format.setProperty(QTextFormat::FontPixelSize, qRound(format.intProperty(ownPixelSize) * scale));
    }
    return format;
}

struct Run
{
    int position, length;
    QTextCharFormat format;
};

// Runs in a size of their own (a heading in points, a style's pixels); a
// paper without them costs nothing here. More than the limit: not all.
QList<Run> runsInSizesOfTheirOwn(const QTextDocument &document)
{
    QList<Run> runs;
    const QList<QTextFormat> formats = document.allFormats();
    if (std::none_of(formats.cbegin(), formats.cend(), hasOwnSize))
        return runs;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd() && runs.size() <= DocumentLimits::zoomRuns; ++it) {
            const QTextFragment fragment = it.fragment();
            if (hasOwnSize(fragment.charFormat()))
                runs.append({fragment.position(), fragment.length(), fragment.charFormat()});
        }
    }
    return runs;
}

// The runs scaled one by one, in one edit.
void scaleRuns(QTextDocument &document, const QList<Run> &runs, qreal scale)
{
    if (runs.isEmpty())
        return;
    const std::shared_ptr<const SpokenReading> reading = SpokenReading::kept(document);
    QTextCursor cursor(&document);
    cursor.beginEditBlock();
    for (const Run &run : std::as_const(runs)) {
        cursor.setPosition(run.position);
        cursor.setPosition(run.position + run.length, QTextCursor::KeepAnchor);
        cursor.setCharFormat(scaled(run.format, scale));
    }
    cursor.endEditBlock();
    // Only formats changed: what a screen reader is told stays as it was.
    if (reading)
        SpokenReading::keepAfterFormatEdit(document, *reading);
}

bool isCtrlKey(const QKeyEvent *key)
{
    return (keystrokes::held(key) & ~Qt::ShiftModifier) == Qt::ControlModifier;
}

} // namespace

namespace paperzoom {

Ask asked(const QKeyEvent *key)
{
    if (key->matches(QKeySequence::ZoomIn))
        return Ask::Larger;
    if (key->matches(QKeySequence::ZoomOut))
        return Ask::Smaller;
    if (!isCtrlKey(key))
        return Ask::None;
    switch (key->key()) {
    case Qt::Key_Plus:
    case Qt::Key_Equal: return Ask::Larger;
    case Qt::Key_Minus: return Ask::Smaller;
    case Qt::Key_0: return Ask::Reset;
    default: return Ask::None;
    }
}

int next(int percent, Ask ask)
{
    if (ask == Ask::Reset)
        return steps.front();
    const auto at = std::find(steps.begin(), steps.end(), percent);
    if (at == steps.end())
        return steps.front();
    if (ask == Ask::Larger && at + 1 != steps.end())
        return *(at + 1);
    if (ask == Ask::Smaller && at != steps.begin())
        return *(at - 1);
    return percent;
}

bool apply(QTextDocument &document, int percent)
{
    const qreal scale = percent / 100.0;
    QVariant own = document.property(ownFontProperty);
    if (!own.isValid() && percent == steps.front())
        return true; // never zoomed: as parsed
    const QList<Run> runs = runsInSizesOfTheirOwn(document);
    if (runs.size() > DocumentLimits::zoomRuns)
        return false;
    if (!own.isValid()) {
        own = document.defaultFont();
        document.setProperty(ownFontProperty, own);
    }
    QFont font = own.value<QFont>();
    if (font.pointSizeF() > 0)
        font.setPointSizeF(font.pointSizeF() * scale);
    else if (font.pixelSize() > 0)
        font.setPixelSize(qRound(font.pixelSize() * scale));
    scaleRuns(document, runs, scale);
    document.setDefaultFont(font);
    return true;
}

} // namespace paperzoom
