#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace runtime {

// The classic substring: `length` characters of `text` from the 1-based position `start`, or as
// many as there are. Characters are UTF-16 units. A start below 1 or a negative length raises
// InvalidProcedureCall.
std::u16string mid(std::u16string_view text, std::int32_t start, std::int32_t length);

} // namespace runtime
