#include "Form1.h"

#include "TableRow.h"

#include <gtest/gtest.h>
#include <oleacc.h>
#include <windows.h>
#include <wrl/client.h>

#include <memory>
#include <string>
#include <vector>

namespace {

using tables::PrintTo;

const std::wstring sentence = L"According to the Panel on Energy, Obesity, and Body Weight Standards as published in "
                              L"American Journal of Clinical Nutrition, your category is:\r\n";
const std::wstring sentenceAlone = sentence.substr(0, sentence.size() - 2);

std::wstring textOf(HWND window)
{
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

std::wstring classOf(HWND window)
{
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

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

// What the message box showed, read from the box itself while it was open.
struct SeenBox
{
    std::wstring caption;
    std::wstring text;
    bool hasIcon = false;
    bool ownerEnabled = true;
};

std::vector<SeenBox> seenBoxes;

BOOL CALLBACK findBox(HWND window, LPARAM found)
{
    if (classOf(window) == L"#32770" && IsWindowVisible(window)) {
        *reinterpret_cast<HWND *>(found) = window;
        return FALSE;
    }
    return TRUE;
}

// Runs inside the message box's own message loop: records the box and presses its OK.
void CALLBACK dismissBox(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND box = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), findBox, reinterpret_cast<LPARAM>(&box));
    if (!box)
        return;
    KillTimer(nullptr, timer);
    SeenBox seen{textOf(box), textOf(GetDlgItem(box, 0xFFFF)), false, IsWindowEnabled(GetWindow(box, GW_OWNER)) != 0};
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        seen.hasIcon = seen.hasIcon || (classOf(child) == L"Static" && (GetWindowLongW(child, GWL_STYLE) & SS_ICON));
    seenBoxes.push_back(seen);
    SendMessageW(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
}

// What screen readers would have been told.
class RecordingAnnouncer : public Announcer
{
public:
    void announce(const std::wstring &message) override { messages.push_back(message); }

    std::vector<std::wstring> messages;
};

// What a screen reader reads as the name or the description of an object.
std::wstring readBack(IAccessible *object, bool description = false)
{
    VARIANT self{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR text = nullptr;
    const HRESULT result = description ? object->get_accDescription(self, &text) : object->get_accName(self, &text);
    if (FAILED(result) || !text)
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
        seenBoxes.clear();
        show(std::make_unique<Form1>(&announcer));
    }

    void TearDown() override
    {
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
        type(control(Form1::weightId), weight);
        type(control(Form1::heightfId), feet);
        type(control(Form1::ftId), inches);
    }

    void click() const
    {
        const UINT_PTR timer = SetTimer(nullptr, 0, 50, dismissBox);
        SendMessageW(control(Form1::Command1Id), BM_CLICK, 0, 0);
        KillTimer(nullptr, timer);
    }

    RecordingAnnouncer announcer;
    std::unique_ptr<Form1> form;
};

struct Control
{
    const char *name;
    int id;
    const wchar_t *className;
    RECT pixels; // at 96 dpi
    const wchar_t *text;
};

class Form1Controls : public Form1Test, public ::testing::WithParamInterface<Control>
{
};

TEST_P(Form1Controls, StandWhereAndAsCreated)
{
    const Control &row = GetParam();
    const HWND window = control(row.id);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(classOf(window), row.className);
    const RECT rect = placeOf(window);
    EXPECT_EQ(rect.left, row.pixels.left);
    EXPECT_EQ(rect.top, row.pixels.top);
    EXPECT_EQ(rect.right - rect.left, row.pixels.right);
    EXPECT_EQ(rect.bottom - rect.top, row.pixels.bottom);
    EXPECT_EQ(textOf(window), row.text);
    const LONG style = GetWindowLongW(window, GWL_STYLE);
    if (classOf(window) == L"Edit" && row.id != Form1::Text5Id) {
        EXPECT_FALSE(style & (ES_MULTILINE | ES_READONLY));
        EXPECT_TRUE(style & WS_TABSTOP);
        EXPECT_GE(SendMessageW(window, EM_GETLIMITTEXT, 0, 0), 0x7FFFFFFE); // no limit of its own
    }
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Win32, Form1Controls, ::testing::Values(
    Control{"Label1", Form1::Label1Id, L"Static", {64, 32, 49, 17}, L"Weight"},
    Control{"weight", Form1::weightId, L"Edit", {120, 32, 57, 19}, L""},
    Control{"Label2", Form1::Label2Id, L"Static", {48, 64, 49, 17}, L"Height"},
    Control{"heightf", Form1::heightfId, L"Edit", {104, 64, 57, 19}, L""},
    Control{"Label3", Form1::Label3Id, L"Static", {168, 64, 25, 17}, L"Ft."},
    Control{"ft", Form1::ftId, L"Edit", {200, 64, 57, 19}, L""},
    Control{"Command1", Form1::Command1Id, L"Button", {112, 96, 113, 25}, L"Calculate BMI"},
    Control{"Line1", Form1::Line1Id, L"Static", {48, 136, 225, 2}, L""},
    Control{"Label4", Form1::Label4Id, L"Static", {16, 144, 89, 17}, L"Body Mass Index"},
    Control{"bdmass", Form1::bdmassId, L"Edit", {112, 144, 73, 19}, L""},
    Control{"Text5", Form1::Text5Id, L"Edit", {72, 176, 185, 65}, sentence.c_str()},
    Control{"nutrition", Form1::nutritionId, L"Edit", {112, 256, 97, 19}, L""}),
    testing::PrintToStringParamName());
// clang-format on

TEST_F(Form1Test, WindowHasItsCaptionClientSizeAndFixedFrame)
{
    EXPECT_EQ(textOf(form->hwnd()), L"Calculate BMI");
    RECT client{};
    GetClientRect(form->hwnd(), &client);
    EXPECT_EQ(client.right, 312);
    EXPECT_EQ(client.bottom, 289);
    EXPECT_FALSE(GetWindowLongW(form->hwnd(), GWL_STYLE) & (WS_THICKFRAME | WS_MAXIMIZEBOX));
    EXPECT_EQ(GetMenu(form->hwnd()), nullptr);
    EXPECT_EQ(GetFocus(), control(Form1::weightId));
}

TEST_F(Form1Test, TabVisitsTheBoxesAndTheButtonInOrder)
{
    const std::vector<int> order{
        Form1::heightfId, Form1::ftId, Form1::bdmassId, Form1::nutritionId, Form1::Command1Id, Form1::weightId};
    for (const int next : order) {
        MSG tab{GetFocus(), WM_KEYDOWN, VK_TAB, 0, 0, {}};
        IsDialogMessageW(form->hwnd(), &tab);
        EXPECT_EQ(GetDlgCtrlID(GetFocus()), next);
    }
}

struct Calculation
{
    const char *name;
    const wchar_t *weight, *feet, *inches;
    const wchar_t *feetAfter, *inchesAfter, *index, *category;
};

class Form1Calculates : public Form1Test, public ::testing::WithParamInterface<Calculation>
{
};

TEST_P(Form1Calculates, WritesTheResultAndRewritesTheHeight)
{
    const Calculation &row = GetParam();
    enter(row.weight, row.feet, row.inches);
    click();
    EXPECT_TRUE(seenBoxes.empty());
    EXPECT_EQ(textOf(control(Form1::heightfId)), row.feetAfter);
    EXPECT_EQ(textOf(control(Form1::ftId)), row.inchesAfter);
    EXPECT_EQ(textOf(control(Form1::bdmassId)), row.index);
    EXPECT_EQ(textOf(control(Form1::nutritionId)), row.category);
}

INSTANTIATE_TEST_SUITE_P(
    Win32,
    Form1Calculates,
    ::testing::Values(Calculation{"desirable", L"150", L"5", L"10", L"5", L"10", L"22", L"Desirable"},
                      Calculation{"rewrite", L"180", L"5", L"14", L"6", L"2", L"23", L"Desirable"},
                      Calculation{
                          "longest_category", L"190", L"5", L"10", L"5", L"10", L"27", L"prone to health risks"}),
    testing::PrintToStringParamName());

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

// Wine has no UI Automation notifications: the calculation still shows its result, and a screen
// reader that follows the live region's event reads the message as the region's name.
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

    EXPECT_EQ(textOf(control(Form1::bdmassId)), L"23");
    ASSERT_EQ(liveRegionEvents.size(), 1U);
    Microsoft::WRL::ComPtr<IAccessible> region;
    VARIANT child{};
    ASSERT_EQ(AccessibleObjectFromEvent(liveRegionEvents[0], OBJID_CLIENT, CHILDID_SELF, &region, &child), S_OK);
    EXPECT_EQ(readBack(region.Get()), L"Height now 6 feet 2 inches. Body Mass Index 23, category Desirable");
}

struct AccessibleName
{
    const char *name;
    int id;
    const wchar_t *accessibleName;
    const wchar_t *description;
};

class Form1Names : public Form1Test, public ::testing::WithParamInterface<AccessibleName>
{
};

// Read as a screen reader reads them, where Dynamic Annotation is missing (Wine).
TEST_P(Form1Names, ReadBackThroughMsaa)
{
    const AccessibleName &row = GetParam();
    Microsoft::WRL::ComPtr<IAccessible> box;
    ASSERT_EQ(AccessibleObjectFromWindow(control(row.id), OBJID_CLIENT, IID_PPV_ARGS(box.GetAddressOf())), S_OK);
    EXPECT_EQ(readBack(box.Get()), row.accessibleName);
    if (row.description) {
        EXPECT_EQ(readBack(box.Get(), true), row.description);
    }
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Win32, Form1Names, ::testing::Values(
    AccessibleName{"weight", Form1::weightId, L"Weight in pounds", nullptr},
    AccessibleName{"heightf", Form1::heightfId, L"Height in feet", nullptr},
    AccessibleName{"ft", Form1::ftId, L"Height in inches", nullptr},
    AccessibleName{"nutrition", Form1::nutritionId, L"Category", sentenceAlone.c_str()}),
    testing::PrintToStringParamName());
// clang-format on

struct Edit
{
    const char *name;
    int id;
    const wchar_t *before;
    DWORD caret;
    const wchar_t *typed;
    bool pasted; // EM_REPLACESEL, the paste path, instead of single keys
    const wchar_t *after;
};

class Form1Limits : public Form1Test, public ::testing::WithParamInterface<Edit>
{
};

TEST_P(Form1Limits, KeepTheFirstCharactersWithTheCaretAtTheEnd)
{
    const Edit &row = GetParam();
    const HWND box = control(row.id);
    type(box, row.before);
    SendMessageW(box, EM_SETSEL, row.caret, row.caret);
    if (row.pasted)
        SendMessageW(box, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(row.typed));
    else
        type(box, row.typed);
    EXPECT_EQ(textOf(box), row.after);
    EXPECT_EQ(caret(box), std::wstring(row.after).size());
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Win32, Form1Limits, ::testing::Values(
    Edit{"weight_at_end_of_full", Form1::weightId, L"150", 3, L"0", false, L"150"},
    Edit{"weight_inside_full", Form1::weightId, L"150", 1, L"9", false, L"195"},
    Edit{"heightf_in_front", Form1::heightfId, L"5", 0, L"6", false, L"6"},
    Edit{"ft_inside_full", Form1::ftId, L"10", 1, L"1", false, L"11"},
    Edit{"weight_paste", Form1::weightId, L"", 0, L"abcdef", true, L"abc"},
    Edit{"ft_paste_after_one", Form1::ftId, L"1", 1, L"xyz", true, L"1x"}),
    testing::PrintToStringParamName());
// clang-format on

TEST_F(Form1Test, AWriteOfTheTextIsLimitedBeforeItReturns)
{
    const HWND weight = control(Form1::weightId);
    SetWindowTextW(weight, L"12345");
    EXPECT_EQ(textOf(weight), L"123");
    EXPECT_EQ(caret(weight), 3U);
}

TEST_F(Form1Test, ResultBoxesHaveNoLimit)
{
    type(control(Form1::nutritionId), L"typed by the user");
    EXPECT_EQ(textOf(control(Form1::nutritionId)), L"typed by the user");
}

TEST_F(Form1Test, EnterAndEscapeInABoxRunNothing)
{
    enter(L"150", L"5", L"10");
    for (const int id : {Form1::weightId, Form1::ftId, Form1::nutritionId}) {
        for (const WPARAM key : {VK_RETURN, VK_ESCAPE}) {
            SetFocus(control(id));
            MSG press{control(id), WM_KEYDOWN, key, 0, 0, {}};
            IsDialogMessageW(form->hwnd(), &press);
        }
    }
    EXPECT_TRUE(IsWindowVisible(form->hwnd()));
    EXPECT_EQ(textOf(control(Form1::bdmassId)), L"");
    EXPECT_TRUE(seenBoxes.empty());
}

// A multi-line edit would close the window on Escape; Text5 leaves the keys and the focus alone.
TEST_F(Form1Test, Text5KeepsNeitherTheFocusNorTheKeys)
{
    SetFocus(control(Form1::weightId));
    SetFocus(control(Form1::Text5Id));
    EXPECT_EQ(GetFocus(), control(Form1::weightId));
    for (const WPARAM key : {VK_ESCAPE, VK_RETURN, VK_TAB}) {
        MSG press{control(Form1::Text5Id), WM_KEYDOWN, key, 0, 0, {}};
        IsDialogMessageW(form->hwnd(), &press);
    }
    for (MSG message; PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE);)
        DispatchMessageW(&message);
    EXPECT_TRUE(IsWindow(form->hwnd()));
    EXPECT_TRUE(IsWindowVisible(form->hwnd()));
}

TEST_F(Form1Test, EnterOnTheFocusedButtonCalculates)
{
    enter(L"150", L"5", L"10");
    SetFocus(control(Form1::Command1Id));
    MSG press{control(Form1::Command1Id), WM_KEYDOWN, VK_RETURN, 0, 0, {}};
    IsDialogMessageW(form->hwnd(), &press);
    EXPECT_EQ(textOf(control(Form1::bdmassId)), L"22");
}

TEST_F(Form1Test, InvalidDataBoxIsModalAndLeavesEveryField)
{
    enter(L"150", L"9", L"12"); // 120 inches: too tall
    type(control(Form1::bdmassId), L"x");
    click();
    ASSERT_EQ(seenBoxes.size(), 1U);
    EXPECT_EQ(seenBoxes[0].caption, L"Quorvane");
    EXPECT_EQ(seenBoxes[0].text, L"Invalid data.  Please check and re-enter!");
    EXPECT_TRUE(seenBoxes[0].hasIcon);
    EXPECT_FALSE(seenBoxes[0].ownerEnabled);
    EXPECT_TRUE(IsWindowEnabled(form->hwnd()));
    EXPECT_EQ(textOf(control(Form1::heightfId)), L"9");
    EXPECT_EQ(textOf(control(Form1::ftId)), L"12");
    EXPECT_EQ(textOf(control(Form1::bdmassId)), L"x");
    EXPECT_EQ(textOf(control(Form1::nutritionId)), L"");
}

class Form1Dpi : public Form1Test, public ::testing::WithParamInterface<UINT>
{
};

// The layout follows the window's DPI, and at each the captions, the longest category and the
// whole sentence fit their controls.
TEST_P(Form1Dpi, LayoutScalesAndTextsFit)
{
    const UINT dpi = GetParam();
    RECT suggested{0, 0, 0, 0};
    SendMessageW(form->hwnd(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
    RECT client{};
    GetClientRect(form->hwnd(), &client);
    EXPECT_EQ(client.right, MulDiv(4680, static_cast<int>(dpi), 1440));
    EXPECT_EQ(placeOf(control(Form1::Command1Id)).left, MulDiv(1680, static_cast<int>(dpi), 1440));

    for (const int id : {Form1::Label1Id, Form1::Label2Id, Form1::Label3Id, Form1::Label4Id, Form1::Command1Id}) {
        const HWND caption = control(id);
        RECT inside{};
        GetClientRect(caption, &inside);
        const SIZE text = extentIn(caption, textOf(caption));
        EXPECT_LE(text.cx, inside.right) << "control " << id << " at " << dpi << " dpi";
        EXPECT_LE(text.cy, inside.bottom) << "control " << id << " at " << dpi << " dpi";
    }

    const HWND nutrition = control(Form1::nutritionId);
    RECT format{};
    SendMessageW(nutrition, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&format));
    EXPECT_LE(extentIn(nutrition, L"prone to health risks").cx, format.right - format.left);

    const HWND text5 = control(Form1::Text5Id);
    SendMessageW(text5, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&format));
    const auto last = static_cast<LONG>(SendMessageW(text5, EM_POSFROMCHAR, sentence.size() - 3, 0));
    EXPECT_LE(static_cast<short>(HIWORD(last)) + extentIn(text5, L"y").cy, format.bottom) << dpi << " dpi";
}

INSTANTIATE_TEST_SUITE_P(Win32, Form1Dpi, ::testing::Values(96U, 120U, 144U, 192U));

} // namespace
