#pragma once

#include "Announcements.h"
#include "UniqueHandle.h"

#include <windows.h>

// Announces through UI Automation's notification event where the system has it (Windows 10
// version 1709 and later), looked up at the first message so that the program starts without it
// and pays nothing for it at start-up. Elsewhere, and where the event fails (Wine), the message
// becomes the name of a polite live region (liveRegion, made one by AccessibleNames), which then
// reports the change.
class WindowAnnouncer : public Announcements
{
public:
    explicit WindowAnnouncer(HWND window = nullptr, HWND liveRegion = nullptr);

    void announce(const std::wstring &message) override;

private:
    bool notify(const std::wstring &message);

    HWND m_window;
    HWND m_liveRegion;
    bool m_lookedUp = false;
    UniqueHandle<HMODULE, &FreeLibrary> m_automation;
};
