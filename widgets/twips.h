#pragma once

#include <QRect>

// Layouts are designed in twips; the screen works in pixels at 15 twips each.
namespace twips {

inline constexpr int perPixel = 15;

constexpr int toPixels(int twips)
{
    return (twips + perPixel / 2) / perPixel;
}

constexpr QRect rect(int left, int top, int width, int height)
{
    return QRect(toPixels(left), toPixels(top), toPixels(width), toPixels(height));
}

} // namespace twips
