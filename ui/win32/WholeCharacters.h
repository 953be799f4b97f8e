#pragma once

#include <windows.h>

// Makes a single-line EDIT control treat a surrogate pair as the one character it is: BackSpace
// and Delete remove both halves, the arrow keys (with Shift too) and the mouse never leave the
// caret or an end of the selection between them, and nothing typed or pasted goes in between.
// Positions and lengths still count 16-bit units. False when the control cannot be subclassed.
bool keepCharactersWhole(HWND edit);
