#include "sound/mediacommand.h"

#include <array>
#include <utility>

std::optional<MediaCommand> mediaCommand(const QString &text)
{
    static constexpr std::array<std::pair<const char *, MediaCommand>, 3> names = {{
        {"Open", MediaCommand::Open},
        {"Prev", MediaCommand::Prev},
        {"Play", MediaCommand::Play},
    }};
    for (const auto &[name, command] : names) {
        if (text == QLatin1String(name))
            return command;
    }
    return std::nullopt;
}
