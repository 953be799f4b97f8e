#include "PasteLimit.h"

#include <commctrl.h>

#include <algorithm>

namespace {

// Whether a cut of the clipboard's text after `units` units falls inside a pair, read no further
// than the cut, the memory block and the text's end.
bool cutSplitsPair(HWND edit, DWORD units)
{
    if (units == 0 || !OpenClipboard(edit))
        return false;
    bool splits = false;
    if (const HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (const auto *text = static_cast<const wchar_t *>(GlobalLock(data))) {
            const SIZE_T size = GlobalSize(data) / sizeof(wchar_t);
            SIZE_T read = 0;
            while (read <= units && read < size && text[read] != L'\0')
                ++read;
            splits = read > units && IS_HIGH_SURROGATE(text[units - 1]) && IS_LOW_SURROGATE(text[units]);
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return splits;
}

LRESULT CALLBACK pasteLimitProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR limit)
{
    if (message != WM_PASTE)
        return DefSubclassProc(edit, message, wParam, lParam);
    const auto length = static_cast<DWORD>(GetWindowTextLengthW(edit));
    DWORD start = 0;
    DWORD end = 0;
    SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    start = std::min(start, length);
    end = std::clamp(end, start, length);
    DWORD room = limit > start ? static_cast<DWORD>(limit) - start : 0;
    if (cutSplitsPair(edit, room))
        --room;
    // Room for nothing: the paste only takes the selection away, as the rule would after it. The
    // control cannot be told so, since a limit of 0 is none.
    if (room == 0) {
        if (end > start && IsClipboardFormatAvailable(CF_UNICODETEXT))
            SendMessageW(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L""));
        return 0;
    }
    // The control's own limit for this paste alone: what stays of its text, and the room.
    SendMessageW(edit, EM_SETLIMITTEXT, length - (end - start) + room, 0);
    const LRESULT result = DefSubclassProc(edit, message, wParam, lParam);
    SendMessageW(edit, EM_SETLIMITTEXT, 0, 0);
    return result;
}

} // namespace

bool limitPastes(HWND edit, int limit)
{
    return SetWindowSubclass(edit, pasteLimitProc, 0, static_cast<DWORD_PTR>(limit)) != FALSE;
}
