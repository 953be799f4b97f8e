#include "AppInfo.h"
#include "Form1.h"

#include <windows.h>

#include <commctrl.h>
#include <delayimp.h>
#include <objbase.h>

#include <string>
#include <system_error>

namespace {

FARPROC WINAPI loadFromSystem(unsigned notification, PDelayLoadInfo info)
{
    if (notification != dliNotePreLoadLibrary || !info || !info->szDll)
        return nullptr;
    return reinterpret_cast<FARPROC>(LoadLibraryExA(info->szDll, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32));
}

} // namespace

// The Windows entry point: the window, then its messages until it closes. IsDialogMessageW gives
// the window Tab and Shift+Tab between its controls, and Space on the focused button. COM is there
// for the names screen readers give the boxes, which are set when a screen reader first asks, so
// it comes once the window is drawn, before any request can be answered; the process's end
// releases it. A window that cannot be made is said in a message box captioned with the
// application's title, and the program ends with status 1. A DLL planted beside the program never
// loads: every library comes from the system folder, those of the delay-load helper too, whose own
// LoadLibraryA would look beside it first.
int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int nShowCmd)
{
    if (!SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32))
        return 1;
    __pfnDliNotifyHook2 = loadFromSystem;
    const INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    try {
        Form1 form;
        ShowWindow(form.hwnd(), nShowCmd);
        UpdateWindow(form.hwnd());
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        MSG message{};
        while (GetMessageW(&message, nullptr, 0, 0) > 0) {
            if (!IsDialogMessageW(form.hwnd(), &message)) {
                TranslateMessage(&message);
                DispatchMessageW(&message);
            }
        }
        return static_cast<int>(message.wParam);
    } catch (const std::system_error &error) {
        const std::wstring text
            = L"The window could not be created (error " + std::to_wstring(error.code().value()) + L").";
        MessageBoxW(nullptr, text.c_str(), L"" QUORVANE_TITLE, MB_OK | MB_ICONERROR);
        return 1;
    }
}
