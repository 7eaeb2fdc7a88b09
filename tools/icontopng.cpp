// icontopng ICON OUTDIR NAME: writes OUTDIR/<size>x<size>/apps/NAME.png for every
// image size in a Windows icon, for the desktop's icon theme. Where the icon
// holds one size more than once, the richest in colours wins.
#include <QCoreApplication>
#include <QDir>
#include <QImageReader>
#include <QMap>
#include <QSet>

#include <cstdio>

namespace {

int colourCount(const QImage &image)
{
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    QSet<QRgb> seen;
    for (int y = 0; y < argb.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(argb.constScanLine(y));
        for (int x = 0; x < argb.width(); ++x)
            seen.insert(line[x]);
    }
    return seen.size();
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    const QStringList args = application.arguments();
    if (args.size() != 4) {
        std::fprintf(stderr, "usage: icontopng ICON OUTDIR NAME\n");
        return 2;
    }
    QImageReader reader(args.at(1));
    QMap<int, QImage> best;
    do {
        const QImage image = reader.read();
        if (image.isNull())
            break;
        const int size = image.width();
        if (image.height() == size && (!best.contains(size) || colourCount(image) > colourCount(best[size])))
            best[size] = image;
    } while (reader.jumpToNextImage());
    if (best.isEmpty()) {
        std::fprintf(stderr, "icontopng: %s: %s\n", qPrintable(args.at(1)), qPrintable(reader.errorString()));
        return 1;
    }
    for (auto it = best.cbegin(); it != best.cend(); ++it) {
        const QString folder = QStringLiteral("%1/%2x%2/apps").arg(args.at(2)).arg(it.key());
        const QString file = QStringLiteral("%1/%2.png").arg(folder, args.at(3));
        if (!QDir().mkpath(folder) || !it.value().save(file, "PNG")) {
            std::fprintf(stderr, "icontopng: cannot write %s\n", qPrintable(file));
            return 1;
        }
    }
    return 0;
}
