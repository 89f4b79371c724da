// main() of the end-to-end test programs: each runs on its own Xvfb server, so tests
// running side by side never share a pointer or a keyboard focus.
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include <gtest/gtest.h>

namespace {

pid_t xvfb_pid = -1;

// Starts Xvfb on a free display number (it reports the number through -displayfd).
bool start_xvfb() {
    int fds[2];
    if (pipe(fds) != 0) return false;
    xvfb_pid = fork();
    if (xvfb_pid == 0) {
        close(fds[0]);
        std::string fd = std::to_string(fds[1]);
        execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1280x1024x24",
               "-nolisten", "tcp", "-noreset", static_cast<char*>(nullptr));
        _exit(127);
    }
    close(fds[1]);
    std::string number;
    pollfd p = {fds[0], POLLIN, 0};
    while (poll(&p, 1, 10000) > 0) {
        char c;
        if (read(fds[0], &c, 1) != 1 || c == '\n') break;
        number += c;
    }
    close(fds[0]);
    if (number.empty()) return false;
    setenv("DISPLAY", (":" + number).c_str(), 1);
    unsetenv("WAYLAND_DISPLAY");
    setenv("GDK_BACKEND", "x11", 1);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    if (!start_xvfb()) {
        std::fprintf(stderr, "cannot start Xvfb for the end-to-end tests\n");
        return 1;
    }
    int result = RUN_ALL_TESTS();
    kill(xvfb_pid, SIGTERM);
    waitpid(xvfb_pid, nullptr, 0);
    return result;
}
