#include "Form1.h"

#include "PasteLimit.h"
#include "WholeCharacters.h"
#include "WindowFont.h"

#include <commctrl.h>
#include <windowsx.h>

#include <array>
#include <string>
#include <string_view>
#include <system_error>
#include <tuple>
#include <utility>

namespace {

constexpr wchar_t className[] = L"QuorvaneForm1";
constexpr DWORD frameStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr int twipsPerInch = 1440;
// The DPIs Windows gives a window: 100 % to 500 %.
constexpr UINT lowestDpi = 96;
constexpr UINT highestDpi = 480;

// The design's texts are 16-bit units, which is what a wchar_t is here.
std::wstring wide(std::u16string_view text)
{
    return {text.begin(), text.end()};
}

int fromTwips(int twips, UINT dpi)
{
    return MulDiv(twips, static_cast<int>(dpi), twipsPerInch);
}

// A line is an etched one, a shadow over a highlight, two pixels high at 96 dpi and both its ends
// included. It is drawn here (drawLine), so that it stays two straight lines at every DPI.
design::Rect placement(const design::Control &control)
{
    const design::Rect &r = control.twips;
    if (control.kind == design::Kind::Line)
        return {r.left, r.top, r.width + design::twipsPerPixel, 2 * design::twipsPerPixel};
    return r;
}

// A failed creation leaves no window to wait on: it is an error the caller reports.
template<typename Handle>
Handle checked(Handle handle, const char *what)
{
    if (!handle)
        throw std::system_error(static_cast<int>(GetLastError()), std::system_category(), what);
    return handle;
}

// A control's rectangle in pixels at a DPI: left, top, width, height.
using Pixels = design::Rect;

HWND createControl(HWND form,
                   int id,
                   const Pixels &at,
                   const wchar_t *windowClass,
                   const wchar_t *text,
                   DWORD style,
                   DWORD exStyle = 0)
{
    return checked(CreateWindowExW(exStyle,
                                   windowClass,
                                   text,
                                   WS_CHILD | WS_VISIBLE | style,
                                   at.left,
                                   at.top,
                                   at.width,
                                   at.height,
                                   form,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                   GetModuleHandleW(nullptr),
                                   nullptr),
                   "a control");
}

// The classic labels never wrap: a caption that does not fit is cut, never folded onto a line
// that the label is too short to show.
HWND label(HWND form, int id, const Pixels &at, const wchar_t *caption)
{
    return createControl(form, id, at, WC_STATICW, caption, SS_LEFTNOWORDWRAP | SS_NOPREFIX);
}

HWND textBox(HWND form, int id, const Pixels &at, int limit)
{
    const HWND edit = createControl(form, id, at, WC_EDITW, L"", WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE);
    // No limit of the box's own: the length rule is the only one. A paste takes in only what the
    // rule can keep, after the pairs are mended (the subclass made last runs first).
    SendMessageW(edit, EM_SETLIMITTEXT, 0, 0);
    if (limit > 0)
        checked(limitPastes(edit, limit), "a text box");
    checked(keepCharactersWhole(edit), "a text box");
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
    // The scheme's colour itself, not a brush made from it: it follows a change of scheme.
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
    windowClass.lpszClassName = className;
    checked(RegisterClassExW(&windowClass), "the window class");
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

// A read-only edit asks for the colours of a static; the sentence is drawn on the button face in
// the button's text colour, the pair that every scheme, high contrast included, makes legible.
LRESULT fixedTextColours(HDC dc)
{
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
}

// The line's upper half in the shadow colour, the lower in the highlight.
void drawLine(const DRAWITEMSTRUCT &item)
{
    RECT shadow = item.rcItem;
    shadow.bottom = shadow.top + (item.rcItem.bottom - item.rcItem.top + 1) / 2;
    FillRect(item.hDC, &shadow, GetSysColorBrush(COLOR_BTNSHADOW));
    const RECT highlight{shadow.left, shadow.bottom, shadow.right, item.rcItem.bottom};
    FillRect(item.hDC, &highlight, GetSysColorBrush(COLOR_BTNHIGHLIGHT));
}

// The program's icon at a size, picked and scaled from the images it carries; null without them.
HICON iconAt(int width, int height)
{
    return static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), L"IDI_ICON1", IMAGE_ICON, width, height, 0));
}

// How far below a box's top its text begins: its border, then its formatting rectangle's top.
int textInset(HWND box)
{
    RECT frame{};
    GetWindowRect(box, &frame);
    POINT inside{0, 0};
    ClientToScreen(box, &inside);
    RECT format{};
    SendMessageW(box, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&format));
    return inside.y - frame.top + format.top;
}

Pixels pixelsOf(const design::Control &control, UINT dpi)
{
    const design::Rect place = placement(control);
    return {fromTwips(place.left, dpi),
            fromTwips(place.top, dpi),
            fromTwips(place.width, dpi),
            fromTwips(place.height, dpi)};
}

// The window's outer size for its inside to be the design's at a DPI.
SIZE frameSize(UINT dpi)
{
    RECT frame{0, 0, fromTwips(design::client.width, dpi), fromTwips(design::client.height, dpi)};
    AdjustWindowRectExForDpi(&frame, frameStyle, FALSE, 0, dpi);
    return {frame.right - frame.left, frame.bottom - frame.top};
}

// Made where the design puts it, in its font: nothing is moved or drawn twice before the window
// first shows.
HWND make(HWND form, int id, const design::Control &control, UINT dpi, HFONT font)
{
    const Pixels at = pixelsOf(control, dpi);
    HWND made = nullptr;
    switch (control.kind) {
    case design::Kind::Label:
        made = label(form, id, at, wide(control.text).c_str());
        break;
    case design::Kind::TextBox:
        made = textBox(form, id, at, control.limit);
        break;
    case design::Kind::FixedText:
        // The caption of nutrition: read-only, no tab stop, on the button face (WM_CTLCOLORSTATIC).
        made = createControl(form, id, at, WC_EDITW, wide(control.text).c_str(), ES_MULTILINE | ES_READONLY);
        SetWindowSubclass(made, fixedTextProc, 0, 0);
        break;
    case design::Kind::Button:
        // A plain push button, never the default one: Enter in a text box does not press it.
        made = createControl(form, id, at, WC_BUTTONW, wide(control.text).c_str(), WS_TABSTOP | BS_PUSHBUTTON);
        break;
    case design::Kind::Line:
        made = createControl(form, id, at, WC_STATICW, L"", SS_OWNERDRAW);
        break;
    }
    SendMessageW(made, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return made;
}

} // namespace

Form1::Form1(Announcements *announcer, IAccPropServices *services)
    : m_events({m_weightBox, m_heightfBox, m_ftBox, m_bdmassBox, m_nutritionBox}, m_msgBox)
    , m_accessibleNames(services)
    , m_announcer(announcer ? announcer : &m_windowAnnouncer)
{
    registerClass(&Form1::windowProc);
    // Sized for the system's DPI, which is the primary screen's, where the window opens.
    const SIZE frame = frameSize(GetDpiForSystem());
    checked(CreateWindowExW(0,
                            className,
                            wide(design::title).c_str(),
                            frameStyle,
                            CW_USEDEFAULT,
                            CW_USEDEFAULT,
                            frame.cx,
                            frame.cy,
                            nullptr,
                            nullptr,
                            GetModuleHandleW(nullptr),
                            this),
            "the window");
    try {
        create();
    } catch (...) {
        destroy();
        throw;
    }
}

void Form1::create()
{
    const UINT dpi = GetDpiForWindow(hwnd());
    m_font = WindowFont(windowFont(dpi));
    // Created in the design's order, which is the z-order and so the order Tab takes.
    for (std::size_t i = 0; i < design::controls.size(); ++i)
        m_controls[i] = make(hwnd(), firstControlId + static_cast<int>(i), design::controls[i], dpi, m_font.get());
    const HWND announcement = createControl(hwnd(), announcementId, {}, WC_STATICW, L"", SS_NOPREFIX);

    m_weight = control("weight");
    m_heightf = control("heightf");
    m_ft = control("ft");
    m_bdmass = control("bdmass");
    m_nutrition = control("nutrition");
    m_command1 = control("Command1");
    m_text5 = control("Text5");
    m_weightBox = EditTextBox(m_weight);
    m_heightfBox = EditTextBox(m_heightf);
    m_ftBox = EditTextBox(m_ft);
    m_bdmassBox = EditTextBox(m_bdmass);
    m_nutritionBox = EditTextBox(m_nutrition);
    m_msgBox = WindowMsgBox(hwnd());
    m_windowAnnouncer = WindowAnnouncer(hwnd(), announcement);

    // Screen readers take the nearest static text before a box for its name: "Ft." for the
    // inches, and for the category "Body Mass Index", since its caption, the sentence, is an
    // edit box. Each box has its own name instead, as in the Qt window.
    for (std::size_t i = 0; i < design::controls.size(); ++i) {
        if (const design::Control &designed = design::controls[i]; !designed.accessibleName.empty())
            m_accessibleNames.name(m_controls[i], wide(designed.accessibleName), wide(designed.accessibleDescription));
    }
    m_accessibleNames.makeLiveRegion(announcement);

    // A fixed window's menu offers neither a size nor a maximise.
    if (const HMENU menu = GetSystemMenu(hwnd(), FALSE)) {
        DeleteMenu(menu, SC_SIZE, MF_BYCOMMAND);
        DeleteMenu(menu, SC_MAXIMIZE, MF_BYCOMMAND);
    }
    fit(dpi);
    m_lastFocus = m_weight;
}

Form1::~Form1()
{
    destroy();
}

void Form1::destroy()
{
    if (m_window) {
        // The names go while their boxes are still there to take them from.
        m_accessibleNames.clear();
        SetWindowLongPtrW(hwnd(), GWLP_USERDATA, 0);
        m_window.reset();
    }
}

void Form1::layOut(UINT dpi)
{
    // Without a font for this DPI the controls keep the one they have.
    WindowFont font(windowFont(dpi));
    if (font)
        m_font = std::move(font);
    for (std::size_t i = 0; i < design::controls.size(); ++i) {
        const HWND made = m_controls[i];
        const Pixels at = pixelsOf(design::controls[i], dpi);
        SetWindowPos(made, nullptr, at.left, at.top, at.width, at.height, SWP_NOZORDER | SWP_NOACTIVATE);
        SendMessageW(made, WM_SETFONT, reinterpret_cast<WPARAM>(m_font.get()), TRUE);
    }
    fit(dpi);
}

void Form1::fit(UINT dpi)
{
    RECT now{};
    GetWindowRect(hwnd(), &now);
    if (const SIZE frame = frameSize(dpi); frame.cx != now.right - now.left || frame.cy != now.bottom - now.top)
        SetWindowPos(hwnd(), nullptr, 0, 0, frame.cx, frame.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    // The title bar's and the task switcher's icons, at this DPI's sizes; a size without an image
    // keeps what it had.
    for (auto [size, icon, width, height] : {std::tuple{ICON_SMALL, &m_smallIcon, SM_CXSMICON, SM_CYSMICON},
                                             std::tuple{ICON_BIG, &m_bigIcon, SM_CXICON, SM_CYICON}}) {
        if (WindowIcon loaded(iconAt(GetSystemMetricsForDpi(width, dpi), GetSystemMetricsForDpi(height, dpi)));
            loaded) {
            SendMessageW(hwnd(), WM_SETICON, size, reinterpret_cast<LPARAM>(loaded.get()));
            *icon = std::move(loaded);
        }
    }
    // The font's own margins in a box are wider than the box can spare for the longest category.
    const int margin = fromTwips(design::twipsPerPixel, dpi);
    for (const HWND box : {m_weight, m_heightf, m_ft, m_bdmass, m_nutrition})
        SendMessageW(box, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(margin, margin));
    // Each label shares its top with the box it names, but draws its text at that top, where the
    // box draws inside its border: moved down by that much, the two texts share a line.
    const int inset = textInset(m_weight);
    for (std::size_t i = 0; i < design::controls.size(); ++i) {
        if (design::controls[i].kind == design::Kind::Label) {
            const Pixels at = pixelsOf(design::controls[i], dpi);
            SetWindowPos(
                m_controls[i], nullptr, at.left, at.top + inset, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }
}

LRESULT CALLBACK Form1::windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    // Only the creation on this thread names the window's Form1; a WM_NCCREATE sent from elsewhere
    // names nothing.
    if (message == WM_NCCREATE && InSendMessageEx(nullptr) == ISMEX_NOSEND && !GetWindowLongPtrW(hwnd, GWLP_USERDATA)) {
        if (const auto *creation = reinterpret_cast<const CREATESTRUCTW *>(lParam);
            creation && creation->lpCreateParams) {
            auto *form = static_cast<Form1 *>(creation->lpCreateParams);
            form->m_window.reset(hwnd);
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
        }
    }
    auto *form = reinterpret_cast<Form1 *>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    return form ? form->handle(message, wParam, lParam) : DefWindowProcW(hwnd, message, wParam, lParam);
}

LRESULT Form1::handle(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND:
        onCommand(
            GET_WM_COMMAND_ID(wParam, lParam), GET_WM_COMMAND_HWND(wParam, lParam), GET_WM_COMMAND_CMD(wParam, lParam));
        return 0;
    case WM_GETOBJECT:
        m_accessibleNames.realize();
        break;
    case WM_CTLCOLORSTATIC:
        if (GET_WM_CTLCOLOR_HWND(wParam, lParam, message) == m_text5)
            return fixedTextColours(GET_WM_CTLCOLOR_HDC(wParam, lParam, message));
        break;
    // The scheme changed: every control draws again in its colours.
    case WM_SYSCOLORCHANGE:
    case WM_SETTINGCHANGE:
    case WM_THEMECHANGED:
        RedrawWindow(hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
        break;
    case WM_DRAWITEM:
        if (const auto *item = reinterpret_cast<const DRAWITEMSTRUCT *>(lParam); item && item->CtlType == ODT_STATIC
            && wParam == static_cast<WPARAM>(idOf("Line1")) && item->hwndItem == control("Line1") && item->hDC) {
            drawLine(*item);
            return TRUE;
        }
        break;
    // Anyone can send it: a DPI Windows never gives, or no place to go, keeps the layout as it is.
    case WM_DPICHANGED: {
        const UINT dpi = HIWORD(wParam);
        const auto *suggested = reinterpret_cast<const RECT *>(lParam);
        if (dpi != LOWORD(wParam) || dpi < lowestDpi || dpi > highestDpi || !suggested
            || suggested->right <= suggested->left || suggested->bottom <= suggested->top)
            return 0;
        SetWindowPos(
            hwnd(), nullptr, suggested->left, suggested->top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        layOut(dpi);
        return 0;
    }
    // While the message is open the window does not close, from whatever source; a fixed window
    // neither grows nor takes another size.
    case WM_CLOSE:
        if (!m_events.isBoxOpen())
            DestroyWindow(hwnd());
        return 0;
    case WM_SYSCOMMAND:
        switch (GET_SC_WPARAM(wParam)) {
        case SC_CLOSE:
            if (m_events.isBoxOpen())
                return 0;
            break;
        case SC_MAXIMIZE:
        case SC_SIZE:
            return 0;
        default:
            break;
        }
        break;
    // The session's end is not refused, and ends the program at once, a message open or not:
    // there is nothing to keep.
    case WM_QUERYENDSESSION:
        return TRUE;
    case WM_ENDSESSION:
        if (wParam)
            ExitProcess(0);
        return 0;
    // The focus goes back to the control that had it when the window is activated again, as in a
    // dialog (the first time: weight).
    case WM_ACTIVATE:
        if (GET_WM_ACTIVATE_STATE(wParam, lParam) == WA_INACTIVE) {
            if (const HWND focus = GetFocus(); focus && IsChild(hwnd(), focus))
                m_lastFocus = focus;
        }
        break;
    case WM_SETFOCUS:
        if (m_lastFocus)
            SetFocus(m_lastFocus);
        return 0;
    case WM_DESTROY:
        m_accessibleNames.clear();
        PostQuitMessage(0);
        return 0;
    // Closed from within (WM_CLOSE): the system ends the window, which is no longer this one's to end.
    case WM_NCDESTROY: {
        const HWND window = hwnd();
        m_window.forget();
        return DefWindowProcW(window, message, wParam, lParam);
    }
    default:
        break;
    }
    return DefWindowProcW(hwnd(), message, wParam, lParam);
}

// IsDialogMessageW sends IDOK for Enter and IDCANCEL for Escape. In a text box neither runs
// anything; Enter on the focused button clicks it, as Space does.
void Form1::onCommand(WORD id, HWND control, WORD code)
{
    if ((control == m_command1 && code == BN_CLICKED) || (id == IDOK && GetFocus() == m_command1)) {
        if (const std::u16string message = m_events.Command1_Click(); !message.empty())
            m_announcer->announce(wide(message));
    } else if (code == EN_CHANGE && control == m_weight) {
        m_events.weight_Change();
    } else if (code == EN_CHANGE && control == m_heightf) {
        m_events.heightf_Change();
    } else if (code == EN_CHANGE && control == m_ft) {
        m_events.ft_Change();
    }
}
