#pragma once

#include "BmiFields.h"
#include "MsgBox.h"

#include <string>

// The window's four bound events and what they run, the same for every front end: a front end
// only connects its own controls' click and change notifications to these. The core reaches the
// boxes and the message box through the runtime interfaces given here.
class Form1Events
{
public:
    Form1Events(const core::BmiFields &fields, runtime::MsgBox &msgBox);

    // Runs the calculation under the runtime's default handling. Returns what screen readers are
    // to be told of its results, since they land in boxes that do not have the focus; empty when
    // a message box was shown instead.
    std::u16string Command1_Click();
    void weight_Change();
    void heightf_Change();
    void ft_Change();

    // Whether one of the events' message boxes is open: while it is, a window refuses to close.
    bool isBoxOpen() const { return m_msgBox.open() > 0; }

private:
    // The boxes shown through it: how many so far, and how many are open now.
    class CountingMsgBox : public runtime::MsgBox
    {
    public:
        explicit CountingMsgBox(runtime::MsgBox &shown);
        void show(std::u16string_view prompt, runtime::MsgBoxStyle style) override;
        int timesShown() const { return m_timesShown; }
        int open() const { return m_open; }

    private:
        runtime::MsgBox &m_shown;
        int m_timesShown = 0;
        int m_open = 0;
    };

    core::BmiFields m_fields;
    CountingMsgBox m_msgBox;
};
