#pragma once

#include <QAccessibleWidget>

#include <utility>

class QLineEdit;

// What a screen reader sees of a QLineEdit. Qt's own interface for it is not exported, so this
// one stands in for it over the public QLineEdit API, word and sentence lookup left to Qt.
// Two things differ: a question about the text at or past its end answers at once (Qt's
// boundary search never returns from there), and the one attribute run covers the whole text
// (Qt reports empty runs, which screen readers join one character short).
class LineEditAccessible : public QAccessibleWidget,
                           public QAccessibleTextInterface,
                           public QAccessibleEditableTextInterface
{
public:
    explicit LineEditAccessible(QLineEdit *lineEdit);

    QString text(QAccessible::Text t) const override;
    void setText(QAccessible::Text t, const QString &text) override;
    QAccessible::State state() const override;
    void *interface_cast(QAccessible::InterfaceType t) override;

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

private:
    QLineEdit *lineEdit() const;
    bool readable() const;
    bool concealed(int *startOffset, int *endOffset) const;
    int resolved(int offset) const;
    std::pair<int, int> clamped(int startOffset, int endOffset) const;
};
