#pragma once

#include <QApplication>
#include <QWidget>

// Whether an open modal box keeps input from a widget, as Qt keeps the keyboard and mouse from
// it. Requests that reach a widget by other ways (a screen reader's, a timer's) ask this first.
inline bool blockedByModal(const QWidget *widget)
{
    const QWidget *modal = QApplication::activeModalWidget();
    return modal && modal != widget && !modal->isAncestorOf(widget);
}
