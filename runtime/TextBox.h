#pragma once

#include <string>
#include <string_view>

namespace runtime {

// A text box as the program's procedures see it. Any call may fail by raising a RuntimeError.
class TextBox
{
public:
    virtual ~TextBox() = default;

    // The current text, in UTF-16 units.
    virtual std::u16string text() const = 0;
    // Replaces the text. The box's change event runs to its end before this returns, so a
    // procedure bound to it runs nested inside the write.
    virtual void setText(std::u16string_view text) = 0;
    // Puts the caret at `position`, or after the last character when that lies beyond the end.
    virtual void setSelStart(int position) = 0;

protected:
    TextBox() = default;
    TextBox(const TextBox &) = default;
    TextBox &operator=(const TextBox &) = default;
};

} // namespace runtime
