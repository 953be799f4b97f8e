#include "FixedTextAccessible.h"

#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextLayout>

FixedTextAccessible::FixedTextAccessible(QPlainTextEdit *plainTextEdit)
    : TextAccessible(plainTextEdit, QAccessible::EditableText)
{
}

QPlainTextEdit *FixedTextAccessible::plainTextEdit() const
{
    return static_cast<QPlainTextEdit *>(widget());
}

QTextCursor FixedTextAccessible::cursorAt(int unit) const
{
    QTextCursor cursor(plainTextEdit()->document());
    cursor.setPosition(unit);
    return cursor;
}

QString FixedTextAccessible::plainText() const
{
    return plainTextEdit()->toPlainText();
}

int FixedTextAccessible::unitCount() const
{
    // QTextDocument counts the separator after its last paragraph, which the text leaves out.
    return plainTextEdit()->document()->characterCount() - 1;
}

int FixedTextAccessible::caretUnit() const
{
    return plainTextEdit()->textCursor().position();
}

QList<int> FixedTextAccessible::lineStartUnits() const
{
    QList<int> starts;
    for (QTextBlock block = plainTextEdit()->document()->begin(); block.isValid(); block = block.next()) {
        const QTextLayout *layout = block.layout();
        for (int i = 0; layout && i < layout->lineCount(); ++i)
            starts.append(block.position() + layout->lineAt(i).textStart());
    }
    return starts;
}

std::pair<int, int> FixedTextAccessible::selectionUnits() const
{
    const QTextCursor cursor = plainTextEdit()->textCursor();
    return {cursor.selectionStart(), cursor.selectionEnd()};
}

QRect FixedTextAccessible::unitsRect(int fromUnit, int toUnit) const
{
    const QRect from = plainTextEdit()->cursorRect(cursorAt(fromUnit));
    const QRect to = plainTextEdit()->cursorRect(cursorAt(toUnit));
    // A character at the end of a line has its right edge on the next one.
    const int right = to.top() == from.top() ? to.left() : from.left() + from.height() / 2;
    const QRect inViewport(from.left(), from.top(), right - from.left(), from.height());
    return inViewport.translated(plainTextEdit()->viewport()->mapTo(plainTextEdit(), QPoint()));
}

int FixedTextAccessible::unitAt(QPoint local) const
{
    return plainTextEdit()->cursorForPosition(plainTextEdit()->viewport()->mapFrom(plainTextEdit(), local)).position();
}
