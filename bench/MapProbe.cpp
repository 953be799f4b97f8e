// map_probe: starts a program and times how long it takes to put its top-level window on the
// screen and to paint it, as the X server sees it, then reads its memory.
//
//   map_probe [--timeout-ms N] [--settle-ms N] [--hold] -- PROGRAM [ARGUMENTS...]
//
// It listens for SubstructureNotify on the root window before the program exists, so no map can
// be missed, and stops the clock at the first MapNotify of a window that is not override-redirect
// and whose _NET_WM_PID, when set, is the program's; the window must then be viewable. The clock
// starts in the child just before exec, on CLOCK_MONOTONIC. With no window manager the window is
// not reparented, so the MapNotify arrives for the top-level itself. The first paint is the first
// DAMAGE report on that window after its map; the damage is watched from the window's CreateNotify,
// long before the program can draw.
//
// After the first paint it waits --settle-ms, then reads
// VmHWM and VmRSS from /proc/PID/status. Without --hold it then ends the program; with --hold it
// leaves it running and waits until someone else ends it.
//
// Prints key=value lines on stdout: pid, window, map_ms, paint_ms, vm_hwm_kib, vm_rss_kib.
// Exit status: 0 done, 2 bad usage, 3 no X display, 4 the program failed or exited first,
// 5 timed out.

#include <xcb/damage.h>
#include <xcb/xcb.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <fstream>
#include <memory>
#include <poll.h>
#include <string>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

double millisecondsBetween(const timespec &from, const timespec &to)
{
    return static_cast<double>(to.tv_sec - from.tv_sec) * 1e3 + static_cast<double>(to.tv_nsec - from.tv_nsec) / 1e6;
}

timespec now()
{
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t;
}

long statusField(pid_t pid, const char *field)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    const std::string prefix = std::string(field) + ":";
    for (std::string line; std::getline(status, line);) {
        if (line.compare(0, prefix.size(), prefix) == 0)
            return std::strtol(line.c_str() + prefix.size(), nullptr, 10);
    }
    return -1;
}

xcb_atom_t atom(xcb_connection_t *connection, const char *name)
{
    std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> reply(
        xcb_intern_atom_reply(connection, xcb_intern_atom(connection, 0, std::strlen(name), name), nullptr),
        &std::free);
    return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

// The pid the window's owner wrote on it, 0 when it wrote none.
pid_t windowPid(xcb_connection_t *connection, xcb_window_t window, xcb_atom_t netWmPid)
{
    std::unique_ptr<xcb_get_property_reply_t, decltype(&std::free)> reply(
        xcb_get_property_reply(
            connection, xcb_get_property(connection, 0, window, netWmPid, XCB_ATOM_CARDINAL, 0, 1), nullptr),
        &std::free);
    if (!reply || reply->format != 32 || xcb_get_property_value_length(reply.get()) < 4)
        return 0;
    return static_cast<pid_t>(*static_cast<const uint32_t *>(xcb_get_property_value(reply.get())));
}

bool isViewable(xcb_connection_t *connection, xcb_window_t window)
{
    std::unique_ptr<xcb_get_window_attributes_reply_t, decltype(&std::free)> reply(
        xcb_get_window_attributes_reply(connection, xcb_get_window_attributes(connection, window), nullptr),
        &std::free);
    return reply && reply->map_state == XCB_MAP_STATE_VIEWABLE;
}

void endChild(pid_t pid)
{
    kill(pid, SIGTERM);
    for (int i = 0; i < 200; ++i) {
        if (waitpid(pid, nullptr, WNOHANG) == pid)
            return;
        usleep(10'000);
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
}

int usage()
{
    std::fprintf(stderr, "usage: map_probe [--timeout-ms N] [--settle-ms N] [--hold] -- PROGRAM [ARGUMENTS...]\n");
    return 2;
}

} // namespace

int main(int argc, char *argv[])
{
    long timeoutMs = 10'000;
    long settleMs = 250;
    bool hold = false;
    int first = 1;
    for (; first < argc; ++first) {
        const std::string arg = argv[first];
        if (arg == "--") {
            ++first;
            break;
        }
        if (arg == "--hold")
            hold = true;
        else if (arg == "--timeout-ms" && first + 1 < argc)
            timeoutMs = std::strtol(argv[++first], nullptr, 10);
        else if (arg == "--settle-ms" && first + 1 < argc)
            settleMs = std::strtol(argv[++first], nullptr, 10);
        else
            return usage();
    }
    if (first >= argc)
        return usage();

    int screenNumber = 0;
    xcb_connection_t *connection = xcb_connect(nullptr, &screenNumber);
    if (xcb_connection_has_error(connection)) {
        std::fprintf(stderr, "map_probe: cannot connect to the X display\n");
        return 3;
    }
    fcntl(xcb_get_file_descriptor(connection), F_SETFD, FD_CLOEXEC);
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(connection));
    for (int i = 0; i < screenNumber; ++i)
        xcb_screen_next(&screens);
    const xcb_window_t root = screens.data->root;
    const xcb_atom_t netWmPid = atom(connection, "_NET_WM_PID");
    const xcb_query_extension_reply_t *damage = xcb_get_extension_data(connection, &xcb_damage_id);
    if (!damage || !damage->present) {
        std::fprintf(stderr, "map_probe: the X server lacks DAMAGE\n");
        return 3;
    }
    std::free(xcb_damage_query_version_reply(
        connection, xcb_damage_query_version(connection, XCB_DAMAGE_MAJOR_VERSION, XCB_DAMAGE_MINOR_VERSION), nullptr));
    const uint8_t damageNotify = damage->first_event + XCB_DAMAGE_NOTIFY;

    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    if (std::unique_ptr<xcb_generic_error_t, decltype(&std::free)> error(
            xcb_request_check(connection,
                              xcb_change_window_attributes_checked(connection, root, XCB_CW_EVENT_MASK, &mask)),
            &std::free);
        error) {
        std::fprintf(stderr, "map_probe: cannot watch the root window (X error %d)\n", error->error_code);
        return 3;
    }

    int startPipe[2];
    if (pipe2(startPipe, O_CLOEXEC) != 0) {
        std::perror("map_probe: pipe");
        return 4;
    }
    const pid_t parent = getpid();
    const pid_t pid = fork();
    if (pid < 0) {
        std::perror("map_probe: fork");
        return 4;
    }
    if (pid == 0) {
        close(startPipe[0]);
        // Never leave the program behind if the probe itself is killed.
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (getppid() != parent)
            _exit(127);
        // The probe's own output is read as key=value lines: keep the program's out of it.
        if (const int quiet = open("/dev/null", O_WRONLY); quiet >= 0)
            dup2(quiet, STDOUT_FILENO);
        const timespec start = now();
        (void)!write(startPipe[1], &start, sizeof start);
        execvp(argv[first], argv + first);
        const int error = errno;
        (void)!write(startPipe[1], &error, sizeof error);
        _exit(127);
    }
    close(startPipe[1]);
    timespec start{};
    if (read(startPipe[0], &start, sizeof start) != static_cast<ssize_t>(sizeof start)) {
        std::fprintf(stderr, "map_probe: the child did not start\n");
        return 4;
    }
    int execError = 0;
    if (read(startPipe[0], &execError, sizeof execError) > 0) {
        std::fprintf(stderr, "map_probe: cannot run %s: %s\n", argv[first], std::strerror(execError));
        waitpid(pid, nullptr, 0);
        return 4;
    }
    close(startPipe[0]);

    std::printf("pid=%d\n", pid);
    std::fflush(stdout);

    const timespec deadline = [&] {
        timespec t = start;
        t.tv_sec += timeoutMs / 1000;
        t.tv_nsec += (timeoutMs % 1000) * 1'000'000;
        if (t.tv_nsec >= 1'000'000'000) {
            t.tv_sec += 1;
            t.tv_nsec -= 1'000'000'000;
        }
        return t;
    }();

    xcb_window_t window = XCB_WINDOW_NONE;
    timespec mapped{};
    timespec painted{};
    bool paintSeen = false;
    pollfd watch{xcb_get_file_descriptor(connection), POLLIN, 0};
    while (!paintSeen) {
        xcb_generic_event_t *event = xcb_poll_for_event(connection);
        if (!event) {
            if (xcb_connection_has_error(connection)) {
                std::fprintf(stderr, "map_probe: lost the X display\n");
                endChild(pid);
                return 3;
            }
            if (waitpid(pid, nullptr, WNOHANG) == pid) {
                std::fprintf(stderr, "map_probe: %s exited before its window was painted\n", argv[first]);
                return 4;
            }
            const double left = millisecondsBetween(now(), deadline);
            if (left <= 0) {
                std::fprintf(stderr,
                             "map_probe: no window %s within %ld ms\n",
                             window == XCB_WINDOW_NONE ? "mapped" : "painted",
                             timeoutMs);
                endChild(pid);
                return 5;
            }
            poll(&watch, 1, left < 50 ? static_cast<int>(left) + 1 : 50);
            continue;
        }
        std::unique_ptr<xcb_generic_event_t, decltype(&std::free)> owned(event, &std::free);
        const timespec at = now();
        const uint8_t type = event->response_type & 0x7f;
        if (type == XCB_CREATE_NOTIFY) {
            const auto *created = reinterpret_cast<const xcb_create_notify_event_t *>(event);
            // Errors for windows gone before this request arrive as events, and are dropped.
            if (!created->override_redirect)
                xcb_damage_create(
                    connection, xcb_generate_id(connection), created->window, XCB_DAMAGE_REPORT_LEVEL_NON_EMPTY);
            xcb_flush(connection);
            continue;
        }
        if (type == damageNotify && window != XCB_WINDOW_NONE
            && reinterpret_cast<const xcb_damage_notify_event_t *>(event)->drawable == window) {
            painted = at;
            paintSeen = true;
            continue;
        }
        if (type != XCB_MAP_NOTIFY || window != XCB_WINDOW_NONE)
            continue;
        const auto *map = reinterpret_cast<const xcb_map_notify_event_t *>(event);
        if (map->override_redirect)
            continue;
        const pid_t owner = windowPid(connection, map->window, netWmPid);
        if (owner != 0 && owner != pid)
            continue;
        if (!isViewable(connection, map->window))
            continue;
        window = map->window;
        mapped = at;
    }

    std::printf("window=0x%x\nmap_ms=%.3f\npaint_ms=%.3f\n",
                window,
                millisecondsBetween(start, mapped),
                millisecondsBetween(start, painted));
    std::fflush(stdout);

    if (settleMs > 0)
        usleep(static_cast<useconds_t>(settleMs) * 1000);
    std::printf("vm_hwm_kib=%ld\nvm_rss_kib=%ld\n", statusField(pid, "VmHWM"), statusField(pid, "VmRSS"));
    std::fflush(stdout);
    xcb_disconnect(connection);

    if (hold) {
        int status = 0;
        waitpid(pid, &status, 0);
        return 0;
    }
    endChild(pid);
    return 0;
}
