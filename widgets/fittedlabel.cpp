#include "widgets/fittedlabel.h"

#include <QPainter>
#include <QStyle>

namespace {

// Where the baseline goes in `box`: a line's ascent below its top, unless the
// ink of `text` would then overrun the bottom; never so high that it loses its top.
int fittedBaseline(const QFontMetrics &metrics, const QString &text, const QRect &box)
{
    const QRect ink = metrics.tightBoundingRect(text);
    const int byLine = box.top() + metrics.ascent();
    return qMax(qMin(byLine, box.bottom() - ink.bottom()), box.top() - ink.top());
}

} // namespace

FittedLabel::FittedLabel(const QString &text, QWidget *parent) : QLabel(text, parent)
{}

void FittedLabel::paintEvent(QPaintEvent *event)
{
    if (text().isEmpty() || textFormat() == Qt::RichText || wordWrap()) {
        QLabel::paintEvent(event);
        return;
    }
    QPainter painter(this);
    drawFrame(&painter);
    const QRect box = contentsRect();
    const QFontMetrics metrics = fontMetrics();
    const int baseline = fittedBaseline(metrics, text(), box);
    const QRect line(box.left(), baseline - metrics.ascent(), box.width(), metrics.height());
    style()->drawItemText(&painter, line,
                          int(alignment() & Qt::AlignHorizontal_Mask) | Qt::AlignTop | Qt::TextSingleLine, palette(),
                          isEnabled(), text(), foregroundRole());
}
