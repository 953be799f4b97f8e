#include "SingleLineValidator.h"

#include <algorithm>

SingleLineValidator::SingleLineValidator(QObject *parent)
    : QValidator(parent)
{
}

// Only an insertion brings a line break, and Qt asks with the caret at the end of what came in:
// from the first break up to the caret is the rest of the insertion.
QValidator::State SingleLineValidator::validate(QString &input, int &pos) const
{
    const auto isBreak = [](QChar c) {
        return c == u'\n' || c == u'\r' || c == QChar(0x2028) || c == QChar(0x2029) || c == QChar(0x85) || c == u'\v'
            || c == u'\f';
    };
    const auto *const found = std::find_if(input.cbegin(), input.cend(), isBreak);
    if (found == input.cend())
        return Acceptable;
    const auto from = static_cast<int>(found - input.cbegin());
    const int to = std::clamp(pos, from + 1, static_cast<int>(input.size()));
    input.remove(from, to - from);
    pos = from;
    return Acceptable;
}
