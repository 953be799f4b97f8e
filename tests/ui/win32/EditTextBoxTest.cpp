#include "EditTextBox.h"
#include "TextBoxContract.h"

#include <windows.h>

namespace {

// An EDIT control on a hidden parent that passes its EN_CHANGE to the bound hook.
class EditUnderTest : public contract::BoxUnderTest
{
public:
    EditUnderTest()
        : m_parent(CreateWindowExW(0,
                                   parentClass(),
                                   L"",
                                   WS_OVERLAPPEDWINDOW,
                                   0,
                                   0,
                                   200,
                                   60,
                                   nullptr,
                                   nullptr,
                                   GetModuleHandleW(nullptr),
                                   nullptr))
        , m_edit(CreateWindowExW(0,
                                 L"EDIT",
                                 L"",
                                 WS_CHILD | ES_AUTOHSCROLL,
                                 0,
                                 0,
                                 150,
                                 24,
                                 m_parent,
                                 nullptr,
                                 GetModuleHandleW(nullptr),
                                 nullptr))
        , m_box(m_edit)
    {
        SetWindowLongPtrW(m_parent, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    EditUnderTest(const EditUnderTest &) = delete;
    EditUnderTest &operator=(const EditUnderTest &) = delete;
    ~EditUnderTest() override { DestroyWindow(m_parent); }

    runtime::TextBox &box() override { return m_box; }
    void onChange(std::function<void()> hook) override { m_hook = std::move(hook); }
    int caret() override
    {
        DWORD start = 0;
        DWORD end = 0;
        SendMessageW(m_edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        return static_cast<int>(end);
    }
    void breakBox() override { DestroyWindow(m_edit); }

private:
    static const wchar_t *parentClass()
    {
        static const ATOM atom = [] {
            WNDCLASSW windowClass{};
            windowClass.lpfnWndProc = procedure;
            windowClass.hInstance = GetModuleHandleW(nullptr);
            windowClass.lpszClassName = L"TextBoxContractParent";
            return RegisterClassW(&windowClass);
        }();
        return MAKEINTATOM(atom);
    }

    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        auto *const self = reinterpret_cast<EditUnderTest *>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (message == WM_COMMAND && HIWORD(wParam) == EN_CHANGE && self && self->m_hook)
            self->m_hook();
        return DefWindowProcW(window, message, wParam, lParam);
    }

    HWND m_parent;
    HWND m_edit;
    EditTextBox m_box;
    std::function<void()> m_hook;
};

INSTANTIATE_TEST_SUITE_P(EditTextBox,
                         TextBoxContract,
                         testing::Values(contract::Maker{"Win32", contract::make<EditUnderTest>}),
                         testing::PrintToStringParamName());

} // namespace
