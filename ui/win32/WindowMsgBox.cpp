#include "WindowMsgBox.h"

#include <string>

WindowMsgBox::WindowMsgBox(HWND owner)
    : m_owner(owner)
{
}

void WindowMsgBox::show(std::u16string_view prompt, runtime::MsgBoxStyle style)
{
    const std::wstring text(prompt.begin(), prompt.end());
    const std::wstring title(runtime::applicationTitle.begin(), runtime::applicationTitle.end());
    const UINT icon = style == runtime::MsgBoxStyle::Critical ? MB_ICONSTOP : 0;
    ++m_timesShown;
    MessageBoxW(m_owner, text.c_str(), title.c_str(), MB_OK | MB_APPLMODAL | icon);
}

int WindowMsgBox::timesShown() const
{
    return m_timesShown;
}
