#include "WindowMsgBox.h"

#include "AppInfo.h"

#include <string>

WindowMsgBox::WindowMsgBox(HWND owner)
    : m_owner(owner)
{
}

void WindowMsgBox::show(std::u16string_view prompt, runtime::MsgBoxStyle style)
{
    const std::wstring text(prompt.begin(), prompt.end());
    // The classic style values are the system's own: 16 is the stop sign.
    const auto icon = static_cast<UINT>(style);
    MessageBoxW(m_owner, text.c_str(), L"" QUORVANE_TITLE, MB_OK | MB_APPLMODAL | icon);
}
