#pragma once

#include <string_view>

namespace runtime {

// The classic style values the program passes.
enum class MsgBoxStyle : int {
    Critical = 16, // the stop sign, with an OK button
};

// The modal message box: shows a prompt captioned with the application's title and returns once
// the user has dismissed it. Which button dismissed it is of no interest to the program.
class MsgBox
{
public:
    virtual ~MsgBox() = default;
    virtual void show(std::u16string_view prompt, MsgBoxStyle style) = 0;

protected:
    MsgBox() = default;
    MsgBox(const MsgBox &) = default;
    MsgBox &operator=(const MsgBox &) = default;
};

} // namespace runtime
