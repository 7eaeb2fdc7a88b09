#pragma once

#include <QtPlugin>

#include <memory>

class QString;

// The part of sound playback that needs Qt Multimedia. It lives in a module
// of its own, loaded at the first "Open", so that start-up does not pay for
// loading the multimedia libraries.
class SoundPlayer
{
public:
    virtual ~SoundPlayer() = default;
    virtual void setSource(const QString &fileName) = 0;
    virtual void stop() = 0; // also rewinds
    virtual void play() = 0;
};

class SoundPlayerFactory
{
public:
    virtual ~SoundPlayerFactory() = default;
    // False when the machine has no audio output: nothing can be heard.
    virtual bool hasOutput() const = 0;
    virtual std::unique_ptr<SoundPlayer> create() = 0;
};

#define SoundPlayerFactory_iid "SoundPlayerFactory/1"
Q_DECLARE_INTERFACE(SoundPlayerFactory, SoundPlayerFactory_iid)
