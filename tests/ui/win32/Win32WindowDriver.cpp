#include "Form1.h"
#include "Form1Design.h"
#include "OpenMessageBox.h"
#include "WindowDriver.h"
#include "WindowText.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

// The shared window-behaviour suite over the Win32 window, under Wine on a private display.

namespace {

std::u16string textOf(HWND window)
{
    const std::wstring text = windowText(window);
    return {text.begin(), text.end()};
}

std::vector<window::ShownBox> shown;

WPARAM virtualKeyOf(window::Key key)
{
    switch (key) {
    case window::Key::Return:
    case window::Key::KeypadEnter:
        return VK_RETURN;
    case window::Key::Escape:
        return VK_ESCAPE;
    case window::Key::Backspace:
        return VK_BACK;
    case window::Key::Delete:
        return VK_DELETE;
    case window::Key::Left:
    case window::Key::ShiftLeft:
        return VK_LEFT;
    case window::Key::Right:
    case window::Key::ShiftRight:
        return VK_RIGHT;
    default:
        return VK_TAB;
    }
}

// Runs inside the message box's own message loop: records the box and presses its OK.
void CALLBACK answerBox(HWND, UINT, UINT_PTR timer, DWORD)
{
    const HWND box = openMessageBox();
    if (!box)
        return;
    KillTimer(nullptr, timer);
    window::ShownBox seen{textOf(box), textOf(GetDlgItem(box, 0xFFFF))};
    int buttons = 0;
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        seen.critical = seen.critical || (classOf(child) == L"Static" && (GetWindowLongW(child, GWL_STYLE) & SS_ICON));
        buttons += classOf(child) == L"Button" ? 1 : 0;
    }
    seen.okOnly = buttons == 1 && GetDlgItem(box, IDOK);
    seen.modal = IsWindowEnabled(GetWindow(box, GW_OWNER)) == 0;
    shown.push_back(seen);
    SendMessageW(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
}

// While a key or a click is handled, a box it opens is answered from its own message loop.
class BoxAnswer
{
public:
    BoxAnswer()
        : m_timer(SetTimer(nullptr, 0, 50, answerBox))
    {
    }
    ~BoxAnswer() { KillTimer(nullptr, m_timer); }
    BoxAnswer(const BoxAnswer &) = delete;
    BoxAnswer &operator=(const BoxAnswer &) = delete;

private:
    UINT_PTR m_timer;
};

class Win32Driver : public window::Driver
{
public:
    Win32Driver()
    {
        shown.clear();
        ShowWindow(m_form.hwnd(), SW_SHOW);
        SetForegroundWindow(m_form.hwnd());
        SetFocus(m_form.hwnd());
    }

    // Each 16-bit unit as the system delivers typed characters, a pair as two.
    void type(std::string_view box, std::u16string_view text) override
    {
        SetFocus(control(box));
        for (const char16_t unit : text)
            SendMessageW(control(box), WM_CHAR, unit, 0);
    }

    void paste(std::string_view box, std::u16string_view text) override
    {
        ASSERT_TRUE(OpenClipboard(m_form.hwnd()));
        EmptyClipboard();
        const std::size_t bytes = (text.size() + 1) * sizeof(char16_t);
        // The clipboard owns the memory once it has taken it.
        const HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
        ASSERT_NE(memory, nullptr);
        std::memcpy(GlobalLock(memory), std::u16string(text).c_str(), bytes);
        GlobalUnlock(memory);
        const bool taken = SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
        if (!taken) {
            // cppcheck-suppress doubleFree ; SetClipboardData takes the memory only when it succeeds
            GlobalFree(memory);
        }
        CloseClipboard();
        SetFocus(control(box));
        SendMessageW(control(box), WM_PASTE, 0, 0);
    }

    void setCaret(std::string_view box, int position) override
    {
        SendMessageW(control(box), EM_SETSEL, static_cast<WPARAM>(position), position);
    }

    // Through the dialog manager, as the program's message loop passes keys; Space, which it
    // leaves alone, straight to the focused control.
    void press(window::Key key) override
    {
        const BoxAnswer answer;
        const HWND target = GetFocus();
        if (key == window::Key::Space) {
            SendMessageW(target, WM_KEYDOWN, VK_SPACE, 0);
            SendMessageW(target, WM_CHAR, L' ', 0);
            SendMessageW(target, WM_KEYUP, VK_SPACE, 0xC0000001);
            return;
        }
        const bool shift
            = key == window::Key::Backtab || key == window::Key::ShiftLeft || key == window::Key::ShiftRight;
        BYTE keys[256] = {};
        GetKeyboardState(keys);
        const BYTE wasShift = keys[VK_SHIFT];
        keys[VK_SHIFT] = shift ? 0x80 : 0;
        SetKeyboardState(keys);
        const WPARAM virtualKey = virtualKeyOf(key);
        LPARAM flags = 1;
        if (key == window::Key::KeypadEnter || key == window::Key::Delete || virtualKey == VK_LEFT
            || virtualKey == VK_RIGHT)
            flags |= 1 << 24; // the extended key
        MSG press{target, WM_KEYDOWN, virtualKey, flags, 0, {}};
        if (!IsDialogMessageW(m_form.hwnd(), &press)) {
            TranslateMessage(&press);
            DispatchMessageW(&press);
        }
        for (MSG message; PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE);) {
            if (!IsDialogMessageW(m_form.hwnd(), &message)) {
                TranslateMessage(&message);
                DispatchMessageW(&message);
            }
        }
        keys[VK_SHIFT] = wasShift;
        SetKeyboardState(keys);
    }

    void focus(std::string_view control) override { SetFocus(this->control(control)); }

    // A press and release of the left button at the control's middle.
    void click(std::string_view control) override
    {
        const BoxAnswer answer;
        const HWND target = this->control(control);
        RECT inside{};
        GetClientRect(target, &inside);
        const LPARAM at = target == m_form.hwnd() ? MAKELPARAM(5, 5) : MAKELPARAM(inside.right / 2, inside.bottom / 2);
        SendMessageW(target, WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageW(target, WM_LBUTTONUP, 0, at);
    }

    std::u16string text(std::string_view control) const override { return textOf(this->control(control)); }

    int caret(std::string_view box) const override
    {
        DWORD start = 0;
        DWORD end = 0;
        SendMessageW(control(box), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        return static_cast<int>(end);
    }

    std::string focused() const override
    {
        const int id = GetDlgCtrlID(GetFocus());
        for (const design::Control &c : design::controls) {
            if (Form1::idOf(c.name) == id)
                return std::string(c.name);
        }
        return {};
    }

    window::Pixels place(std::string_view control) const override
    {
        RECT rect{};
        GetWindowRect(this->control(control), &rect);
        MapWindowPoints(HWND_DESKTOP, m_form.hwnd(), reinterpret_cast<POINT *>(&rect), 2);
        return {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
    }

    window::Pixels client() const override
    {
        RECT rect{};
        GetClientRect(m_form.hwnd(), &rect);
        return {0, 0, rect.right, rect.bottom};
    }

    std::u16string title() const override { return textOf(m_form.hwnd()); }

    bool showing() const override { return IsWindowVisible(m_form.hwnd()) != 0; }

    std::vector<window::ShownBox> shownBoxes() const override { return shown; }

private:
    HWND control(std::string_view name) const
    {
        const HWND found = name == "Form1" ? m_form.hwnd() : m_form.control(name);
        if (!found)
            ADD_FAILURE() << "no control " << name;
        return found;
    }

    // As the program does, COM for the window's screen-reader names and live region; and
    // whatever the window left queued, which has no use once it is gone, dropped after it.
    struct Apartment
    {
        Apartment() { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
        ~Apartment()
        {
            MSG message;
            while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
                ;
            CoUninitialize();
        }
        Apartment(const Apartment &) = delete;
        Apartment &operator=(const Apartment &) = delete;
    } m_apartment;
    Form1 m_form;
};

} // namespace

std::unique_ptr<window::Driver> window::makeDriver()
{
    return std::make_unique<Win32Driver>();
}
