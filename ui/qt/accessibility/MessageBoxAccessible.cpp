#include "MessageBoxAccessible.h"

#include <QMessageBox>

MessageBoxAccessible::MessageBoxAccessible(QMessageBox *messageBox)
    : QAccessibleWidget(messageBox, QAccessible::AlertMessage)
{
}

QMessageBox *MessageBoxAccessible::messageBox() const
{
    return static_cast<QMessageBox *>(widget());
}

QString MessageBoxAccessible::text(QAccessible::Text t) const
{
    if (t == QAccessible::Help)
        return messageBox()->informativeText();
    QString text = QAccessibleWidget::text(t);
    if (t == QAccessible::Value || (t == QAccessible::Name && text.isEmpty()))
        return messageBox()->text();
    return text;
}

QAccessible::State MessageBoxAccessible::state() const
{
    QAccessible::State state = QAccessibleWidget::state();
    state.modal = messageBox()->isModal();
    return state;
}
