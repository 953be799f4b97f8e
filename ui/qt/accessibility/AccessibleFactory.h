#pragma once

#include <QAccessibleInterface>

// The accessible interfaces that Qt's own do not get right for this window: the window as a
// frame, the line as a separator, the text boxes and the message box, and the Announcer as a
// notification. Installed by Form1; everything else is left to Qt.
QAccessibleInterface *accessibleFactory(const QString &key, QObject *object);
