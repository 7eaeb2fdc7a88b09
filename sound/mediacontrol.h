#pragma once

#include "sound/mediadevice.h"

#include <QObject>
#include <QThread>

class SoundPlayerFactory;

// The sound control of a window, never shown. "Open" loads the named WAV file
// (read once into memory, checked, and played from those same bytes),
// "Prev" rewinds it, "Play" starts it in the background. Every failure of
// the machine is silent: a missing, unreadable or damaged file, or a machine
// without an audio output, only means that nothing is heard. Any other
// command is refused with a warning.
//
// The commands are carried out in order on a thread of the control's own:
// loading the module, asking the sound server for an output and reading the
// cue (up to 16 MiB) never hold up the caller.
class MediaControl : public QObject, public MediaDevice
{
public:
    explicit MediaControl(QObject *parent = nullptr);
    ~MediaControl() override;

    // The plugin, found on the library paths, that plays sound; until one is
    // named, nothing is heard.
    void setSoundModule(const QString &name);
    // A player factory of the caller's, used in place of the module; it is
    // used on the control's thread.
    void setSoundModule(SoundPlayerFactory *factory);

    void setFileName(const QString &fileName) override;
    void command(const QString &text) override;

    // Waits until every command given so far has been carried out.
    void finish();

private:
    class Worker;
    QThread m_thread;
    Worker *m_worker;
    QString m_fileName;
};
