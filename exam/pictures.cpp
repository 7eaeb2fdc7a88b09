#include "exam/pictures.h"

#include "speech/spokenwords.h"
#include "widgets/pictureground.h"

#include <QFile>
#include <QHash>
#include <QIcon>

#include <cstring>

namespace pictures {

QString backgroundPath()
{
    return QStringLiteral(":/pictures/background.gif");
}

QString figurePath(int figure)
{
    return QStringLiteral(":/pictures/figure%1.jpg").arg(figure, 2, 10, QLatin1Char('0'));
}

QString markPath()
{
    return QStringLiteral(":/pictures/mark.ico");
}

// Looked up a run of one colour at a time, as a background is drawn in runs.
QImage indexed(const QImage &picture)
{
    QImage out(picture.size(), QImage::Format_Indexed8);
    QList<QRgb> colours;
    QHash<QRgb, uchar> indexOf;
    const int width = picture.width();
    for (int y = 0; y < picture.height(); ++y) {
        const auto *in = reinterpret_cast<const QRgb *>(picture.constScanLine(y));
        uchar *line = out.scanLine(y);
        for (int x = 0; x < width;) {
            const QRgb colour = in[x];
            int end = x + 1;
            while (end < width && in[end] == colour)
                ++end;
            auto found = indexOf.constFind(colour);
            if (found == indexOf.cend()) {
                if (colours.size() == PictureGround::paletteSize)
                    return picture;
                found = indexOf.insert(colour, uchar(colours.size()));
                colours.append(colour);
            }
            std::memset(line + x, *found, size_t(end - x));
            x = end;
        }
    }
    out.setColorTable(colours);
    return out;
}

std::future<QImage> decodeBackground()
{
    return std::async(std::launch::async, [] {
        // The reader gives 32 bits a pixel, four times what the ground keeps.
        QImage picture(backgroundPath());
        picture.convertTo(QImage::Format_RGB32);
        return indexed(picture);
    });
}

QPixmap figure(int figure)
{
    return QPixmap(figurePath(figure));
}

namespace {

// Lines "N<tab>description", UTF-8, as the picture generator writes them.
QHash<int, QString> readDescriptions()
{
    QHash<int, QString> table;
    QFile file(QStringLiteral(":/pictures/figures.txt"));
    if (!file.open(QIODevice::ReadOnly))
        return table;
    const QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
    for (const QString &line : lines) {
        bool isNumber = false;
        const int figure = line.section(u'\t', 0, 0).toInt(&isNumber);
        if (isNumber)
            table.insert(figure, line.section(u'\t', 1));
    }
    return table;
}

} // namespace

QString figureDescription(int figure)
{
    static const QHash<int, QString> descriptions = readDescriptions();
    // Through the pane's own table of signs and units, so that a quantity is
    // heard as the paper's text is.
    return spokenwords::spoken(descriptions.value(figure));
}

QPixmap mark()
{
    return QIcon(markPath()).pixmap(32, 32);
}

} // namespace pictures
