#pragma once

#include <QColor>

#include <array>

// The six verdict windows frm合格ライン1..6 differ only in these values;
// geometry in twips.
struct PassLineLayout
{
    const char16_t *title;
    const char16_t *badge;
    QRgb badgeColour;
    int badgeLeft, badgeWidth;
    const char16_t *comment;
    int commentLeft, commentWidth, commentHeight;
    int documentTop, documentHeight;
};

inline constexpr std::array<PassLineLayout, 6> passLineLayouts = {{
    {u" 合格ライン", u" 合格率 ９９％", 0xFF0000, 4680, 2535,
     u"　あなたはカンニングの天才です・・・ バレなければ一流大学に合格します。", 1320, 9135, 255, 1200, 7335},
    {u"合格ライン", u" 合格率 ８０％", 0xFF8000, 4680, 2535,
     u"　たいへんよくできました・・・　合コン生活までもう少しです。", 2160, 7695, 375, 1320, 7215},
    {u"合格ライン", u" 合格率 ５０％", 0xFFFF00, 4680, 2535, u"　三流大学まであとちょっと。 一生懸命お祈りしましょう。",
     2400, 7215, 375, 1320, 7215},
    {u"合格ライン", u" 合格率 １０％", 0x8080FF, 4680, 2535, u"　浪人生活にリーチです。 裏口入学を考えましょう。", 2520,
     6975, 375, 1320, 7215},
    {u"合格ライン", u" 合格率 ０％", 0x404040, 4920, 2175,
     u" 神頼みも通じません。 金属バットを持たないようにしましょう。", 2040, 7815, 255, 1200, 7335},
    {u"合格ライン", u" 予測不能", 0x00FF00, 5040, 1815, u" 大学生になるには自分で経営しましょう。", 3480, 5055, 255,
     1200, 7335},
}};

// Shared by all six.
inline constexpr int passLineClientWidth = 11880;
inline constexpr int passLineClientHeight = 8595;
inline constexpr QRgb passLineGround = 0xFF8080;
inline constexpr int badgeTop = 120;
inline constexpr int badgeHeight = 375;
inline constexpr int commentTop = 720;
inline constexpr int documentLeft = 0;
inline constexpr int documentWidth = 11895;
