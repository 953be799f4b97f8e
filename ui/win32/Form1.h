#pragma once

// Form1 is the program's one window, in its Win32 front end (the Qt front end is ui/qt/Form1.h):
// the controls of ui/Form1Design.h as system controls, made by walking it, and the four bound
// events of ui/Form1Events.h, which run the core. The core never sees Win32: it reaches the five
// text boxes through EditTextBox and the message box through WindowMsgBox. An EDIT control sends
// EN_CHANGE from inside SetWindowTextW, so the length rule runs nested inside the calculation
// exactly as it does for typing. Positions are twips, converted with the window's own DPI, and
// laid out again, with icons of the DPI's sizes, when the DPI changes. A calculation that shows
// no message box is announced to screen readers, as in the Qt window.

#include "AccessibleNames.h"
#include "Announcer.h"
#include "EditTextBox.h"
#include "Form1Events.h"
#include "FormFont.h"
#include "UniqueHandle.h"
#include "WindowAnnouncer.h"
#include "WindowMsgBox.h"

#include <windows.h>

#include <string_view>

class Form1
{
public:
    // Control ids: each control's place in the design, from firstControlId; none is IDOK or
    // IDCANCEL. Then a live region of no size, not one of the window's controls, last in z-order
    // so that it names no box, which carries announcements where nothing better does.
    static constexpr int firstControlId = 100;
    static constexpr int announcementId = 200;
    static int idOf(std::string_view name);

    // Creates the window hidden, with its controls laid out for its DPI. Results are announced
    // through announcer, or by default through the system (WindowAnnouncer); the boxes' names go
    // to services, or by default to the system's Dynamic Annotation. Throws std::system_error,
    // leaving nothing behind, when the window or a control cannot be made.
    explicit Form1(Announcer *announcer = nullptr, IAccPropServices *services = nullptr);
    ~Form1();
    Form1(const Form1 &) = delete;
    Form1 &operator=(const Form1 &) = delete;

    HWND hwnd() const { return m_hwnd; }
    HWND control(std::string_view name) const;

private:
    static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    void onCommand(WORD id, HWND control, WORD code);
    void create();
    void destroy();
    // Places the controls and sets their font for a new DPI, then fits the rest to it.
    void layOut(UINT dpi);
    // The window's size, its icons, the boxes' margins and the labels' line, for a DPI.
    void fit(UINT dpi);

    HWND m_hwnd = nullptr;
    // The controls the events reach; the others are found by name.
    HWND weight = nullptr;
    HWND heightf = nullptr;
    HWND ft = nullptr;
    HWND bdmass = nullptr;
    HWND nutrition = nullptr;
    HWND Command1 = nullptr;
    HWND Text5 = nullptr;
    HWND m_lastFocus = nullptr;
    FormFont m_font;
    using WindowIcon = UniqueHandle<HICON, &DestroyIcon>;
    WindowIcon m_smallIcon;
    WindowIcon m_bigIcon;

    EditTextBox weightBox;
    EditTextBox heightfBox;
    EditTextBox ftBox;
    EditTextBox bdmassBox;
    EditTextBox nutritionBox;
    WindowMsgBox msgBox;
    Form1Events events;
    AccessibleNames accessibleNames;
    WindowAnnouncer windowAnnouncer;
    Announcer *m_announcer;
};
