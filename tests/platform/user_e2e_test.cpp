// The windowing half driven for real: user_test_app runs on a private Xvfb server, xdotool
// moves the mouse, clicks and types, and the program's log tells what its window and
// dialog procedures received. Every wait is bounded; a test that fails kills its program.
#include <cairo.h>
#include <gtest/gtest.h>
// After gtest: Xlib's None and Bool macros would break its headers.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

long now_ms() {
  using namespace std::chrono;
  return (long)duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}
void sleep_ms(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

// Runs a shell command under `timeout`; its standard output.
std::string run(const std::string& cmd, int seconds = 10) {
  std::string full = "timeout " + std::to_string(seconds) + " sh -c '" + cmd + "' 2>/dev/null";
  std::string out;
  if (FILE* p = popen(full.c_str(), "r")) {
    char buf[256];
    while (fgets(buf, sizeof buf, p)) out += buf;
    pclose(p);
  }
  return out;
}

std::string first_line(const std::string& s) { return s.substr(0, s.find('\n')); }

// The first visible window whose name matches, waiting up to `seconds`.
std::string find_window(const std::string& name_regex, int seconds = 10) {
  return first_line(run("xdotool search --sync --onlyvisible --name \"" + name_regex + "\"", seconds));
}
std::string find_window_class(const std::string& class_regex, int seconds = 10) {
  return first_line(run("xdotool search --sync --onlyvisible --classname \"" + class_regex + "\"", seconds));
}

bool window_visible(const std::string& name_regex) {
  return !first_line(run("xdotool search --onlyvisible --name \"" + name_regex + "\"", 3)).empty();
}

// The window's position and size as the X server has them.
bool geometry(const std::string& id, int& x, int& y, int& w, int& h) {
  std::string g = run("xdotool getwindowgeometry " + id);
  size_t p = g.find("Position: "), s = g.find("Geometry: ");
  return p != std::string::npos && s != std::string::npos &&
         std::sscanf(g.c_str() + p, "Position: %d,%d", &x, &y) == 2 &&
         std::sscanf(g.c_str() + s, "Geometry: %dx%d", &w, &h) == 2;
}

// What a window manager's close button does: WM_DELETE_WINDOW to the client.
void request_close(const std::string& id) {
  Display* d = XOpenDisplay(nullptr);
  ASSERT_NE(d, nullptr);
  Window w = (Window)std::strtoul(id.c_str(), nullptr, 10);
  XEvent e{};
  e.xclient.type = ClientMessage;
  e.xclient.window = w;
  e.xclient.message_type = XInternAtom(d, "WM_PROTOCOLS", False);
  e.xclient.format = 32;
  e.xclient.data.l[0] = (long)XInternAtom(d, "WM_DELETE_WINDOW", False);
  e.xclient.data.l[1] = CurrentTime;
  XSendEvent(d, w, False, NoEventMask, &e);
  XCloseDisplay(d);
}

// An RGB pixel of an X window, read back from the server.
unsigned long screen_pixel(const std::string& id, int x, int y) {
  Display* d = XOpenDisplay(nullptr);
  if (!d) return ~0ul;
  Window w = (Window)std::strtoul(id.c_str(), nullptr, 10);
  XImage* img = XGetImage(d, w, x, y, 1, 1, AllPlanes, ZPixmap);
  unsigned long p = img ? XGetPixel(img, 0, 0) & 0xFFFFFF : ~0ul;
  if (img) XDestroyImage(img);
  XCloseDisplay(d);
  return p;
}

class TestApp {
 public:
  TestApp() {
    char tmpl[] = "/tmp/user_e2e_XXXXXX";
    dir_ = mkdtemp(tmpl);
    log_ = dir_ + "/log";
    pid_ = fork();
    if (pid_ == 0) {
      prctl(PR_SET_PDEATHSIG, SIGKILL);  // never outlives a test run that was killed
      setenv("USER_TEST_LOG", log_.c_str(), 1);
      setenv("VAPORA_SNAPSHOT_DIR", dir_.c_str(), 1);
      execl(USER_TEST_APP, USER_TEST_APP, (char*)nullptr);
      _exit(127);
    }
  }
  ~TestApp() {
    if (pid_ > 0 && exit_status_ == -2) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
    }
    run("rm -rf " + dir_);
  }

  std::string log() const {
    std::ifstream in(log_);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }
  // Waits until the log has a line starting with `prefix` after the first `skip` such
  // lines; returns that line, or "" on timeout.
  std::string wait_line(const std::string& prefix, int skip = 0, int timeout_ms = 5000) const {
    long end = now_ms() + timeout_ms;
    for (;;) {
      std::istringstream lines(log());
      std::string line;
      int seen = 0;
      while (std::getline(lines, line))
        if (line.compare(0, prefix.size(), prefix) == 0 && seen++ == skip) return line;
      if (now_ms() > end) return "";
      sleep_ms(10);
    }
  }
  int count(const std::string& prefix) const {
    std::istringstream lines(log());
    std::string line;
    int n = 0;
    while (std::getline(lines, line)) n += line.compare(0, prefix.size(), prefix) == 0;
    return n;
  }
  int wait_exit(int timeout_ms) {
    long end = now_ms() + timeout_ms;
    for (;;) {
      int status;
      if (waitpid(pid_, &status, WNOHANG) == pid_) {
        exit_status_ = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        return exit_status_;
      }
      if (now_ms() > end) return -3;
      sleep_ms(20);
    }
  }
  // The window's backing surface, by the snapshot signal; the PNG's path or "".
  std::string snapshot(const std::string& title) {
    std::string path = dir_ + "/" + title + ".png";
    std::remove(path.c_str());
    kill(pid_, SIGUSR1);
    struct stat st;
    for (long end = now_ms() + 5000; now_ms() < end; sleep_ms(10))
      if (stat(path.c_str(), &st) == 0) return path;
    return "";
  }

  std::string window;  // X id of the main window

 private:
  pid_t pid_ = -1;
  int exit_status_ = -2;
  std::string dir_, log_;
};

// Starts the program and waits for its window and its first paint.
void start(TestApp& app) {
  app.window = find_window("^Platform Test$");
  ASSERT_FALSE(app.window.empty()) << app.log();
  ASSERT_FALSE(app.wait_line("ready").empty()) << app.log();
}

void close_and_expect_clean_exit(TestApp& app) {
  request_close(app.window);
  EXPECT_FALSE(app.wait_line("destroy").empty()) << app.log();
  EXPECT_EQ(app.wait_exit(5000), 0) << app.log();
  EXPECT_FALSE(app.wait_line("exit 0", 0, 1000).empty()) << app.log();
}

// A pixel of a PNG snapshot: "r,g,b".
std::string png_pixel(const std::string& path, int x, int y) {
  cairo_surface_t* png = cairo_image_surface_create_from_png(path.c_str());
  std::string out = "unreadable";
  if (cairo_surface_status(png) == CAIRO_STATUS_SUCCESS && x < cairo_image_surface_get_width(png) &&
      y < cairo_image_surface_get_height(png)) {
    const unsigned char* row = cairo_image_surface_get_data(png) + y * cairo_image_surface_get_stride(png);
    uint32_t p = reinterpret_cast<const uint32_t*>(row)[x];
    out = std::to_string((p >> 16) & 0xFF) + "," + std::to_string((p >> 8) & 0xFF) + "," +
          std::to_string(p & 0xFF);
  }
  cairo_surface_destroy(png);
  return out;
}

TEST(UserWindow, ClientAreaPaintMouseAndClose) {
  TestApp app;
  ASSERT_NO_FATAL_FAILURE(start(app));
  // 1000 x 700 outer, less the fixed frame and caption.
  EXPECT_FALSE(app.wait_line("create 994 671").empty()) << app.log();
  int x, y, w, h;
  ASSERT_TRUE(geometry(app.window, x, y, w, h));
  EXPECT_EQ(w, 994);
  EXPECT_EQ(h, 671);
  // UpdateWindow paints the whole client area before the loop starts.
  EXPECT_EQ(app.wait_line("paint"), "paint 0 0 994 671") << app.log();

  run("xdotool mousemove --window " + app.window + " 100 200");
  EXPECT_EQ(app.wait_line("mousemove 100 200"), "mousemove 100 200 cursor 100 200") << app.log();
  run("xdotool mousemove --window " + app.window + " 640 333");
  EXPECT_EQ(app.wait_line("mousemove 640 333"), "mousemove 640 333 cursor 640 333") << app.log();
  run("xdotool click 1");
  EXPECT_FALSE(app.wait_line("lbuttondown 640 333").empty()) << app.log();

  // What GetDC drew outside WM_PAINT stays in the surface and on the screen.
  std::string png = app.snapshot("Platform Test");
  ASSERT_FALSE(png.empty());
  EXPECT_EQ(png_pixel(png, 640, 333), "255,255,0");
  EXPECT_EQ(png_pixel(png, 10, 10), "0,0,128");
  long end = now_ms() + 3000;
  while (screen_pixel(app.window, 640, 333) != 0xFFFF00 && now_ms() < end) sleep_ms(20);
  EXPECT_EQ(screen_pixel(app.window, 640, 333), 0xFFFF00ul);
  EXPECT_EQ(screen_pixel(app.window, 10, 10), 0x000080ul);

  close_and_expect_clean_exit(app);
}

TEST(UserWindow, KeysCharactersAndAccelerators) {
  TestApp app;
  ASSERT_NO_FATAL_FAILURE(start(app));
  run("xdotool key a");
  EXPECT_FALSE(app.wait_line("keydown 65").empty()) << app.log();
  EXPECT_FALSE(app.wait_line("char 97").empty()) << app.log();
  run("xdotool type Q7");
  EXPECT_FALSE(app.wait_line("char 81").empty()) << app.log();  // 'Q' with Shift
  EXPECT_FALSE(app.wait_line("char 55").empty()) << app.log();
  run("xdotool key Return");
  EXPECT_FALSE(app.wait_line("keydown 13").empty()) << app.log();
  EXPECT_FALSE(app.wait_line("char 13").empty()) << app.log();

  // Alt with the character "/" and with "?" (Shift+/): command 104, through the
  // character entries of the accelerator table, and no plain key-down for them.
  int keydowns = app.count("keydown");
  run("xdotool key alt+slash");
  EXPECT_FALSE(app.wait_line("command 104").empty()) << app.log();
  run("xdotool key alt+question");
  EXPECT_FALSE(app.wait_line("command 104", 1).empty()) << app.log();
  EXPECT_EQ(app.count("keydown"), keydowns) << app.log();
  EXPECT_GE(app.count("syskeydown"), 2) << app.log();
  // A virtual-key entry with Ctrl.
  run("xdotool key ctrl+F5");
  EXPECT_FALSE(app.wait_line("command 105").empty()) << app.log();
  // Plain "/" is no accelerator.
  run("xdotool key slash");
  EXPECT_FALSE(app.wait_line("char 47").empty()) << app.log();
  EXPECT_EQ(app.count("command 104"), 2) << app.log();
  // Alt+F4 reaches DefWindowProcW, which closes the window.
  run("xdotool key alt+F4");
  EXPECT_FALSE(app.wait_line("destroy").empty()) << app.log();
  EXPECT_EQ(app.wait_exit(5000), 0) << app.log();
}

TEST(UserDialog, TemplateControlsTypedTextAndResult) {
  TestApp app;
  ASSERT_NO_FATAL_FAILURE(start(app));
  int paints_before = app.count("paint");
  run("xdotool key d");
  std::string dlg = find_window("^Test dialog$");
  ASSERT_FALSE(dlg.empty()) << app.log();
  EXPECT_EQ(app.wait_line("initdialog"), "initdialog 42") << app.log();
  // No font: 2 pixels per dialog unit, placed (20, 40) units from the owner's client.
  EXPECT_FALSE(app.wait_line("dialog client 320 240").empty()) << app.log();
  int mx, my, mw, mh, dx, dy, dw, dh;
  ASSERT_TRUE(geometry(app.window, mx, my, mw, mh));
  ASSERT_TRUE(geometry(dlg, dx, dy, dw, dh));
  EXPECT_EQ(dx - mx, 40);
  EXPECT_EQ(dy - my, 80);
  EXPECT_EQ(dw, 320);
  EXPECT_EQ(dh, 240);
  // The dialog procedure paints; the owner repaints while the dialog is up.
  EXPECT_FALSE(app.wait_line("dialog paint").empty()) << app.log();
  long end = now_ms() + 3000;
  while (app.count("paint") == paints_before && now_ms() < end) sleep_ms(20);
  EXPECT_GT(app.count("paint"), paints_before) << app.log();
  end = now_ms() + 3000;
  while (screen_pixel(dlg, 260, 170) != 0xC80000 && now_ms() < end) sleep_ms(20);
  EXPECT_EQ(screen_pixel(dlg, 260, 170), 0xC80000ul) << "painted mark missing";

  // Controls sit where their dialog units put them, at the template's size; a radio
  // button whose text is wider than its rectangle keeps its place and overlaps the next.
  EXPECT_EQ(app.wait_line("control 203"), "control 203 160 30 120 24") << app.log();
  EXPECT_EQ(app.wait_line("control 201"), "control 201 140 110 160 24") << app.log();
  EXPECT_EQ(app.wait_line("control 1 "), "control 1 40 190 100 28") << app.log();
  EXPECT_EQ(app.wait_line("control 208").substr(0, 19), "control 208 20 144 ") << app.log();
  EXPECT_EQ(app.wait_line("control 209").substr(0, 19), "control 209 50 144 ") << app.log();

  // Without a system menu there is no close button: a close request does nothing.
  request_close(dlg);
  sleep_ms(300);
  EXPECT_EQ(app.count("dialog command 2"), 0) << app.log();

  // Input to the owner is blocked while the dialog is modal.
  int moves = app.count("mousemove");
  run("xdotool mousemove --window " + app.window + " 900 600");
  sleep_ms(200);
  EXPECT_EQ(app.count("mousemove"), moves);

  // A plain radio button: the click is reported, the check changes only by BM_SETCHECK.
  run("xdotool mousemove --window " + dlg + " 170 42 click 1");  // "Second", (80,15) units
  EXPECT_EQ(app.wait_line("radio b after click"), "radio b after click 0") << app.log();
  // Automatic radio buttons check themselves and uncheck their group.
  run("xdotool mousemove --window " + dlg + " 30 72 click 1");  // "Auto one"
  EXPECT_EQ(app.wait_line("auto"), "auto 1 0") << app.log();
  run("xdotool mousemove --window " + dlg + " 170 72 click 1");  // "Auto two"
  EXPECT_EQ(app.wait_line("auto", 1), "auto 0 1") << app.log();

  // Escape sends IDCANCEL, which this dialog ignores: it stays open.
  run("xdotool key Escape");
  EXPECT_FALSE(app.wait_line("dialog command 2").empty()) << app.log();
  sleep_ms(200);
  EXPECT_TRUE(window_visible("^Test dialog$"));

  // Typed text in the edit box, then Enter: the default button (IDOK).
  run("xdotool mousemove --window " + dlg + " 220 122 click 1");  // edit box, (70,55) units
  run("xdotool type 12.5e3x");
  run("xdotool key Return");
  EXPECT_EQ(app.wait_line("dialog command 1"), "dialog command 1") << app.log();
  EXPECT_EQ(app.wait_line("text"), "text 7 [12.5e3x]") << app.log();
  EXPECT_EQ(app.wait_line("checks"), "checks 0 1") << app.log();
  EXPECT_EQ(app.wait_line("dialog result"), "dialog result 77") << app.log();
  end = now_ms() + 5000;
  while (window_visible("^Test dialog$") && now_ms() < end) sleep_ms(50);
  EXPECT_FALSE(window_visible("^Test dialog$"));
  // The area the dialog uncovered is repainted, and only that area.
  EXPECT_FALSE(app.wait_line("paint 40 80 360 320").empty()) << app.log();

  // The main window takes input again.
  run("xdotool mousemove --window " + app.window + " 300 300");
  EXPECT_FALSE(app.wait_line("mousemove 300 300").empty()) << app.log();
  run("xdotool key z");
  EXPECT_FALSE(app.wait_line("keydown 90").empty()) << app.log();

  // Opened again, the OK button ends it by a click too.
  run("xdotool key d");
  dlg = find_window("^Test dialog$");
  ASSERT_FALSE(dlg.empty()) << app.log();
  ASSERT_FALSE(app.wait_line("initdialog", 1).empty());
  // Tab follows the tab stops in template order (edit box, OK, Cancel); Enter on a
  // focused push button presses that button, not the default one.
  int cancels = app.count("dialog command 2");
  run("xdotool mousemove --window " + dlg + " 220 122 click 1");
  run("xdotool key Tab Tab Return");
  EXPECT_FALSE(app.wait_line("dialog command 2", cancels).empty()) << app.log();
  EXPECT_EQ(app.count("dialog command 1"), 1) << app.log();
  run("xdotool mousemove --window " + dlg + " 90 204 click 1");  // OK, (20,95) units
  EXPECT_EQ(app.wait_line("text", 1), "text 0 []") << app.log();
  EXPECT_EQ(app.wait_line("checks", 1), "checks 1 0") << app.log();
  EXPECT_EQ(app.wait_line("dialog result", 1), "dialog result 77") << app.log();
  close_and_expect_clean_exit(app);
}

TEST(UserDialog, ShellFontUnitsAndCloseButton) {
  TestApp app;
  ASSERT_NO_FATAL_FAILURE(start(app));
  run("xdotool key s");
  std::string dlg = find_window("^Shell font$");
  ASSERT_FALSE(dlg.empty()) << app.log();
  // 170 x 62 units at 1.5 x 1.625 pixels, rounded as MulDiv rounds.
  EXPECT_EQ(app.wait_line("shell client"), "shell client 255 101") << app.log();
  int x, y, w, h;
  ASSERT_TRUE(geometry(dlg, x, y, w, h));
  EXPECT_EQ(w, 255);
  EXPECT_EQ(h, 101);
  // With a system menu, the close button sends IDCANCEL.
  request_close(dlg);
  EXPECT_EQ(app.wait_line("shell result"), "shell result 2") << app.log();
  run("xdotool key s");
  ASSERT_FALSE(find_window("^Shell font$").empty()) << app.log();
  run("xdotool key Return");  // the default push button, which has the focus
  EXPECT_EQ(app.wait_line("shell result", 1), "shell result 1") << app.log();
  close_and_expect_clean_exit(app);
}

TEST(UserDialog, MessageBoxClosedByReturn) {
  TestApp app;
  ASSERT_NO_FATAL_FAILURE(start(app));
  int paints_before = app.count("paint");
  run("xdotool key m");
  std::string box = find_window_class("^#32770$");
  ASSERT_FALSE(box.empty()) << app.log();
  ASSERT_FALSE(app.wait_line("messagebox open").empty());
  // The owner's repaint comes while the box is up, before it returns.
  long end = now_ms() + 3000;
  while (app.count("paint") == paints_before && now_ms() < end) sleep_ms(20);
  EXPECT_GT(app.count("paint"), paints_before) << app.log();
  EXPECT_EQ(app.count("messagebox 1"), 0);
  run("xdotool key Return");
  EXPECT_EQ(app.wait_line("messagebox 1"), "messagebox 1") << app.log();
  // The main window has the keyboard again.
  run("xdotool key z");
  EXPECT_FALSE(app.wait_line("keydown 90").empty()) << app.log();
  close_and_expect_clean_exit(app);
}

// A private X server for this test program, so that no other test's windows take the
// keyboard focus or the pointer.
class PrivateDisplay : public ::testing::Environment {
 public:
  void SetUp() override {
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    pid_ = fork();
    if (pid_ == 0) {
      prctl(PR_SET_PDEATHSIG, SIGTERM);
      close(fds[0]);
      std::string fd = std::to_string(fds[1]);
      execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1280x1024x24",
             "-nolisten", "tcp", (char*)nullptr);
      _exit(127);
    }
    close(fds[1]);
    std::string number;
    char c;
    long end = now_ms() + 10000;
    while (now_ms() < end && read(fds[0], &c, 1) == 1 && c != '\n') number += c;
    close(fds[0]);
    ASSERT_FALSE(number.empty()) << "Xvfb did not start";
    setenv("DISPLAY", (":" + number).c_str(), 1);
  }
  void TearDown() override {
    if (pid_ > 0) {
      kill(pid_, SIGTERM);
      waitpid(pid_, nullptr, 0);
    }
  }

 private:
  pid_t pid_ = -1;
};

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (run("command -v xdotool").empty()) {
    std::printf("xdotool is missing: scripts/install-deps.sh installs it\n");
    return 1;
  }
  ::testing::AddGlobalTestEnvironment(new PrivateDisplay);
  return RUN_ALL_TESTS();
}
