#pragma once

#include "sound/mediadevice.h"

#include <QObject>

#include <memory>

class SoundPlayer;
class SoundPlayerFactory;

// The sound control of a window, never shown. "Open" loads the named WAV file
// (read once into memory, checked, and played from those same bytes),
// "Prev" rewinds it, "Play" starts it in the background. Every failure of
// the machine is silent: a missing, unreadable or damaged file, or a machine
// without an audio output, only means that nothing is heard. Any other
// command is refused with a warning.
class MediaControl : public QObject, public MediaDevice
{
public:
    explicit MediaControl(QObject *parent = nullptr);
    ~MediaControl() override;

    // The plugin, found on the library paths, that plays sound; until one is
    // named, nothing is heard.
    void setSoundModule(const QString &name);
    // A player factory of the caller's, used in place of the module.
    void setSoundModule(SoundPlayerFactory *factory);

    void setFileName(const QString &fileName) override;
    void command(const QString &text) override;

private:
    void open();
    void close();
    void rewind();
    void play();
    bool ensurePlayer();

    QString m_soundModule;
    SoundPlayerFactory *m_factory = nullptr;
    QString m_fileName;
    QString m_openFile;
    // The file last refused, as it was then: "Open" comes every second, and
    // the same bad file is not read again until it changes.
    QString m_refusedFile;
    QByteArray m_refusedStamp;
    // The checked bytes of the open file, in a sealed memory file that the
    // player reads by its /proc name; -1 when none is open.
    int m_cue = -1;
    std::unique_ptr<SoundPlayer> m_player;
};
