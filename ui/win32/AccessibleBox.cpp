#include "AccessibleBox.h"

#include <new>
#include <utility>

namespace {

void clear(BSTR *out)
{
    *out = nullptr;
}

void clear(VARIANT *out)
{
    VariantInit(out);
}

void clear(IDispatch **out)
{
    *out = nullptr;
}

} // namespace

AccessibleBox::AccessibleBox(HWND control,
                             Microsoft::WRL::ComPtr<IAccessible> standard,
                             std::wstring name,
                             std::wstring description)
    : m_control(control)
    , m_standard(std::move(standard))
    , m_name(std::move(name))
    , m_description(std::move(description))
{
}

Microsoft::WRL::ComPtr<IAccessible>
AccessibleBox::create(HWND control, const std::wstring &name, const std::wstring &description)
{
    Microsoft::WRL::ComPtr<IAccessible> standard;
    if (FAILED(CreateStdAccessibleObject(control, OBJID_CLIENT, IID_PPV_ARGS(standard.GetAddressOf()))) || !standard)
        return nullptr;
    // It is made inside a window procedure, which no exception may leave.
    Microsoft::WRL::ComPtr<IAccessible> box;
    try {
        box.Attach(new AccessibleBox(control, std::move(standard), name, description));
    } catch (const std::bad_alloc &) {
        return nullptr;
    }
    return box;
}

HRESULT AccessibleBox::QueryInterface(REFIID iid, void **object)
{
    if (!object)
        return E_POINTER;
    if (iid == __uuidof(IUnknown) || iid == __uuidof(IDispatch) || iid == __uuidof(IAccessible))
        *object = static_cast<IAccessible *>(this);
    else if (iid == __uuidof(IOleWindow))
        *object = static_cast<IOleWindow *>(this);
    else {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

ULONG AccessibleBox::AddRef()
{
    return static_cast<ULONG>(InterlockedIncrement(&m_references));
}

ULONG AccessibleBox::Release()
{
    const LONG references = InterlockedDecrement(&m_references);
    if (references == 0)
        delete this;
    return static_cast<ULONG>(references);
}

HRESULT AccessibleBox::GetTypeInfoCount(UINT *count)
{
    if (!count)
        return E_POINTER;
    *count = 0;
    return S_OK;
}

HRESULT AccessibleBox::GetTypeInfo(UINT, LCID, ITypeInfo **info)
{
    if (info)
        *info = nullptr;
    return E_NOTIMPL;
}

HRESULT AccessibleBox::GetIDsOfNames(REFIID, LPOLESTR *, UINT, LCID, DISPID *)
{
    return E_NOTIMPL;
}

HRESULT AccessibleBox::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS *, VARIANT *, EXCEPINFO *, UINT *)
{
    return E_NOTIMPL;
}

bool AccessibleBox::isSelf(const VARIANT &child) const
{
    return child.vt == VT_I4 && child.lVal == CHILDID_SELF;
}

bool AccessibleBox::isKnown(const VARIANT &child) const
{
    long count = 0;
    if (FAILED(m_standard->get_accChildCount(&count)))
        count = 0;
    return child.vt == VT_I4 && child.lVal >= CHILDID_SELF && child.lVal <= count;
}

// A question about the object or one of its children, passed on once its arguments are sound.
template<typename Out>
HRESULT
AccessibleBox::pass(HRESULT (STDMETHODCALLTYPE IAccessible::*question)(VARIANT, Out *), const VARIANT &child, Out *out)
{
    if (!out)
        return E_POINTER;
    clear(out);
    if (!isKnown(child))
        return E_INVALIDARG;
    return (m_standard.Get()->*question)(child, out);
}

HRESULT AccessibleBox::answer(const std::wstring &text, BSTR *out)
{
    *out = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    return *out ? S_OK : E_OUTOFMEMORY;
}

HRESULT AccessibleBox::get_accParent(IDispatch **parent)
{
    if (!parent)
        return E_POINTER;
    *parent = nullptr;
    return m_standard->get_accParent(parent);
}

HRESULT AccessibleBox::get_accChildCount(long *count)
{
    if (!count)
        return E_POINTER;
    *count = 0;
    return m_standard->get_accChildCount(count);
}

HRESULT AccessibleBox::get_accChild(VARIANT child, IDispatch **object)
{
    return pass(&IAccessible::get_accChild, child, object);
}

HRESULT AccessibleBox::get_accName(VARIANT child, BSTR *name)
{
    return name && isSelf(child) ? answer(m_name, name) : pass(&IAccessible::get_accName, child, name);
}

HRESULT AccessibleBox::get_accValue(VARIANT child, BSTR *value)
{
    return pass(&IAccessible::get_accValue, child, value);
}

HRESULT AccessibleBox::get_accDescription(VARIANT child, BSTR *description)
{
    return description && isSelf(child) && !m_description.empty()
        ? answer(m_description, description)
        : pass(&IAccessible::get_accDescription, child, description);
}

HRESULT AccessibleBox::get_accRole(VARIANT child, VARIANT *role)
{
    return pass(&IAccessible::get_accRole, child, role);
}

HRESULT AccessibleBox::get_accState(VARIANT child, VARIANT *state)
{
    return pass(&IAccessible::get_accState, child, state);
}

HRESULT AccessibleBox::get_accHelp(VARIANT child, BSTR *help)
{
    return pass(&IAccessible::get_accHelp, child, help);
}

HRESULT AccessibleBox::get_accHelpTopic(BSTR *helpFile, VARIANT child, long *topic)
{
    if (!helpFile || !topic)
        return E_POINTER;
    *helpFile = nullptr;
    *topic = 0;
    return isKnown(child) ? m_standard->get_accHelpTopic(helpFile, child, topic) : E_INVALIDARG;
}

HRESULT AccessibleBox::get_accKeyboardShortcut(VARIANT child, BSTR *shortcut)
{
    return pass(&IAccessible::get_accKeyboardShortcut, child, shortcut);
}

HRESULT AccessibleBox::get_accFocus(VARIANT *child)
{
    if (!child)
        return E_POINTER;
    VariantInit(child);
    return m_standard->get_accFocus(child);
}

HRESULT AccessibleBox::get_accSelection(VARIANT *children)
{
    if (!children)
        return E_POINTER;
    VariantInit(children);
    return m_standard->get_accSelection(children);
}

HRESULT AccessibleBox::get_accDefaultAction(VARIANT child, BSTR *action)
{
    return pass(&IAccessible::get_accDefaultAction, child, action);
}

HRESULT AccessibleBox::accSelect(long flags, VARIANT child)
{
    return isKnown(child) ? m_standard->accSelect(flags, child) : E_INVALIDARG;
}

HRESULT AccessibleBox::accLocation(long *left, long *top, long *width, long *height, VARIANT child)
{
    if (!left || !top || !width || !height)
        return E_POINTER;
    *left = *top = *width = *height = 0;
    return isKnown(child) ? m_standard->accLocation(left, top, width, height, child) : E_INVALIDARG;
}

HRESULT AccessibleBox::accNavigate(long direction, VARIANT start, VARIANT *end)
{
    if (!end)
        return E_POINTER;
    VariantInit(end);
    return isKnown(start) ? m_standard->accNavigate(direction, start, end) : E_INVALIDARG;
}

HRESULT AccessibleBox::accHitTest(long left, long top, VARIANT *child)
{
    if (!child)
        return E_POINTER;
    VariantInit(child);
    return m_standard->accHitTest(left, top, child);
}

HRESULT AccessibleBox::accDoDefaultAction(VARIANT child)
{
    return isKnown(child) ? m_standard->accDoDefaultAction(child) : E_INVALIDARG;
}

HRESULT AccessibleBox::put_accName(VARIANT child, BSTR name)
{
    return isKnown(child) ? m_standard->put_accName(child, name) : E_INVALIDARG;
}

HRESULT AccessibleBox::put_accValue(VARIANT child, BSTR value)
{
    return isKnown(child) ? m_standard->put_accValue(child, value) : E_INVALIDARG;
}

HRESULT AccessibleBox::GetWindow(HWND *window)
{
    if (!window)
        return E_POINTER;
    *window = m_control;
    return S_OK;
}

HRESULT AccessibleBox::ContextSensitiveHelp(BOOL)
{
    return E_NOTIMPL;
}
