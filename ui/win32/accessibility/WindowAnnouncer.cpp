#include "WindowAnnouncer.h"

#include <oleauto.h>
#include <uiautomationcore.h>
#include <wrl/client.h>

namespace {

// From UIAutomationCore.h of Windows 10 version 1709, which mingw-w64 does not declare yet.
constexpr int notificationKindActionCompleted = 2;
constexpr int notificationProcessingImportantMostRecent = 1;
using HostProviderFromHwnd = HRESULT(WINAPI *)(HWND, IRawElementProviderSimple **);
using RaiseNotificationEvent = HRESULT(WINAPI *)(IRawElementProviderSimple *, int, int, BSTR, BSTR);

using String = UniqueHandle<BSTR, &SysFreeString>;

template<typename Function>
Function lookUp(HMODULE library, const char *name)
{
    // Through the generic function type, which any function pointer may be cast to and back.
    return library ? reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(library, name))) : nullptr;
}

} // namespace

WindowAnnouncer::WindowAnnouncer(HWND window, HWND liveRegion)
    : m_window(window)
    , m_liveRegion(liveRegion)
{
}

void WindowAnnouncer::announce(const std::wstring &message)
{
    if (notify(message) || !IsWindow(m_liveRegion))
        return;
    // Setting the text raises EVENT_OBJECT_NAMECHANGE, which is all that readers older than live
    // regions follow; the live region event is what Narrator and NVDA speak without the focus.
    SetWindowTextW(m_liveRegion, message.c_str());
    NotifyWinEvent(EVENT_OBJECT_LIVEREGIONCHANGED, m_liveRegion, OBJID_CLIENT, CHILDID_SELF);
}

bool WindowAnnouncer::notify(const std::wstring &message)
{
    if (!m_lookedUp) {
        m_lookedUp = true;
        m_automation.reset(LoadLibraryExW(L"uiautomationcore.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32));
    }
    const auto hostProvider = lookUp<HostProviderFromHwnd>(m_automation.get(), "UiaHostProviderFromHwnd");
    const auto raise = lookUp<RaiseNotificationEvent>(m_automation.get(), "UiaRaiseNotificationEvent");
    Microsoft::WRL::ComPtr<IRawElementProviderSimple> provider;
    if (!hostProvider || !raise || FAILED(hostProvider(m_window, &provider)) || !provider)
        return false;
    const String text(SysAllocStringLen(message.data(), static_cast<UINT>(message.size())));
    const String activity(SysAllocString(L"CalculateBmi"));
    return text && activity
        && SUCCEEDED(raise(provider.Get(),
                           notificationKindActionCompleted,
                           notificationProcessingImportantMostRecent,
                           text.get(),
                           activity.get()));
}
