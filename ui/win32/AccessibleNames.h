#pragma once

#include <windows.h>

#include <oleacc.h>

#include <vector>

// Names that screen readers give controls whose caption says less than the box holds (Dynamic
// Annotation, IAccPropServices). The names last until clear(), which must come before the
// controls end (WM_DESTROY). Without COM on the thread the boxes keep the names their captions
// give them.
class AccessibleNames
{
public:
    AccessibleNames();
    ~AccessibleNames();
    AccessibleNames(const AccessibleNames &) = delete;
    AccessibleNames &operator=(const AccessibleNames &) = delete;

    void name(HWND control, const wchar_t *name);
    void clear();

private:
    IAccPropServices *m_services = nullptr;
    std::vector<HWND> m_named;
};
