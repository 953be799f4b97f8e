#pragma once

#include <QProxyStyle>

// The application's style, but for the message box's critical icon, which is our own stop sign
// (StopSignIconEngine) instead of a theme's bitmap scaled to the screen.
class MessageBoxStyle : public QProxyStyle
{
public:
    QIcon standardIcon(StandardPixmap standardIcon, const QStyleOption *option, const QWidget *widget) const override;
};
