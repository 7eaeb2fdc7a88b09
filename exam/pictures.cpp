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

QPixmap background()
{
    return QPixmap(backgroundPath());
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
