#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

// Files the tests write for the code under test to read.
namespace testfiles {

inline bool write(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace testfiles
