#pragma once

#include <windows.h>

#include <oleacc.h>
#include <wrl/client.h>

#include <string>

// The client object of a control as screen readers see it, with the name and description the
// control should have where the system cannot be told them (no Dynamic Annotation). Every other
// question goes to the system's own object for the control. It is a server that any client may
// call with anything, so it checks each argument before it answers or passes a call on.
class AccessibleBox final : public IAccessible, public IOleWindow
{
public:
    // The object, or nothing where the system has none for the control.
    static Microsoft::WRL::ComPtr<IAccessible>
    create(HWND control, const std::wstring &name, const std::wstring &description);

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void **object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    // IDispatch: the object is for MSAA clients, which call IAccessible directly.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT *count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo **info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR *names, UINT count, LCID locale, DISPID *ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id,
                                     REFIID iid,
                                     LCID locale,
                                     WORD flags,
                                     DISPPARAMS *parameters,
                                     VARIANT *result,
                                     EXCEPINFO *exception,
                                     UINT *argumentError) override;

    // IAccessible
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch **parent) override;
    HRESULT STDMETHODCALLTYPE get_accChildCount(long *count) override;
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch **object) override;
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR *name) override;
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR *value) override;
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR *description) override;
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT *role) override;
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT *state) override;
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR *help) override;
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR *helpFile, VARIANT child, long *topic) override;
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR *shortcut) override;
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT *child) override;
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT *children) override;
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR *action) override;
    HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override;
    HRESULT STDMETHODCALLTYPE accLocation(long *left, long *top, long *width, long *height, VARIANT child) override;
    HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT *end) override;
    HRESULT STDMETHODCALLTYPE accHitTest(long left, long top, VARIANT *child) override;
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override;
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override;
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override;

    // IOleWindow: the control, for WindowFromAccessibleObject.
    HRESULT STDMETHODCALLTYPE GetWindow(HWND *window) override;
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL enter) override;

private:
    AccessibleBox(HWND control,
                  Microsoft::WRL::ComPtr<IAccessible> standard,
                  std::wstring name,
                  std::wstring description);
    ~AccessibleBox() = default;

    bool isSelf(const VARIANT &child) const;
    bool isKnown(const VARIANT &child) const;
    template<typename Out>
    HRESULT pass(HRESULT (STDMETHODCALLTYPE IAccessible::*question)(VARIANT, Out *), const VARIANT &child, Out *out);
    static HRESULT answer(const std::wstring &text, BSTR *out);

    LONG m_references = 1;
    HWND m_control;
    Microsoft::WRL::ComPtr<IAccessible> m_standard;
    std::wstring m_name;
    std::wstring m_description;
};
