#pragma once

#include "TextAccessible.h"

class QLineEdit;

// What a screen reader sees of a QLineEdit: its one line of text, the caret and the selection.
class LineEditAccessible : public TextAccessible
{
public:
    explicit LineEditAccessible(QLineEdit *lineEdit);

protected:
    QString plainText() const override;
    int unitCount() const override;
    int caretUnit() const override;
    std::pair<int, int> selectionUnits() const override;
    void select(int anchorUnit, int caretUnit) override;
    QRect unitsRect(int fromUnit, int toUnit) const override;
    int unitAt(QPoint local) const override;
    bool editable() const override;
    void replaceUnits(int fromUnit, int toUnit, const QString &text) override;

private:
    QLineEdit *lineEdit() const;
};
