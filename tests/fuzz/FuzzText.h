#pragma once

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdlib>
#include <string>
#include <string_view>

namespace fuzz {

// Bytes stand for the Latin-1 characters of the same value, so that seeds stay readable; 0x7F
// and the two bytes after it stand for any UTF-16 unit, surrogates and wide digits included.
inline std::u16string decodeText(std::string_view bytes)
{
    std::u16string text;
    text.reserve(bytes.size());
    for (std::size_t at = 0; at < bytes.size(); ++at) {
        const auto byte = static_cast<unsigned char>(bytes[at]);
        if (byte == 0x7F && at + 2 < bytes.size()) {
            const auto high = static_cast<unsigned char>(bytes[at + 1]);
            const auto low = static_cast<unsigned char>(bytes[at + 2]);
            text.push_back(static_cast<char16_t>(high << 8 | low));
            at += 2;
        } else {
            text.push_back(static_cast<char16_t>(byte));
        }
    }
    return text;
}

inline std::u16string consumeText(FuzzedDataProvider &data)
{
    return decodeText(data.ConsumeRandomLengthString());
}

// An invariant that fails stops the run with the input that broke it.
inline void require(bool holds)
{
    if (!holds)
        std::abort();
}

} // namespace fuzz
