#pragma once

#include <QtCore/qnamespace.h>

#include <optional>

class QKeyEvent;

// What the key filters of boxes, rows and panes ask of a key press, asked
// one way: the modifiers held, and caret moves as the platform strikes them.
namespace keystrokes {

// The modifiers held with `key`, the keypad's left out: a key on the keypad
// is the same key.
Qt::KeyboardModifiers held(const QKeyEvent *key);

enum class Unit { Character, Word, Line };

struct Move
{
    bool forward; // right or down
    bool select;  // Shift held: the selection grows
};

// The caret move by `unit` that `key` strikes (Right, Ctrl+Right, Down,
// with Shift to select, as the platform binds them); none for other keys.
std::optional<Move> caretMove(const QKeyEvent *key, Unit unit);

} // namespace keystrokes
