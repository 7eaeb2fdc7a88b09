#include "widgets/keystrokes.h"

#include <QKeyEvent>

namespace keystrokes {

Qt::KeyboardModifiers held(const QKeyEvent *key)
{
    return key->modifiers() & ~Qt::KeypadModifier;
}

std::optional<Move> caretMove(const QKeyEvent *key, Unit unit)
{
    struct Keys
    {
        QKeySequence::StandardKey next, previous, selectNext, selectPrevious;
    };
    static constexpr Keys byUnit[] = {
        {QKeySequence::MoveToNextChar, QKeySequence::MoveToPreviousChar, QKeySequence::SelectNextChar,
         QKeySequence::SelectPreviousChar},
        {QKeySequence::MoveToNextWord, QKeySequence::MoveToPreviousWord, QKeySequence::SelectNextWord,
         QKeySequence::SelectPreviousWord},
        {QKeySequence::MoveToNextLine, QKeySequence::MoveToPreviousLine, QKeySequence::SelectNextLine,
         QKeySequence::SelectPreviousLine},
    };
    const Keys &keys = byUnit[int(unit)];
    if (key->matches(keys.next))
        return Move{true, false};
    if (key->matches(keys.previous))
        return Move{false, false};
    if (key->matches(keys.selectNext))
        return Move{true, true};
    if (key->matches(keys.selectPrevious))
        return Move{false, true};
    return std::nullopt;
}

} // namespace keystrokes
