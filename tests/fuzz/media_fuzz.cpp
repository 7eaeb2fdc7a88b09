// The sound control's file path: the bytes become the cue file, then the
// clock's "Open" and the cue's "Prev" and "Play" run on it. Without an audio
// output the control stops before its header check, so the check also runs
// on the file directly, the way the control opens it.

#include "sound/mediacontrol.h"
#include "sound/wavcheck.h"
#include "fuzzapp.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzzapp::application();
    static const QString cue = fuzzapp::scratchPath(QStringLiteral("Zarod.wav"));
    fuzzapp::write(cue, data, size);

    QFile file(cue);
    if (file.open(QIODevice::ReadOnly))
        wavcheck::isPlayable(file);

    MediaControl control;
    control.setSoundModule(QStringLiteral("vardo_sound"));
    control.setFileName(cue);
    for (const char *command : {"Open", "Prev", "Play", "Open", "Prev", "Play"})
        control.command(QString::fromLatin1(command));
    return 0;
}
