#include "ResumeNext.h"

#include <gtest/gtest.h>

#include <new>
#include <string>

namespace {

using runtime::Step;

enum class Outcome { Returns, RaisesRunTimeError, RaisesOther };

// A step that notes its name in `trace`, then returns `then` or raises as `outcome` says.
auto step(std::string &trace, char name, Step then, Outcome outcome = Outcome::Returns)
{
    return [&trace, name, then, outcome] {
        trace += name;
        if (outcome == Outcome::RaisesRunTimeError)
            throw runtime::RuntimeError(runtime::ErrorNumber::Overflow);
        if (outcome == Outcome::RaisesOther)
            throw std::bad_alloc();
        return then;
    };
}

TEST(ResumeNextTest, RunsEveryStepInOrder)
{
    std::string trace;
    runtime::resumeNext(step(trace, 'a', Step::Next), step(trace, 'b', Step::Next), step(trace, 'c', Step::Next));
    EXPECT_EQ(trace, "abc");
}

TEST(ResumeNextTest, EndRunSkipsTheRest)
{
    std::string trace;
    runtime::resumeNext(step(trace, 'a', Step::EndRun), step(trace, 'b', Step::Next));
    EXPECT_EQ(trace, "a");
}

TEST(ResumeNextTest, AFailedStepGoesOnWithTheNextWhateverItWouldHaveDecided)
{
    std::string trace;
    runtime::resumeNext(step(trace, 'a', Step::EndRun, Outcome::RaisesRunTimeError),
                        step(trace, 'b', Step::EndRun, Outcome::RaisesRunTimeError),
                        step(trace, 'c', Step::Next));
    EXPECT_EQ(trace, "abc");
}

TEST(ResumeNextTest, OnlyRunTimeErrorsAreAbsorbed)
{
    std::string trace;
    EXPECT_THROW(runtime::resumeNext(step(trace, 'a', Step::Next, Outcome::RaisesOther), step(trace, 'b', Step::Next)),
                 std::bad_alloc);
    EXPECT_EQ(trace, "a");
}

} // namespace
