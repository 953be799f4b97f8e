#pragma once

// The program's one window: the controls of ui/Form1Design.h as system controls, bound to the
// events of ui/Form1Events.h. An EDIT control sends EN_CHANGE from inside SetWindowTextW, so the
// length rule runs nested inside the calculation exactly as it does for typing.

#include "AccessibleNames.h"
#include "Announcements.h"
#include "EditTextBox.h"
#include "Form1Design.h"
#include "Form1Events.h"
#include "UniqueHandle.h"
#include "WindowAnnouncer.h"
#include "WindowFont.h"
#include "WindowMsgBox.h"

#include <windows.h>

#include <array>
#include <string_view>

class Form1
{
public:
    // Control ids: each control's place in the design, from firstControlId; none is IDOK or
    // IDCANCEL. Then a live region of no size, not one of the window's controls, last in z-order
    // so that it names no box, which carries announcements where nothing better does.
    static constexpr int firstControlId = 100;
    static constexpr int announcementId = 200;
    // Throws std::out_of_range for a name the design does not have, as design::control does.
    static constexpr int idOf(std::string_view name)
    {
        return firstControlId + static_cast<int>(&design::control(name) - design::controls.data());
    }

    // Creates the window hidden, with its controls laid out for its DPI. Results are announced
    // through announcer, or by default through the system (WindowAnnouncer); the boxes' names go
    // to services, or by default to the system's Dynamic Annotation. Throws std::system_error,
    // leaving nothing behind, when the window or a control cannot be made.
    explicit Form1(Announcements *announcer = nullptr, IAccPropServices *services = nullptr);
    ~Form1();
    Form1(const Form1 &) = delete;
    Form1 &operator=(const Form1 &) = delete;

    HWND hwnd() const { return m_window.get(); }
    HWND control(std::string_view name) const
    {
        return m_controls[static_cast<std::size_t>(idOf(name) - firstControlId)];
    }

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

    UniqueHandle<HWND, &DestroyWindow> m_window;
    // The controls as they were made, in the design's order; then those the events reach.
    std::array<HWND, design::controls.size()> m_controls{};
    HWND m_weight = nullptr;
    HWND m_heightf = nullptr;
    HWND m_ft = nullptr;
    HWND m_bdmass = nullptr;
    HWND m_nutrition = nullptr;
    HWND m_command1 = nullptr;
    HWND m_text5 = nullptr;
    HWND m_lastFocus = nullptr;
    WindowFont m_font;
    using WindowIcon = UniqueHandle<HICON, &DestroyIcon>;
    WindowIcon m_smallIcon;
    WindowIcon m_bigIcon;

    EditTextBox m_weightBox;
    EditTextBox m_heightfBox;
    EditTextBox m_ftBox;
    EditTextBox m_bdmassBox;
    EditTextBox m_nutritionBox;
    WindowMsgBox m_msgBox;
    Form1Events m_events;
    AccessibleNames m_accessibleNames;
    WindowAnnouncer m_windowAnnouncer;
    Announcements *m_announcer;
};
