#pragma once

#include <QAccessible>
#include <QList>
#include <QString>

// A text as screen readers on AT-SPI count and cut it, worked out here rather than by Qt's
// boundary search, which never returns from some texts. Offsets count characters, a surrogate
// pair being one; -1 stands for the end of the text and -2 for the caret. A word runs from its
// first letter or digit to the start of the next word, the blanks and signs after it included;
// a sentence likewise takes the blanks after it; lines are the ones given (a single-line box has
// one). Every offset a client names is clamped to the text, and every answer takes at most a few
// passes over it.
class AccessibleText
{
public:
    // The text in 16-bit units, the caret as a unit position, and where each shown line starts.
    AccessibleText(QString text, int caretUnit, QList<int> lineStartUnits = {});

    int characterCount() const { return static_cast<int>(m_unitOf.size()) - 1; }
    // An offset as a position in the text: the special ones resolved, then clamped.
    int offset(int requested) const;
    int unitOf(int offset) const { return m_unitOf.at(offset); }
    int offsetOfUnit(int unit) const;
    int caret() const { return offsetOfUnit(m_caretUnit); }

    QString text(int startOffset, int endOffset) const;
    QString textBefore(int offset, QAccessible::TextBoundaryType type, int *startOffset, int *endOffset) const;
    QString textAt(int offset, QAccessible::TextBoundaryType type, int *startOffset, int *endOffset) const;
    QString textAfter(int offset, QAccessible::TextBoundaryType type, int *startOffset, int *endOffset) const;

private:
    // The offsets where the pieces of a kind start, the text's start and end among them.
    QList<int> boundaries(QAccessible::TextBoundaryType type) const;
    QString piece(int index, const QList<int> &starts, int fallback, int *startOffset, int *endOffset) const;
    char32_t at(int offset) const;

    QString m_text;
    int m_caretUnit;
    QList<int> m_lineStartUnits;
    // The unit where each character starts, and one past the end.
    QList<int> m_unitOf;
};
