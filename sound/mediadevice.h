#pragma once

#include <QString>

// A playback control driven the way the program drives MMControl1: a file
// name and text commands ("Open", "Prev", "Play", see MediaCommand). Nothing
// is read back.
class MediaDevice
{
public:
    virtual ~MediaDevice() = default;
    virtual void setFileName(const QString &fileName) = 0;
    virtual void command(const QString &command) = 0;
};
