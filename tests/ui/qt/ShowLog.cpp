#include "ShowLog.h"

#include <QEvent>
#include <QWidget>

ShowLog::ShowLog(QWidget *widget)
    : QObject(widget)
{
    widget->installEventFilter(this);
}

bool ShowLog::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Show)
        names.append(static_cast<QWidget *>(watched)->accessibleName());
    return QObject::eventFilter(watched, event);
}
