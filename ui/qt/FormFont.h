#pragma once

#include <QFont>

// The window's font: a condensed face that the program carries, so that the longest category,
// the explanatory sentence and every caption fit their boxes on any machine.
QFont formFont();
