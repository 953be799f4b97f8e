#pragma once

#include "BmiFields.h"
#include "CalculateBmi.h"
#include "Form1Events.h"
#include "LimitLength.h"
#include "MsgBox.h"
#include "RecordingMsgBox.h"
#include "RuntimeError.h"
#include "TextBox.h"

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

namespace fake {

enum class Op { Read, Write, SelStart };

// One call on a fake text box, with how deep inside change events it was made.
struct Call
{
    std::string box;
    Op op;
    std::u16string text; // read or written
    int position = -1;   // selection start asked for
    int depth = 0;

    bool operator==(const Call &) const = default;
};

// A text box that records every call, runs its change hook inside a write that changes the text
// (so nested runs are real), and fails whichever calls the test asks it to.
class TextBox : public runtime::TextBox
{
public:
    TextBox(std::string name, std::vector<Call> &log, int &depth)
        : m_name(std::move(name))
        , m_log(log)
        , m_depth(depth)
    {
    }

    std::u16string text() const override
    {
        fail(Op::Read);
        m_log.push_back({m_name, Op::Read, value, -1, m_depth});
        return value;
    }

    void setText(std::u16string_view text) override
    {
        fail(Op::Write);
        m_log.push_back({m_name, Op::Write, std::u16string(text), -1, m_depth});
        if (text == value)
            return;
        value = text;
        caret = 0;
        if (onChange) {
            ++m_depth;
            onChange();
            --m_depth;
        }
    }

    void setSelStart(int position) override
    {
        fail(Op::SelStart);
        m_log.push_back({m_name, Op::SelStart, {}, position, m_depth});
        caret = std::min(position, static_cast<int>(value.size()));
    }

    std::u16string value;
    int caret = 0;
    std::function<void()> onChange;
    // Asked before each call with the operation and how many calls of it came before on this box.
    std::function<bool(Op, int)> failWhen;

private:
    void fail(Op op) const
    {
        const int ordinal = m_calls[static_cast<int>(op)]++;
        if (failWhen && failWhen(op, ordinal))
            throw runtime::RuntimeError(runtime::ErrorNumber::ObjectRequired);
    }

    std::string m_name;
    std::vector<Call> &m_log;
    int &m_depth;
    mutable int m_calls[3] = {};
};

// The five boxes of the window, their changes bound as the window binds them.
struct Form
{
    Form(std::u16string_view w, std::u16string_view f, std::u16string_view i)
    {
        weight.value = w;
        heightf.value = f;
        ft.value = i;
        weight.onChange = [this] { events.weight_Change(); };
        heightf.onChange = [this] { events.heightf_Change(); };
        ft.onChange = [this] { events.ft_Change(); };
    }

    void calculate() { core::CalculateBmi({weight, heightf, ft, bdmass, nutrition}, msgBox); }

    std::vector<Call> writes() const
    {
        std::vector<Call> result;
        std::copy_if(
            log.begin(), log.end(), std::back_inserter(result), [](const Call &c) { return c.op == Op::Write; });
        return result;
    }

    std::vector<Call> log;
    int depth = 0;
    TextBox weight{"weight", log, depth};
    TextBox heightf{"heightf", log, depth};
    TextBox ft{"ft", log, depth};
    TextBox bdmass{"bdmass", log, depth};
    TextBox nutrition{"nutrition", log, depth};
    MsgBox msgBox;
    Form1Events events{{weight, heightf, ft, bdmass, nutrition}, msgBox};
};

} // namespace fake
