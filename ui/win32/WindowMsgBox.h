#pragma once

#include "MsgBox.h"

#include <windows.h>

// The runtime message box as MessageBoxW owned by the window: application-modal, so the window
// takes no input while it is open, captioned with the application title, an OK button alone.
class WindowMsgBox : public runtime::MsgBox
{
public:
    explicit WindowMsgBox(HWND owner = nullptr);

    void show(std::u16string_view prompt, runtime::MsgBoxStyle style) override;

private:
    HWND m_owner;
};
