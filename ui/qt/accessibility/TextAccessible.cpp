#include "TextAccessible.h"

#include "Modality.h"

#include <QWidget>

#include <algorithm>

namespace {

// Half a character or a control character cannot be typed, and no client may put one in a box
// either. Qt pads a text that a client inserts to any length it names, with what memory held.
QString insertable(const QString &text)
{
    QString kept;
    kept.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            kept.append(c).append(text.at(++i));
        } else if (!c.isSurrogate() && c.category() != QChar::Other_Control) {
            kept.append(c);
        }
    }
    return kept;
}

} // namespace

TextAccessible::TextAccessible(QWidget *widget, QAccessible::Role role)
    : QAccessibleWidget(widget, role)
{
}

AccessibleText TextAccessible::content() const
{
    return {plainText(), caretUnit(), lineStartUnits()};
}

bool TextAccessible::takesInput() const
{
    return widget()->isEnabled() && !blockedByModal(widget());
}

QString TextAccessible::text(QAccessible::Text t) const
{
    if (t == QAccessible::Value)
        return plainText();
    return QAccessibleWidget::text(t);
}

void TextAccessible::setText(QAccessible::Text t, const QString &text)
{
    if (t == QAccessible::Value)
        replace(0, -1, text);
    else
        QAccessibleWidget::setText(t, text);
}

QAccessible::State TextAccessible::state() const
{
    QAccessible::State state = QAccessibleWidget::state();
    state.readOnly = !editable();
    state.editable = editable();
    state.selectableText = true;
    return state;
}

void *TextAccessible::interface_cast(QAccessible::InterfaceType t)
{
    if (t == QAccessible::TextInterface)
        return static_cast<QAccessibleTextInterface *>(this);
    // Also for a read-only text: without it Qt would edit the text itself.
    if (t == QAccessible::EditableTextInterface)
        return static_cast<QAccessibleEditableTextInterface *>(this);
    return QAccessibleWidget::interface_cast(t);
}

void TextAccessible::doAction(const QString &actionName)
{
    if (takesInput())
        QAccessibleWidget::doAction(actionName);
}

void TextAccessible::selection(int selectionIndex, int *startOffset, int *endOffset) const
{
    const auto [from, to] = selectionUnits();
    if (selectionIndex != 0 || from == to) {
        *startOffset = *endOffset = 0;
        return;
    }
    const AccessibleText shown = content();
    *startOffset = shown.offsetOfUnit(from);
    *endOffset = shown.offsetOfUnit(to);
}

int TextAccessible::selectionCount() const
{
    const auto [from, to] = selectionUnits();
    return from == to ? 0 : 1;
}

void TextAccessible::addSelection(int startOffset, int endOffset)
{
    setSelection(0, startOffset, endOffset);
}

void TextAccessible::removeSelection(int selectionIndex)
{
    if (selectionIndex == 0 && takesInput())
        select(caretUnit(), caretUnit());
}

void TextAccessible::setSelection(int selectionIndex, int startOffset, int endOffset)
{
    if (selectionIndex != 0 || !takesInput())
        return;
    const AccessibleText shown = content();
    select(shown.unitOf(shown.offset(startOffset)), shown.unitOf(shown.offset(endOffset)));
}

int TextAccessible::cursorPosition() const
{
    return content().caret();
}

void TextAccessible::setCursorPosition(int position)
{
    if (!takesInput())
        return;
    const AccessibleText shown = content();
    const int unit = shown.unitOf(shown.offset(position));
    select(unit, unit);
}

QString TextAccessible::text(int startOffset, int endOffset) const
{
    return content().text(startOffset, endOffset);
}

QString TextAccessible::textBeforeOffset(int offset,
                                         QAccessible::TextBoundaryType boundaryType,
                                         int *startOffset,
                                         int *endOffset) const
{
    return content().textBefore(offset, boundaryType, startOffset, endOffset);
}

QString TextAccessible::textAfterOffset(int offset,
                                        QAccessible::TextBoundaryType boundaryType,
                                        int *startOffset,
                                        int *endOffset) const
{
    return content().textAfter(offset, boundaryType, startOffset, endOffset);
}

QString TextAccessible::textAtOffset(int offset,
                                     QAccessible::TextBoundaryType boundaryType,
                                     int *startOffset,
                                     int *endOffset) const
{
    return content().textAt(offset, boundaryType, startOffset, endOffset);
}

int TextAccessible::characterCount() const
{
    return content().characterCount();
}

QRect TextAccessible::characterRect(int offset) const
{
    // Qt asks for every offset of a range one by one: one past the text is answered at once.
    if (offset < 0 || offset >= unitCount())
        return {};
    const AccessibleText shown = content();
    if (offset >= shown.characterCount())
        return {};
    const QRect local = unitsRect(shown.unitOf(offset), shown.unitOf(offset + 1));
    return {widget()->mapToGlobal(local.topLeft()), local.size()};
}

int TextAccessible::offsetAtPoint(const QPoint &point) const
{
    const QPoint local = widget()->mapFromGlobal(point);
    if (!widget()->rect().contains(local))
        return -1;
    return content().offsetOfUnit(unitAt(local));
}

void TextAccessible::scrollToSubstring(int startIndex, int endIndex)
{
    if (!takesInput())
        return;
    const AccessibleText shown = content();
    select(shown.unitOf(shown.offset(endIndex)), shown.unitOf(shown.offset(endIndex)));
    select(shown.unitOf(shown.offset(startIndex)), shown.unitOf(shown.offset(startIndex)));
}

// One run over the whole text: screen readers join empty runs a character short.
QString TextAccessible::attributes(int offset, int *startOffset, int *endOffset) const
{
    Q_UNUSED(offset);
    *startOffset = 0;
    *endOffset = characterCount();
    return {};
}

void TextAccessible::deleteText(int startOffset, int endOffset)
{
    replace(startOffset, endOffset, {});
}

void TextAccessible::insertText(int offset, const QString &text)
{
    replace(offset, offset, text);
}

void TextAccessible::replaceText(int startOffset, int endOffset, const QString &text)
{
    replace(startOffset, endOffset, text);
}

// A client may name any offsets, in either order; the edit keeps to the text.
void TextAccessible::replace(int startOffset, int endOffset, const QString &text)
{
    if (!editable() || !takesInput())
        return;
    const AccessibleText current = content();
    const auto [from, to] = std::minmax({current.offset(startOffset), current.offset(endOffset)});
    replaceUnits(current.unitOf(from), current.unitOf(to), insertable(text));
}
