// drawicon OUTDIR NAME: draws the program icon for the desktop's icon theme,
// OUTDIR/<size>x<size>/apps/NAME.png at the sizes software centres ask for
// and OUTDIR/scalable/apps/NAME.svg. Both come from one table of shapes, the
// answer sheet of the program's file icon (assets/vardo.ico) redrawn
// smoothly: a page with a folded corner, ruled lines and a red tick.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPolygonF>

#include <cstdio>
#include <vector>

namespace {

constexpr int gridSize = 32; // the file icon's own pixel grid

struct Shape
{
    bool closed; // a filled outline, or an open stroke
    QColor fill;
    QColor stroke;
    qreal width; // stroke width in grid units
    QPolygonF points;
};

// The file icon's 16-colour palette, so that the two read as one icon.
const QColor black(0, 0, 0), grey(128, 128, 128), silver(192, 192, 192), red(255, 0, 0), white(255, 255, 255);

const std::vector<Shape> &sheet()
{
    static const std::vector<Shape> shapes = {
        {true, white, black, 0.8, {{5, 2}, {19, 2}, {26, 9}, {26, 29}, {5, 29}}},
        {true, silver, black, 0.8, {{19, 2}, {19, 9}, {26, 9}}},
        {false, {}, grey, 1.2, {{8.5, 9}, {16.5, 9}}},
        {false, {}, grey, 1.2, {{8.5, 13}, {21.5, 13}}},
        {false, {}, grey, 1.2, {{8.5, 17}, {21.5, 17}}},
        {false, {}, red, 3.0, {{9.5, 21}, {13, 24.5}, {22.5, 13.5}}},
    };
    return shapes;
}

QImage drawPng(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(qreal(size) / gridSize, qreal(size) / gridSize);
    for (const Shape &shape : sheet()) {
        painter.setPen(QPen(shape.stroke, shape.width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.setBrush(shape.closed ? QBrush(shape.fill) : QBrush());
        if (shape.closed)
            painter.drawPolygon(shape.points);
        else
            painter.drawPolyline(shape.points);
    }
    return image;
}

QString svgElement(const Shape &shape)
{
    QStringList points;
    for (const QPointF &point : shape.points)
        points << QStringLiteral("%1,%2").arg(point.x()).arg(point.y());
    return QStringLiteral("  <%1 points=\"%2\" fill=\"%3\" stroke=\"%4\" stroke-width=\"%5\" "
                          "stroke-linecap=\"round\" stroke-linejoin=\"round\"/>\n")
        .arg(shape.closed ? QStringLiteral("polygon") : QStringLiteral("polyline"), points.join(' '),
             shape.closed ? shape.fill.name() : QStringLiteral("none"), shape.stroke.name())
        .arg(shape.width);
}

QByteArray drawSvg()
{
    QString svg = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                 "<svg xmlns=\"http://www.w3.org/2000/svg\" "
                                 "width=\"%1\" height=\"%1\" viewBox=\"0 0 %1 %1\">\n")
                      .arg(gridSize);
    for (const Shape &shape : sheet())
        svg += svgElement(shape);
    svg += QStringLiteral("</svg>\n");
    return svg.toUtf8();
}

bool write(const QString &folder, const QString &file, const QByteArray &data)
{
    QFile out(folder + '/' + file);
    return QDir().mkpath(folder) && out.open(QIODevice::WriteOnly) && out.write(data) == data.size();
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    const QStringList args = application.arguments();
    if (args.size() != 3) {
        std::fprintf(stderr, "usage: drawicon OUTDIR NAME\n");
        return 2;
    }
    const QString &root = args.at(1), &name = args.at(2);
    bool written = write(root + QStringLiteral("/scalable/apps"), name + ".svg", drawSvg());
    for (int size : {48, 64, 128, 256}) {
        const QString folder = QStringLiteral("%1/%2x%2/apps").arg(root).arg(size);
        written = written && QDir().mkpath(folder) && drawPng(size).save(folder + '/' + name + ".png");
    }
    if (!written) {
        std::fprintf(stderr, "drawicon: cannot write under %s\n", qPrintable(root));
        return 1;
    }
    return 0;
}
