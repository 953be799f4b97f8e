#include "AccessibleNames.h"

#include "AccessibleBox.h"

#include <commctrl.h>

#include <array>

namespace {

// From UIAutomationClient.h, which mingw-w64 ships without the GUIDs of its properties.
constexpr GUID liveSettingProperty{0xc12bcd8e, 0x2a8e, 0x4950, {0x8a, 0xe7, 0x36, 0x25, 0x11, 0x1d, 0x58, 0xeb}};
constexpr LONG politeLiveSetting = 1;

const std::array<MSAAPROPID, 3> annotatedProperties{PROPID_ACC_NAME, PROPID_ACC_DESCRIPTION, liveSettingProperty};

} // namespace

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
        RemoveWindowSubclass(named.first, answerProc, 0);
    m_labels.clear();
    m_liveRegion = nullptr;
    m_services.Reset();
    // A request that comes while the window ends sets nothing up again.
    m_realized = true;
}

bool AccessibleNames::annotate(HWND control, const MSAAPROPID &property, const std::wstring &text)
{
    return m_services
        && SUCCEEDED(m_services->SetHwndPropStr(
            control, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, property, text.c_str()));
}

void AccessibleNames::name(HWND control, const std::wstring &name, const std::wstring &description)
{
    if (!SetWindowSubclass(control, answerProc, 0, reinterpret_cast<DWORD_PTR>(this)))
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

void AccessibleNames::apply(HWND control, Label &label)
{
    if (m_services)
        m_annotated.push_back(control);
    label.annotated = annotate(control, PROPID_ACC_NAME, label.name)
        && (label.description.empty() || annotate(control, PROPID_ACC_DESCRIPTION, label.description));
}

void AccessibleNames::realize()
{
    if (m_realized)
        return;
    const HRESULT made = CoCreateInstance(CLSID_AccPropServices,
                                          nullptr,
                                          CLSCTX_INPROC_SERVER,
                                          IID_IAccPropServices,
                                          reinterpret_cast<void **>(m_services.GetAddressOf()));
    // A request before the thread has COM is answered by the boxes themselves; the next one tries again.
    if (made == CO_E_NOTINITIALIZED)
        return;
    if (FAILED(made))
        m_services.Reset();
    m_realized = true;
    for (auto &[control, label] : m_labels)
        apply(control, label);
    if (const HWND liveRegion = m_liveRegion)
        makeLiveRegion(liveRegion);
}

LRESULT CALLBACK
AccessibleNames::answerProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR names)
{
    // The object id comes as a DWORD, whatever the width of lParam.
    if (message == WM_GETOBJECT)
        reinterpret_cast<AccessibleNames *>(names)->realize();
    if (message == WM_GETOBJECT && static_cast<DWORD>(lParam) == static_cast<DWORD>(OBJID_CLIENT)) {
        const auto &labels = reinterpret_cast<const AccessibleNames *>(names)->m_labels;
        if (const auto label = labels.find(control); label != labels.end() && !label->second.annotated) {
            const auto box = AccessibleBox::create(control, label->second.name, label->second.description);
            // Where the object cannot be handed over, the system's own answers.
            if (const LRESULT result = box ? LresultFromObject(__uuidof(IAccessible), wParam, box.Get()) : 0;
                result > 0)
                return result;
        }
    }
    return DefSubclassProc(control, message, wParam, lParam);
}
