#pragma once

// The window, described once for every front end: each control's name, kind, caption or text,
// place in twips, tab index and screen-reader name, the limit of each input box, and the window's
// own facts. The front ends make their controls by walking it; their tests and the benchmarks
// read it too.

#include "LimitLength.h"

#include <algorithm>
#include <array>
#include <stdexcept>
#include <string_view>

namespace design {

enum class Kind { Label, TextBox, FixedText, Button, Line };

// Twips (1/1440 inch), from the top-left corner of the window's inside. A line runs from
// (left, top) to (left + width, top) and has no height.
struct Rect
{
    int left;
    int top;
    int width;
    int height;
};

inline constexpr int twipsPerPixel = 15; // at 96 dots per inch

struct Control
{
    std::string_view name;
    Kind kind;
    std::u16string_view text; // the caption, or the text at start
    Rect twips;
    int tabIndex; // -1: none
    // Said by screen readers instead of the caption, which says less; empty: the caption.
    std::u16string_view accessibleName = {};
    std::u16string_view accessibleDescription = {};
    int limit = 0; // the length rule's, for an input box; 0: none
};

inline constexpr std::u16string_view title = u"Calculate BMI";
inline constexpr Rect client{0, 0, 4680, 4335};
// A literal, so that it ends in a null.
inline constexpr std::u16string_view sentence
    = u"According to the Panel on Energy, Obesity, and Body Weight Standards as published in "
      u"American Journal of Clinical Nutrition, your category is:\r\n";
inline constexpr std::u16string_view sentenceAlone = sentence.substr(0, sentence.size() - 2);

// In the order they are stacked, which is the order of the tab indexes but for the line: each
// caption just before its box.
// clang-format off
inline constexpr std::array controls{
    Control{"Label1", Kind::Label, u"Weight", {960, 480, 735, 255}, 1},
    Control{"weight", Kind::TextBox, u"", {1800, 480, 855, 285}, 0, u"Weight in pounds", {}, core::weightLimit},
    Control{"Label2", Kind::Label, u"Height", {720, 960, 735, 255}, 3},
    Control{"heightf", Kind::TextBox, u"", {1560, 960, 855, 285}, 2, u"Height in feet", {}, core::heightfLimit},
    Control{"Label3", Kind::Label, u"Ft.", {2520, 960, 375, 255}, 5},
    Control{"ft", Kind::TextBox, u"", {3000, 960, 855, 285}, 4, u"Height in inches", {}, core::ftLimit},
    Control{"Label4", Kind::Label, u"Body Mass Index", {240, 2160, 1335, 255}, 7},
    Control{"bdmass", Kind::TextBox, u"", {1680, 2160, 1095, 285}, 6, u"Body Mass Index"},
    Control{"Text5", Kind::FixedText, sentence, {1080, 2640, 2775, 975}, 8},
    Control{"nutrition", Kind::TextBox, u"", {1680, 3840, 1455, 285}, 9, u"Category", sentenceAlone},
    Control{"Command1", Kind::Button, u"Calculate BMI", {1680, 1440, 1695, 375}, 10},
    Control{"Line1", Kind::Line, u"", {720, 2040, 3360, 0}, -1},
};
// clang-format on

constexpr const Control &control(std::string_view name)
{
    const auto *const found
        = std::find_if(controls.begin(), controls.end(), [name](const Control &c) { return c.name == name; });
    if (found == controls.end())
        throw std::out_of_range("no control of that name");
    return *found;
}

} // namespace design
