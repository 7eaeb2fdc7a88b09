#pragma once

#include <QFontDatabase>
#include <QImage>
#include <QLabel>
#include <QPainter>

// Whether a label's text shows whole: the label as drawn holds as much ink as
// the same text drawn with room to spare.
namespace labelink {

inline const QStringList gothicFaces = {QStringLiteral("IPAGothic"), QStringLiteral("Noto Sans Mono CJK JP")};

inline bool installed(const QString &family)
{
    return QFontDatabase::families().contains(family);
}

inline int inkOf(const QImage &image, QRgb ground)
{
    int ink = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            ink += image.pixel(x, y) != ground;
    }
    return ink;
}

// The ink of `label` as it shows, and with its text unclipped, in `family`.
inline std::pair<int, int> shownAndWhole(QLabel *label, const QString &family)
{
    QFont font = label->font();
    font.setFamilies({family});
    label->setFont(font);
    const QRgb ground = label->palette().color(QPalette::Window).rgb();
    label->setAutoFillBackground(true);
    const int shown = inkOf(label->grab().toImage().convertToFormat(QImage::Format_RGB32), ground);

    QImage room(label->width(), 4 * label->height(), QImage::Format_RGB32);
    room.fill(ground);
    QPainter painter(&room);
    painter.setFont(font);
    painter.setPen(label->palette().color(QPalette::WindowText));
    painter.drawText(room.rect(),
                     int(label->alignment() & Qt::AlignHorizontal_Mask) | Qt::AlignVCenter | Qt::TextSingleLine,
                     label->text());
    painter.end();
    return {shown, inkOf(room, ground)};
}

} // namespace labelink
