#pragma once

#include <windows.h>

#include <string>

inline std::wstring classOf(HWND window)
{
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

// The thread's message box while it is open, or null; called from inside the box's own loop.
inline HWND openMessageBox()
{
    HWND box = nullptr;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM found) -> BOOL {
            if (classOf(window) == L"#32770" && IsWindowVisible(window)) {
                *reinterpret_cast<HWND *>(found) = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&box));
    return box;
}
