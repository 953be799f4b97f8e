#pragma once

#include "TextBox.h"

namespace core {

// Holds a field to `limit` characters (UTF-16 units of any kind) after each change of its text:
// a longer text is cut to its first `limit` characters, one fewer where the cut would split a
// surrogate pair, and the caret put after them. Runs in
// resume-next mode: a failing step is skipped and the next one runs. It never raises.
void LimitLength(runtime::TextBox &field, int limit);

// The limits of the three input boxes, which every front end binds to their change events.
inline constexpr int weightLimit = 3;
inline constexpr int heightfLimit = 1;
inline constexpr int ftLimit = 2;

} // namespace core
