#pragma once

#include "TextBox.h"

#include <QPointer>

class QLineEdit;

// A QLineEdit seen as a runtime text box. A write puts the caret at the start, so the box shows
// the text from its beginning, and then raises textChanged, so whatever is bound to the change
// runs nested inside the write, as it does for the user's own edits.
class LineEditTextBox : public runtime::TextBox
{
public:
    explicit LineEditTextBox(QLineEdit *lineEdit);

    std::u16string text() const override;
    void setText(std::u16string_view text) override;
    void setSelStart(int position) override;

private:
    QLineEdit &lineEdit() const;

    QPointer<QLineEdit> m_lineEdit;
};
