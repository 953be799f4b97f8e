#pragma once

#include <QHash>
#include <QIcon>
#include <QProxyStyle>

// The application's style, but for the message box's critical icon, which is our own stop sign
// (StopSignIconEngine) instead of a theme's bitmap scaled to the screen; and the other icons a
// box asks for (its button's, where the desktop puts icons on buttons) are made once and kept.
class MessageBoxStyle : public QProxyStyle
{
public:
    QIcon standardIcon(StandardPixmap standardIcon, const QStyleOption *option, const QWidget *widget) const override;

private:
    // Qt keeps no record of a name the icon theme lacks, and searches the theme's folders for it
    // again for every new icon; a kept icon remembers what it found.
    mutable QHash<StandardPixmap, QIcon> m_icons;
};
