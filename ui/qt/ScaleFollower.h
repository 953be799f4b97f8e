#pragma once

#include <QObject>

class QScreen;
class QWidget;

// Keeps a top-level window drawn at its screen's scale. Qt 6.4 on Wayland takes a window's
// buffer scale from its output when the window is made and when it moves to another output, not
// when the output's own scale changes: the window would go on being drawn at the old scale and
// shown blurred. Made anew, its native window takes the new scale; the widgets stay as they are.
// Not while a box is open over the window, which would lose its parent: once the focus is back.
class ScaleFollower : public QObject
{
    Q_OBJECT

public:
    explicit ScaleFollower(QWidget *window);

private:
    void watch(QScreen *screen) const;
    void follow() const;

    QWidget *m_window;
};
