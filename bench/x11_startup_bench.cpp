// The start-up on a real X server: the time from the process start to its first window mapped,
// for the game (the real executable, whose first window is the about box) and, interleaved with
// it, for a bare Qt window with a menu bar and 225 pictures (startup_bench --bare); the medians
// and their ratio. The benchmark starts an Xvfb of its own without a window manager, so a map is
// the program's own doing, and watches the root window for it.
#include <xcb/xcb.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include "synthetic_records.h"

extern char** environ;

namespace {

using quorvin::bench::monotonicNs;

pid_t spawn(std::vector<std::string> words, const std::vector<std::string>& extraEnvironment,
            posix_spawn_file_actions_t* actions = nullptr) {
    std::vector<char*> args;
    for (std::string& word : words)
        args.push_back(word.data());
    args.push_back(nullptr);
    std::vector<std::string> environment(extraEnvironment);
    for (char** e = environ; *e; ++e)
        environment.emplace_back(*e); // the first of a name wins: ours come first
    std::vector<char*> envp;
    for (std::string& entry : environment)
        envp.push_back(entry.data());
    envp.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawnp(&pid, words[0].c_str(), actions, nullptr, args.data(), envp.data()) != 0)
        return -1;
    return pid;
}

// An Xvfb of our own on a free display; its number, or -1.
int startServer(pid_t& server) {
    int fds[2];
    if (pipe(fds) != 0) return -1;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], 3);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    server = spawn({"Xvfb", "-displayfd", "3", "-screen", "0", "1280x1024x24", "-nolisten", "tcp"},
                   {}, &actions);
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    char text[16] = {};
    const ssize_t n = server > 0 ? read(fds[0], text, sizeof text - 1) : -1;
    close(fds[0]);
    return n > 0 ? std::atoi(text) : -1;
}

struct Mapped {
    long long time = -1; // -1: none within the time allowed
    xcb_window_t window = XCB_NONE;
};

// Waits for the next top-level window to be mapped.
Mapped awaitMap(xcb_connection_t* x, int timeoutMs) {
    const long long deadline = monotonicNs() + timeoutMs * 1'000'000LL;
    for (;;) {
        while (xcb_generic_event_t* event = xcb_poll_for_event(x)) {
            const auto* map = reinterpret_cast<xcb_map_notify_event_t*>(event);
            const bool mapped =
                (event->response_type & 0x7F) == XCB_MAP_NOTIFY && !map->override_redirect;
            const xcb_window_t window = map->window;
            std::free(event);
            if (mapped) return {monotonicNs(), window};
        }
        const long long left = (deadline - monotonicNs()) / 1'000'000;
        if (left <= 0 || xcb_connection_has_error(x)) return {};
        pollfd watch{xcb_get_file_descriptor(x), POLLIN, 0};
        poll(&watch, 1, static_cast<int>(left));
    }
}

void drain(xcb_connection_t* x) {
    while (xcb_generic_event_t* event = xcb_poll_for_event(x))
        std::free(event);
}

// A click of the left button in the middle of a window, as the pointer would make it.
void click(xcb_connection_t* x, xcb_window_t root, xcb_window_t window) {
    for (const std::uint8_t type : {XCB_BUTTON_PRESS, XCB_BUTTON_RELEASE}) {
        xcb_button_press_event_t event{};
        event.response_type = type;
        event.detail = 1;
        event.time = XCB_CURRENT_TIME;
        event.root = root;
        event.event = window;
        event.event_x = event.event_y = 60;
        event.state = type == XCB_BUTTON_RELEASE ? XCB_BUTTON_MASK_1 : 0;
        event.same_screen = 1;
        xcb_send_event(x, 0, window,
                       type == XCB_BUTTON_PRESS ? XCB_EVENT_MASK_BUTTON_PRESS
                                                : XCB_EVENT_MASK_BUTTON_RELEASE,
                       reinterpret_cast<const char*>(&event));
    }
    xcb_flush(x);
}

struct Start {
    double firstMap = -1; // ms from the spawn to the first window mapped
    double nextMap = -1;  // with `closeFirst`: ms from the click on it to the next window mapped
};

// One start of a program, killed once it has shown what was asked.
Start startOnce(xcb_connection_t* x, xcb_window_t root, const std::vector<std::string>& command,
                const std::vector<std::string>& environment, bool closeFirst) {
    drain(x);
    Start start;
    const long long spawned = monotonicNs();
    const pid_t child = spawn(command, environment);
    if (child < 0) return start;
    const Mapped first = awaitMap(x, 10'000);
    if (first.time >= 0) start.firstMap = static_cast<double>(first.time - spawned) / 1e6;
    if (first.time >= 0 && closeFirst) {
        usleep(300'000); // the player reads the box
        const long long clicked = monotonicNs();
        click(x, root, first.window);
        const Mapped next = awaitMap(x, 10'000);
        if (next.time >= 0) start.nextMap = static_cast<double>(next.time - clicked) / 1e6;
    }
    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    usleep(50'000); // the server forgets the window before the next start
    drain(x);
    return start;
}

} // namespace

// x11_startup_bench <game> <startup_bench> [runs]
int main(int argc, char* argv[]) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: x11_startup_bench <game> <startup_bench> [runs]\n");
        return 2;
    }
    const int runs = argc > 3 ? std::max(1, std::atoi(argv[3])) : 31;
    pid_t server = 0;
    const int display = startServer(server);
    if (display < 0) {
        std::fprintf(stderr, "x11_startup_bench: no Xvfb (apt-get install xvfb)\n");
        return 1;
    }
    const std::string name = ":" + std::to_string(display);
    xcb_connection_t* x = xcb_connect(name.c_str(), nullptr);
    if (xcb_connection_has_error(x)) return 1;
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(x)).data;
    const std::uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(x, screen->root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(x);

    // Each in a home of its own, so nothing the game leaves behind changes the next start.
    quorvin::bench::TempFolder home;
    const std::vector<std::string> environment = {"DISPLAY=" + name, "QT_QPA_PLATFORM=xcb",
                                                  "HOME=" + home.path(),
                                                  "XDG_RUNTIME_DIR=" + home.path()};
    const std::vector<std::string> game = {argv[1]};
    const std::vector<std::string> bare = {argv[2], "--bare"};
    std::vector<double> gameTimes, bareTimes, nextTimes;
    // Interleaved, so a passing load touches both alike; the first pair warms the disk cache
    // (and the game writes its settings there).
    for (int r = -1; r < runs; ++r) {
        const Start g = startOnce(x, screen->root, game, environment, true);
        const Start b = startOnce(x, screen->root, bare, environment, false);
        if (g.firstMap < 0 || g.nextMap < 0 || b.firstMap < 0) {
            std::fprintf(stderr, "x11_startup_bench: a start did not map its windows\n");
            kill(server, SIGTERM);
            return 1;
        }
        if (r < 0) continue;
        gameTimes.push_back(g.firstMap);
        nextTimes.push_back(g.nextMap);
        bareTimes.push_back(b.firstMap);
    }
    xcb_disconnect(x);
    kill(server, SIGTERM);
    waitpid(server, nullptr, 0);

    const double gameMedian = quorvin::bench::median(gameTimes);
    const double bareMedian = quorvin::bench::median(bareTimes);
    std::printf("Start-up on an X server (Xvfb, no window manager), %d interleaved fresh processes "
                "each, median:\n",
                runs);
    std::printf("  the game: process start -> first window mapped (the about box)  %7.1f ms\n",
                gameMedian);
    std::printf("  a bare Qt window, a menu bar and 225 pictures: the same         %7.1f ms\n",
                bareMedian);
    std::printf("  ratio of the medians                                            %7.2f   "
                "target <= 1.15\n",
                gameMedian / bareMedian);
    std::printf("  the game: a click on the about box -> the game window mapped    %7.1f ms\n",
                quorvin::bench::median(nextTimes));
    return 0;
}
