#include "sound/mediacontrol.h"

#include "sound/mediacommand.h"
#include "sound/soundplayer.h"
#include "sound/wavcheck.h"

#include <QHash>
#include <QPluginLoader>

namespace {

// The sound module sits beside the program (found through the library
// paths, the program's folder among them); without it nothing is heard.
// Each module is looked for once: "Open" may come many times a second.
SoundPlayerFactory *soundModule(const QString &name)
{
    static QHash<QString, SoundPlayerFactory *> modules;
    auto found = modules.constFind(name);
    if (found == modules.constEnd()) {
        QPluginLoader loader(name);
        found = modules.insert(name, qobject_cast<SoundPlayerFactory *>(loader.instance()));
    }
    return *found;
}

} // namespace

MediaControl::MediaControl(QObject *parent) : QObject(parent)
{
}

MediaControl::~MediaControl() = default;

void MediaControl::setSoundModule(const QString &name)
{
    m_soundModule = name;
}

void MediaControl::setFileName(const QString &fileName)
{
    m_fileName = fileName;
}

// A command that is not one of ours is a fault of the caller, not of the
// machine, so unlike every other failure it is not silent.
void MediaControl::command(const QString &text)
{
    const std::optional<MediaCommand> parsed = mediaCommand(text);
    if (!parsed) {
        qWarning("MediaControl: unknown command \"%s\"", qPrintable(text));
        return;
    }
    switch (*parsed) {
    case MediaCommand::Open:
        open();
        break;
    case MediaCommand::Prev:
        rewind();
        break;
    case MediaCommand::Play:
        play();
        break;
    }
}

// "Open" may be repeated for the same file, so the file already open is left
// alone: no reload, and a cue that is playing goes on playing.
// Only files that pass the header check reach the player: a damaged one
// would leave it loading for ever and hang the next change of source.
void MediaControl::open()
{
    if (m_fileName == m_openFile)
        return;
    close();
    if (!ensurePlayer() || !wavcheck::isPlayableFile(m_fileName))
        return;
    m_player->setSource(m_fileName);
    m_openFile = m_fileName;
}

void MediaControl::close()
{
    if (m_player)
        m_player->stop();
    m_openFile.clear();
}

void MediaControl::rewind()
{
    if (m_player)
        m_player->stop();
}

void MediaControl::play()
{
    if (m_player && !m_openFile.isEmpty())
        m_player->play();
}

// The player is made at the first "Open", and only when there is an audio
// output: without one it would complain on every load, and nothing is read.
bool MediaControl::ensurePlayer()
{
    if (m_player)
        return true;
    SoundPlayerFactory *module = soundModule(m_soundModule);
    if (!module || !module->hasOutput())
        return false;
    m_player = module->create();
    return true;
}
