// click_probe: clicks a point of a window with XTest and times, on CLOCK_MONOTONIC from the
// button's release, until the window is next drawn over a given rectangle (XDamage) or until a
// new top-level window is mapped (MapNotify on the root window).
//
//   click_probe --window ID --at X,Y (--painted X,Y,W,H | --mapped) [--timeout-ms N]
//
// Positions are in the window's pixels. Both listeners are set up, and everything the server had
// to say before the release is read and dropped, so nothing earlier stops the clock: the press
// repaints the button, which --painted does not count unless the rectangle covers it.
// Prints ms=... and, with --mapped, window=ID of the new window. Exit status: 0 done, 2 bad
// usage, 3 no X display or extension, 5 timed out.

#include <xcb/damage.h>
#include <xcb/xcb.h>
#include <xcb/xtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <memory>
#include <poll.h>
#include <string>

namespace {

double nowMs()
{
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

bool parseInts(const char *text, int *values, int count)
{
    for (int i = 0; i < count; ++i) {
        char *end = nullptr;
        values[i] = static_cast<int>(std::strtol(text, &end, 10));
        if (end == text || (i + 1 < count && *end != ','))
            return false;
        text = end + 1;
    }
    return true;
}

bool intersects(const xcb_rectangle_t &a, const int *b)
{
    return a.x < b[0] + b[2] && b[0] < a.x + a.width && a.y < b[1] + b[3] && b[1] < a.y + a.height;
}

// A round trip: once it returns, the server has handled every request before it.
void sync(xcb_connection_t *connection)
{
    std::free(xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));
}

void fakeInput(xcb_connection_t *connection, uint8_t type, uint8_t detail, xcb_window_t root, int x, int y)
{
    xcb_test_fake_input(
        connection, type, detail, XCB_CURRENT_TIME, root, static_cast<int16_t>(x), static_cast<int16_t>(y), 0);
}

int usage()
{
    std::fprintf(stderr, "usage: click_probe --window ID --at X,Y (--painted X,Y,W,H | --mapped) [--timeout-ms N]\n");
    return 2;
}

} // namespace

int main(int argc, char *argv[])
{
    xcb_window_t window = 0;
    int at[2] = {-1, -1};
    int painted[4] = {0, 0, 0, 0};
    bool mapped = false;
    bool rectangle = false;
    long timeoutMs = 10'000;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const char *value = i + 1 < argc ? argv[i + 1] : nullptr;
        if (arg == "--mapped") {
            mapped = true;
            continue;
        }
        if (!value)
            return usage();
        ++i;
        if (arg == "--window")
            window = static_cast<xcb_window_t>(std::strtoul(value, nullptr, 0));
        else if (arg == "--at" && parseInts(value, at, 2))
            continue;
        else if (arg == "--painted" && parseInts(value, painted, 4))
            rectangle = true;
        else if (arg == "--timeout-ms")
            timeoutMs = std::strtol(value, nullptr, 10);
        else
            return usage();
    }
    if (window == 0 || at[0] < 0 || mapped == rectangle)
        return usage();

    xcb_connection_t *connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection)) {
        std::fprintf(stderr, "click_probe: cannot connect to the X display\n");
        return 3;
    }
    const xcb_query_extension_reply_t *damage = xcb_get_extension_data(connection, &xcb_damage_id);
    const xcb_query_extension_reply_t *xtest = xcb_get_extension_data(connection, &xcb_test_id);
    if (!damage || !damage->present || !xtest || !xtest->present) {
        std::fprintf(stderr, "click_probe: the X server lacks DAMAGE or XTEST\n");
        return 3;
    }
    std::free(xcb_damage_query_version_reply(
        connection, xcb_damage_query_version(connection, XCB_DAMAGE_MAJOR_VERSION, XCB_DAMAGE_MINOR_VERSION), nullptr));

    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    std::unique_ptr<xcb_translate_coordinates_reply_t, decltype(&std::free)> place(
        xcb_translate_coordinates_reply(
            connection,
            xcb_translate_coordinates(
                connection, window, root, static_cast<int16_t>(at[0]), static_cast<int16_t>(at[1])),
            nullptr),
        &std::free);
    if (!place) {
        std::fprintf(stderr, "click_probe: no window 0x%x\n", window);
        return 3;
    }
    const uint32_t substructure = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(connection, root, XCB_CW_EVENT_MASK, &substructure);
    const xcb_damage_damage_t watch = xcb_generate_id(connection);
    xcb_damage_create(connection, watch, window, XCB_DAMAGE_REPORT_LEVEL_RAW_RECTANGLES);

    fakeInput(connection, XCB_MOTION_NOTIFY, 0, root, place->dst_x, place->dst_y);
    fakeInput(connection, XCB_BUTTON_PRESS, 1, root, 0, 0);
    sync(connection);
    while (xcb_generic_event_t *event = xcb_poll_for_event(connection))
        std::free(event);
    fakeInput(connection, XCB_BUTTON_RELEASE, 1, root, 0, 0);
    const double released = nowMs();
    xcb_flush(connection);

    const uint8_t damageNotify = damage->first_event + XCB_DAMAGE_NOTIFY;
    pollfd descriptor{xcb_get_file_descriptor(connection), POLLIN, 0};
    const double deadline = released + static_cast<double>(timeoutMs);
    for (double left = deadline - nowMs(); left > 0; left = deadline - nowMs()) {
        xcb_generic_event_t *event = xcb_poll_for_event(connection);
        if (!event) {
            poll(&descriptor, 1, static_cast<int>(left) + 1);
            continue;
        }
        const double seen = nowMs();
        const uint8_t type = event->response_type & 0x7f;
        bool done = false;
        if (rectangle && type == damageNotify)
            done = intersects(reinterpret_cast<xcb_damage_notify_event_t *>(event)->area, painted);
        if (mapped && type == XCB_MAP_NOTIFY) {
            const auto *map = reinterpret_cast<xcb_map_notify_event_t *>(event);
            done = map->window != window && !map->override_redirect;
            if (done)
                std::printf("window=0x%x\n", map->window);
        }
        std::free(event);
        if (done) {
            std::printf("ms=%.3f\n", seen - released);
            xcb_damage_destroy(connection, watch);
            xcb_disconnect(connection);
            return 0;
        }
    }
    std::fprintf(stderr, "click_probe: nothing within %ld ms\n", timeoutMs);
    xcb_disconnect(connection);
    return 5;
}
