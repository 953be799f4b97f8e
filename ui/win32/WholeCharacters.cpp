#include "WholeCharacters.h"

#include "WindowText.h"

#include <commctrl.h>

#include <algorithm>
#include <string>
#include <utility>

namespace {

struct Selection
{
    DWORD start = 0;
    DWORD end = 0;
};

Selection selectionOf(HWND edit)
{
    Selection selection;
    SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&selection.start), reinterpret_cast<LPARAM>(&selection.end));
    return selection;
}

// Whether a position falls between the two halves of a pair.
bool splits(const std::wstring &text, DWORD position)
{
    return position > 0 && position < text.size() && IS_HIGH_SURROGATE(text[position - 1])
        && IS_LOW_SURROGATE(text[position]);
}

// Off the middle of a pair: one unit back when step is negative, else one on.
DWORD whole(const std::wstring &text, DWORD position, int step)
{
    if (!splits(text, position))
        return position;
    return step < 0 ? position - 1 : position + 1;
}

// After the control moved the caret or an end of the selection: the end that moved goes on in
// the same direction (step) past the pair it stopped in. A step of 0, the mouse's, takes the
// whole pair: the caret after it, the selection widened over it.
void mend(HWND edit, Selection before, int step)
{
    const std::wstring text = windowText(edit);
    const Selection after = selectionOf(edit);
    DWORD anchor = after.start;
    DWORD active = after.end;
    if (after.start != before.start && after.end == before.end)
        std::swap(anchor, active);
    if (anchor == active) {
        anchor = active = whole(text, active, step == 0 ? 1 : step);
    } else if (step == 0) {
        anchor = whole(text, anchor, anchor < active ? -1 : 1);
        active = whole(text, active, anchor < active ? 1 : -1);
    } else {
        active = whole(text, active, step);
    }
    if (std::minmax(anchor, active) != std::minmax(after.start, after.end))
        SendMessageW(edit, EM_SETSEL, anchor, static_cast<LPARAM>(active));
}

// Before an edit at the caret or over the selection: the units it is about to remove.
void selectWhole(HWND edit, int step)
{
    const std::wstring text = windowText(edit);
    const Selection selection = selectionOf(edit);
    if (selection.start != selection.end)
        return;
    const DWORD next = step < 0 ? selection.start - 1 : selection.start + 1;
    if (splits(text, next))
        SendMessageW(edit, EM_SETSEL, selection.start, static_cast<LPARAM>(step < 0 ? next - 1 : next + 1));
}

int stepOf(WPARAM key)
{
    switch (key) {
    case VK_LEFT:
    case VK_UP:
        return -1;
    case VK_RIGHT:
    case VK_DOWN:
        return 1;
    default:
        return 0;
    }
}

LRESULT CALLBACK wholeCharactersProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR)
{
    const bool control = GetKeyState(VK_CONTROL) < 0;
    switch (message) {
    case WM_CHAR:
        if (wParam == VK_BACK)
            selectWhole(edit, -1);
        else
            mend(edit, selectionOf(edit), 0);
        break;
    case WM_PASTE:
        mend(edit, selectionOf(edit), 0);
        break;
    case WM_KEYDOWN:
        if (wParam == VK_DELETE && !control) {
            selectWhole(edit, 1);
        } else if (const int step = stepOf(wParam); step != 0) {
            const Selection before = selectionOf(edit);
            const LRESULT result = DefSubclassProc(edit, message, wParam, lParam);
            mend(edit, before, step);
            return result;
        }
        break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_LBUTTONUP:
    case WM_MOUSEMOVE: {
        const Selection before = selectionOf(edit);
        const LRESULT result = DefSubclassProc(edit, message, wParam, lParam);
        mend(edit, before, 0);
        return result;
    }
    default:
        break;
    }
    return DefSubclassProc(edit, message, wParam, lParam);
}

} // namespace

bool keepCharactersWhole(HWND edit)
{
    return SetWindowSubclass(edit, wholeCharactersProc, 0, 0) != FALSE;
}
