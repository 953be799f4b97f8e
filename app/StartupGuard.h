#pragma once

// Qt aborts, and may dump core, when no platform plugin can start: no display, an unknown
// -platform, a Wayland session without Qt's Wayland plugin. From construction to release() the
// guard holds back Qt's messages and turns that abort into one line on stderr that names what
// is missing, and exit status 1. On release, the messages it held are passed on as usual.
class StartupGuard
{
public:
    StartupGuard();
    ~StartupGuard();
    StartupGuard(const StartupGuard &) = delete;
    StartupGuard &operator=(const StartupGuard &) = delete;

    void release();
};
