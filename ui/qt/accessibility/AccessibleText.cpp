#include "AccessibleText.h"

#include <algorithm>
#include <utility>

namespace {

bool isWordCharacter(char32_t c)
{
    if (QChar::isLetterOrNumber(c))
        return true;
    switch (QChar::category(c)) {
    case QChar::Mark_NonSpacing:
    case QChar::Mark_SpacingCombining:
    case QChar::Mark_Enclosing:
    case QChar::Punctuation_Connector:
        return true;
    default:
        return false;
    }
}

bool isLineBreak(char32_t c)
{
    return c == U'\n' || c == U'\r' || c == 0x2028 || c == 0x2029 || c == 0x85;
}

bool endsSentence(char32_t c)
{
    return c == U'.' || c == U'!' || c == U'?' || c == 0x2026 || c == 0x3002 || c == 0xff01 || c == 0xff1f;
}

bool closesSentence(char32_t c)
{
    return c == U')' || c == U']' || c == U'"' || c == U'\'' || c == 0x2019 || c == 0x201d;
}

bool isLineKind(QAccessible::TextBoundaryType type)
{
    return type == QAccessible::LineBoundary || type == QAccessible::ParagraphBoundary
        || type == QAccessible::NoBoundary;
}

// The piece that holds an offset is the one that starts at or before it. At the end of the text
// there is none, but for a line, which ends there.
int pieceAt(const QList<int> &starts, int offset, int count, QAccessible::TextBoundaryType type)
{
    if (isLineKind(type) && offset == count && count > 0)
        --offset;
    return static_cast<int>(std::upper_bound(starts.cbegin(), starts.cend(), offset) - starts.cbegin()) - 1;
}

} // namespace

AccessibleText::AccessibleText(QString text, int caretUnit, QList<int> lineStartUnits)
    : m_text(std::move(text))
    , m_caretUnit(std::clamp(caretUnit, 0, static_cast<int>(m_text.size())))
    , m_lineStartUnits(std::move(lineStartUnits))
{
    const auto size = static_cast<int>(m_text.size());
    m_unitOf.reserve(size + 1);
    for (int unit = 0; unit < size; ++unit) {
        m_unitOf.append(unit);
        if (m_text.at(unit).isHighSurrogate() && unit + 1 < size && m_text.at(unit + 1).isLowSurrogate())
            ++unit;
    }
    m_unitOf.append(size);
}

int AccessibleText::offset(int requested) const
{
    if (requested == -1)
        return characterCount();
    if (requested == -2)
        return caret();
    return std::clamp(requested, 0, characterCount());
}

int AccessibleText::offsetOfUnit(int unit) const
{
    const auto after = std::upper_bound(m_unitOf.cbegin(), m_unitOf.cend(), std::max(unit, 0));
    return static_cast<int>(after - m_unitOf.cbegin()) - 1;
}

char32_t AccessibleText::at(int offset) const
{
    const int unit = unitOf(offset);
    const QChar first = m_text.at(unit);
    if (unitOf(offset + 1) - unit == 2)
        return QChar::surrogateToUcs4(first, m_text.at(unit + 1));
    return first.unicode();
}

QString AccessibleText::text(int startOffset, int endOffset) const
{
    const int from = offset(startOffset);
    const int to = offset(endOffset);
    if (from >= to)
        return {};
    return m_text.mid(unitOf(from), unitOf(to) - unitOf(from));
}

QList<int> AccessibleText::boundaries(QAccessible::TextBoundaryType type) const
{
    const int count = characterCount();
    QList<int> starts{0};
    const auto add = [&starts, count](int offset) {
        if (offset > starts.last() && offset < count)
            starts.append(offset);
    };
    switch (type) {
    case QAccessible::CharBoundary:
        for (int i = 1; i < count; ++i)
            add(i);
        break;
    case QAccessible::WordBoundary:
        for (int i = 1; i < count; ++i) {
            // "5.5" and "don't" are one word each.
            const bool joined = i >= 2 && isWordCharacter(at(i - 2))
                && ((QChar::isDigit(at(i - 2)) && QChar::isDigit(at(i)) && (at(i - 1) == U'.' || at(i - 1) == U','))
                    || (QChar::isLetter(at(i - 2)) && QChar::isLetter(at(i))
                        && (at(i - 1) == U'\'' || at(i - 1) == 0x2019)));
            if (isWordCharacter(at(i)) && !isWordCharacter(at(i - 1)) && !joined)
                add(i);
        }
        break;
    case QAccessible::SentenceBoundary:
        for (int i = 0; i < count; ++i) {
            int next = i + 1;
            if (endsSentence(at(i))) {
                while (next < count && closesSentence(at(next)))
                    ++next;
                if (next < count && !QChar::isSpace(at(next)))
                    continue;
            } else if (!isLineBreak(at(i))) {
                continue;
            }
            while (next < count && QChar::isSpace(at(next)))
                ++next;
            add(next);
            i = next - 1;
        }
        break;
    case QAccessible::LineBoundary:
        for (const int unit : m_lineStartUnits)
            add(offsetOfUnit(unit));
        break;
    case QAccessible::ParagraphBoundary:
        for (int i = 0; i + 1 < count; ++i) {
            if (isLineBreak(at(i)) && !(at(i) == U'\r' && at(i + 1) == U'\n'))
                add(i + 1);
        }
        break;
    case QAccessible::NoBoundary:
        break;
    }
    if (count > 0)
        starts.append(count);
    return starts;
}

QString AccessibleText::piece(int index, const QList<int> &starts, int fallback, int *startOffset, int *endOffset) const
{
    if (index < 0 || index + 1 >= starts.size()) {
        *startOffset = *endOffset = fallback;
        return {};
    }
    *startOffset = starts.at(index);
    *endOffset = starts.at(index + 1);
    return text(*startOffset, *endOffset);
}

QString
AccessibleText::textBefore(int offset, QAccessible::TextBoundaryType type, int *startOffset, int *endOffset) const
{
    const QList<int> starts = boundaries(type);
    return piece(pieceAt(starts, this->offset(offset), characterCount(), type) - 1, starts, 0, startOffset, endOffset);
}

QString AccessibleText::textAt(int offset, QAccessible::TextBoundaryType type, int *startOffset, int *endOffset) const
{
    const int resolved = this->offset(offset);
    const QList<int> starts = boundaries(type);
    return piece(pieceAt(starts, resolved, characterCount(), type), starts, resolved, startOffset, endOffset);
}

QString
AccessibleText::textAfter(int offset, QAccessible::TextBoundaryType type, int *startOffset, int *endOffset) const
{
    const QList<int> starts = boundaries(type);
    return piece(pieceAt(starts, this->offset(offset), characterCount(), type) + 1,
                 starts,
                 characterCount(),
                 startOffset,
                 endOffset);
}
