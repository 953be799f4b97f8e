#include "ScaleFollower.h"

#include "Modality.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <QWindow>

namespace {

void remake(QWidget *window)
{
    QWindow *native = window->windowHandle();
    if (!native || !window->isVisible() || blockedByModal(window)
        || native->devicePixelRatio() == native->screen()->devicePixelRatio())
        return;
    window->hide();
    native->destroy();
    window->show();
}

} // namespace

ScaleFollower::ScaleFollower(QWidget *window)
    : QObject(window)
    , m_window(window)
{
    for (QScreen *screen : QGuiApplication::screens())
        watch(screen);
    connect(qGuiApp, &QGuiApplication::screenAdded, this, &ScaleFollower::watch);
    connect(qGuiApp, &QGuiApplication::focusWindowChanged, this, &ScaleFollower::follow);
}

// A change of scale changes the screen's size in logical pixels.
void ScaleFollower::watch(QScreen *screen) const
{
    connect(screen, &QScreen::geometryChanged, this, &ScaleFollower::follow);
}

// Not from inside the screen's notification, which the native window's end would reach into.
void ScaleFollower::follow() const
{
    QTimer::singleShot(0, m_window, [window = m_window] { remake(window); });
}
