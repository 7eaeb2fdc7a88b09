#include "document/confineddocument.h"

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QTextFormat>
#include <QTextObjectInterface>

#include <utility>

namespace {

// Draws a document's pictures at the size its image formats give (which
// the document's cleaning set on every one), from the pictures decoded for
// it. Unlike Qt's own handler it never loads a resource and never looks for
// a file, high-resolution variants included.
class PictureHandler : public QObject, public QTextObjectInterface
{
    Q_OBJECT
    Q_INTERFACES(QTextObjectInterface)

public:
    using QObject::QObject;

    QSizeF intrinsicSize(QTextDocument *, int, const QTextFormat &format) override
    {
        const QTextImageFormat image = format.toImageFormat();
        if (image.width() > 0 && image.height() > 0)
            return QSizeF(image.width(), image.height());
        return ConfinedDocument::placeholder().size();
    }

    void drawObject(QPainter *painter, const QRectF &rect, QTextDocument *document, int,
                    const QTextFormat &format) override
    {
        const auto *confined = qobject_cast<const ConfinedDocument *>(document);
        const QImage image =
            confined ? confined->picture(format.toImageFormat().name()) : ConfinedDocument::placeholder();
        painter->drawImage(rect, image);
    }
};

} // namespace

ConfinedDocument::ConfinedDocument(QObject *parent) : QTextDocument(parent)
{}

void ConfinedDocument::setGrant(Grant grant)
{
    m_grant = std::move(grant);
}

void ConfinedDocument::setDecodedPictures(QHash<QString, QImage> pictures)
{
    m_pictures = std::move(pictures);
}

QImage ConfinedDocument::picture(const QString &name) const
{
    const auto found = m_pictures.constFind(name);
    return found == m_pictures.constEnd() ? placeholder() : *found;
}

// Shown for a picture that may not, or cannot, be shown: a small grey box.
QImage ConfinedDocument::placeholder()
{
    static const QImage image = [] {
        QImage box(16, 16, QImage::Format_ARGB32_Premultiplied);
        box.fill(QColor(0xe0, 0xe0, 0xe0));
        QPainter painter(&box);
        painter.setPen(QColor(0x80, 0x80, 0x80));
        painter.drawRect(0, 0, 15, 15);
        return box;
    }();
    return image;
}

void ConfinedDocument::attachPictures()
{
    QAbstractTextDocumentLayout *layout = documentLayout();
    layout->registerHandler(QTextFormat::ImageObject, new PictureHandler(layout));
}

// An invalid answer would send Qt to read the name itself, and a picture
// it cannot decode to its own picture handler, which reads files too: so
// a refused picture is the placeholder and anything else refused is empty.
QVariant ConfinedDocument::loadResource(int type, const QUrl &name)
{
    QVariant value = m_grant ? m_grant(type, name) : QVariant();
    if (value.isValid())
        return value;
    if (type == ImageResource)
        return placeholder();
    return QByteArray();
}

#include "confineddocument.moc"
