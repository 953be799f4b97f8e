#pragma once

#include <string>

// Tells screen readers a message that nothing on the window reads out by itself: the result of
// a calculation lands in boxes that do not have the focus.
class Announcements
{
public:
    virtual ~Announcements() = default;
    virtual void announce(const std::wstring &message) = 0;

protected:
    Announcements() = default;
    Announcements(const Announcements &) = default;
    Announcements &operator=(const Announcements &) = default;
};
