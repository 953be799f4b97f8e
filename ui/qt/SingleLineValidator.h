#pragma once

#include <QValidator>

// A single-line box never holds a line break. Of a text pasted with one, the box keeps what comes
// before the first, as Windows' own edit boxes do; the rest of the paste is left out.
class SingleLineValidator : public QValidator
{
public:
    explicit SingleLineValidator(QObject *parent);

    State validate(QString &input, int &pos) const override;
};
