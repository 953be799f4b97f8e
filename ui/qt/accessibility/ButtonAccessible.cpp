#include "ButtonAccessible.h"

#include "Modality.h"

#include <QPushButton>

ButtonAccessible::ButtonAccessible(QPushButton *button)
    : QAccessibleWidget(button, QAccessible::PushButton)
{
    addControllingSignal(QStringLiteral("clicked()"));
}

QPushButton *ButtonAccessible::button() const
{
    return static_cast<QPushButton *>(widget());
}

QString ButtonAccessible::text(QAccessible::Text t) const
{
    if (t != QAccessible::Name || !widget()->accessibleName().isEmpty())
        return QAccessibleWidget::text(t);
    // The caption without the marks of its access key: "&OK" is read "OK", "&&" is "&".
    const QString caption = button()->text();
    QString name;
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption.at(i) == u'&' && i + 1 < caption.size())
            ++i;
        name.append(caption.at(i));
    }
    return name;
}

QAccessible::State ButtonAccessible::state() const
{
    QAccessible::State state = QAccessibleWidget::state();
    state.pressed = button()->isDown();
    state.defaultButton = button()->isDefault();
    return state;
}

QStringList ButtonAccessible::actionNames() const
{
    return QStringList(pressAction()) + QAccessibleWidget::actionNames();
}

void ButtonAccessible::doAction(const QString &actionName)
{
    // Refused here rather than at the click, which it would reach too late: the button would be
    // drawn pressed under the box, and a focus request would move the window's focus. Qt's own
    // handling refuses a disabled button.
    if (blockedByModal(button()))
        return;
    // Clicked later, as a press of Space is: a box that the click opens must not hold up the
    // client's call.
    if (actionName == pressAction())
        button()->animateClick();
    else
        QAccessibleWidget::doAction(actionName);
}
