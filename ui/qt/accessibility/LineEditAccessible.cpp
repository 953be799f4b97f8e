#include "LineEditAccessible.h"

#include <QLineEdit>

LineEditAccessible::LineEditAccessible(QLineEdit *lineEdit)
    : TextAccessible(lineEdit, QAccessible::EditableText)
{
    addControllingSignal(QStringLiteral("textChanged(const QString&)"));
    addControllingSignal(QStringLiteral("returnPressed()"));
}

QLineEdit *LineEditAccessible::lineEdit() const
{
    return static_cast<QLineEdit *>(widget());
}

QString LineEditAccessible::plainText() const
{
    return lineEdit()->text();
}

int LineEditAccessible::unitCount() const
{
    return static_cast<int>(lineEdit()->text().size());
}

int LineEditAccessible::caretUnit() const
{
    return lineEdit()->cursorPosition();
}

std::pair<int, int> LineEditAccessible::selectionUnits() const
{
    if (!lineEdit()->hasSelectedText())
        return {caretUnit(), caretUnit()};
    return {lineEdit()->selectionStart(), lineEdit()->selectionEnd()};
}

void LineEditAccessible::select(int anchorUnit, int caretUnit)
{
    if (anchorUnit == caretUnit)
        lineEdit()->setCursorPosition(caretUnit);
    else
        lineEdit()->setSelection(anchorUnit, caretUnit - anchorUnit);
}

// Measured from the caret, whose place Qt gives out, so that a scrolled text comes out right.
QRect LineEditAccessible::unitsRect(int fromUnit, int toUnit) const
{
    const QString all = lineEdit()->text();
    const QFontMetrics metrics(lineEdit()->font());
    const QRect caret = lineEdit()->inputMethodQuery(Qt::ImCursorRectangle).toRect();
    const int x
        = caret.x() + metrics.horizontalAdvance(all.left(fromUnit)) - metrics.horizontalAdvance(all.left(caretUnit()));
    return {x, caret.y(), metrics.horizontalAdvance(all.mid(fromUnit, toUnit - fromUnit)), metrics.height()};
}

int LineEditAccessible::unitAt(QPoint local) const
{
    return lineEdit()->cursorPositionAt(local);
}

bool LineEditAccessible::editable() const
{
    return !lineEdit()->isReadOnly();
}

void LineEditAccessible::replaceUnits(int fromUnit, int toUnit, const QString &text)
{
    lineEdit()->setText(lineEdit()->text().replace(fromUnit, toUnit - fromUnit, text));
}
