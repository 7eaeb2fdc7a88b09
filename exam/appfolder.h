#pragma once

#include <QChar>
#include <QString>

// The folder that holds the running program, ending in exactly one separator,
// so that a bare file name can be appended to find a file beside it. Empty
// when the system does not say: then nothing is beside the program.
QString AppFolderPath();

// Appends `separator` unless `folder` already ends in it ("C:\" stays "C:\").
QString withTrailingSeparator(const QString &folder, QChar separator);
