#include "document/confineddocument.h"

#include <QCoreApplication>
#include <QImage>
#include <QPixmap>
#include <QThread>

#include <utility>

ConfinedDocument::ConfinedDocument(Resources resources, QObject *parent)
    : QTextDocument(parent), m_resources(std::move(resources))
{
}

// Given a parent, the document asks it, as any document does. An invalid
// answer would send the document to read the name itself. Pictures come as
// images off the GUI thread, where pixmaps cannot be made.
QVariant ConfinedDocument::loadResource(int type, const QUrl &name)
{
    if (parent())
        return QTextDocument::loadResource(type, name);
    QVariant value = m_resources ? m_resources(type, name) : QVariant();
    if (!value.isValid())
        return QByteArray();
    if (type == ImageResource && value.userType() == QMetaType::QByteArray) {
        const QImage image = QImage::fromData(value.toByteArray());
        if (image.isNull())
            return value;
        if (QThread::currentThread() == QCoreApplication::instance()->thread())
            return QPixmap::fromImage(image);
        return image;
    }
    return value;
}
