// The windowing half on a real X server (a private Xvfb), with and without a window
// manager, driven with xdotool as a user would: drawing stays on screen when a dialog
// uncovers it, with no repaint; a restore repaints once; the message box and a dialog
// with a close button go away every way a user closes them, without a GTK warning.
//
// Nothing waits a fixed time: each step waits for the line the program writes when it
// has handled the input, or for the screen to show what it should.
#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>

#include <gtest/gtest.h>

namespace {

// Runs a shell command, up to three times: xdotool's search stops with an X error, before
// it acts, when a window it walks past is destroyed meanwhile (a box just closed going away).
void run(const std::string& command) {
    int status = 1;
    for (int tries = 0; tries < 3 && status != 0; ++tries) status = std::system(command.c_str());
    ASSERT_EQ(status, 0) << command;
}

// A command run by sh with its standard output read back line by line; stopped when it
// goes out of scope. The shell writes its process id first, then becomes the command.
class Process {
public:
    explicit Process(const std::string& command)
        : pipe_(popen(("echo $$; exec " + command).c_str(), "re")) {
        std::setvbuf(pipe_, nullptr, _IONBF,
                     0);  // read no further than a line, so that poll sees the next
        pid_ = std::atoi(wait_for("").c_str());
    }
    ~Process() {
        if (pid_ > 0) kill(pid_, SIGTERM);
        pclose(pipe_);
    }
    // The next line that starts with prefix, within 10 s ("" if none); log gets the lines
    // before it.
    std::string wait_for(const std::string& prefix, std::string* log = nullptr) {
        pollfd p{fileno(pipe_), POLLIN, 0};
        for (char line[1024]; poll(&p, 1, 10000) > 0 && std::fgets(line, sizeof line, pipe_);) {
            if (std::string(line).rfind(prefix, 0) == 0)
                return std::string(line, std::strcspn(line, "\n"));
            if (log) *log += line;
        }
        return "";
    }

private:
    FILE* pipe_;
    pid_t pid_ = -1;
};

// Whether the screen pixel at (x, y) shows colour ("#RRGGBB") within 10 s: the server
// shows what a window drew once the program has been back to its loop.
bool pixel_becomes(int x, int y, const std::string& colour) {
    const std::string probe = "import -window root -crop 1x1+" + std::to_string(x) + "+" +
                              std::to_string(y) + " -depth 8 txt:- | grep -q '" + colour + "'";
    return std::system(("for try in $(seq 50); do " + probe + " && exit 0; sleep 0.2; done; exit 1")
                           .c_str()) == 0;
}

std::string on_window(const std::string& title) {
    return "xdotool search --sync --onlyvisible --name '^" + title + "$' ";
}

// Keys as a user types them, into the window given the focus.
void press(const std::string& title, const std::string& keys) {
    run(on_window(title) + "windowfocus --sync %1 && xdotool key " + keys);
}

// Each test runs with a window manager (openbox), started before the program and ready
// (it runs its startup command once it manages the screen), or without one. Without
// openbox installed, its cases fail.
class UserE2e : public testing::TestWithParam<bool> {
protected:
    void SetUp() override {
        if (!GetParam()) return;
        ASSERT_EQ(wm_.emplace("openbox --startup 'echo ready' 2>/dev/null").wait_for("ready"),
                  "ready");
    }
    std::optional<Process> wm_;
};

TEST_P(UserE2e, DrawingUncoveredByADialogStaysAndOnlyARestoreRepaints) {
    Process app(USER_TEST_APP " 2>&1");
    ASSERT_NE(app.wait_for("paint"), "");
    run(on_window("Platform Test") + "mousemove --window %1 100 150 click 1");
    int x = 0, y = 0;
    ASSERT_EQ(std::sscanf(app.wait_for("mark").c_str(), "mark %d %d", &x, &y), 2);
    ASSERT_NE(app.wait_for("dialog"), "");
    press("Test dialog", "Return");
    ASSERT_NE(app.wait_for("uncovered"), "");
    EXPECT_TRUE(pixel_becomes(x, y, "#FF0000"));
    std::string between;
    press("Platform Test", "s");
    ASSERT_NE(app.wait_for("sync", &between), "");
    EXPECT_EQ(between, "");
    if (!GetParam()) return;  // minimising needs a window manager
    run(on_window("Platform Test") + "windowminimize --sync");
    run("xdotool search --name '^Platform Test$' windowactivate --sync");
    ASSERT_NE(app.wait_for("paint", &between), "");
    press("Platform Test", "s");
    ASSERT_NE(app.wait_for("sync", &between), "");
    EXPECT_EQ(between, "");  // one repaint, no second
    EXPECT_TRUE(pixel_becomes(x, y, "#000080"));
}

TEST_P(UserE2e, MessageBoxAndCloseButtonDialogGoEveryWayWithoutAGtkWarning) {
    Process app(USER_TEST_APP " 2>&1");
    std::string log;  // the program's other lines, GLib's warnings among them
    ASSERT_NE(app.wait_for("paint", &log), "");
    for (bool box : {true, false}) {
        const std::string title = box ? "Message" : "Shell font";
        for (const std::string way : {"click", "Return", "Escape", "alt+F4"}) {
            SCOPED_TRACE(title + " " + way);
            press("Platform Test", box ? "m" : "a");
            ASSERT_NE(app.wait_for(box ? "message_box" : "dialog", &log), "");
            // A click on the dialog's OK, or on the box's, which GTK puts in its lower right
            // corner.
            if (way != "click")
                press(title, way);
            else
                run("eval $(" + on_window(title) +
                    "getwindowgeometry --shell %1); xdotool mousemove --window $WINDOW " +
                    (box ? "$((WIDTH - 30)) $((HEIGHT - 20))" : "207 78") + " click 1");
            // The box has one answer; the dialog's close request and Escape are Cancel.
            EXPECT_EQ(app.wait_for("answer", &log),
                      !box && way != "click" && way != "Return" ? "answer 2" : "answer 1");
        }
    }
    EXPECT_EQ(log.find("**"), std::string::npos) << log;
}

INSTANTIATE_TEST_SUITE_P(WindowManager, UserE2e, testing::Bool(),
                         [](const testing::TestParamInfo<bool>& p) {
                             return p.param ? "Openbox" : "None";
                         });

}  // namespace
