#pragma once

#include "UniqueHandle.h"

#include <windows.h>

using WindowFont = UniqueHandle<HFONT, &DeleteObject>;

// The window's font at a DPI: the condensed face that the program carries (WindowFont.rc), the
// one the Qt front end uses too, so that the longest category, the explanatory sentence and every
// caption fit their boxes. Without it, the system's message font. The caller owns the font; null when it cannot be
// made.
HFONT windowFont(UINT dpi);
