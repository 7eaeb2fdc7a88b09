#pragma once

#include "support/testfiles.h"

#include <QBuffer>
#include <QByteArray>
#include <QImage>

// Pictures for the document tests; apart from testfiles.h, whose users may
// have Qt Core alone.
namespace testfiles {

// A PNG of one colour.
inline QByteArray png(QSize size = QSize(4, 4), QImage::Format format = QImage::Format_RGB32)
{
    QImage image(size, format);
    image.fill(Qt::red);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

} // namespace testfiles
