#pragma once

#include <QWidget>

// The title bar a window draws itself where a Wayland compositor leaves the frame to the window
// (GNOME's, Weston): Qt 6.4's own draws a maximise button whatever the window's flags, and a
// window of one size has nothing to maximise. It shows the window's title and the buttons its
// flags ask for, minimise and close, and moves the window when dragged.
class TitleBar : public QWidget
{
    Q_OBJECT

public:
    // Whether the windows of this program draw their own title bars.
    static bool wanted();
    // Makes `window` frameless and puts a bar on its top edge, above what the window held.
    static void decorate(QWidget *window);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    enum class Button { None, Minimise, Close };

    explicit TitleBar(QWidget *window);
    Button buttonAt(QPoint point) const;
    QRect rectOf(Button button) const;

    bool m_minimisable;
    Button m_hovered = Button::None;
    Button m_pressed = Button::None;
};
