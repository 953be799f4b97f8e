#include "Form1.h"

#include "CalculateBmi.h"
#include "DefaultErrorHandler.h"
#include "FormFont.h"
#include "LimitLength.h"

#include <commctrl.h>

#include <array>
#include <string>
#include <string_view>

namespace {

constexpr wchar_t className[] = L"QuorvaneForm1";
constexpr DWORD frameStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr int twipsPerInch = 1440;
constexpr SIZE clientTwips{4680, 4335};

// A literal, so that data() ends in a null.
constexpr std::wstring_view explanation
    = L"According to the Panel on Energy, Obesity, and Body Weight Standards as published in "
      L"American Journal of Clinical Nutrition, your category is:\r\n";

std::wstring textOf(HWND control)
{
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
    return text;
}

int fromTwips(int twips, UINT dpi)
{
    return MulDiv(twips, static_cast<int>(dpi), twipsPerInch);
}

// Where each control goes, by id, in twips: left, top, width, height.
struct Placement
{
    int id;
    int left;
    int top;
    int width;
    int height;
};

constexpr std::array placements{
    Placement{Form1::Label1Id, 960, 480, 735, 255},
    Placement{Form1::weightId, 1800, 480, 855, 285},
    Placement{Form1::Label2Id, 720, 960, 735, 255},
    Placement{Form1::heightfId, 1560, 960, 855, 285},
    Placement{Form1::Label3Id, 2520, 960, 375, 255},
    Placement{Form1::ftId, 3000, 960, 855, 285},
    Placement{Form1::Label4Id, 240, 2160, 1335, 255},
    Placement{Form1::bdmassId, 1680, 2160, 1095, 285},
    Placement{Form1::Text5Id, 1080, 2640, 2775, 975},
    Placement{Form1::nutritionId, 1680, 3840, 1455, 285},
    Placement{Form1::Command1Id, 1680, 1440, 1695, 375},
    Placement{Form1::Line1Id, 720, 2040, 3375, 30},
};

HWND createControl(HWND form, int id, const wchar_t *windowClass, const wchar_t *text, DWORD style, DWORD exStyle = 0)
{
    return CreateWindowExW(exStyle,
                           windowClass,
                           text,
                           WS_CHILD | WS_VISIBLE | style,
                           0,
                           0,
                           0,
                           0,
                           form,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                           GetModuleHandleW(nullptr),
                           nullptr);
}

// The classic labels never wrap: a caption that does not fit is cut, never folded onto a line
// that the label is too short to show.
HWND label(HWND form, int id, const wchar_t *caption)
{
    return createControl(form, id, WC_STATICW, caption, SS_LEFTNOWORDWRAP | SS_NOPREFIX);
}

HWND textBox(HWND form, int id)
{
    const HWND edit = createControl(form, id, WC_EDITW, L"", WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE);
    // No limit of the box's own: the length rule is the only one.
    SendMessageW(edit, EM_SETLIMITTEXT, 0, 0);
    return edit;
}

void registerClass(WNDPROC windowProc)
{
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    if (GetClassInfoExW(GetModuleHandleW(nullptr), className, &windowClass))
        return;
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hIcon = LoadIconW(windowClass.hInstance, L"IDI_ICON1");
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    windowClass.lpszClassName = className;
    RegisterClassExW(&windowClass);
}

// A multi-line edit asks the dialog manager for every key, and answers Escape by closing its
// parent; Text5 wants none, so Tab, Enter and Escape stay the window's. Like the labels, it never
// keeps the focus: a click on it hands the focus back to the control that had it.
LRESULT CALLBACK fixedTextProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR)
{
    if (message == WM_GETDLGCODE)
        return DefSubclassProc(hwnd, message, wParam, lParam) & ~(DLGC_WANTALLKEYS | DLGC_WANTTAB | DLGC_WANTMESSAGE);
    if (message == WM_SETFOCUS && wParam != 0) {
        SetFocus(reinterpret_cast<HWND>(wParam));
        return 0;
    }
    return DefSubclassProc(hwnd, message, wParam, lParam);
}

} // namespace

Form1::Form1(Announcer *announcer)
    : m_announcer(announcer ? announcer : &windowAnnouncer)
{
    registerClass(&Form1::windowProc);
    m_hwnd = CreateWindowExW(0,
                             className,
                             L"Calculate BMI",
                             frameStyle,
                             CW_USEDEFAULT,
                             CW_USEDEFAULT,
                             CW_USEDEFAULT,
                             CW_USEDEFAULT,
                             nullptr,
                             nullptr,
                             GetModuleHandleW(nullptr),
                             this);

    Label1 = label(m_hwnd, Label1Id, L"Weight");
    weight = textBox(m_hwnd, weightId);
    Label2 = label(m_hwnd, Label2Id, L"Height");
    heightf = textBox(m_hwnd, heightfId);
    Label3 = label(m_hwnd, Label3Id, L"Ft.");
    ft = textBox(m_hwnd, ftId);
    Label4 = label(m_hwnd, Label4Id, L"Body Mass Index");
    bdmass = textBox(m_hwnd, bdmassId);
    // The caption of nutrition: read-only, no tab stop, on the button face (WM_CTLCOLORSTATIC).
    Text5 = createControl(m_hwnd, Text5Id, WC_EDITW, explanation.data(), ES_MULTILINE | ES_READONLY);
    SetWindowSubclass(Text5, fixedTextProc, 0, 0);
    nutrition = textBox(m_hwnd, nutritionId);
    // A plain push button, never the default one: Enter in a text box does not press it.
    Command1 = createControl(m_hwnd, Command1Id, WC_BUTTONW, L"Calculate BMI", WS_TABSTOP | BS_PUSHBUTTON);
    Line1 = createControl(m_hwnd, Line1Id, WC_STATICW, L"", SS_ETCHEDHORZ);
    const HWND announcement = createControl(m_hwnd, announcementId, WC_STATICW, L"", SS_NOPREFIX);

    weightBox = EditTextBox(weight);
    heightfBox = EditTextBox(heightf);
    ftBox = EditTextBox(ft);
    bdmassBox = EditTextBox(bdmass);
    nutritionBox = EditTextBox(nutrition);
    msgBox = WindowMsgBox(m_hwnd);
    windowAnnouncer = WindowAnnouncer(m_hwnd, announcement);

    // Screen readers take the nearest static text before a box for its name: "Ft." for the
    // inches, and for the category "Body Mass Index", since its caption, the sentence, is an
    // edit box. Each box has its own name instead, as in the Qt window, and the category the
    // sentence as its description.
    accessibleNames.name(weight, L"Weight in pounds");
    accessibleNames.name(heightf, L"Height in feet");
    accessibleNames.name(ft, L"Height in inches");
    accessibleNames.name(bdmass, L"Body Mass Index");
    accessibleNames.name(nutrition, L"Category", std::wstring(explanation.substr(0, explanation.find(L'\r'))));
    accessibleNames.makeLiveRegion(announcement);

    layOut(GetDpiForWindow(m_hwnd));
    m_lastFocus = weight;
}

Form1::~Form1()
{
    if (IsWindow(m_hwnd)) {
        // The names go while their boxes are still there to take them from.
        accessibleNames.clear();
        SetWindowLongPtrW(m_hwnd, GWLP_USERDATA, 0);
        DestroyWindow(m_hwnd);
    }
    if (m_font)
        DeleteObject(m_font);
}

void Form1::layOut(UINT dpi)
{
    RECT frame{0, 0, fromTwips(clientTwips.cx, dpi), fromTwips(clientTwips.cy, dpi)};
    AdjustWindowRectExForDpi(&frame, frameStyle, FALSE, 0, dpi);
    SetWindowPos(m_hwnd,
                 nullptr,
                 0,
                 0,
                 frame.right - frame.left,
                 frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);

    const HFONT font = formFont(dpi);
    for (const Placement &placement : placements) {
        const HWND control = GetDlgItem(m_hwnd, placement.id);
        SetWindowPos(control,
                     nullptr,
                     fromTwips(placement.left, dpi),
                     fromTwips(placement.top, dpi),
                     fromTwips(placement.width, dpi),
                     fromTwips(placement.height, dpi),
                     SWP_NOZORDER | SWP_NOACTIVATE);
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    }
    // The font's own margins in a box are wider than the box can spare for the longest category.
    const int margin = fromTwips(15, dpi);
    for (const HWND box : {weight, heightf, ft, bdmass, nutrition})
        SendMessageW(box, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(margin, margin));
    if (m_font)
        DeleteObject(m_font);
    m_font = font;
}

LRESULT CALLBACK Form1::windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto *form = static_cast<Form1 *>(reinterpret_cast<const CREATESTRUCTW *>(lParam)->lpCreateParams);
        form->m_hwnd = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
    }
    auto *form = reinterpret_cast<Form1 *>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    return form ? form->handle(message, wParam, lParam) : DefWindowProcW(hwnd, message, wParam, lParam);
}

LRESULT Form1::handle(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND:
        onCommand(LOWORD(wParam), reinterpret_cast<HWND>(lParam), HIWORD(wParam));
        return 0;
    case WM_CTLCOLORSTATIC:
        if (reinterpret_cast<HWND>(lParam) == Text5) {
            SetBkColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_BTNFACE));
            return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
        }
        break;
    case WM_DPICHANGED: {
        const auto *suggested = reinterpret_cast<const RECT *>(lParam);
        SetWindowPos(
            m_hwnd, nullptr, suggested->left, suggested->top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        layOut(HIWORD(wParam));
        return 0;
    }
    // The focus goes back to the control that had it when the window is activated again, as in a
    // dialog (the first time: weight).
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE) {
            if (const HWND focus = GetFocus(); focus && IsChild(m_hwnd, focus))
                m_lastFocus = focus;
        }
        break;
    case WM_SETFOCUS:
        if (m_lastFocus)
            SetFocus(m_lastFocus);
        return 0;
    case WM_DESTROY:
        accessibleNames.clear();
        PostQuitMessage(0);
        return 0;
    default:
        break;
    }
    return DefWindowProcW(m_hwnd, message, wParam, lParam);
}

// IsDialogMessageW sends IDOK for Enter and IDCANCEL for Escape. In a text box neither runs
// anything; Enter on the focused button clicks it, as Space does.
void Form1::onCommand(WORD id, HWND control, WORD code)
{
    if ((control == Command1 && code == BN_CLICKED) || (id == IDOK && GetFocus() == Command1))
        Command1_Click();
    else if (code == EN_CHANGE && control == weight)
        weight_Change();
    else if (code == EN_CHANGE && control == heightf)
        heightf_Change();
    else if (code == EN_CHANGE && control == ft)
        ft_Change();
}

void Form1::Command1_Click()
{
    const std::wstring inches = textOf(ft);
    const int boxesShown = msgBox.timesShown();
    runtime::runWithDefaultHandling(msgBox, [this] {
        core::CalculateBmi({weightBox, heightfBox, ftBox, bdmassBox, nutritionBox}, msgBox);
    });
    if (msgBox.timesShown() == boxesShown)
        announceResult(textOf(ft) != inches);
}

void Form1::announceResult(bool heightRewritten)
{
    std::wstring message = L"Body Mass Index " + textOf(bdmass) + L", category " + textOf(nutrition);
    if (heightRewritten)
        message.insert(0, L"Height now " + textOf(heightf) + L" feet " + textOf(ft) + L" inches. ");
    m_announcer->announce(message);
}

void Form1::weight_Change()
{
    core::LimitLength(weightBox, core::weightLimit);
}

void Form1::heightf_Change()
{
    core::LimitLength(heightfBox, core::heightfLimit);
}

void Form1::ft_Change()
{
    core::LimitLength(ftBox, core::ftLimit);
}
