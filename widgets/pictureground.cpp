#include "widgets/pictureground.h"

#include "widgets/background.h"

#include <QPaintEvent>
#include <QPainter>

#include <algorithm>
#include <array>
#include <utility>

namespace {

// Rows looked up at a time: a band of the picture at four bytes a pixel.
constexpr int bandRows = 32;

} // namespace

PictureGround::PictureGround(const QColor &colour, QWidget *parent) : QWidget(parent)
{
    fillBackground(this, colour);
}

void PictureGround::setPicture(QImage picture)
{
    m_picture = std::move(picture);
    update();
}

// Only where the ground shows between the controls on it.
void PictureGround::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    for (const QRect &exposed : event->region()) {
        const QRect part = exposed & m_picture.rect();
        if (part.isEmpty())
            continue;
        if (m_picture.format() == QImage::Format_Indexed8)
            drawIndexed(painter, part);
        else
            painter.drawImage(part.topLeft(), m_picture, part);
    }
}

// A band at a time, looked up here and copied to the screen. Qt would look
// an indexed picture up pixel by pixel on a pool of threads it starts for
// it, and converting it whole would take the bytes it is kept from.
void PictureGround::drawIndexed(QPainter &painter, const QRect &part) const
{
    std::array<QRgb, paletteSize> colours;
    colours.fill(qRgb(0, 0, 0));
    const QList<QRgb> table = m_picture.colorTable();
    for (qsizetype i = 0; i < std::min<qsizetype>(table.size(), paletteSize); ++i)
        colours[size_t(i)] = table[i] | 0xff000000;

    const int width = part.width();
    const int bandHeight = std::min(bandRows, part.height());
    QImage band(width, bandHeight, QImage::Format_RGB32);
    for (int top = part.top(); top <= part.bottom(); top += bandHeight) {
        const int rows = std::min(bandHeight, part.bottom() + 1 - top);
        for (int row = 0; row < rows; ++row) {
            const uchar *in = m_picture.constScanLine(top + row) + part.left();
            auto *out = reinterpret_cast<QRgb *>(band.scanLine(row));
            for (int x = 0; x < width; ++x)
                out[x] = colours[in[x]];
        }
        painter.drawImage(QPoint(part.left(), top), band, QRect(0, 0, width, rows));
    }
}
