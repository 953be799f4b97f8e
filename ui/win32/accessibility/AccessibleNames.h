#pragma once

#include <windows.h>

#include <oleacc.h>
#include <wrl/client.h>

#include <map>
#include <string>
#include <vector>

// What screen readers should take for a control where its caption on the window says less, or
// belongs to another control: a name and a description, set through Dynamic Annotation
// (IAccPropServices, in every Windows the program supports). It also makes a control a polite
// live region. Nothing of it is set until a client first asks a named control, or the window,
// for its object (realize()): Active Accessibility loads only for a program that a client reads.
// Names given after that are set at once. All of it lasts until clear(), which must come before
// the controls end (WM_DESTROY). The services are the system's, or those given.
class AccessibleNames
{
public:
    explicit AccessibleNames(IAccPropServices *services = nullptr);
    ~AccessibleNames();
    AccessibleNames(const AccessibleNames &) = delete;
    AccessibleNames &operator=(const AccessibleNames &) = delete;

    void name(HWND control, const std::wstring &name, const std::wstring &description = {});
    void makeLiveRegion(HWND control);
    // Sets what name() and makeLiveRegion() asked for, once the thread has COM; WM_GETOBJECT
    // calls it.
    void realize();
    void clear();

private:
    struct Label
    {
        std::wstring name;
        std::wstring description;
    };

    static LRESULT CALLBACK
    requestProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR names);
    void apply(HWND control, const Label &label);

    Microsoft::WRL::ComPtr<IAccPropServices> m_services;
    std::vector<HWND> m_annotated;
    std::map<HWND, Label> m_labels;
    HWND m_liveRegion = nullptr;
    bool m_realized = false;
};
