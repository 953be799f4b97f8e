#pragma once

#include "MsgBox.h"

#include <string>
#include <vector>

namespace fake {

// A message box that records what it was asked to show and returns at once.
class MsgBox : public runtime::MsgBox
{
public:
    void show(std::u16string_view prompt, runtime::MsgBoxStyle style) override
    {
        prompts.emplace_back(prompt);
        styles.push_back(style);
    }

    std::vector<std::u16string> prompts;
    std::vector<runtime::MsgBoxStyle> styles;
};

} // namespace fake
