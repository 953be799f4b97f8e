#pragma once

#include <QString>

#include <string_view>

// The runtime's UTF-16 text as a QString, unit for unit.
inline QString toQString(std::u16string_view text)
{
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}
