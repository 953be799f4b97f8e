#include "TitleBar.h"

#include <QEvent>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QWindow>

#include <wayland-client.h>

#include <cstring>
#include <utility>

namespace {

constexpr int barHeight = 30;
constexpr int buttonSide = 24;

// Asks the compositor, on a connection of its own, whether it offers to draw frames; Qt offers
// no way to learn what it negotiated.
bool compositorDrawsFrames()
{
    wl_display *display = wl_display_connect(nullptr);
    if (!display)
        return true;
    bool offered = false;
    static const wl_registry_listener listener{
        [](void *data, wl_registry *, uint32_t, const char *interface, uint32_t) {
            if (interface && std::strcmp(interface, "zxdg_decoration_manager_v1") == 0)
                *static_cast<bool *>(data) = true;
        },
        [](void *, wl_registry *, uint32_t) {},
    };
    if (wl_registry *registry = wl_display_get_registry(display)) {
        wl_registry_add_listener(registry, &listener, &offered);
        wl_display_roundtrip(display);
        wl_registry_destroy(registry);
    }
    wl_display_disconnect(display);
    return offered;
}

} // namespace

bool TitleBar::wanted()
{
    static const bool wanted = QGuiApplication::platformName() == QLatin1String("wayland") && !compositorDrawsFrames();
    return wanted;
}

void TitleBar::decorate(QWidget *window)
{
    // Qt drops the frameless hint from flags that name buttons, so the bar takes those first.
    auto *bar = new TitleBar(window);
    window->setWindowFlags((window->windowFlags() & Qt::WindowType_Mask) | Qt::FramelessWindowHint);
    if (window->layout()) {
        QMargins margins = window->contentsMargins();
        margins.setTop(margins.top() + barHeight);
        window->setContentsMargins(margins);
    } else {
        for (QWidget *child : window->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly)) {
            if (child != bar)
                child->move(child->pos() + QPoint(0, barHeight));
        }
        window->setFixedSize(window->width(), window->height() + barHeight);
    }
    bar->setGeometry(0, 0, window->width(), barHeight);
}

TitleBar::TitleBar(QWidget *window)
    : QWidget(window)
    , m_minimisable(window->windowFlags().testFlag(Qt::WindowMinimizeButtonHint))
{
    setObjectName(QStringLiteral("titleBar"));
    setMouseTracking(true);
    setFocusPolicy(Qt::NoFocus);
    window->installEventFilter(this);
}

bool TitleBar::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::Resize:
        setGeometry(0, 0, parentWidget()->width(), barHeight);
        break;
    case QEvent::WindowTitleChange:
    case QEvent::ActivationChange:
        update();
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

QRect TitleBar::rectOf(Button button) const
{
    const int inset = (barHeight - buttonSide) / 2;
    const QRect close(width() - inset - buttonSide, inset, buttonSide, buttonSide);
    switch (button) {
    case Button::Close:
        return close;
    case Button::Minimise:
        if (m_minimisable)
            return close.translated(-buttonSide - inset, 0);
        break;
    case Button::None:
        break;
    }
    return {};
}

TitleBar::Button TitleBar::buttonAt(QPoint point) const
{
    if (rectOf(Button::Close).contains(point))
        return Button::Close;
    return rectOf(Button::Minimise).contains(point) ? Button::Minimise : Button::None;
}

void TitleBar::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QPalette &colours = palette();
    const bool active = window()->isActiveWindow();
    painter.fillRect(rect(), colours.color(QPalette::Window).darker(active ? 112 : 104));
    painter.fillRect(0, height() - 1, width(), 1, colours.color(QPalette::Mid));

    const QColor ink = colours.color(active ? QPalette::Active : QPalette::Inactive, QPalette::WindowText);
    const int buttonsLeft
        = rectOf(Button::Minimise).isNull() ? rectOf(Button::Close).left() : rectOf(Button::Minimise).left();
    QFont font = painter.font();
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(ink);
    // Centred on the window and clear of the buttons, as desktops centre a title.
    const int side = width() - buttonsLeft;
    const QRect titleRect = rect().adjusted(side, 0, -side, 0);
    painter.drawText(titleRect,
                     Qt::AlignCenter | Qt::TextSingleLine,
                     painter.fontMetrics().elidedText(window()->windowTitle(), Qt::ElideRight, titleRect.width()));

    painter.setRenderHint(QPainter::Antialiasing);
    for (const Button button : {Button::Minimise, Button::Close}) {
        const QRectF at = rectOf(button);
        if (at.isNull())
            continue;
        if (button == m_hovered) {
            painter.setPen(Qt::NoPen);
            painter.setBrush(colours.color(m_pressed == button ? QPalette::Dark : QPalette::Mid));
            painter.drawEllipse(at);
        }
        painter.setPen(QPen(ink, 1.5, Qt::SolidLine, Qt::RoundCap));
        const QRectF glyph = at.adjusted(8, 8, -8, -8);
        if (button == Button::Close) {
            painter.drawLine(glyph.topLeft(), glyph.bottomRight());
            painter.drawLine(glyph.topRight(), glyph.bottomLeft());
        } else {
            painter.drawLine(glyph.bottomLeft(), glyph.bottomRight());
        }
    }
}

void TitleBar::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    m_pressed = buttonAt(event->position().toPoint());
    if (m_pressed == Button::None && window()->windowHandle())
        window()->windowHandle()->startSystemMove();
    update();
}

void TitleBar::mouseReleaseEvent(QMouseEvent *event)
{
    const Button pressed = std::exchange(m_pressed, Button::None);
    update();
    if (event->button() != Qt::LeftButton || pressed == Button::None
        || buttonAt(event->position().toPoint()) != pressed)
        return;
    if (pressed == Button::Close)
        window()->close();
    else
        window()->showMinimized();
}

void TitleBar::mouseMoveEvent(QMouseEvent *event)
{
    const Button hovered = buttonAt(event->position().toPoint());
    if (hovered != m_hovered) {
        m_hovered = hovered;
        update();
    }
}

void TitleBar::leaveEvent(QEvent *)
{
    m_hovered = Button::None;
    update();
}
