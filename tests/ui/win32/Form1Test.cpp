#include "Form1.h"
#include "Form1Design.h"
#include "OpenMessageBox.h"
#include "WindowText.h"

#include "TableRow.h"

#include <gtest/gtest.h>
#include <oleacc.h>
#include <windows.h>
#include <wrl/client.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <memory>
#include <ostream>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

namespace {

using tables::PrintTo;

DWORD caret(HWND edit)
{
    DWORD start = 0;
    DWORD end = 0;
    SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, end);
    return end;
}

void type(HWND edit, const std::wstring &keys)
{
    for (const wchar_t key : keys)
        SendMessageW(edit, WM_CHAR, key, 0);
}

// A control's rectangle in its parent's client coordinates.
RECT placeOf(HWND control)
{
    RECT rect{};
    GetWindowRect(control, &rect);
    MapWindowPoints(HWND_DESKTOP, GetParent(control), reinterpret_cast<POINT *>(&rect), 2);
    return rect;
}

// The width and height of a text in the control's own font.
SIZE extentIn(HWND control, const std::wstring &text)
{
    const HDC dc = GetDC(control);
    auto *const old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    return size;
}

// What a test does inside the message box's own loop before it presses OK.
void (*whileOpen)(HWND box) = nullptr;

// Runs inside the message box's own message loop: presses its OK.
void CALLBACK dismissBox(HWND, UINT, UINT_PTR timer, DWORD)
{
    const HWND box = openMessageBox();
    if (!box)
        return;
    KillTimer(nullptr, timer);
    if (whileOpen)
        whileOpen(box);
    SendMessageW(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
}

// What screen readers would have been told.
class RecordingAnnouncements : public Announcements
{
public:
    void announce(const std::wstring &message) override { messages.push_back(message); }

    std::vector<std::wstring> messages;
};

// What a screen reader reads as the name of an object.
std::wstring readBack(IAccessible *object)
{
    VARIANT self{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR text = nullptr;
    if (FAILED(object->get_accName(self, &text)) || !text)
        return L"(none)";
    std::wstring read(text, SysStringLen(text));
    SysFreeString(text);
    return read;
}

class Form1Test : public ::testing::Test
{
protected:
    void SetUp() override
    {
        // As the program does: the names and the live region go through COM where it can.
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        show(std::make_unique<Form1>(&announcer));
    }

    void TearDown() override
    {
        whileOpen = nullptr;
        form.reset();
        // Whatever the window left queued has no use once it is gone.
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
            ;
        CoUninitialize();
    }

    void show(std::unique_ptr<Form1> window)
    {
        form = std::move(window);
        ShowWindow(form->hwnd(), SW_SHOW);
        SetForegroundWindow(form->hwnd());
        SetFocus(form->hwnd());
    }

    HWND control(int id) const { return GetDlgItem(form->hwnd(), id); }

    void enter(const std::wstring &weight, const std::wstring &feet, const std::wstring &inches) const
    {
        type(control(Form1::idOf("weight")), weight);
        type(control(Form1::idOf("heightf")), feet);
        type(control(Form1::idOf("ft")), inches);
    }

    void click() const
    {
        const UINT_PTR timer = SetTimer(nullptr, 0, 50, dismissBox);
        SendMessageW(control(Form1::idOf("Command1")), BM_CLICK, 0, 0);
        KillTimer(nullptr, timer);
    }

    // As the system tells the window of a new DPI.
    void changeDpi(UINT dpi) const
    {
        RECT suggested{};
        GetWindowRect(form->hwnd(), &suggested);
        SendMessageW(form->hwnd(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
    }

    RecordingAnnouncements announcer;
    std::unique_ptr<Form1> form;
};

struct Control
{
    const char *name;
    const wchar_t *className;
};

class Form1Controls : public Form1Test, public ::testing::WithParamInterface<Control>
{
};

// The system control of each kind; where and with what text is the shared suite's.
TEST_P(Form1Controls, AreTheSystemsOwn)
{
    const Control &row = GetParam();
    const HWND window = control(Form1::idOf(row.name));
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(classOf(window), row.className);
    const LONG style = GetWindowLongW(window, GWL_STYLE);
    if (classOf(window) == L"Edit" && std::string_view(row.name) != "Text5") {
        EXPECT_FALSE(style & (ES_MULTILINE | ES_READONLY));
        EXPECT_TRUE(style & WS_TABSTOP);
        EXPECT_GE(SendMessageW(window, EM_GETLIMITTEXT, 0, 0), 0x7FFFFFFE); // no limit of its own
    }
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Win32, Form1Controls, ::testing::Values(
    Control{"Label1", L"Static"}, Control{"weight", L"Edit"}, Control{"Command1", L"Button"},
    Control{"Line1", L"Static"}, Control{"Text5", L"Edit"}, Control{"nutrition", L"Edit"}),
    testing::PrintToStringParamName());
// clang-format on

TEST_F(Form1Test, HasAFixedFrameAndNoMenu)
{
    EXPECT_FALSE(GetWindowLongW(form->hwnd(), GWL_STYLE) & (WS_THICKFRAME | WS_MAXIMIZEBOX));
    EXPECT_EQ(GetMenu(form->hwnd()), nullptr);
    const HMENU system = GetSystemMenu(form->hwnd(), FALSE);
    for (const UINT command : {SC_MAXIMIZE, SC_SIZE}) {
        const UINT state = GetMenuState(system, command, MF_BYCOMMAND);
        EXPECT_TRUE(state == static_cast<UINT>(-1) || (state & MF_GRAYED)) << "system command " << command;
    }
    // Asked all the same, by another program.
    RECT before{};
    GetWindowRect(form->hwnd(), &before);
    SendMessageW(form->hwnd(), WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    RECT after{};
    GetWindowRect(form->hwnd(), &after);
    EXPECT_TRUE(EqualRect(&before, &after));
}

struct CloseSource
{
    const char *name;
    UINT message;
    WPARAM wParam;
};

CloseSource closing;

struct SeenWhileOpen
{
    bool windowStayed = false;
    bool boxStayed = false;
    LONG boxStyle = 0;
} seenWhileOpen;

class Form1Close : public Form1Test, public ::testing::WithParamInterface<CloseSource>
{
};

// Handed to the window procedure itself, whatever the system's default would do. Once the box is
// answered the same close ends the program, with status 0.
TEST_P(Form1Close, IsRefusedWhileTheMessageIsOpen)
{
    closing = GetParam();
    seenWhileOpen = {};
    enter(L"500", L"5", L"10");
    whileOpen = [](HWND box) {
        const HWND owner = GetWindow(box, GW_OWNER);
        SendMessageW(owner, closing.message, closing.wParam, 0);
        seenWhileOpen = {IsWindow(owner) != 0, openMessageBox() == box, GetWindowLongW(box, GWL_STYLE)};
    };
    click();
    EXPECT_TRUE(seenWhileOpen.windowStayed);
    EXPECT_TRUE(seenWhileOpen.boxStayed);
    EXPECT_FALSE(seenWhileOpen.boxStyle & (WS_MAXIMIZEBOX | WS_MINIMIZEBOX | WS_THICKFRAME));

    const HWND window = form->hwnd();
    SendMessageW(window, closing.message, closing.wParam, 0);
    EXPECT_FALSE(IsWindow(window));
    MSG quit{};
    ASSERT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(quit.wParam, 0U);
}

INSTANTIATE_TEST_SUITE_P(Win32,
                         Form1Close,
                         ::testing::Values(CloseSource{"WM_CLOSE", WM_CLOSE, 0},
                                           CloseSource{"SC_CLOSE", WM_SYSCOMMAND, SC_CLOSE}),
                         testing::PrintToStringParamName());

TEST_F(Form1Test, TheSessionsEndEndsItWithTheMessageOpen)
{
    enter(L"500", L"5", L"10");
    whileOpen = [](HWND box) {
        const HWND owner = GetWindow(box, GW_OWNER);
        if (SendMessageW(owner, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF) == TRUE)
            SendMessageW(owner, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
    };
    EXPECT_EXIT(click(), ::testing::ExitedWithCode(0), "");
}

struct Announced
{
    const char *name;
    const wchar_t *weight, *feet, *inches;
    std::vector<std::wstring> messages;
};

class Form1Announces : public Form1Test, public ::testing::WithParamInterface<Announced>
{
};

TEST_P(Form1Announces, TheResultAndTheRewriteButNothingAfterABox)
{
    const Announced &row = GetParam();
    enter(row.weight, row.feet, row.inches);
    click();
    EXPECT_EQ(announcer.messages, row.messages);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Win32, Form1Announces, ::testing::Values(
    Announced{"accepted", L"150", L"5", L"10", {L"Body Mass Index 22, category Desirable"}},
    Announced{"rewrite", L"180", L"5", L"14", {L"Height now 6 feet 2 inches. Body Mass Index 23, category Desirable"}},
    Announced{"invalid_data", L"150", L"9", L"12", {}}),
    testing::PrintToStringParamName());
// clang-format on

std::vector<HWND> liveRegionEvents;

void CALLBACK recordLiveRegion(HWINEVENTHOOK, DWORD, HWND window, LONG object, LONG child, DWORD, DWORD)
{
    if (object == OBJID_CLIENT && child == CHILDID_SELF)
        liveRegionEvents.push_back(window);
}

// Wine has no UI Automation notifications: a screen reader that follows the live region's event
// reads the message as the region's name.
TEST_F(Form1Test, WithoutNotificationsTheLiveRegionSpeaks)
{
    const HMODULE automation = LoadLibraryW(L"uiautomationcore.dll");
    const bool notifies = automation && GetProcAddress(automation, "UiaRaiseNotificationEvent");
    if (automation)
        FreeLibrary(automation);
    if (notifies)
        GTEST_SKIP() << "this system has UI Automation notifications";
    show(std::make_unique<Form1>());
    liveRegionEvents.clear();
    const HWINEVENTHOOK hook = SetWinEventHook(EVENT_OBJECT_LIVEREGIONCHANGED,
                                               EVENT_OBJECT_LIVEREGIONCHANGED,
                                               nullptr,
                                               recordLiveRegion,
                                               GetCurrentProcessId(),
                                               0,
                                               WINEVENT_OUTOFCONTEXT);
    ASSERT_NE(hook, nullptr);
    enter(L"180", L"5", L"14");
    click();
    for (MSG message; PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE);)
        DispatchMessageW(&message);
    UnhookWinEvent(hook);

    ASSERT_EQ(liveRegionEvents.size(), 1U);
    Microsoft::WRL::ComPtr<IAccessible> region;
    VARIANT child{};
    ASSERT_EQ(AccessibleObjectFromEvent(liveRegionEvents[0], OBJID_CLIENT, CHILDID_SELF, &region, &child), S_OK);
    EXPECT_EQ(readBack(region.Get()), L"Height now 6 feet 2 inches. Body Mass Index 23, category Desirable");
}

// Dynamic Annotation as a client would find it: what the window set for each control's own
// object, and which controls it cleared.
class RecordingServices : public IAccPropServices
{
public:
    struct Set
    {
        HWND control;
        GUID property;
        std::wstring text;
        LONG number;
    };

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void **object) override
    {
        if (!object)
            return E_POINTER;
        *object = iid == __uuidof(IUnknown) || iid == IID_IAccPropServices ? this : nullptr;
        return *object ? S_OK : E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }

    HRESULT STDMETHODCALLTYPE
    SetHwndProp(HWND hwnd, DWORD object, DWORD child, MSAAPROPID property, VARIANT value) override
    {
        return record(hwnd, object, child, {hwnd, property, {}, value.vt == VT_I4 ? value.lVal : -1});
    }
    HRESULT STDMETHODCALLTYPE
    SetHwndPropStr(HWND hwnd, DWORD object, DWORD child, MSAAPROPID property, LPCWSTR text) override
    {
        return record(hwnd, object, child, {hwnd, property, text ? text : L"(null)", -1});
    }
    HRESULT STDMETHODCALLTYPE ClearHwndProps(HWND hwnd, DWORD object, DWORD child, const MSAAPROPID *, int) override
    {
        return record(hwnd, object, child, {hwnd, GUID_NULL, L"(cleared)", -1});
    }

    // Nothing else is the window's to call.
    HRESULT STDMETHODCALLTYPE SetPropValue(const BYTE *, DWORD, MSAAPROPID, VARIANT) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE
    SetPropServer(const BYTE *, DWORD, const MSAAPROPID *, int, IAccPropServer *, AnnoScope) override
    {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE ClearProps(const BYTE *, DWORD, const MSAAPROPID *, int) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE
    SetHwndPropServer(HWND, DWORD, DWORD, const MSAAPROPID *, int, IAccPropServer *, AnnoScope) override
    {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE ComposeHwndIdentityString(HWND, DWORD, DWORD, BYTE **, DWORD *) override
    {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE DecomposeHwndIdentityString(const BYTE *, DWORD, HWND *, DWORD *, DWORD *) override
    {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetHmenuProp(HMENU, DWORD, MSAAPROPID, VARIANT) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetHmenuPropStr(HMENU, DWORD, MSAAPROPID, LPCWSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE
    SetHmenuPropServer(HMENU, DWORD, const MSAAPROPID *, int, IAccPropServer *, AnnoScope) override
    {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE ClearHmenuProps(HMENU, DWORD, const MSAAPROPID *, int) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE ComposeHmenuIdentityString(HMENU, DWORD, BYTE **, DWORD *) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DecomposeHmenuIdentityString(const BYTE *, DWORD, HMENU *, DWORD *) override
    {
        return E_NOTIMPL;
    }

    // The last text or number set for a property of a control, "(none)" or -1 without one.
    const Set &last(HWND control, const GUID &property) const
    {
        static const Set none{nullptr, GUID_NULL, L"(none)", -1};
        const auto found = std::find_if(sets.rbegin(), sets.rend(), [&](const Set &set) {
            return set.control == control && IsEqualGUID(set.property, property);
        });
        return found == sets.rend() ? none : *found;
    }

    std::vector<Set> sets;

private:
    // Only the control's own object is named: not its frame, nor a child it does not have.
    HRESULT record(HWND hwnd, DWORD object, DWORD child, Set set)
    {
        if (!IsWindow(hwnd) || object != static_cast<DWORD>(OBJID_CLIENT) || child != CHILDID_SELF)
            return E_INVALIDARG;
        sets.push_back(std::move(set));
        return S_OK;
    }
};

struct AccessibleName
{
    std::string name;
    std::wstring accessibleName;
    std::wstring description;
};

std::vector<AccessibleName> designedNames()
{
    std::vector<AccessibleName> rows;
    for (const design::Control &c : design::controls) {
        if (!c.accessibleName.empty())
            rows.push_back({std::string(c.name),
                            {c.accessibleName.begin(), c.accessibleName.end()},
                            {c.accessibleDescription.begin(), c.accessibleDescription.end()}});
    }
    return rows;
}

class Form1Names : public Form1Test, public ::testing::WithParamInterface<AccessibleName>
{
protected:
    RecordingServices services;
};

// Set through Dynamic Annotation at a client's first request for the box, and cleared while the
// box is still there.
TEST_P(Form1Names, AreAnnotatedAtTheFirstRequest)
{
    const AccessibleName &row = GetParam();
    show(std::make_unique<Form1>(&announcer, &services));
    const HWND box = control(Form1::idOf(row.name));
    EXPECT_TRUE(services.sets.empty());
    SendMessageW(box, WM_GETOBJECT, 0, static_cast<LPARAM>(OBJID_CLIENT));
    EXPECT_EQ(services.last(box, PROPID_ACC_NAME).text, row.accessibleName);
    EXPECT_EQ(services.last(box, PROPID_ACC_DESCRIPTION).text, row.description.empty() ? L"(none)" : row.description);
    form.reset();
    EXPECT_EQ(services.last(box, GUID_NULL).text, L"(cleared)");
}

INSTANTIATE_TEST_SUITE_P(Design, Form1Names, ::testing::ValuesIn(designedNames()), testing::PrintToStringParamName());

// A request for the window, not a box, makes the announcements a polite live region.
TEST_F(Form1Test, TheAnnouncementsAreAPoliteLiveRegion)
{
    RecordingServices services;
    show(std::make_unique<Form1>(&announcer, &services));
    const HWND region = control(Form1::announcementId);
    SendMessageW(form->hwnd(), WM_GETOBJECT, 0, static_cast<LPARAM>(OBJID_CLIENT));
    // UIA_LiveSettingPropertyId's GUID, and Polite.
    constexpr GUID liveSetting{0xc12bcd8e, 0x2a8e, 0x4950, {0x8a, 0xe7, 0x36, 0x25, 0x11, 0x1d, 0x58, 0xeb}};
    EXPECT_EQ(services.last(region, liveSetting).number, 1);
    form.reset();
    EXPECT_EQ(services.last(region, GUID_NULL).text, L"(cleared)");
}

TEST_F(Form1Test, AWriteOfTheTextIsLimitedBeforeItReturns)
{
    const HWND weight = control(Form1::idOf("weight"));
    SetWindowTextW(weight, L"12345");
    EXPECT_EQ(windowText(weight), L"123");
    EXPECT_EQ(caret(weight), 3U);
}

// A multi-line edit would close the window on Escape; Text5 leaves the keys and the focus alone.
TEST_F(Form1Test, Text5KeepsNeitherTheFocusNorTheKeys)
{
    SetFocus(control(Form1::idOf("weight")));
    SetFocus(control(Form1::idOf("Text5")));
    EXPECT_EQ(GetFocus(), control(Form1::idOf("weight")));
    for (const WPARAM key : {VK_ESCAPE, VK_RETURN, VK_TAB}) {
        MSG press{control(Form1::idOf("Text5")), WM_KEYDOWN, key, 0, 0, {}};
        IsDialogMessageW(form->hwnd(), &press);
    }
    for (MSG message; PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE);)
        DispatchMessageW(&message);
    EXPECT_TRUE(IsWindow(form->hwnd()));
    EXPECT_TRUE(IsWindowVisible(form->hwnd()));
}

// The relative luminance of a colour and the contrast of two, as WCAG 2 defines them.
double luminance(COLORREF colour)
{
    const auto linear = [](BYTE value) {
        const double c = value / 255.0;
        return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(GetRValue(colour)) + 0.7152 * linear(GetGValue(colour)) + 0.0722 * linear(GetBValue(colour));
}

double contrast(COLORREF first, COLORREF second)
{
    const double a = luminance(first);
    const double b = luminance(second);
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

struct Scheme
{
    const char *name;
    COLORREF face;
    COLORREF buttonText;
    COLORREF windowText;
};

void PrintTo(const Scheme &row, std::ostream *out)
{
    *out << row.name;
}

class Form1Scheme : public Form1Test, public ::testing::WithParamInterface<Scheme>
{
};

// Text5 takes its text colour from the scheme as well as its background, whatever the scheme.
TEST_P(Form1Scheme, Text5IsLegibleOnTheButtonFace)
{
    const Scheme &row = GetParam();
    const std::array<int, 3> elements{COLOR_BTNFACE, COLOR_BTNTEXT, COLOR_WINDOWTEXT};
    std::array<COLORREF, 3> saved{};
    for (std::size_t i = 0; i < elements.size(); ++i)
        saved[i] = GetSysColor(elements[i]);
    const std::array<COLORREF, 3> scheme{row.face, row.buttonText, row.windowText};
    ASSERT_TRUE(SetSysColors(3, elements.data(), scheme.data()));

    const HDC dc = CreateCompatibleDC(nullptr);
    SendMessageW(form->hwnd(),
                 WM_CTLCOLORSTATIC,
                 reinterpret_cast<WPARAM>(dc),
                 reinterpret_cast<LPARAM>(control(Form1::idOf("Text5"))));
    const COLORREF text = GetTextColor(dc);
    const COLORREF background = GetBkColor(dc);
    DeleteDC(dc);
    SetSysColors(3, elements.data(), saved.data());

    EXPECT_EQ(background, row.face);
    EXPECT_GE(contrast(text, background), 4.5) << "text " << std::hex << text << " on " << background;
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Win32, Form1Scheme, ::testing::Values(
    Scheme{"Dark", RGB(0x20, 0x20, 0x20), RGB(0xF0, 0xF0, 0xF0), RGB(0xFF, 0xFF, 0xFF)},
    Scheme{"HighContrastBlack", RGB(0, 0, 0), RGB(0xFF, 0xFF, 0xFF), RGB(0xFF, 0xFF, 0xFF)},
    Scheme{"HighContrastWhite", RGB(0xFF, 0xFF, 0xFF), RGB(0, 0, 0), RGB(0, 0, 0)}),
    testing::PrintToStringParamName());
// clang-format on

// The control id whose creation the hook refuses, the system's own way to refuse a window; 0 for
// the window itself.
int refusedId = 0;

LRESULT CALLBACK refuseCreation(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_CREATEWND) {
        const CREATESTRUCTW &made = *reinterpret_cast<const CBT_CREATEWNDW *>(lParam)->lpcs;
        const bool child = made.style & WS_CHILD;
        if (child ? reinterpret_cast<INT_PTR>(made.hMenu) == refusedId : refusedId == 0)
            return 1;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

BOOL CALLBACK countWindow(HWND, LPARAM count)
{
    ++*reinterpret_cast<int *>(count);
    return TRUE;
}

class Form1Creation : public Form1Test, public ::testing::WithParamInterface<int>
{
};

// A refused window or control is an error, and no half-made window stays behind to wait on.
TEST_P(Form1Creation, AFailureThrowsAndLeavesNoWindow)
{
    form.reset();
    refusedId = GetParam();
    const HHOOK hook = SetWindowsHookExW(WH_CBT, refuseCreation, nullptr, GetCurrentThreadId());
    ASSERT_NE(hook, nullptr);
    EXPECT_THROW(Form1{&announcer}, std::system_error);
    UnhookWindowsHookEx(hook);
    int windows = 0;
    EnumThreadWindows(GetCurrentThreadId(), countWindow, reinterpret_cast<LPARAM>(&windows));
    EXPECT_EQ(windows, 0);
}

// The window, its first control, one in the middle and the last, the live region.
INSTANTIATE_TEST_SUITE_P(Win32,
                         Form1Creation,
                         ::testing::Values(0, Form1::idOf("Label1"), Form1::idOf("Command1"), Form1::announcementId));

class Form1Dpi : public Form1Test, public ::testing::WithParamInterface<UINT>
{
};

// The layout follows the window's DPI, and at each the captions, the longest category and the
// whole sentence fit their controls, words stay apart, and each label's text is on the line of
// the text in its box.
TEST_P(Form1Dpi, LayoutScalesAndTextsFit)
{
    const UINT dpi = GetParam();
    changeDpi(dpi);
    RECT client{};
    GetClientRect(form->hwnd(), &client);
    EXPECT_EQ(client.right, MulDiv(4680, static_cast<int>(dpi), 1440));
    EXPECT_EQ(placeOf(control(Form1::idOf("Command1"))).left,
              MulDiv(design::control("Command1").twips.left, static_cast<int>(dpi), 1440));

    for (const int id : {Form1::idOf("Label1"),
                         Form1::idOf("Label2"),
                         Form1::idOf("Label3"),
                         Form1::idOf("Label4"),
                         Form1::idOf("Command1")}) {
        const HWND caption = control(id);
        RECT inside{};
        GetClientRect(caption, &inside);
        const SIZE text = extentIn(caption, windowText(caption));
        EXPECT_LE(text.cx, inside.right) << "control " << id << " at " << dpi << " dpi";
        EXPECT_LE(text.cy, inside.bottom) << "control " << id << " at " << dpi << " dpi";
    }

    const HWND nutrition = control(Form1::idOf("nutrition"));
    RECT format{};
    SendMessageW(nutrition, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&format));
    EXPECT_LE(extentIn(nutrition, L"prone to health risks").cx, format.right - format.left);

    const HWND text5 = control(Form1::idOf("Text5"));
    SendMessageW(text5, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&format));
    const auto last = static_cast<LONG>(SendMessageW(text5, EM_POSFROMCHAR, design::sentence.size() - 3, 0));
    EXPECT_LE(static_cast<short>(HIWORD(last)) + extentIn(text5, L"y").cy, format.bottom) << dpi << " dpi";
    EXPECT_GE(extentIn(text5, L"s a").cx - extentIn(text5, L"sa").cx, 3) << dpi << " dpi";

    for (const auto &[label, box] : {std::pair{"Label1", "weight"}, std::pair{"Label4", "bdmass"}}) {
        const HWND edit = control(Form1::idOf(box));
        SendMessageW(edit, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&format));
        POINT textTop{0, format.top};
        MapWindowPoints(edit, form->hwnd(), &textTop, 1);
        EXPECT_EQ(placeOf(control(Form1::idOf(label))).top, textTop.y) << label << " at " << dpi << " dpi";
    }
}

SIZE sizeOf(HICON icon)
{
    ICONINFO info{};
    if (!icon || !GetIconInfo(icon, &info))
        return {};
    BITMAP bitmap{};
    GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bitmap, &bitmap);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return {bitmap.bmWidth, bitmap.bmHeight};
}

// The icons are the DPI's sizes, and the line two straight lines, the shadow over the highlight.
TEST_P(Form1Dpi, IconsAndTheLineFollowIt)
{
    const UINT dpi = GetParam();
    changeDpi(dpi);
    for (const auto &[size, width] : {std::pair{ICON_SMALL, SM_CXSMICON}, std::pair{ICON_BIG, SM_CXICON}}) {
        auto *const icon = reinterpret_cast<HICON>(SendMessageW(form->hwnd(), WM_GETICON, size, 0));
        EXPECT_EQ(sizeOf(icon).cx, GetSystemMetricsForDpi(width, dpi)) << "icon " << size;
    }

    const HWND line = control(Form1::idOf("Line1"));
    RECT inside{};
    GetClientRect(line, &inside);
    const HDC screen = GetDC(line);
    const HDC dc = CreateCompatibleDC(screen);
    const HBITMAP bitmap = CreateCompatibleBitmap(screen, inside.right, inside.bottom);
    ReleaseDC(line, screen);
    const HGDIOBJ old = SelectObject(dc, bitmap);
    SendMessageW(line, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    for (int y = 0; y < inside.bottom; ++y) {
        const COLORREF expected = GetSysColor(y < (inside.bottom + 1) / 2 ? COLOR_BTNSHADOW : COLOR_BTNHIGHLIGHT);
        int unlike = 0;
        for (int x = 0; x < inside.right; ++x)
            unlike += GetPixel(dc, x, y) != expected ? 1 : 0;
        EXPECT_EQ(unlike, 0) << "row " << y << " of " << inside.bottom;
    }
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
}

INSTANTIATE_TEST_SUITE_P(Win32, Form1Dpi, ::testing::Values(96U, 120U, 144U, 168U, 192U, 240U));

const RECT somewhere{100, 100, 500, 500};
const RECT ofNoSize{100, 100, 100, 500};

struct UnfitMessage
{
    const char *name;
    UINT message;
    WPARAM wParam;
    LPARAM (*lParam)(HWND form);
};

class Form1Unfit : public Form1Test, public ::testing::WithParamInterface<UnfitMessage>
{
};

// Whoever sends it, a message the window cannot use changes nothing: the window keeps its last
// good layout.
TEST_P(Form1Unfit, KeepsTheLastGoodLayout)
{
    const UnfitMessage &row = GetParam();
    changeDpi(144);
    const HWND button = control(Form1::idOf("Command1"));
    const RECT window = placeOf(button);
    RECT client{};
    GetClientRect(form->hwnd(), &client);
    const auto font = SendMessageW(button, WM_GETFONT, 0, 0);

    EXPECT_EQ(SendMessageW(form->hwnd(), row.message, row.wParam, row.lParam(form->hwnd())), 0);
    const RECT buttonAfter = placeOf(button);
    EXPECT_TRUE(EqualRect(&buttonAfter, &window));
    RECT clientAfter{};
    GetClientRect(form->hwnd(), &clientAfter);
    EXPECT_TRUE(EqualRect(&clientAfter, &client));
    EXPECT_EQ(SendMessageW(button, WM_GETFONT, 0, 0), font);
}

LPARAM pointing(const RECT &rect)
{
    return reinterpret_cast<LPARAM>(&rect);
}

DRAWITEMSTRUCT buttonItem{};

// clang-format off
INSTANTIATE_TEST_SUITE_P(Win32, Form1Unfit, ::testing::Values(
    UnfitMessage{"dpi_change_without_rectangle", WM_DPICHANGED, MAKEWPARAM(96, 96), [](HWND) { return LPARAM{}; }},
    UnfitMessage{"dpi_0", WM_DPICHANGED, 0, [](HWND) { return pointing(somewhere); }},
    UnfitMessage{"dpi_95", WM_DPICHANGED, MAKEWPARAM(95, 95), [](HWND) { return pointing(somewhere); }},
    UnfitMessage{"dpi_481", WM_DPICHANGED, MAKEWPARAM(481, 481), [](HWND) { return pointing(somewhere); }},
    UnfitMessage{"dpi_unlike_across", WM_DPICHANGED, MAKEWPARAM(96, 192), [](HWND) { return pointing(somewhere); }},
    UnfitMessage{"rectangle_of_no_size", WM_DPICHANGED, MAKEWPARAM(96, 96), [](HWND) { return pointing(ofNoSize); }},
    UnfitMessage{"draw_item_without_item", WM_DRAWITEM, 0, [](HWND) { return LPARAM{}; }},
    UnfitMessage{"draw_item_of_a_button", WM_DRAWITEM, static_cast<WPARAM>(Form1::idOf("Line1")), [](HWND form) {
        buttonItem = {ODT_BUTTON, static_cast<UINT>(Form1::idOf("Line1")), 0, ODA_DRAWENTIRE, 0,
                      GetDlgItem(form, Form1::idOf("Line1")), nullptr, {}, 0};
        return reinterpret_cast<LPARAM>(&buttonItem);
    }}),
    testing::PrintToStringParamName());
// clang-format on

} // namespace
