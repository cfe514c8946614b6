// The skin's typeface: the program asks for it by name; the drawing layer substitutes the
// installed CJK sans-serif where it is missing.
#pragma once

constexpr const char* kSkinFontFace = "微软雅黑";
