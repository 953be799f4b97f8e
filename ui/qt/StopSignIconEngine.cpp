#include "StopSignIconEngine.h"

#include <QPainter>
#include <QPixmap>

void StopSignIconEngine::paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State)
{
    // Drawn on a 32-unit grid, so the shapes scale exactly with the size asked for.
    const qreal unit = rect.width() / 32.0;
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->translate(rect.topLeft());
    painter->scale(unit, rect.height() / 32.0);
    painter->setPen(Qt::NoPen);
    painter->setBrush(mode == QIcon::Disabled ? QColor(0x9e, 0x9e, 0x9e) : QColor(0xc6, 0x28, 0x28));
    painter->drawEllipse(QRectF(1, 1, 30, 30));
    painter->setPen(QPen(Qt::white, 4, Qt::SolidLine, Qt::RoundCap));
    painter->drawLine(QPointF(10.5, 10.5), QPointF(21.5, 21.5));
    painter->drawLine(QPointF(21.5, 10.5), QPointF(10.5, 21.5));
    painter->restore();
}

// QIconEngine's own leaves the new pixmap as it was allocated, and the corners outside the disc
// would show whatever that memory held.
QPixmap StopSignIconEngine::pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state)
{
    QPixmap pixmap(size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    paint(&painter, QRect(QPoint(0, 0), size), mode, state);
    return pixmap;
}

QIconEngine *StopSignIconEngine::clone() const
{
    return new StopSignIconEngine;
}

QString StopSignIconEngine::key() const
{
    return QStringLiteral("StopSignIconEngine");
}
