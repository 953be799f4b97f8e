#pragma once

#include <QWidget>

// Tells a screen reader something without moving the focus and without anything to see. Where
// Qt has announcements, it makes one; before that, it is a widget of no size whose accessible
// role is a notification (see accessibleFactory), and which appears with the message as its name:
// screen readers speak a notification that appears, and pass over text that changes in a box
// that does not have the focus.
class Announcer : public QWidget
{
    Q_OBJECT

public:
    explicit Announcer(QWidget *window);

    void announce(const QString &message);
};
