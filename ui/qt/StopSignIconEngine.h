#pragma once

#include <QIconEngine>

// The critical icon of the message box, a white cross on a red disc, drawn at whatever size and
// device pixel ratio it is asked for: sharp at every scale, and nothing to look up in a theme.
class StopSignIconEngine : public QIconEngine
{
public:
    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override;
    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override;
    QIconEngine *clone() const override;
    QString key() const override;
};
