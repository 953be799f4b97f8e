#pragma once

// Form1 is the program's one window, in its Win32 front end (the Qt front end is ui/qt/Form1.h):
// twelve system controls at fixed places, and four bound events. A click of Command1 runs
// core::CalculateBmi, and every EN_CHANGE of weight, heightf or ft runs core::LimitLength for that
// box. The core never sees Win32: it reaches the five text boxes through EditTextBox and the
// message box through WindowMsgBox. An EDIT control sends EN_CHANGE from inside SetWindowTextW,
// so the length rule runs nested inside the calculation exactly as it does for typing. Positions
// are twips, converted with the window's own DPI, and laid out again when the DPI changes. A
// calculation that shows no message box is announced to screen readers, as in the Qt window.

#include "AccessibleNames.h"
#include "Announcer.h"
#include "EditTextBox.h"
#include "WindowAnnouncer.h"
#include "WindowMsgBox.h"

#include <windows.h>

class Form1
{
public:
    // Control ids, in creation order, which is also the z-order (each caption just before its
    // box, so screen readers name the box by it) and the tab order. None is IDOK or IDCANCEL.
    enum ControlId : int {
        Label1Id = 100,
        weightId,
        Label2Id,
        heightfId,
        Label3Id,
        ftId,
        Label4Id,
        bdmassId,
        Text5Id,
        nutritionId,
        Command1Id,
        Line1Id,
        // Not one of the window's controls: a live region of no size, last in z-order so that it
        // names no box, which carries announcements where nothing better does.
        announcementId,
    };

    // Creates the window hidden, with its controls laid out for its DPI. Results are announced
    // through announcer, or by default through the system (WindowAnnouncer).
    explicit Form1(Announcer *announcer = nullptr);
    ~Form1();
    Form1(const Form1 &) = delete;
    Form1 &operator=(const Form1 &) = delete;

    HWND hwnd() const { return m_hwnd; }

private:
    static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    void onCommand(WORD id, HWND control, WORD code);
    void layOut(UINT dpi);

    void announceResult(bool heightRewritten);

    void Command1_Click();
    void weight_Change();
    void heightf_Change();
    void ft_Change();

    HWND m_hwnd = nullptr;
    HWND Label1 = nullptr;
    HWND weight = nullptr;
    HWND Label2 = nullptr;
    HWND heightf = nullptr;
    HWND Label3 = nullptr;
    HWND ft = nullptr;
    HWND Label4 = nullptr;
    HWND bdmass = nullptr;
    HWND Text5 = nullptr;
    HWND nutrition = nullptr;
    HWND Command1 = nullptr;
    HWND Line1 = nullptr;
    HWND m_lastFocus = nullptr;
    HFONT m_font = nullptr;

    EditTextBox weightBox;
    EditTextBox heightfBox;
    EditTextBox ftBox;
    EditTextBox bdmassBox;
    EditTextBox nutritionBox;
    WindowMsgBox msgBox;
    AccessibleNames accessibleNames;
    WindowAnnouncer windowAnnouncer;
    Announcer *m_announcer;
};
