#pragma once

#include "TextAccessible.h"

class QPlainTextEdit;

// What a screen reader sees of a read-only text over several lines: its text, read by the lines
// it is shown on. No client can change the text, its caret or its selection.
class FixedTextAccessible : public TextAccessible
{
public:
    explicit FixedTextAccessible(QPlainTextEdit *plainTextEdit);

protected:
    QString plainText() const override;
    int unitCount() const override;
    int caretUnit() const override;
    QList<int> lineStartUnits() const override;
    std::pair<int, int> selectionUnits() const override;
    QRect unitsRect(int fromUnit, int toUnit) const override;
    int unitAt(QPoint local) const override;

private:
    QPlainTextEdit *plainTextEdit() const;
    QTextCursor cursorAt(int unit) const;
};
