// The windowing half on a real X server (a private Xvfb), with and without a window
// manager, driven with xdotool as a user would: drawing stays on screen when a dialog
// uncovers it, with no repaint; a restore repaints once; the message box and a dialog
// with a close button go away every way a user closes them, without a GTK warning.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include <gtest/gtest.h>

namespace {

void run(const std::string& command) { ASSERT_EQ(std::system(command.c_str()), 0) << command; }
void pause_ms(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

pid_t spawn(const char* program, int out_fd, int err_fd) {
  pid_t pid = fork();
  if (pid == 0) {
    if (out_fd >= 0) dup2(out_fd, 1);
    if (err_fd >= 0) dup2(err_fd, 2);
    execlp(program, program, static_cast<char*>(nullptr));
    _exit(127);
  }
  return pid;
}

void stop(pid_t pid) {
  kill(pid, SIGTERM);
  waitpid(pid, nullptr, 0);
}

std::string output(const std::string& command) {
  std::string out;
  if (FILE* p = popen(command.c_str(), "r")) {
    char buf[256];
    while (std::fgets(buf, sizeof buf, p)) out += buf;
    pclose(p);
  }
  return out;
}

// The test program, with its stdout read line by line and its stderr kept in a file.
class TestApp {
 public:
  TestApp() {
    int fds[2];
    EXPECT_EQ(pipe(fds), 0);
    int err = mkstemp(err_path_);
    pid_ = spawn(USER_TEST_APP, fds[1], err);
    close(fds[1]);
    close(err);
    out_ = fds[0];
  }
  ~TestApp() {
    stop(pid_);
    close(out_);
    unlink(err_path_);
  }
  // The next line that starts with `prefix`, within 10 s ("" if none); `skipped` gets the
  // lines before it.
  std::string wait_for(const std::string& prefix, std::string* skipped = nullptr) {
    std::string line;
    pollfd p{out_, POLLIN, 0};
    while (poll(&p, 1, 10000) > 0) {
      char c;
      if (read(out_, &c, 1) != 1) break;
      if (c != '\n') { line += c; continue; }
      if (line.rfind(prefix, 0) == 0) return line;
      if (skipped) *skipped += line + "\n";
      line.clear();
    }
    return "";
  }
  std::string errors() const { return output(std::string("cat ") + err_path_); }

 private:
  pid_t pid_ = -1;
  int out_ = -1;
  char err_path_[32] = "/tmp/user_e2e_XXXXXX";
};

// The colour of one screen pixel, as "#RRGGBB".
std::string screen_pixel(int x, int y) {
  std::string text = output("import -window root -crop 1x1+" + std::to_string(x) + "+" + std::to_string(y) +
                            " -depth 8 txt:- | grep -o '#[0-9A-F]\\{6\\}'");
  return text.substr(0, 7);
}

std::string on_window(const std::string& title) {
  return "xdotool search --sync --onlyvisible --name '^" + title + "$' ";
}

// Keys as a user types them, into the window given the focus.
void press(const std::string& title, const std::string& keys) {
  run(on_window(title) + "windowfocus --sync %1");
  run("xdotool key " + keys);
}

// Each test runs with a window manager (openbox) or without one.
class UserE2e : public testing::TestWithParam<bool> {
 protected:
  void SetUp() override {
    if (!GetParam()) return;
    ASSERT_EQ(std::system("command -v openbox > /dev/null"), 0) << "these cases need openbox";
    wm_ = spawn("openbox", -1, open("/dev/null", O_WRONLY));
    pause_ms(500);
  }
  void TearDown() override {
    if (wm_ > 0) stop(wm_);
  }
  pid_t wm_ = -1;
};

TEST_P(UserE2e, DrawingUncoveredByADialogStaysAndOnlyARestoreRepaints) {
  TestApp app;
  ASSERT_NE(app.wait_for("paint"), "");
  run(on_window("Platform Test") + "mousemove --window %1 100 150 click 1");
  int x = 0, y = 0;
  ASSERT_EQ(std::sscanf(app.wait_for("mark").c_str(), "mark %d %d", &x, &y), 2);
  ASSERT_NE(app.wait_for("dialog"), "");
  pause_ms(300);
  press("Test dialog", "Return");
  ASSERT_NE(app.wait_for("uncovered"), "");
  pause_ms(300);
  EXPECT_EQ(screen_pixel(x, y), "#FF0000");
  std::string between;
  press("Platform Test", "s");
  ASSERT_NE(app.wait_for("sync", &between), "");
  EXPECT_EQ(between, "");
  if (!GetParam()) return;  // minimising needs a window manager
  run(on_window("Platform Test") + "windowminimize --sync");
  pause_ms(300);
  run("xdotool search --name '^Platform Test$' windowactivate --sync");
  ASSERT_NE(app.wait_for("paint", &between), "");
  pause_ms(300);
  press("Platform Test", "s");
  ASSERT_NE(app.wait_for("sync", &between), "");
  EXPECT_EQ(between, "");  // one repaint, no second
  EXPECT_EQ(screen_pixel(x, y), "#000080");
}

TEST_P(UserE2e, MessageBoxAndCloseButtonDialogGoEveryWayWithoutAGtkWarning) {
  const char* ways[] = {nullptr, "Return", "Escape", "alt+F4"};  // none: a click on OK
  TestApp app;
  ASSERT_NE(app.wait_for("paint"), "");
  for (bool box : {true, false}) {
    std::string title = box ? "Message" : "Shell font";
    for (const char* way : ways) {
      SCOPED_TRACE(title + " " + (way ? way : "click OK"));
      press("Platform Test", box ? "m" : "a");
      ASSERT_NE(app.wait_for(box ? "message_box" : "dialog"), "");
      pause_ms(300);
      std::string spot = "207 78";  // the dialog's OK; GTK puts the box's in its lower right corner
      if (box) {
        std::string size = output(on_window(title) + "getwindowgeometry --shell %1");
        spot = std::to_string(std::atoi(&size[size.find("WIDTH=") + 6]) - 30) + " " +
               std::to_string(std::atoi(&size[size.find("HEIGHT=") + 7]) - 20);
      }
      if (way) press(title, way);
      else run(on_window(title) + "mousemove --window %1 " + spot + " click 1");
      // The box has one answer; the dialog's close request and Escape are Cancel.
      bool cancel = !box && way && way[0] != 'R';
      EXPECT_EQ(app.wait_for("answer"), cancel ? "answer 2" : "answer 1");
    }
  }
  EXPECT_EQ(app.errors(), "");
}

INSTANTIATE_TEST_SUITE_P(WindowManager, UserE2e, testing::Bool(),
                         [](const testing::TestParamInfo<bool>& p) { return p.param ? "Openbox" : "None"; });

}  // namespace
