#pragma once

#include "AccessibleText.h"

#include <QAccessibleWidget>

#include <utility>

// What a screen reader sees of a box of text. Every question about the text is answered here, by
// AccessibleText, and never handed to Qt's boundary search; every offset a client names is
// clamped to the text and counts whole characters. While a modal box is open no request of a
// client changes anything, as no key or click does. A subclass tells what its widget shows.
class TextAccessible : public QAccessibleWidget,
                       public QAccessibleTextInterface,
                       public QAccessibleEditableTextInterface
{
public:
    TextAccessible(QWidget *widget, QAccessible::Role role);

    QString text(QAccessible::Text t) const override;
    void setText(QAccessible::Text t, const QString &text) override;
    QAccessible::State state() const override;
    void *interface_cast(QAccessible::InterfaceType t) override;
    void doAction(const QString &actionName) override;

    void selection(int selectionIndex, int *startOffset, int *endOffset) const override;
    int selectionCount() const override;
    void addSelection(int startOffset, int endOffset) override;
    void removeSelection(int selectionIndex) override;
    void setSelection(int selectionIndex, int startOffset, int endOffset) override;
    int cursorPosition() const override;
    void setCursorPosition(int position) override;
    QString text(int startOffset, int endOffset) const override;
    QString textBeforeOffset(int offset,
                             QAccessible::TextBoundaryType boundaryType,
                             int *startOffset,
                             int *endOffset) const override;
    QString textAfterOffset(int offset,
                            QAccessible::TextBoundaryType boundaryType,
                            int *startOffset,
                            int *endOffset) const override;
    QString textAtOffset(int offset,
                         QAccessible::TextBoundaryType boundaryType,
                         int *startOffset,
                         int *endOffset) const override;
    int characterCount() const override;
    QRect characterRect(int offset) const override;
    int offsetAtPoint(const QPoint &point) const override;
    void scrollToSubstring(int startIndex, int endIndex) override;
    QString attributes(int offset, int *startOffset, int *endOffset) const override;

    void deleteText(int startOffset, int endOffset) override;
    void insertText(int offset, const QString &text) override;
    void replaceText(int startOffset, int endOffset, const QString &text) override;

protected:
    // All positions below are in 16-bit units of plainText().
    virtual QString plainText() const = 0;
    // The length of plainText(), found without making it.
    virtual int unitCount() const = 0;
    virtual int caretUnit() const = 0;
    virtual QList<int> lineStartUnits() const { return {}; }
    // Start and end of the selection; equal when nothing is selected.
    virtual std::pair<int, int> selectionUnits() const = 0;
    // A read-only text keeps its text, caret and selection whatever a client asks.
    virtual bool editable() const { return false; }
    virtual void select(int /*anchorUnit*/, int /*caretUnit*/) {}
    virtual void replaceUnits(int /*fromUnit*/, int /*toUnit*/, const QString & /*text*/) {}
    // Where the units from..to are drawn, in the widget's own coordinates.
    virtual QRect unitsRect(int fromUnit, int toUnit) const = 0;
    virtual int unitAt(QPoint local) const = 0;

private:
    AccessibleText content() const;
    // Whether a client may change anything now.
    bool takesInput() const;
    void replace(int startOffset, int endOffset, const QString &text);
};
