#pragma once

#include <QAccessibleWidget>

class QMessageBox;

// A QMessageBox as Qt presents it (an alert named by its title, its text as the value), which
// also tells a screen reader when it is modal: Qt's own interface for it does not.
class MessageBoxAccessible : public QAccessibleWidget
{
public:
    explicit MessageBoxAccessible(QMessageBox *messageBox);

    QString text(QAccessible::Text t) const override;
    QAccessible::State state() const override;

private:
    QMessageBox *messageBox() const;
};
