#pragma once

#include "widgets/install.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>

// What every fuzz target needs once per process: an application on the
// offscreen platform and a scratch folder for the files it is fed.
namespace fuzzapp {

inline QApplication &application()
{
    static int argc = 1;
    static char name[] = "vardo-fuzz";
    static char *argv[] = {name, nullptr};
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Never destroyed: torn down at exit after Qt's own thread storage, its
    // font caches would be reported as leaks that are not ours.
    static QApplication *app = [] {
        auto *made = new QApplication(argc, argv);
        widgets::install();
        return made;
    }();
    return *app;
}

inline QString scratchPath(const QString &fileName)
{
    static QTemporaryDir folder;
    return folder.filePath(fileName);
}

inline void write(const QString &path, const uint8_t *data, size_t size)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        qFatal("cannot write %s", qPrintable(path));
    file.write(reinterpret_cast<const char *>(data), qint64(size));
}

} // namespace fuzzapp
