#pragma once

// The catalogue window's three menus and its captions, declared once for the window and the tests.

#include <array>

namespace navisaz {

struct MenuChoice {
    const char16_t* caption;
    int tag;  // 0 with the caption "-": a separator
};

// Map scales; the tag is the scale's denominator, 0 the custom scale.
inline constexpr std::array<MenuChoice, 10> MapScaleChoices = {{
    {u"1:50", 50},
    {u"1:100", 100},
    {u"1:200", 200},
    {u"1:500", 500},
    {u"1:1000", 1000},
    {u"1:2000", 2000},
    {u"1:2500", 2500},
    {u"1:5000", 5000},
    {u"1:10000", 10000},
    {u"مقياس دلخواه", 0},
}};

// Feature types; the tag is compared with the column "a".
inline constexpr std::array<MenuChoice, 11> FeatureTypeChoices = {{
    {u"همه", 0},
    {u"-", 0},
    {u"پوشش گياهي", 1},
    {u"سازه", 2},
    {u"راه و راه آهن", 3},
    {u"عوارض آبي", 4},
    {u"ساختمان", 5},
    {u"محدوده", 6},
    {u"خدمات عمومي", 7},
    {u"ارتفاعات", 8},
    {u"نقاط کنترل", 9},
}};

// Kinds of object: all, point, line and surface features.
inline constexpr std::array<MenuChoice, 5> FeatureKindChoices = {{
    {u"همه عوارض", 0},
    {u"-", 0},
    {u"عوارض نقطه اي", 1},
    {u"عوارض خطي", 2},
    {u"عوارض سطحي", 3},
}};

inline constexpr const char16_t* ScaleCaptionPrefix = u"مقياس    ";
inline constexpr const char16_t* TypeCaptionPrefix = u"نوع:";
inline constexpr const char16_t* InitialScaleCaption = u"مقياس   1:500";
inline constexpr int InitialScale = 500;
inline constexpr const char16_t* InitialTypeCaption = u"نوع : پوشش گياهي";
inline constexpr const char16_t* InitialKindCaption = u"همه عوارض";
inline constexpr const char16_t* CustomScalePrompt = u"مخرج مقياس (عدد صحيح مثبت):";

}  // namespace navisaz
