#include "FakeForm.h"
#include "TableRow.h"

#include <gtest/gtest.h>

namespace {

using fake::Call;
using fake::Op;
using tables::PrintTo;

constexpr std::u16string_view invalid = u"Invalid data.  Please check and re-enter!";

// An accepted calculation: what the four written boxes show afterwards.
struct Accepted
{
    const char *name;
    std::u16string_view weight, heightf, ft;
    std::u16string_view shownFeet, shownInches, category, index;
};

using AcceptedTest = testing::TestWithParam<Accepted>;

TEST_P(AcceptedTest, ShowsIndexAndCategory)
{
    const Accepted &row = GetParam();
    fake::Form form(row.weight, row.heightf, row.ft);
    form.calculate();
    EXPECT_TRUE(form.msgBox.prompts.empty());
    EXPECT_EQ(form.heightf.value, row.shownFeet);
    EXPECT_EQ(form.ft.value, row.shownInches);
    EXPECT_EQ(form.nutrition.value, row.category);
    EXPECT_EQ(form.bdmass.value, row.index);
    EXPECT_EQ(form.weight.value, row.weight);
}

INSTANTIATE_TEST_SUITE_P(
    WorkedCases,
    AcceptedTest,
    testing::Values(
        Accepted{"typical", u"150", u"5", u"10", u"5", u"10", u"Desirable", u"22"},
        Accepted{"rewrite_14_inches", u"180", u"5", u"14", u"6", u"2", u"Desirable", u"23"},
        Accepted{"rewrite_12_inches", u"150", u"5", u"12", u"6", u"0", u"Desirable", u"20"},
        Accepted{"rewrite_99_inches", u"150", u"0", u"99", u"8", u"3", u"Underweight", u"11"},
        Accepted{"eleven_inches_stay", u"150", u"5", u"11", u"5", u"11", u"Desirable", u"21"},
        Accepted{"underweight", u"100", u"5", u"10", u"5", u"10", u"Underweight", u"14"},
        Accepted{"prone", u"190", u"5", u"10", u"5", u"10", u"prone to health risks", u"27"},
        Accepted{"obese", u"220", u"5", u"10", u"5", u"10", u"Obese", u"32"},
        Accepted{"extremely_obese", u"300", u"5", u"10", u"5", u"10", u"Extremely obese", u"43"},
        Accepted{"exactly_19", u"148", u"6", u"2", u"6", u"2", u"Desirable", u"19"},
        Accepted{"exactly_38", u"296", u"6", u"2", u"6", u"2", u"Obese", u"38"},
        Accepted{"category_on_unrounded_value_below_19", u"132", u"5", u"10", u"5", u"10", u"Underweight", u"19"},
        Accepted{"category_on_unrounded_value_above_40", u"279", u"5", u"10", u"5", u"10", u"Extremely obese", u"40"}),
    testing::PrintToStringParamName());

INSTANTIATE_TEST_SUITE_P(
    Bounds,
    AcceptedTest,
    testing::Values(Accepted{"weight_36", u"36", u"5", u"10", u"5", u"10", u"Underweight", u"5"},
                    Accepted{"weight_499", u"499", u"5", u"10", u"5", u"10", u"Extremely obese", u"72"},
                    Accepted{"height_49_inches", u"150", u"4", u"1", u"4", u"1", u"Extremely obese", u"44"},
                    Accepted{"height_119_inches", u"150", u"9", u"11", u"9", u"11", u"Underweight", u"7"},
                    Accepted{"smallest_index", u"36", u"9", u"11", u"9", u"11", u"Underweight", u"2"},
                    Accepted{"largest_index", u"499", u"4", u".1", u"4", u".1", u"Extremely obese", u"152"}),
    testing::PrintToStringParamName());

INSTANTIATE_TEST_SUITE_P(
    OddInput,
    AcceptedTest,
    testing::Values(Accepted{"letter_for_feet", u"150", u"a", u"70", u"5", u"10", u"Desirable", u"22"},
                    Accepted{"negative_inches_stay", u"150", u"6", u"-2", u"6", u"-2", u"Desirable", u"22"},
                    Accepted{"blanks_inside", u" 9 9", u"5", u"10", u"5", u"10", u"Underweight", u"14"},
                    Accepted{"decimal_weight", u"50.", u"5", u"10", u"5", u"10", u"Underweight", u"7"},
                    Accepted{
                        "fractional_inches_cut_by_the_rule", u"150", u"5", u"12.4", u"6", u"0", u"Desirable", u"20"}),
    testing::PrintToStringParamName());

// Between 25 and 26 and between 29 and 30 the category follows the index shown beside it, instead
// of keeping whatever an earlier calculation wrote.
INSTANTIATE_TEST_SUITE_P(
    CategoryGaps,
    AcceptedTest,
    testing::Values(Accepted{"gap_25_shows_25", u"175", u"5", u"10", u"5", u"10", u"Desirable", u"25"},
                    Accepted{"gap_25_shows_26", u"180", u"5", u"10", u"5", u"10", u"prone to health risks", u"26"},
                    Accepted{"gap_29_shows_29", u"204", u"5", u"10", u"5", u"10", u"prone to health risks", u"29"},
                    Accepted{"gap_29_shows_30", u"208", u"5", u"10", u"5", u"10", u"Obese", u"30"}),
    testing::PrintToStringParamName());

TEST(CategoryGapTest, ReplacesTheCategoryOfAnEarlierCalculation)
{
    fake::Form form(u"150", u"5", u"10");
    form.calculate();
    ASSERT_EQ(form.nutrition.value, u"Desirable");
    form.weight.value = u"180";
    form.calculate();
    EXPECT_EQ(form.bdmass.value, u"26");
    EXPECT_EQ(form.nutrition.value, u"prone to health risks");
}

// A rejected calculation: the message, and not one box written.
struct Rejected
{
    const char *name;
    std::u16string_view weight, heightf, ft;
};

using RejectedTest = testing::TestWithParam<Rejected>;

TEST_P(RejectedTest, ShowsTheMessageAndWritesNothing)
{
    const Rejected &row = GetParam();
    fake::Form form(row.weight, row.heightf, row.ft);
    form.bdmass.value = u"earlier index";
    form.nutrition.value = u"earlier category";
    form.calculate();
    ASSERT_EQ(form.msgBox.prompts.size(), 1u);
    EXPECT_EQ(form.msgBox.prompts[0], invalid);
    EXPECT_EQ(form.msgBox.styles[0], runtime::MsgBoxStyle::Critical);
    EXPECT_TRUE(form.writes().empty());
    EXPECT_EQ(form.weight.value, row.weight);
    EXPECT_EQ(form.heightf.value, row.heightf);
    EXPECT_EQ(form.ft.value, row.ft);
    EXPECT_EQ(form.bdmass.value, u"earlier index");
    EXPECT_EQ(form.nutrition.value, u"earlier category");
}

INSTANTIATE_TEST_SUITE_P(Table,
                         RejectedTest,
                         testing::Values(Rejected{"all_empty", u"", u"", u""},
                                         Rejected{"height_empty", u"150", u"", u""},
                                         Rejected{"height_zero", u"150", u"0", u"0"},
                                         Rejected{"height_cancels_out", u"150", u"1", u"-12"},
                                         Rejected{"weight_empty", u"", u"5", u"10"},
                                         Rejected{"weight_letters", u"abc", u"5", u"10"},
                                         Rejected{"weight_35", u"35", u"5", u"10"},
                                         Rejected{"weight_500", u"500", u"5", u"10"},
                                         Rejected{"weight_negative", u"-99", u"5", u"10"},
                                         Rejected{"height_48_inches", u"150", u"4", u"0"},
                                         Rejected{"height_120_inches_keeps_what_was_typed", u"150", u"9", u"12"},
                                         Rejected{"height_negative", u"150", u"-", u"-9"}),
                         testing::PrintToStringParamName());

TEST(CalculateBmiOrderTest, ReadsOnceThenWritesFtHeightfNutritionBdmass)
{
    fake::Form form(u"180", u"5", u"14");
    form.calculate();
    // The three reads come first, once each; then every write, each change running the rule nested.
    const std::vector<Call> expected{
        {"weight", Op::Read, u"180", -1, 0},
        {"heightf", Op::Read, u"5", -1, 0},
        {"ft", Op::Read, u"14", -1, 0},
        {"ft", Op::Write, u"2", -1, 0},
        {"ft", Op::Read, u"2", -1, 1},
        {"heightf", Op::Write, u"6", -1, 0},
        {"heightf", Op::Read, u"6", -1, 1},
        {"nutrition", Op::Write, u"Desirable", -1, 0},
        {"bdmass", Op::Write, u"23", -1, 0},
    };
    EXPECT_EQ(form.log, expected);
}

TEST(CalculateBmiOrderTest, ASecondClickAfterARewriteComputesTheSameIndexWithoutRewriting)
{
    fake::Form form(u"150", u"0", u"99");
    form.calculate();
    const std::u16string firstIndex = form.bdmass.value;
    form.log.clear();
    form.calculate();
    EXPECT_EQ(form.bdmass.value, firstIndex);
    EXPECT_EQ(form.writes().size(), 2u); // nutrition and bdmass only
}

TEST(CalculateBmiOrderTest, RewriteOf99InchesPassesOnceThroughTheRuleAndCutsNothing)
{
    fake::Form form(u"150", u"0", u"99");
    form.calculate();
    EXPECT_EQ(form.ft.value, u"3");
    EXPECT_EQ(form.heightf.value, u"8");
    for (const char *box : {"ft", "heightf"}) {
        const auto nestedRuns = std::count_if(form.log.begin(), form.log.end(), [&](const Call &c) {
            return c.box == box && c.depth == 1 && c.op == Op::Read;
        });
        EXPECT_EQ(nestedRuns, 1) << box;
        const auto writes = std::count_if(
            form.log.begin(), form.log.end(), [&](const Call &c) { return c.box == box && c.op == Op::Write; });
        EXPECT_EQ(writes, 1) << box << ": the rule cut a rewritten height";
    }
}

// Figures no window box could hold, reached through the core, end in the Overflow run-time error;
// what was written before the fault stays.
struct Fault
{
    const char *name;
    std::u16string_view weight, heightf, ft;
    std::size_t writesBeforeFault;
};

using FaultTest = testing::TestWithParam<Fault>;

TEST_P(FaultTest, RaisesOverflowKeepingEarlierWrites)
{
    const Fault &row = GetParam();
    fake::Form form(row.weight, row.heightf, row.ft);
    form.ft.onChange = nullptr; // these figures are beyond what the length rule would let stand
    form.heightf.onChange = nullptr;
    try {
        form.calculate();
        FAIL() << "no run-time error";
    } catch (const runtime::RuntimeError &error) {
        EXPECT_EQ(error.number(), runtime::ErrorNumber::Overflow);
    }
    EXPECT_TRUE(form.msgBox.prompts.empty());
    EXPECT_EQ(form.writes().size(), row.writesBeforeFault);
}

INSTANTIATE_TEST_SUITE_P(Table,
                         FaultTest,
                         testing::Values(Fault{"feet_times_12_overflows", u"150", u"1e308", u"0", 0},
                                         Fault{"total_height_overflows", u"150", u"1.4e307", u"1.7e308", 0},
                                         Fault{"weight_times_703_overflows", u"1e308", u"5", u"10", 0},
                                         Fault{"inches_beyond_32_bits", u"150", u"-1e9", u"12000000070", 0},
                                         Fault{"number_reading_overflows", u"150", u"5", u"1e999", 0}),
                         testing::PrintToStringParamName());

TEST(FaultTest, AFailingWriteEndsTheRunAndKeepsWhatWasWritten)
{
    fake::Form form(u"180", u"5", u"14");
    form.nutrition.failWhen = [](Op op, int) { return op == Op::Write; };
    EXPECT_THROW(form.calculate(), runtime::RuntimeError);
    EXPECT_EQ(form.ft.value, u"2");
    EXPECT_EQ(form.heightf.value, u"6");
    EXPECT_EQ(form.bdmass.value, u"");
}

} // namespace
