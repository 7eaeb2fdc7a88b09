#pragma once

#include "sound/mediacommand.h"
#include "sound/mediadevice.h"

#include <QStringList>
#include <QTest>

// A sound control that only keeps every command in order; a file name is
// logged as "file <name>". A command the real control would refuse fails
// the test.
class RecordingMedia : public MediaDevice
{
public:
    void setFileName(const QString &fileName) override { log.append(QStringLiteral("file ") + fileName); }
    void command(const QString &command) override
    {
        if (!mediaCommand(command))
            QTest::qFail(qPrintable(QStringLiteral("unknown media command ") + command), __FILE__, __LINE__);
        log.append(command);
    }
    QStringList log;
};
