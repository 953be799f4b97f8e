#pragma once

#include <string>

// Tells screen readers a message that nothing on the window reads out by itself: the result of
// a calculation lands in boxes that do not have the focus.
class Announcer
{
public:
    virtual ~Announcer() = default;
    virtual void announce(const std::wstring &message) = 0;

protected:
    Announcer() = default;
    Announcer(const Announcer &) = default;
    Announcer &operator=(const Announcer &) = default;
};
