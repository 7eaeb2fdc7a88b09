#include "exam/pictures.h"

#include <QIcon>

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

std::future<QImage> decodeBackground()
{
    return std::async(std::launch::async, [] {
        return QImage(backgroundPath()).convertToFormat(QImage::Format_RGB32);
    });
}

QPixmap figure(int figure)
{
    return QPixmap(figurePath(figure));
}

QPixmap mark()
{
    return QIcon(markPath()).pixmap(32, 32);
}

} // namespace pictures
