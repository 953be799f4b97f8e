#include "Conversions.h"
#include "RuntimeError.h"
#include "TableRow.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

using tables::PrintTo;

struct TextRow
{
    const char *name;
    double value;
    std::u16string_view text;
};

using NumberToTextTest = testing::TestWithParam<TextRow>;

TEST_P(NumberToTextTest, WritesTheValue)
{
    EXPECT_EQ(runtime::numberToText(GetParam().value), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Table,
                         NumberToTextTest,
                         testing::Values(TextRow{"zero", 0.0, u"0"},
                                         TextRow{"small_whole", 2.0, u"2"},
                                         TextRow{"whole_feet", 8.0, u"8"},
                                         TextRow{"negative_whole", -3.0, u"-3"},
                                         TextRow{"fifteen_digits", 999999999999999.0, u"999999999999999"},
                                         TextRow{"sixteen_digits_goes_scientific", 1e15, u"1E+15"},
                                         TextRow{"large", 1e20, u"1E+20"},
                                         TextRow{"fraction", 0.5, u"0.5"},
                                         TextRow{
                                             "repeating_fraction_15_digits", 5.0 + 12.4 / 12.0, u"6.03333333333333"},
                                         TextRow{"tiny", 1e-5, u"1E-05"}),
                         testing::PrintToStringParamName());

struct IntRow
{
    const char *name;
    double value;
    std::int32_t expected;
};

using NearestInt32Test = testing::TestWithParam<IntRow>;

TEST_P(NearestInt32Test, RoundsHalvesToEven)
{
    EXPECT_EQ(runtime::nearestInt32(GetParam().value), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Table,
                         NearestInt32Test,
                         testing::Values(IntRow{"half_to_zero", 0.5, 0},
                                         IntRow{"one_and_half_to_two", 1.5, 2},
                                         IntRow{"two_and_half_to_two", 2.5, 2},
                                         IntRow{"negative_half", -2.5, -2},
                                         IntRow{"negative_three_and_half", -3.5, -4},
                                         IntRow{"below_half", 12.49, 12},
                                         IntRow{"above_half", 12.51, 13},
                                         IntRow{"largest", 2147483647.0, 2147483647},
                                         IntRow{"largest_minus_half", 2147483646.5, 2147483646},
                                         IntRow{"smallest", -2147483648.0, -2147483648},
                                         IntRow{"smallest_minus_half_to_even", -2147483648.5, -2147483648}),
                         testing::PrintToStringParamName());

using NearestInt32OverflowTest = testing::TestWithParam<double>;

TEST_P(NearestInt32OverflowTest, RaisesOverflow)
{
    try {
        runtime::nearestInt32(GetParam());
        FAIL() << "no error raised for " << GetParam();
    } catch (const runtime::RuntimeError &error) {
        EXPECT_EQ(error.number(), runtime::ErrorNumber::Overflow);
    }
}

INSTANTIATE_TEST_SUITE_P(Table,
                         NearestInt32OverflowTest,
                         testing::Values(2147483647.5,
                                         2147483648.0,
                                         -2147483649.0,
                                         1e10,
                                         std::numeric_limits<double>::infinity(),
                                         -std::numeric_limits<double>::infinity(),
                                         std::numeric_limits<double>::quiet_NaN()));

TEST(CheckFloatingPointTest, PassesFiniteResultsThrough)
{
    EXPECT_EQ(runtime::checkFloatingPoint(1.5), 1.5);
    EXPECT_EQ(runtime::checkFloatingPoint(std::numeric_limits<double>::max()), std::numeric_limits<double>::max());
    EXPECT_EQ(runtime::checkFloatingPoint(std::numeric_limits<double>::denorm_min()),
              std::numeric_limits<double>::denorm_min());
}

TEST(CheckFloatingPointTest, RaisesOverflowForFaultResults)
{
    for (const double fault : {std::numeric_limits<double>::infinity(),
                               -std::numeric_limits<double>::infinity(),
                               std::numeric_limits<double>::quiet_NaN()}) {
        EXPECT_THROW(runtime::checkFloatingPoint(fault), runtime::RuntimeError) << fault;
    }
}

} // namespace
