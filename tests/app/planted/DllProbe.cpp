// Drives the running Quorvane.exe from another process along each path on which it loads a DLL,
// for check_planted_dlls.sh; prints what it saw.
//
//   dll_probe.exe calculate    the three boxes written, the button clicked: prints bdmass
//   dll_probe.exe ask          a screen reader's first request for the weight box, from a thread
//                              without COM and then with it: prints the name read back
//   dll_probe.exe close        the window asked to close
//   dll_probe.exe              nothing: loads what it imports, from wherever it lies
#include "Form1.h"

#include <oleacc.h>
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

std::wstring textOf(HWND window)
{
    wchar_t text[256] = {};
    SendMessageW(window, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(text));
    return text;
}

std::wstring nameOf(HWND box)
{
    IAccessible *object = nullptr;
    if (FAILED(AccessibleObjectFromWindow(box, OBJID_CLIENT, IID_PPV_ARGS(&object))))
        return L"(no object)";
    VARIANT self{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR name = nullptr;
    std::wstring read = L"(no name)";
    if (SUCCEEDED(object->get_accName(self, &name)) && name) {
        read.assign(name, SysStringLen(name));
        SysFreeString(name);
    }
    object->Release();
    return read;
}

} // namespace

int wmain(int argc, wchar_t **argv)
{
    if (argc < 2)
        return 0;
    const std::wstring command = argv[1];
    const HWND form = FindWindowW(L"QuorvaneForm1", nullptr);
    if (!form) {
        std::fputs("no Quorvane window\n", stderr);
        return 1;
    }
    const auto box = [form](const char *name) { return GetDlgItem(form, Form1::idOf(name)); };
    if (command == L"calculate") {
        SendMessageW(box("weight"), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"150"));
        SendMessageW(box("heightf"), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"5"));
        SendMessageW(box("ft"), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"10"));
        const HWND button = box("Command1");
        SendMessageW(
            form, WM_COMMAND, MAKEWPARAM(Form1::idOf("Command1"), BN_CLICKED), reinterpret_cast<LPARAM>(button));
        std::wprintf(L"bdmass %ls\n", textOf(box("bdmass")).c_str());
    } else if (command == L"ask") {
        std::wprintf(L"without COM: %ls\n", nameOf(box("weight")).c_str());
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        std::wprintf(L"with COM: %ls\n", nameOf(box("weight")).c_str());
        CoUninitialize();
    } else if (command == L"close") {
        PostMessageW(form, WM_CLOSE, 0, 0);
    } else {
        return 2;
    }
    return 0;
}
