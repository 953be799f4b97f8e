#include "FakeForm.h"
#include "TableRow.h"

#include <gtest/gtest.h>

namespace {

using fake::Call;
using fake::Op;
using tables::PrintTo;

// One box with the rule bound to its change, as on the window.
struct LimitedBox
{
    LimitedBox(int limit, std::u16string_view text)
        : limit(limit)
    {
        box.value = text;
        box.caret = static_cast<int>(text.size()) / 2;
        box.onChange = [this] { core::LimitLength(box, this->limit); };
    }

    // The user's edit: the box's text changes and its change event runs.
    void edit(std::u16string_view text)
    {
        box.value = text;
        core::LimitLength(box, limit);
    }

    int limit;
    std::vector<Call> log;
    int depth = 0;
    fake::TextBox box{"field", log, depth};
};

struct LengthRow
{
    const char *name;
    int limit;
    std::u16string_view text;
    std::u16string_view kept;
};

using LimitLengthTest = testing::TestWithParam<LengthRow>;

TEST_P(LimitLengthTest, KeepsTheFirstLimitUnits)
{
    const LengthRow &row = GetParam();
    LimitedBox field(row.limit, u"");
    field.edit(row.text);
    EXPECT_EQ(field.box.value, row.kept);
    if (row.text.size() > static_cast<std::size_t>(row.limit))
        EXPECT_EQ(field.box.caret, static_cast<int>(row.kept.size()));
    else
        EXPECT_TRUE(std::none_of(field.log.begin(), field.log.end(), [](const Call &c) { return c.op != Op::Read; }))
            << "a text within the limit was touched";
}

INSTANTIATE_TEST_SUITE_P(Table,
                         LimitLengthTest,
                         testing::Values(LengthRow{"empty", 3, u"", u""},
                                         LengthRow{"weight_under", 3, u"15", u"15"},
                                         LengthRow{"weight_at", 3, u"150", u"150"},
                                         LengthRow{"weight_over", 3, u"1500", u"150"},
                                         LengthRow{"weight_pasted", 3, u"abcdef", u"abc"},
                                         LengthRow{"weight_point", 3, u"5.5", u"5.5"},
                                         LengthRow{"feet_at", 1, u"5", u"5"},
                                         LengthRow{"feet_typed_in_front", 1, u"65", u"6"},
                                         LengthRow{"inches_at", 2, u"10", u"10"},
                                         LengthRow{"inches_typed_inside", 2, u"110", u"11"},
                                         LengthRow{"inches_pasted_after_one", 2, u"1xyz", u"1x"},
                                         LengthRow{"letters", 2, u"ab", u"ab"},
                                         LengthRow{"blank_and_digit", 2, u" 1", u" 1"},
                                         LengthRow{"sign", 2, u"-5", u"-5"},
                                         LengthRow{"point", 2, u"1.", u"1."},
                                         LengthRow{"blanks_count", 2, u"   ", u"  "},
                                         LengthRow{"surrogate_pair_counts_two", 2, u"\U0001F600", u"\U0001F600"},
                                         LengthRow{"surrogate_pair_goes_whole", 1, u"\U0001F600", u""},
                                         LengthRow{"surrogate_pair_after_digit", 2, u"1\U0001F600", u"1"},
                                         LengthRow{
                                             "surrogate_pairs_over_limit", 3, u"\U0001F600\U0001F600", u"\U0001F600"},
                                         LengthRow{"surrogate_pair_before_cut",
                                                   3,
                                                   u"\U0001F600"
                                                   u"12",
                                                   u"\U0001F600"
                                                   u"1"},
                                         LengthRow{"lone_high_surrogate_kept", 2, u"1\xD83Dx", u"1\xD83D"}),
                         testing::PrintToStringParamName());

TEST(LimitLengthRunTest, ACutRunsTheRuleOnceNestedThenSetsTheCaret)
{
    LimitedBox field(3, u"");
    field.edit(u"1500");
    const std::vector<Call> expected{
        {"field", Op::Read, u"1500", -1, 0},  // length test
        {"field", Op::Read, u"1500", -1, 0},  // the cut reads afresh
        {"field", Op::Write, u"150", -1, 0},  // the cut
        {"field", Op::Read, u"150", -1, 1},   // the nested run finds the limit and ends
        {"field", Op::SelStart, u"", 100, 0}, // the caret, after the nested run returned
    };
    EXPECT_EQ(field.log, expected);
    EXPECT_EQ(field.box.caret, 3);
}

// Which operations fail, by the order of their calls on the box in one run of the rule.
struct FailureRow
{
    const char *name;
    std::u16string_view text;
    std::function<bool(Op, int)> failWhen;
    std::u16string_view kept;
    int caret;
};

using LimitLengthFailureTest = testing::TestWithParam<FailureRow>;

TEST_P(LimitLengthFailureTest, GoesOnWithTheNextStep)
{
    const FailureRow &row = GetParam();
    LimitedBox field(2, u"");
    field.box.value = row.text;
    field.box.caret = 0;
    field.box.failWhen = row.failWhen;
    EXPECT_NO_THROW(core::LimitLength(field.box, 2));
    EXPECT_EQ(field.box.value, row.kept);
    EXPECT_EQ(field.box.caret, row.caret);
}

INSTANTIATE_TEST_SUITE_P(
    Table,
    LimitLengthFailureTest,
    testing::Values(
        // A failed length test still cuts and sets the caret.
        FailureRow{"length_read_fails_over", u"123", [](Op op, int n) { return op == Op::Read && n == 0; }, u"12", 2},
        FailureRow{"length_read_fails_within", u"1", [](Op op, int n) { return op == Op::Read && n == 0; }, u"1", 1},
        // A failed cut leaves the text, over the limit, and still sets the caret.
        FailureRow{"cut_read_fails", u"123", [](Op op, int n) { return op == Op::Read && n == 1; }, u"123", 3},
        FailureRow{"cut_write_fails", u"123", [](Op op, int) { return op == Op::Write; }, u"123", 3},
        // A failed caret ends the run quietly with the text cut and the caret where the write left it.
        FailureRow{"caret_fails", u"123", [](Op op, int) { return op == Op::SelStart; }, u"12", 0},
        FailureRow{"everything_fails", u"123", [](Op, int) { return true; }, u"123", 0}),
    testing::PrintToStringParamName());

TEST(LimitLengthFailureTest, NoCombinationOfFailuresEscapesOrLeavesALongTextAfterAWrite)
{
    // Every subset of the first eight calls failing, on texts under, at and over the limit.
    for (const std::u16string_view text : {u"", u"1", u"12", u"123", u"12345"}) {
        for (unsigned mask = 0; mask < 256; ++mask) {
            LimitedBox field(2, u"");
            field.box.value = text;
            int call = 0;
            field.box.failWhen = [&](Op, int) { return call < 8 && ((mask >> call++) & 1u) != 0; };
            ASSERT_NO_THROW(core::LimitLength(field.box, 2)) << "mask " << mask;
            const bool wrote
                = std::any_of(field.log.begin(), field.log.end(), [](const Call &c) { return c.op == Op::Write; });
            if (wrote)
                EXPECT_LE(field.box.value.size(), 2u) << "mask " << mask;
            else
                EXPECT_EQ(field.box.value, text) << "mask " << mask;
            EXPECT_LE(field.depth, 0);
        }
    }
}

} // namespace
