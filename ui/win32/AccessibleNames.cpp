#include "AccessibleNames.h"

AccessibleNames::AccessibleNames()
{
    if (FAILED(CoCreateInstance(CLSID_AccPropServices,
                                nullptr,
                                CLSCTX_INPROC_SERVER,
                                IID_IAccPropServices,
                                reinterpret_cast<void **>(&m_services))))
        m_services = nullptr;
}

AccessibleNames::~AccessibleNames()
{
    clear();
    if (m_services)
        m_services->Release();
}

void AccessibleNames::clear()
{
    for (const HWND control : m_named)
        m_services->ClearHwndProps(control, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, &PROPID_ACC_NAME, 1);
    m_named.clear();
}

void AccessibleNames::name(HWND control, const wchar_t *name)
{
    if (m_services
        && SUCCEEDED(
            m_services->SetHwndPropStr(control, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, PROPID_ACC_NAME, name)))
        m_named.push_back(control);
}
