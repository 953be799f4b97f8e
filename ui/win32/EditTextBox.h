#pragma once

#include "TextBox.h"

#include <windows.h>

// A single-line EDIT control seen as a runtime text box. SetWindowTextW leaves the caret at the
// start, so the box shows a written text from its beginning, and sends EN_CHANGE before it
// returns, so whatever is bound to the change runs nested inside the write. A call on a control
// that no longer exists raises "Object required".
class EditTextBox : public runtime::TextBox
{
public:
    explicit EditTextBox(HWND edit = nullptr);

    std::u16string text() const override;
    void setText(std::u16string_view text) override;
    void setSelStart(int position) override;

private:
    HWND edit() const;

    HWND m_edit;
};
