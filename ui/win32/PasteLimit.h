#pragma once

#include <windows.h>

// Makes a paste into a single-line EDIT take only as much of the clipboard's text as a length
// rule of `limit` units (1 or more) can keep: the units from the caret up to the limit, never half a pair.
// The rule then leaves the same text and caret as after the whole paste, but the control never
// takes in, lays out and draws a megabyte first. False when the control cannot be subclassed.
bool limitPastes(HWND edit, int limit);
