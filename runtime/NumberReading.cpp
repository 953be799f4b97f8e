#include "NumberReading.h"

#include "RuntimeError.h"

#include <charconv>
#include <cstdint>
#include <limits>
#include <string>

namespace runtime {

namespace {

// Every kind of space, and the marks that show nothing (byte-order mark, zero-width characters,
// direction marks, embeddings and isolates), so that what is read is what a text box shows.
bool isBlank(char16_t c)
{
    switch (c) {
    case u' ':
    case u'\t':
    case u'\n':
    case u'\u00A0':
    case u'\u061C':
    case u'\u1680':
    case u'\u202F':
    case u'\u205F':
    case u'\u2060':
    case u'\u3000':
    case u'\uFEFF':
        return true;
    default:
        return (c >= u'\u2000' && c <= u'\u200F') || (c >= u'\u202A' && c <= u'\u202E')
            || (c >= u'\u2066' && c <= u'\u2069');
    }
}

// Walks a text, passing over blanks wherever they stand.
class Cursor
{
public:
    explicit Cursor(std::u16string_view text)
        : m_text(text)
    {
    }

    char16_t peek()
    {
        skipBlanks();
        return m_pos < m_text.size() ? m_text[m_pos] : u'\0';
    }
    void advance() { ++m_pos; }

private:
    void skipBlanks()
    {
        while (m_pos < m_text.size() && isBlank(m_text[m_pos]))
            ++m_pos;
    }

    std::u16string_view m_text;
    std::size_t m_pos = 0;
};

bool isDigit(char16_t c)
{
    return c >= u'0' && c <= u'9';
}

int digitValue(char16_t c, int radix)
{
    int value = radix;
    if (c >= u'0' && c <= u'9')
        value = c - u'0';
    else if (c >= u'a' && c <= u'f')
        value = c - u'a' + 10;
    else if (c >= u'A' && c <= u'F')
        value = c - u'A' + 10;
    return value < radix ? value : -1;
}

double readRadix(Cursor &cursor, int radix)
{
    std::uint64_t value = 0;
    for (int digit = digitValue(cursor.peek(), radix); digit >= 0; digit = digitValue(cursor.peek(), radix)) {
        value = value * static_cast<unsigned>(radix) + static_cast<unsigned>(digit);
        if (value > std::numeric_limits<std::uint32_t>::max())
            throw RuntimeError(ErrorNumber::Overflow);
        cursor.advance();
    }
    if (value <= std::numeric_limits<std::uint16_t>::max())
        return static_cast<std::int16_t>(static_cast<std::uint16_t>(value));
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
}

// Past this an exponent only says "far out of range"; capping it keeps the arithmetic exact.
constexpr std::int64_t exponentCap = 1'000'000'000;

double readDecimal(Cursor &cursor)
{
    std::string clean; // the number in the form from_chars takes: digits, '.', 'e', '-'
    if (cursor.peek() == u'-' || cursor.peek() == u'+') {
        if (cursor.peek() == u'-')
            clean += '-';
        cursor.advance();
    }

    std::int64_t integerDigits = 0;
    std::int64_t firstSignificant = -1; // index, among all mantissa digits, of the first non-zero one
    std::int64_t mantissaDigits = 0;
    bool seenPoint = false;
    for (char16_t c = cursor.peek(); isDigit(c) || (c == u'.' && !seenPoint); c = cursor.peek()) {
        if (c == u'.') {
            seenPoint = true;
        } else {
            if (firstSignificant < 0 && c != u'0')
                firstSignificant = mantissaDigits;
            ++mantissaDigits;
            if (!seenPoint)
                ++integerDigits;
        }
        clean += static_cast<char>(c);
        cursor.advance();
    }
    if (firstSignificant < 0) // no digits, or zeros only
        return 0.0;

    std::int64_t exponent = 0;
    const char16_t marker = cursor.peek();
    if (marker == u'E' || marker == u'e' || marker == u'D' || marker == u'd') {
        cursor.advance();
        bool negative = false;
        if (cursor.peek() == u'-' || cursor.peek() == u'+') {
            negative = cursor.peek() == u'-';
            cursor.advance();
        }
        for (char16_t c = cursor.peek(); isDigit(c); c = cursor.peek()) {
            if (exponent < exponentCap)
                exponent = exponent * 10 + (c - u'0');
            cursor.advance();
        }
        if (negative)
            exponent = -exponent;
        clean += 'e';
        clean += std::to_string(exponent);
    }

    double value = 0.0;
    const auto [end, error] = std::from_chars(clean.data(), clean.data() + clean.size(), value);
    if (error == std::errc::result_out_of_range) {
        // The decimal exponent of the leading significant digit tells overflow from underflow.
        if (integerDigits - firstSignificant - 1 + exponent >= 0)
            throw RuntimeError(ErrorNumber::Overflow);
        return 0.0;
    }
    return value;
}

} // namespace

double readNumber(std::u16string_view text)
{
    Cursor cursor(text);
    if (cursor.peek() != u'&')
        return readDecimal(cursor);

    cursor.advance();
    const char16_t kind = cursor.peek();
    cursor.advance();
    if (kind == u'H' || kind == u'h')
        return readRadix(cursor, 16);
    if (kind == u'O' || kind == u'o')
        return readRadix(cursor, 8);
    return 0.0;
}

} // namespace runtime
