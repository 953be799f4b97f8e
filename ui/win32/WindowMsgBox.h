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
    // While a box is open its owner refuses to close, whoever asks.
    bool isOpen() const { return m_open > 0; }

private:
    HWND m_owner;
    int m_open = 0;
};
