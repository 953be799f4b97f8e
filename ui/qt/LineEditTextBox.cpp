#include "LineEditTextBox.h"

#include "RuntimeError.h"
#include "Utf16.h"

#include <QLineEdit>
#include <QSignalBlocker>

#include <algorithm>

LineEditTextBox::LineEditTextBox(QLineEdit *lineEdit)
    : m_lineEdit(lineEdit)
{
}

QLineEdit &LineEditTextBox::lineEdit() const
{
    if (!m_lineEdit)
        throw runtime::RuntimeError(runtime::ErrorNumber::ObjectRequired);
    return *m_lineEdit;
}

std::u16string LineEditTextBox::text() const
{
    return lineEdit().text().toStdU16String();
}

void LineEditTextBox::setText(std::u16string_view text)
{
    QLineEdit &box = lineEdit();
    const QString newText = toQString(text);
    if (newText == box.text())
        return;
    {
        // setText would raise the change with the caret still at the end; place it first.
        const QSignalBlocker quiet(&box);
        box.setText(newText);
        box.setCursorPosition(0);
    }
    emit box.textChanged(box.text());
}

void LineEditTextBox::setSelStart(int position)
{
    if (position < 0)
        throw runtime::RuntimeError(runtime::ErrorNumber::InvalidProcedureCall);
    QLineEdit &box = lineEdit();
    // QLineEdit ignores a position past the end; the classic box took it as "after the last".
    box.setCursorPosition(static_cast<int>(std::min<qsizetype>(position, box.text().size())));
}
