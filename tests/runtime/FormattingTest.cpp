#include "Formatting.h"
#include "RuntimeError.h"
#include "Strings.h"
#include "TableRow.h"

#include <gtest/gtest.h>

namespace {

using tables::PrintTo;

struct FormatRow
{
    const char *name;
    double value;
    std::u16string_view text;
};

using FormatWholeTest = testing::TestWithParam<FormatRow>;

TEST_P(FormatWholeTest, ShowsTheRoundedWholeNumber)
{
    EXPECT_EQ(runtime::formatWhole(GetParam().value), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Table,
                         FormatWholeTest,
                         testing::Values(FormatRow{"rounds_down", 21.52, u"22"},
                                         FormatRow{"rounds_up", 14.34, u"14"},
                                         FormatRow{"exact", 19.0, u"19"},
                                         FormatRow{"half_away_from_zero", 24.5, u"25"},
                                         FormatRow{"half_at_15_digits", 24.499999999999996, u"25"},
                                         FormatRow{"just_below_half", 24.4999999999, u"24"},
                                         FormatRow{"three_digits", 151.6, u"152"},
                                         FormatRow{"more_digits_than_placeholders", 123456.0, u"123456"},
                                         FormatRow{"zero_shows_nothing", 0.0, u""},
                                         FormatRow{"rounds_to_zero_shows_nothing", 0.4, u""},
                                         FormatRow{"negative_rounds_to_zero_shows_nothing", -0.4, u""},
                                         FormatRow{"negative", -7.6, u"-8"},
                                         FormatRow{"negative_half", -2.5, u"-3"},
                                         FormatRow{"large", 1e20, u"100000000000000000000"}),
                         testing::PrintToStringParamName());

TEST(RoundForDisplayTest, AgreesWithTheFormattedDigits)
{
    EXPECT_EQ(runtime::roundForDisplay(25.5), 26.0);
    EXPECT_EQ(runtime::roundForDisplay(25.49), 25.0);
    EXPECT_EQ(runtime::roundForDisplay(29.5), 30.0);
    EXPECT_EQ(runtime::roundForDisplay(24.499999999999996), 25.0);
}

struct MidRow
{
    const char *name;
    std::u16string_view text;
    std::int32_t start;
    std::int32_t length;
    std::u16string_view expected;
};

using MidTest = testing::TestWithParam<MidRow>;

TEST_P(MidTest, TakesUtf16Units)
{
    EXPECT_EQ(runtime::mid(GetParam().text, GetParam().start, GetParam().length), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Table,
                         MidTest,
                         testing::Values(MidRow{"cut", u"1500", 1, 3, u"150"},
                                         MidRow{"shorter_text_whole", u"15", 1, 3, u"15"},
                                         MidRow{"empty", u"", 1, 2, u""},
                                         MidRow{"zero_length", u"abc", 1, 0, u""},
                                         MidRow{"from_inside", u"abcdef", 3, 2, u"cd"},
                                         MidRow{"start_past_end", u"abc", 9, 2, u""},
                                         MidRow{"splits_surrogate_pair", u"\U0001F600x", 1, 1, u"\xD83D"}),
                         testing::PrintToStringParamName());

TEST(MidTest, RejectsABadStartOrLength)
{
    EXPECT_THROW(runtime::mid(u"abc", 0, 1), runtime::RuntimeError);
    EXPECT_THROW(runtime::mid(u"abc", 1, -1), runtime::RuntimeError);
}

} // namespace
