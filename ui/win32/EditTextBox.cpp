#include "EditTextBox.h"

#include "RuntimeError.h"
#include "WindowText.h"

#include <algorithm>
#include <string>

EditTextBox::EditTextBox(HWND edit)
    : m_edit(edit)
{
}

HWND EditTextBox::edit() const
{
    if (!IsWindow(m_edit))
        throw runtime::RuntimeError(runtime::ErrorNumber::ObjectRequired);
    return m_edit;
}

std::u16string EditTextBox::text() const
{
    const std::wstring text = windowText(edit());
    return {text.begin(), text.end()};
}

void EditTextBox::setText(std::u16string_view text)
{
    const HWND box = edit();
    // Wine's EDIT raises EN_CHANGE even for the same text; a write that changes nothing is no change.
    if (text == this->text())
        return;
    const std::wstring newText(text.begin(), text.end());
    SetWindowTextW(box, newText.c_str());
}

void EditTextBox::setSelStart(int position)
{
    if (position < 0)
        throw runtime::RuntimeError(runtime::ErrorNumber::InvalidProcedureCall);
    const HWND box = edit();
    // EM_SETSEL clamps a position past the end itself; clamped here so it never reads as -1.
    const auto caret = static_cast<WPARAM>(std::min(position, GetWindowTextLengthW(box)));
    SendMessageW(box, EM_SETSEL, caret, static_cast<LPARAM>(caret));
}
