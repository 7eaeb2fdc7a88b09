#pragma once

#include <QByteArray>

#include <optional>

class QFile;
class QString;

namespace regularfile {

// Opens `path` for reading only when it names a regular file (links
// followed). Anything else (a FIFO, a device, /proc) is refused before it is
// opened, so nothing blocks on it or reads without end; a file swapped for
// one of those between the look and the open is refused too. False, with
// `file` left closed, on refusal or failure.
bool open(QFile &file, const QString &path);

// At most `maxBytes` of the regular file at `path`, opened as open() does;
// `cut` tells whether there was more. Nothing on refusal or failure.
struct Front
{
    QByteArray bytes;
    bool cut = false;
};
std::optional<Front> read(const QString &path, qint64 maxBytes);

} // namespace regularfile
