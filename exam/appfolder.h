#pragma once

#include <QChar>
#include <QString>

// The folder that holds the running program, ending in exactly one separator,
// so that a bare file name can be appended to find a file beside it. Empty
// when the system does not say: then nothing is beside the program.
QString AppFolderPath();

// Appends `separator` unless `folder` already ends in it ("C:\" stays "C:\").
QString withTrailingSeparator(const QString &folder, QChar separator);

// Where the folder's name is not text (see AppFolderPath()), makes it the
// current folder, before the application object exists: Qt finds the
// program's folder by a decoded name, and for such a name takes the current
// folder instead, and would load a plugin found there. The program opens
// nothing by a relative name.
void enterUnnamedProgramFolder();
