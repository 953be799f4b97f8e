#pragma once

#include "AppInfo.h"

#include <string_view>

namespace runtime {

// The caption of every message box, given explicitly rather than left to the window system.
inline constexpr std::u16string_view applicationTitle = u"" QUORVANE_TITLE;

// The classic style values the program passes.
enum class MsgBoxStyle : int {
    Critical = 16, // the stop sign, with an OK button
};

// The modal message box: shows a prompt captioned with applicationTitle and returns once the
// user has dismissed it. Which button dismissed it is of no interest to the program.
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
