#pragma once

#include "platform/mediadevice.h"

#include <QStringList>

// A sound control that only keeps every command in order; a file name is
// logged as "file <name>".
class RecordingMedia : public MediaDevice
{
public:
    void setFileName(const QString &fileName) override { log.append(QStringLiteral("file ") + fileName); }
    void command(const QString &command) override { log.append(command); }
    QStringList log;
};
