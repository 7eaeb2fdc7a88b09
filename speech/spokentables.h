#pragma once

#include <span>

// The words a Japanese speech synthesizer is given for what it would misread:
// units by symbol, the quantities that name their unit in brackets, and
// signs. Data alone; spokenwords.cpp decides where each applies.
namespace spokentables {

// A unit of a physics paper, by symbol. A length raised to 2 or 3 is an
// area or a volume (平方メートル); anything else raised is 「の2乗」.
struct Unit
{
    const char *symbol;
    const char *name;
    bool length;
};

// A quantity that names its unit in brackets after it, 重さ（N）, and the
// units it is measured in, as read.
struct Quantity
{
    const char16_t *word;
    const char *units; // space-separated
};

// A sign a synthesizer drops or names oddly, read as a Japanese reader says it.
struct Sign
{
    const char16_t *sign;
    const char *words;
};

std::span<const Unit> units();
std::span<const Quantity> quantities();
std::span<const Sign> signs();

} // namespace spokentables
