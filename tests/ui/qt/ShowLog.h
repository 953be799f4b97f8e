#pragma once

#include <QObject>
#include <QStringList>

class QWidget;

// The accessible name that a widget has each time it is shown.
class ShowLog : public QObject
{
public:
    explicit ShowLog(QWidget *widget);

    QStringList names;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};
