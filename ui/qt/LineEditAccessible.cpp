#include "LineEditAccessible.h"

#include <QLineEdit>

#include <algorithm>

namespace {

// The kinds that QAccessibleTextInterface looks up with a boundary search; lines and paragraphs
// of a single-line box are its whole text.
bool searchesBoundaries(QAccessible::TextBoundaryType boundaryType)
{
    return boundaryType == QAccessible::CharBoundary || boundaryType == QAccessible::WordBoundary
        || boundaryType == QAccessible::SentenceBoundary;
}

} // namespace

LineEditAccessible::LineEditAccessible(QLineEdit *lineEdit)
    : QAccessibleWidget(lineEdit, QAccessible::EditableText)
{
    addControllingSignal(QStringLiteral("textChanged(const QString&)"));
    addControllingSignal(QStringLiteral("returnPressed()"));
}

QLineEdit *LineEditAccessible::lineEdit() const
{
    return static_cast<QLineEdit *>(widget());
}

bool LineEditAccessible::readable() const
{
    return lineEdit()->echoMode() == QLineEdit::Normal;
}

// A box that does not show its text tells nothing of it either.
bool LineEditAccessible::concealed(int *startOffset, int *endOffset) const
{
    if (readable())
        return false;
    *startOffset = *endOffset = -1;
    return true;
}

// -2 stands for the caret, -1 for the end of the text.
int LineEditAccessible::resolved(int offset) const
{
    if (offset == -2)
        return cursorPosition();
    return offset == -1 ? characterCount() : offset;
}

// A client may name any offsets, in either order; the edits keep to the text.
std::pair<int, int> LineEditAccessible::clamped(int startOffset, int endOffset) const
{
    const auto [from, to]
        = std::minmax({std::clamp(startOffset, 0, characterCount()), std::clamp(endOffset, 0, characterCount())});
    return {from, to};
}

QString LineEditAccessible::text(QAccessible::Text t) const
{
    if (t == QAccessible::Value && readable())
        return lineEdit()->text();
    return QAccessibleWidget::text(t);
}

void LineEditAccessible::setText(QAccessible::Text t, const QString &text)
{
    if (t == QAccessible::Value)
        lineEdit()->setText(text);
    else
        QAccessibleWidget::setText(t, text);
}

QAccessible::State LineEditAccessible::state() const
{
    QAccessible::State state = QAccessibleWidget::state();
    state.readOnly = lineEdit()->isReadOnly();
    state.editable = !lineEdit()->isReadOnly();
    state.passwordEdit = !readable();
    state.selectableText = true;
    return state;
}

void *LineEditAccessible::interface_cast(QAccessible::InterfaceType t)
{
    if (t == QAccessible::TextInterface)
        return static_cast<QAccessibleTextInterface *>(this);
    if (t == QAccessible::EditableTextInterface)
        return static_cast<QAccessibleEditableTextInterface *>(this);
    return QAccessibleWidget::interface_cast(t);
}

void LineEditAccessible::selection(int selectionIndex, int *startOffset, int *endOffset) const
{
    *startOffset = *endOffset = 0;
    if (selectionIndex != 0 || !lineEdit()->hasSelectedText())
        return;
    *startOffset = lineEdit()->selectionStart();
    *endOffset = lineEdit()->selectionEnd();
}

int LineEditAccessible::selectionCount() const
{
    return lineEdit()->hasSelectedText() ? 1 : 0;
}

void LineEditAccessible::addSelection(int startOffset, int endOffset)
{
    setSelection(0, startOffset, endOffset);
}

void LineEditAccessible::removeSelection(int selectionIndex)
{
    if (selectionIndex == 0)
        lineEdit()->deselect();
}

void LineEditAccessible::setSelection(int selectionIndex, int startOffset, int endOffset)
{
    if (selectionIndex == 0)
        lineEdit()->setSelection(startOffset, endOffset - startOffset);
}

int LineEditAccessible::cursorPosition() const
{
    return lineEdit()->cursorPosition();
}

void LineEditAccessible::setCursorPosition(int position)
{
    lineEdit()->setCursorPosition(position);
}

QString LineEditAccessible::text(int startOffset, int endOffset) const
{
    if (startOffset > endOffset || !readable())
        return {};
    return lineEdit()->text().mid(startOffset, endOffset - startOffset);
}

QString LineEditAccessible::textBeforeOffset(int offset,
                                             QAccessible::TextBoundaryType boundaryType,
                                             int *startOffset,
                                             int *endOffset) const
{
    if (concealed(startOffset, endOffset))
        return {};
    return QAccessibleTextInterface::textBeforeOffset(resolved(offset), boundaryType, startOffset, endOffset);
}

QString LineEditAccessible::textAfterOffset(int offset,
                                            QAccessible::TextBoundaryType boundaryType,
                                            int *startOffset,
                                            int *endOffset) const
{
    if (concealed(startOffset, endOffset))
        return {};
    return QAccessibleTextInterface::textAfterOffset(resolved(offset), boundaryType, startOffset, endOffset);
}

QString LineEditAccessible::textAtOffset(int offset,
                                         QAccessible::TextBoundaryType boundaryType,
                                         int *startOffset,
                                         int *endOffset) const
{
    if (concealed(startOffset, endOffset))
        return {};
    offset = resolved(offset);
    if (offset >= characterCount() && searchesBoundaries(boundaryType)) {
        *startOffset = *endOffset = characterCount();
        return {};
    }
    return QAccessibleTextInterface::textAtOffset(offset, boundaryType, startOffset, endOffset);
}

int LineEditAccessible::characterCount() const
{
    return static_cast<int>(lineEdit()->text().size());
}

// Measured from the caret, whose place Qt gives out, so that a scrolled text comes out right.
QRect LineEditAccessible::characterRect(int offset) const
{
    const QString ch = text(offset, offset + 1);
    if (ch.isEmpty())
        return {};
    const QString all = lineEdit()->text();
    const QFontMetrics metrics(lineEdit()->font());
    const QRect caret = lineEdit()->inputMethodQuery(Qt::ImCursorRectangle).toRect();
    const int x = caret.x() + metrics.horizontalAdvance(all.left(offset))
        - metrics.horizontalAdvance(all.left(cursorPosition()));
    const QRect rect(x, caret.y(), metrics.horizontalAdvance(ch), metrics.height());
    return {lineEdit()->mapToGlobal(rect.topLeft()), rect.size()};
}

int LineEditAccessible::offsetAtPoint(const QPoint &point) const
{
    return lineEdit()->cursorPositionAt(lineEdit()->mapFromGlobal(point));
}

void LineEditAccessible::scrollToSubstring(int startIndex, int endIndex)
{
    lineEdit()->setCursorPosition(endIndex);
    lineEdit()->setCursorPosition(startIndex);
}

QString LineEditAccessible::attributes(int offset, int *startOffset, int *endOffset) const
{
    Q_UNUSED(offset);
    *startOffset = 0;
    *endOffset = characterCount();
    return {};
}

void LineEditAccessible::deleteText(int startOffset, int endOffset)
{
    const auto [from, to] = clamped(startOffset, endOffset);
    lineEdit()->setText(lineEdit()->text().remove(from, to - from));
}

void LineEditAccessible::insertText(int offset, const QString &text)
{
    lineEdit()->setText(lineEdit()->text().insert(clamped(offset, offset).first, text));
}

void LineEditAccessible::replaceText(int startOffset, int endOffset, const QString &text)
{
    const auto [from, to] = clamped(startOffset, endOffset);
    lineEdit()->setText(lineEdit()->text().replace(from, to - from, text));
}
