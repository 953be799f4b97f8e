#pragma once

#include <windows.h>

#include <string>

// A window's whole text, unit for unit: wchar_t is one UTF-16 unit on Windows.
inline std::wstring windowText(HWND window)
{
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}
