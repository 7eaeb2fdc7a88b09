#pragma once

#include <QString>

#include <optional>

// The commands a MediaDevice takes, typed once at its surface so that a
// misspelt one is refused there instead of quietly doing nothing.
enum class MediaCommand { Open, Prev, Play };

// The command spelt `text` exactly ("Open", "Prev", "Play"); none otherwise.
std::optional<MediaCommand> mediaCommand(const QString &text);
