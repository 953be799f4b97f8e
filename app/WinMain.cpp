#include "Form1.h"

#include <commctrl.h>
#include <objbase.h>
#include <windows.h>

// The Windows entry point: the window, then its messages until it closes. IsDialogMessageW gives
// the window Tab and Shift+Tab between its controls, and Space on the focused button. COM is there
// for the names screen readers give the boxes; the process's end releases it.
int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int nShowCmd)
{
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    const INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    Form1 form;
    ShowWindow(form.hwnd(), nShowCmd);
    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (!IsDialogMessageW(form.hwnd(), &message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    return static_cast<int>(message.wParam);
}
