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
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#undef Bool  // Xlib's macros would hide testing::Bool
#undef None

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
  std::string errors() const {
    std::ifstream f(err_path_);
    std::stringstream s;
    s << f.rdbuf();
    return s.str();
  }

 private:
  pid_t pid_ = -1;
  int out_ = -1;
  char err_path_[32] = "/tmp/user_e2e_XXXXXX";
};

// The colour of one screen pixel, as 0xRRGGBB.
unsigned long screen_pixel(int x, int y) {
  Display* d = XOpenDisplay(nullptr);
  XImage* image = XGetImage(d, DefaultRootWindow(d), x, y, 1, 1, AllPlanes, ZPixmap);
  unsigned long pixel = XGetPixel(image, 0, 0) & 0xFFFFFF;
  XDestroyImage(image);
  XCloseDisplay(d);
  return pixel;
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
  std::istringstream mark(app.wait_for("mark").substr(5));
  int x = 0, y = 0;
  mark >> x >> y;
  ASSERT_NE(app.wait_for("dialog"), "");
  pause_ms(300);
  press("Test dialog", "Return");
  ASSERT_NE(app.wait_for("uncovered"), "");
  pause_ms(300);
  EXPECT_EQ(screen_pixel(x, y), 0xFF0000ul);
  std::string between;
  press("Platform Test", "s");
  ASSERT_NE(app.wait_for("sync", &between), "");
  EXPECT_EQ(between, "");
  if (!GetParam()) return;  // minimising needs a window manager
  run(on_window("Platform Test") + "windowminimize --sync");
  pause_ms(300);
  run("xdotool search --name '^Platform Test$' windowactivate --sync");
  pause_ms(300);
  press("Platform Test", "s");
  ASSERT_NE(app.wait_for("sync", &between), "");
  EXPECT_EQ(between, "paint\n");
  EXPECT_EQ(screen_pixel(x, y), 0x000080ul);
}

TEST_P(UserE2e, MessageBoxAndCloseButtonDialogGoEveryWayWithoutAGtkWarning) {
  struct Box { const char* key; const char* shown; const char* title; const char* ok_spot; };
  const Box boxes[] = {{"m", "message_box", "Message", nullptr}, {"a", "dialog", "Shell font", "207 78"}};
  struct Way { const char* keys; const char* answer; const char* box_answer; };
  const Way ways[] = {{nullptr, "answer 1", "answer 1"}, {"Return", "answer 1", "answer 1"},
                      {"Escape", "answer 1", "answer 2"}, {"alt+F4", "answer 1", "answer 2"}};
  TestApp app;
  ASSERT_NE(app.wait_for("paint"), "");
  for (const Box& box : boxes) {
    for (const Way& way : ways) {
      SCOPED_TRACE(std::string(box.title) + " " + (way.keys ? way.keys : "click OK"));
      press("Platform Test", box.key);
      ASSERT_NE(app.wait_for(box.shown), "");
      pause_ms(300);
      if (way.keys) {
        press(box.title, way.keys);
      } else if (box.ok_spot) {
        run(on_window(box.title) + "mousemove --window %1 " + box.ok_spot + " click 1");
      } else {  // GTK lays the box out: its OK button sits in the lower right corner
        std::string size = output(on_window(box.title) + "getwindowgeometry --shell %1");
        int w = std::atoi(size.c_str() + size.find("WIDTH=") + 6), h = std::atoi(size.c_str() + size.find("HEIGHT=") + 7);
        run(on_window(box.title) + "mousemove --window %1 " + std::to_string(w - 30) + " " + std::to_string(h - 20) + " click 1");
      }
      EXPECT_EQ(app.wait_for("answer"), box.ok_spot ? way.box_answer : way.answer);
    }
  }
  EXPECT_EQ(app.errors(), "");
}

INSTANTIATE_TEST_SUITE_P(WindowManager, UserE2e, testing::Bool(),
                         [](const testing::TestParamInfo<bool>& p) { return p.param ? "Openbox" : "None"; });

}  // namespace
