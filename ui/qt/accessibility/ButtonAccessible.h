#pragma once

#include <QAccessibleWidget>

class QPushButton;

// What a screen reader sees of a push button, and its Press, which like a click does nothing
// while a modal box keeps input from the button's window.
class ButtonAccessible : public QAccessibleWidget
{
public:
    explicit ButtonAccessible(QPushButton *button);

    QString text(QAccessible::Text t) const override;
    QAccessible::State state() const override;
    QStringList actionNames() const override;
    void doAction(const QString &actionName) override;

private:
    QPushButton *button() const;
};
