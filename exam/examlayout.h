#pragma once

#include <array>

// The fixed layout of the exam window, in twips, as tables that one loop
// each turns into controls.

namespace examlayout {

struct Rect
{
    int left, top, width, height;
};

struct AnswerPage
{
    const char *caption;
    int frame;   // FrameN holding the group; 1 and 2 are swapped
    int choices; // boxes shown
};

inline constexpr std::array<AnswerPage, 27> answerPages = {{
    {"1-問1-1", 2, 5},   {"1-問1-2", 1, 5},   {"1-問2", 3, 4},    {"1-問3", 4, 5},   {"1-問4", 5, 5},
    {"1-問5", 6, 5},     {"2A-問1-1", 7, 5},  {"2A-問1-2", 8, 5}, {"2A-問2", 9, 4},  {"2A-問3", 10, 6},
    {"2B-問4-5", 11, 5}, {"2B-問4-6", 12, 5}, {"2B-問5", 13, 4},  {"3A-問1", 14, 4}, {"3A-問2", 15, 4},
    {"3A-問3", 16, 4},   {"3B-問4", 17, 8},   {"3B-問5", 18, 6},  {"3B-問6", 19, 5}, {"4-問1", 20, 5},
    {"4-問2", 21, 4},    {"4-問3", 22, 6},    {"5-問1", 23, 4},   {"5-問2", 24, 4},  {"5-問3", 25, 4},
    {"5-問4", 26, 4},    {"5-問5", 27, 5},
}};

inline constexpr Rect answerFrame{1320, 1080, 6975, 855};
inline constexpr int lastAnswerFrameLeft = 1200; // group 27 only
inline constexpr Rect markBox{480, 1320, 495, 495};
inline constexpr int boxTop = 360;
inline constexpr int boxHeight = 255;

struct BoxSpan
{
    int left, width;
};

struct BoxRow
{
    int choices;
    std::array<BoxSpan, 8> boxes;
};

inline constexpr std::array<BoxRow, 4> boxRows = {{
    {4, {{{960, 1095}, {2400, 495}, {3960, 615}, {5520, 615}}}},
    {5, {{{840, 1095}, {2160, 495}, {3360, 735}, {4560, 735}, {5880, 615}}}},
    {6, {{{600, 735}, {1680, 495}, {2760, 735}, {3840, 735}, {4920, 615}, {6000, 615}}}},
    {8, {{{360, 735}, {1200, 495}, {2040, 735}, {2880, 735}, {3720, 615}, {4560, 615}, {5400, 495}, {6240, 495}}}},
}};

inline constexpr std::array<const char *, 8> circledDigits = {"①", "②", "③", "④", "⑤", "⑥", "⑦", "⑧"};

struct FigurePage
{
    const char *caption;
    Rect box;
};

inline constexpr Rect documentPane{120, 480, 9375, 5295};
inline constexpr std::array<FigurePage, 11> figurePages = {{
    {"図１", {1560, 840, 6495, 4575}},
    {"図２", {1680, 480, 6255, 5295}},
    {"図３", {1080, 480, 7575, 5295}},
    {"図４", {1440, 480, 6855, 5175}},
    {"図５", {1800, 840, 6015, 4695}},
    {"図６", {1560, 2040, 6375, 2175}},
    {"図７", {1560, 720, 6495, 4575}},
    {"図８", {2640, 960, 4215, 4455}},
    {"図９", {1440, 1080, 6735, 4095}},
    {"図１０", {1320, 600, 6735, 5055}},
    {"図１１", {1560, 1320, 6735, 3615}},
}};

inline constexpr int clientWidth = 11880;
inline constexpr int clientHeight = 8310;
inline constexpr int tabHeight = 295; // 520 hundredths of a millimetre
inline constexpr Rect questionTabs{2160, 0, 9615, 6015};
inline constexpr Rect answerTabs{2160, 6120, 9615, 2175};
inline constexpr Rect mediaControl{0, 7920, 3540, 375};

struct Button
{
    const char *name, *caption;
    Rect rect;
};

inline constexpr std::array<Button, 3> buttons = {{
    {"cmdスタート", "スタート", {480, 960, 1215, 495}},
    {"cmd得点", "得　点", {480, 3240, 1215, 495}},
    {"cmd合格率", "合格率", {480, 5880, 1215, 495}},
}};

enum class Align { Left, Centre, Right };
enum class Ground { Pink, Transparent };

struct Label
{
    const char *name, *caption;
    Rect rect;
    double points;
    Align align;
    Ground ground;
};

// lbl得点's width follows its text; the table gives its starting width.
inline constexpr std::array<Label, 5> labels = {{
    {"lbl得点", "", {720, 4440, 0, 285}, 14.25, Align::Left, Ground::Pink},
    {"Label2", "点", {480, 4440, 1215, 375}, 14.25, Align::Right, Ground::Pink},
    {"Label4", "（平均 55,91 点）", {240, 3960, 1935, 255}, 9, Align::Left, Ground::Transparent},
    {"lbl秒", "", {840, 1800, 735, 375}, 14.25, Align::Centre, Ground::Pink},
    {"Label1", "あと　 　　分", {240, 1800, 1695, 375}, 12, Align::Right, Ground::Pink},
}};

// Topmost first: where two controls overlap, the earlier one is drawn above.
inline constexpr std::array<const char *, 11> stackingOrder = {
    "cmd合格率", "cmd得点", "cmdスタート", "SSTab2", "SSTab1", "MMControl1",
    "lbl得点",   "Label2",  "Label4",      "lbl秒",  "Label1",
};

} // namespace examlayout
