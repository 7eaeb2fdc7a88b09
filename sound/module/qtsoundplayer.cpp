// The sound module: QSoundEffect behind the SoundPlayer interface.
#include "sound/soundplayer.h"

#include <QAudioDevice>
#include <QMediaDevices>
#include <QObject>
#include <QSoundEffect>
#include <QUrl>

namespace {

class EffectPlayer : public SoundPlayer
{
public:
    void setSource(const QString &fileName) override
    {
        m_effect.setSource(fileName.isEmpty() ? QUrl() : QUrl::fromLocalFile(fileName));
    }
    void stop() override { m_effect.stop(); }
    void play() override { m_effect.play(); }

private:
    QSoundEffect m_effect;
};

} // namespace

class QtSoundPlayerFactory : public QObject, public SoundPlayerFactory
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID SoundPlayerFactory_iid)
    Q_INTERFACES(SoundPlayerFactory)

public:
    bool hasOutput() const override { return !QMediaDevices::defaultAudioOutput().isNull(); }
    std::unique_ptr<SoundPlayer> create() override { return std::make_unique<EffectPlayer>(); }
};

#include "qtsoundplayer.moc"
