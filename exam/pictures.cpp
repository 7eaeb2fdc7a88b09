#include "exam/pictures.h"

#include "reading/spokenwords.h"

#include <QFile>
#include <QHash>
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
