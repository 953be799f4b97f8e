#pragma once

#include "RuntimeError.h"
#include "TableRow.h"
#include "TextBox.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

// What every runtime::TextBox promises, written once and run over each implementation. A test
// program includes this header once and instantiates the suite with its own boxes:
//   INSTANTIATE_TEST_SUITE_P(LineEditTextBox, TextBoxContract, testing::Values(contract::Maker{"Qt",
//   contract::make<LineEditUnderTest>}),
//                            testing::PrintToStringParamName());
namespace contract {

// One box under test, with what the interface itself does not offer: binding its change event,
// reading its caret and breaking it the way a real box breaks.
class BoxUnderTest
{
public:
    virtual ~BoxUnderTest() = default;

    virtual runtime::TextBox &box() = 0;
    virtual void onChange(std::function<void()> hook) = 0;
    virtual int caret() = 0;
    // Every later call on box() fails, as a box whose control is gone.
    virtual void breakBox() = 0;
};

struct Maker
{
    const char *name;
    std::unique_ptr<BoxUnderTest> (*make)();
};

template<typename Box>
std::unique_ptr<BoxUnderTest> make()
{
    return std::make_unique<Box>();
}

using tables::PrintTo;

} // namespace contract

class TextBoxContract : public testing::TestWithParam<contract::Maker>
{
protected:
    struct Event
    {
        std::u16string text;
        int caret;
        bool insideWrite;

        bool operator==(const Event &) const = default;
        friend void PrintTo(const Event &event, std::ostream *os)
        {
            *os << '"' << std::string(event.text.begin(), event.text.end()) << "\" caret " << event.caret
                << (event.insideWrite ? " inside" : " outside") << " the write";
        }
    };

    void SetUp() override
    {
        subject = GetParam().make();
        subject->onChange([this] { events.push_back({box().text(), subject->caret(), writing}); });
    }

    runtime::TextBox &box() { return subject->box(); }

    void write(std::u16string_view text)
    {
        writing = true;
        box().setText(text);
        writing = false;
    }

    std::unique_ptr<contract::BoxUnderTest> subject;
    std::vector<Event> events;
    bool writing = false;
};

TEST_P(TextBoxContract, WriteThatChangesTheTextRaisesOneEventInsideIt)
{
    write(u"abc");
    write(u"abcd");
    EXPECT_EQ(events, (std::vector<Event>{{u"abc", 0, true}, {u"abcd", 0, true}}));
    EXPECT_EQ(box().text(), u"abcd");
}

TEST_P(TextBoxContract, WriteOfTheSameTextRaisesNone)
{
    write(u"");
    write(u"abc");
    write(u"abc");
    EXPECT_EQ(events.size(), 1U);
}

TEST_P(TextBoxContract, CaretStandsAtTheStartWhenTheEventRuns)
{
    write(u"abc");
    box().setSelStart(3);
    write(u"abx");
    ASSERT_EQ(events.size(), 2U);
    EXPECT_EQ(events[1].caret, 0);
    EXPECT_EQ(subject->caret(), 0);
}

TEST_P(TextBoxContract, SelStartBeyondTheEndPutsTheCaretAfterTheLastCharacter)
{
    write(u"abc");
    box().setSelStart(1);
    EXPECT_EQ(subject->caret(), 1);
    box().setSelStart(99);
    EXPECT_EQ(subject->caret(), 3);
}

TEST_P(TextBoxContract, BrokenBoxRaisesTheRuntimesError)
{
    write(u"abc");
    subject->breakBox();
    const auto raisesObjectRequired = [](const std::function<void()> &call) {
        try {
            call();
        } catch (const runtime::RuntimeError &error) {
            return error.number() == runtime::ErrorNumber::ObjectRequired;
        }
        return false;
    };
    EXPECT_TRUE(raisesObjectRequired([this] { static_cast<void>(box().text()); }));
    EXPECT_TRUE(raisesObjectRequired([this] { box().setText(u"x"); }));
    EXPECT_TRUE(raisesObjectRequired([this] { box().setSelStart(0); }));
    EXPECT_EQ(events.size(), 1U);
}
