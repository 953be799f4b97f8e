#include "NumberReading.h"
#include "RuntimeError.h"
#include "TableRow.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using tables::PrintTo;

struct Reading
{
    const char *name;
    std::u16string_view text;
    double expected;
};

using NumberReadingTest = testing::TestWithParam<Reading>;

TEST_P(NumberReadingTest, ReadsTheLeadingNumber)
{
    const Reading &row = GetParam();
    const double value = runtime::readNumber(row.text);
    EXPECT_EQ(value, row.expected) << "text of " << row.text.size() << " units";
    EXPECT_FALSE(std::signbit(value) && row.expected == 0.0 && !std::signbit(row.expected));
}

INSTANTIATE_TEST_SUITE_P(Table,
                         NumberReadingTest,
                         testing::Values(
                             // Nothing to read is zero, not an error.
                             Reading{"empty", u"", 0.0},
                             Reading{"blanks_only", u" \t\n", 0.0},
                             Reading{"letters", u"abc", 0.0},
                             Reading{"lone_point", u".", 0.0},
                             Reading{"lone_sign", u"-", 0.0},
                             Reading{"carriage_return_is_not_skipped", u"\r5", 0.0},
                             // Plain numbers.
                             Reading{"whole", u"150", 150.0},
                             Reading{"leading_zeros", u"007", 7.0},
                             Reading{"decimal", u"5.5", 5.5},
                             Reading{"point_first", u".1", 0.1},
                             Reading{"point_last", u"5.", 5.0},
                             Reading{"correctly_rounded", u"0.1", 0.1},
                             // Blanks, tabs and line feeds are skipped anywhere.
                             Reading{"blanks_between_digits", u" 1 2 3", 123.0},
                             Reading{"tab_and_line_feed", u"1\t2\n3", 123.0},
                             Reading{"blank_after_sign", u"- 5", -5.0},
                             Reading{"blank_in_exponent", u"1 e 2", 100.0},
                             // So are other spaces and the marks that show nothing, wherever they stand.
                             Reading{"zero_width_space_first", u"\u200B1", 1.0},
                             Reading{"no_break_space_between_digits", u"1\u00A00", 10.0},
                             Reading{"byte_order_mark_and_isolate", u"\uFEFF\u20692", 2.0},
                             Reading{"direction_mark_after_sign", u"-\u200F5", -5.0},
                             Reading{"ideographic_space_in_exponent", u"1e\u30002", 100.0},
                             Reading{"line_separator_is_not_skipped", u"\u20285", 0.0},
                             // Signs.
                             Reading{"minus", u"-2", -2.0},
                             Reading{"plus", u"+2", 2.0},
                             Reading{"two_signs", u"--2", 0.0},
                             Reading{"sign_after_digits_stops", u"2-3", 2.0},
                             // Exponents, E or D, with their own sign.
                             Reading{"exponent_E", u"1E3", 1000.0},
                             Reading{"exponent_lower_e", u"1e3", 1000.0},
                             Reading{"exponent_D", u"1D3", 1000.0},
                             Reading{"exponent_lower_d", u"2.5d-1", 0.25},
                             Reading{"exponent_plus", u"1e+2", 100.0},
                             Reading{"exponent_minus", u"1e-2", 0.01},
                             Reading{"exponent_without_digits", u"1e", 1.0},
                             Reading{"exponent_sign_without_digits", u"1e-", 1.0},
                             Reading{"largest_double", u"1.7976931348623157e308", 1.7976931348623157e308},
                             Reading{"underflow_reads_zero", u"1e-400", 0.0},
                             Reading{"huge_negative_exponent", u"5e-99999999999999", 0.0},
                             Reading{"zero_with_huge_exponent", u"0e99999", 0.0},
                             // Reading stops at the first character that cannot continue the number.
                             Reading{"trailing_letter", u"5a", 5.0},
                             Reading{"second_point", u"1.2.3", 1.2},
                             Reading{"comma_is_no_separator", u"1,5", 1.0},
                             // Hexadecimal and octal, 16-bit then 32-bit signed.
                             Reading{"hex", u"&HFF", 255.0},
                             Reading{"hex_lower", u"&hff", 255.0},
                             Reading{"hex_16_bit_wraps", u"&HFFFF", -1.0},
                             Reading{"hex_16_bit_sign", u"&H8000", -32768.0},
                             Reading{"hex_32_bit", u"&H10000", 65536.0},
                             Reading{"hex_32_bit_wraps", u"&HFFFFFFFF", -1.0},
                             Reading{"hex_stops_at_non_digit", u"&H1G", 1.0},
                             Reading{"hex_without_digits", u"&H", 0.0},
                             Reading{"octal", u"&O17", 15.0},
                             Reading{"octal_stops_at_8", u"&O18", 1.0},
                             Reading{"octal_16_bit_wraps", u"&O177777", -1.0},
                             Reading{"ampersand_alone", u"&", 0.0},
                             Reading{"ampersand_other", u"&X1", 0.0},
                             // Characters beyond ASCII end the number.
                             Reading{"fullwidth_digit_stops", u"1\uFF12", 1.0},
                             Reading{"surrogate_pair_stops", u"7\U0001F600", 7.0}),
                         testing::PrintToStringParamName());

using NumberReadingOverflowTest = testing::TestWithParam<std::u16string_view>;

TEST_P(NumberReadingOverflowTest, RaisesOverflow)
{
    try {
        runtime::readNumber(GetParam());
        FAIL() << "no error raised";
    } catch (const runtime::RuntimeError &error) {
        EXPECT_EQ(error.number(), runtime::ErrorNumber::Overflow);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table,
    NumberReadingOverflowTest,
    testing::Values(u"1e309", u"-1e309", u"1.8e308", u"1e99999999999999", u"&H100000000", u"&O40000000000"));

TEST(NumberReadingLongTextTest, ReadsAManyDigitNumberCorrectlyRounded)
{
    std::u16string text(400, u'0');
    text[0] = u'1';
    text += u"e-399";
    EXPECT_EQ(runtime::readNumber(text), 1.0);
}

} // namespace
