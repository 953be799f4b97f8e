#include "AccessibleNames.h"

#include <commctrl.h>

#include <array>
#include <utility>

namespace {

// From UIAutomationClient.h, which mingw-w64 ships without the GUIDs of its properties.
constexpr GUID liveSettingProperty{0xc12bcd8e, 0x2a8e, 0x4950, {0x8a, 0xe7, 0x36, 0x25, 0x11, 0x1d, 0x58, 0xeb}};
constexpr LONG politeLiveSetting = 1;

const std::array<MSAAPROPID, 3> annotatedProperties{PROPID_ACC_NAME, PROPID_ACC_DESCRIPTION, liveSettingProperty};

} // namespace

AccessibleNames::AccessibleNames(IAccPropServices *services)
    : m_services(services)
{
}

AccessibleNames::~AccessibleNames()
{
    clear();
}

void AccessibleNames::clear()
{
    for (const HWND control : m_annotated)
        m_services->ClearHwndProps(control,
                                   static_cast<DWORD>(OBJID_CLIENT),
                                   CHILDID_SELF,
                                   annotatedProperties.data(),
                                   static_cast<int>(annotatedProperties.size()));
    m_annotated.clear();
    for (const auto &named : m_labels)
        RemoveWindowSubclass(named.first, requestProc, 0);
    m_labels.clear();
    m_liveRegion = nullptr;
    m_services.Reset();
    // A request that comes while the window ends sets nothing up again.
    m_realized = true;
}

void AccessibleNames::name(HWND control, const std::wstring &name, const std::wstring &description)
{
    if (!SetWindowSubclass(control, requestProc, 0, reinterpret_cast<DWORD_PTR>(this)))
        return;
    m_labels[control] = Label{name, description};
    if (m_realized)
        apply(control, m_labels[control]);
}

void AccessibleNames::makeLiveRegion(HWND control)
{
    m_liveRegion = control;
    if (m_realized && m_services) {
        VARIANT polite{};
        polite.vt = VT_I4;
        polite.lVal = politeLiveSetting;
        m_annotated.push_back(control);
        m_services->SetHwndProp(control, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, liveSettingProperty, polite);
    }
}

void AccessibleNames::apply(HWND control, const Label &label)
{
    if (!m_services)
        return;
    m_annotated.push_back(control);
    for (const auto &[property, text] :
         {std::pair{PROPID_ACC_NAME, &label.name}, std::pair{PROPID_ACC_DESCRIPTION, &label.description}}) {
        if (!text->empty())
            m_services->SetHwndPropStr(
                control, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, property, text->c_str());
    }
}

void AccessibleNames::realize()
{
    if (m_realized)
        return;
    if (!m_services) {
        const HRESULT made = CoCreateInstance(CLSID_AccPropServices,
                                              nullptr,
                                              CLSCTX_INPROC_SERVER,
                                              IID_IAccPropServices,
                                              reinterpret_cast<void **>(m_services.GetAddressOf()));
        // A request before the thread has COM sets nothing; the next one tries again.
        if (made == CO_E_NOTINITIALIZED)
            return;
        if (FAILED(made))
            m_services.Reset();
    }
    m_realized = true;
    for (const auto &[control, label] : m_labels)
        apply(control, label);
    if (const HWND liveRegion = m_liveRegion)
        makeLiveRegion(liveRegion);
}

LRESULT CALLBACK
AccessibleNames::requestProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR names)
{
    if (message == WM_GETOBJECT)
        reinterpret_cast<AccessibleNames *>(names)->realize();
    return DefSubclassProc(control, message, wParam, lParam);
}
