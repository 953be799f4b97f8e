#include "Announcer.h"

#include <QAccessible>

Announcer::Announcer(QWidget *window)
    : QWidget(window)
{
    setObjectName(QStringLiteral("announcer"));
    setGeometry({});
    hide();
}

void Announcer::announce(const QString &message)
{
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
    QAccessibleAnnouncementEvent event(parentWidget(), message);
    QAccessible::updateAccessibility(&event);
#else
    hide();
    setAccessibleName(message);
    show();
#endif
}
