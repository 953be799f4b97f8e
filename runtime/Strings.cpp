#include "Strings.h"

#include "RuntimeError.h"

namespace runtime {

std::u16string mid(std::u16string_view text, std::int32_t start, std::int32_t length)
{
    if (start < 1 || length < 0)
        throw RuntimeError(ErrorNumber::InvalidProcedureCall);
    const auto from = static_cast<std::size_t>(start - 1);
    if (from >= text.size())
        return {};
    return std::u16string(text.substr(from, static_cast<std::size_t>(length)));
}

} // namespace runtime
