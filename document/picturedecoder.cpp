#include "document/picturedecoder.h"

#include "document/documentlog.h"
#include "files/regularfile.h"

#include <QBuffer>
#include <QImageReader>
#include <QUrl>

#include <algorithm>
#include <cmath>

namespace picturedecoder {

namespace {

struct File
{
    QByteArray bytes;
    QByteArray format;
    QSize natural; // invalid when the file is refused or unreadable
    QSize shown;   // the largest size it is shown at
};

// The name of the file a picture's address names; a query or fragment
// ("big.png?2") names the same file.
QString fileName(const ResourceGate &gate, const QString &source)
{
    QUrl url(source);
    url.setQuery(QString());
    url.setFragment(QString());
    return gate.nameOf(url);
}

// Formats that hold pixels only. A format some plugin adds may name files of
// its own (an SVG picture's <image> is read by its path, wherever it lies,
// FIFOs included), so it is never handed the bytes.
bool isPlainPicture(const QByteArray &format)
{
    static const QList<QByteArray> plain = {"bmp", "gif", "ico", "jpeg", "pbm", "pgm", "png", "ppm", "xbm", "xpm"};
    return plain.contains(format);
}

File read(const ResourceGate &gate, const QString &name, const Budget &budget)
{
    File file;
    const auto front = gate.read(name, budget.fileBytes);
    if (!front || front->cut)
        return file;
    QBuffer buffer;
    buffer.setData(front->bytes);
    const QByteArray format = QImageReader(&buffer).format();
    if (!isPlainPicture(format))
        return file;
    QImageReader reader(&buffer, format);
    reader.setAutoDetectImageFormat(false);
    const QSize size = reader.size();
    if (size.isValid() && !size.isEmpty() && qint64(size.width()) * size.height() <= budget.filePixels) {
        file.bytes = front->bytes;
        file.format = format;
        file.natural = size;
    }
    return file;
}

int side(qreal value, int most)
{
    return std::clamp(int(std::lround(std::min<qreal>(value, most))), 1, most);
}

// The size a picture is shown at: as its format asks, one side following
// the other in the picture's proportions when only one is given, its own
// size when neither is; within `most` each way.
QSize shownSize(const QTextImageFormat &format, const QSize &natural, int most)
{
    const QSize own = natural.isValid() ? natural : ConfinedDocument::placeholder().size();
    const qreal width = format.width() > 0 ? format.width() : 0;
    const qreal height = format.height() > 0 ? format.height() : 0;
    if (width > 0 && height > 0)
        return QSize(side(width, most), side(height, most));
    if (width > 0)
        return QSize(side(width, most), side(width * own.height() / own.width(), most));
    if (height > 0)
        return QSize(side(height * own.width() / own.height(), most), side(height, most));
    return QSize(side(own.width(), most), side(own.height(), most));
}

} // namespace

QHash<QString, QImage> decode(const ResourceGate &gate, QList<documentclean::Picture> &pictures, qreal scale,
                              const std::atomic_bool &cancelled, const Budget &budget)
{
    QHash<QString, File> files;
    QList<QString> order; // of first appearance in the document
    qint64 readPixels = 0, height = 0, area = 0;
    for (documentclean::Picture &picture : pictures) {
        const QString name = fileName(gate, picture.format.name());
        auto found = files.find(name);
        if (found == files.end()) {
            File file = name.isEmpty() || cancelled ? File() : read(gate, name, budget);
            if (file.natural.isValid()) {
                readPixels += qint64(file.natural.width()) * file.natural.height();
                if (readPixels > budget.readPixels)
                    file = File();
            }
            found = files.insert(name, std::move(file));
            order.append(name);
        }
        QSize shown = shownSize(picture.format, found->natural, budget.side);
        height += shown.height();
        area += qint64(shown.width()) * shown.height();
        const bool fits = height <= budget.height && area <= budget.area;
        if (fits) {
            found->shown = found->shown.expandedTo(shown);
        } else {
            qCInfo(documentLog) << "picture shown as the placeholder, past the pictures' height or area:" << name;
            shown = ConfinedDocument::placeholder().size();
        }
        picture.format.setWidth(shown.width());
        picture.format.setHeight(shown.height());
        picture.format.setName(fits && found->natural.isValid() ? name : QString());
    }

    QHash<QString, QImage> decoded;
    qint64 shownPixels = 0;
    // In document order, so that the same document always keeps the same
    // pictures: its first ones.
    for (auto name = order.cbegin(); name != order.cend() && !cancelled; ++name) {
        const File &file = *files.constFind(*name);
        if (!file.natural.isValid())
            continue;
        const QSize target = (file.shown * std::max<qreal>(scale, 1)).boundedTo(file.natural);
        shownPixels += qint64(target.width()) * target.height();
        if (shownPixels > budget.shownPixels) {
            qCInfo(documentLog) << "picture left undecoded, past the pixels shown:" << *name;
            continue;
        }
        QBuffer buffer;
        buffer.setData(file.bytes);
        QImageReader reader(&buffer, file.format);
        reader.setAutoDetectImageFormat(false);
        reader.setScaledSize(target);
        const QImage image = reader.read();
        if (!image.isNull())
            decoded.insert(*name, image);
    }
    return decoded;
}

} // namespace picturedecoder
