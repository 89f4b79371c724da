// The resource-script reader: the test program's script and the program's own one read
// as the Windows resource compiler reads them, and the syntax variants scripts use.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "rc_parse.h"
#include "user.h"

namespace rc = vapora::rc;

namespace {

std::string read_file(const std::string& path) {
  std::ifstream in(path);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

std::string dir_of(const std::string& p) { return p.substr(0, p.find_last_of('/')); }

// Flattens and reads a script file the way the build does.
rc::Resources load(const std::string& path) {
  rc::Resources r;
  std::string flat, error;
  auto loader = [&](const std::string& name, std::string& out) {
    std::ifstream in(dir_of(path) + "/" + name);
    if (!in) return false;
    out = read_file(dir_of(path) + "/" + name);
    return true;
  };
  EXPECT_TRUE(rc::flatten_includes(read_file(path), loader, flat, error)) << error;
  EXPECT_TRUE(rc::parse(flat, r, error)) << error;
  return r;
}

rc::ResName num(int n) {
  rc::ResName r;
  r.number = n;
  return r;
}

const rc::ControlTemplate* control(const rc::DialogTemplate& d, int id) {
  for (const auto& c : d.controls)
    if (c.id == id) return &c;
  return nullptr;
}

TEST(ResourceScript, TestProgramScript) {
  rc::Resources r = load(USER_TEST_RC);
  EXPECT_EQ(r.strings[1], L"Platform Test");
  EXPECT_EQ(r.strings[2], L"VAPORATEST");
  EXPECT_EQ(r.strings[3].size(), 40u);

  const auto& acc = r.accelerators[num(100)];
  ASSERT_EQ(acc.size(), 3u);
  EXPECT_EQ(acc[0].key, '?');
  EXPECT_EQ(acc[0].flags, FALT);  // a character entry, not a virtual key
  EXPECT_EQ(acc[0].command, 104);
  EXPECT_EQ(acc[1].key, '/');
  EXPECT_EQ(acc[2].key, VK_F5);
  EXPECT_EQ(acc[2].flags, FVIRTKEY | FCONTROL);

  ASSERT_TRUE(r.dialogs.count(num(200)));
  const rc::DialogTemplate& d = r.dialogs[num(200)];
  EXPECT_FALSE(d.has_font);
  EXPECT_EQ(d.caption, L"Test dialog");
  EXPECT_EQ(d.style, (uint32_t)(WS_POPUP | WS_VISIBLE | WS_CAPTION));
  EXPECT_EQ(d.x, 20);
  EXPECT_EQ(d.y, 40);
  EXPECT_EQ(d.cx, 160);
  EXPECT_EQ(d.cy, 120);
  ASSERT_EQ(d.controls.size(), 11u);

  struct Expect { int id; const wchar_t* cls; uint32_t style; int x, y, cx, cy; };
  const uint32_t base = WS_CHILD | WS_VISIBLE;
  const Expect expected[] = {
      {207, L"Button", base | BS_GROUPBOX, 5, 5, 150, 45},
      {202, L"Button", base | BS_RADIOBUTTON | WS_TABSTOP, 10, 15, 60, 12},
      {204, L"Button", base | BS_AUTORADIOBUTTON | WS_TABSTOP | WS_GROUP, 10, 30, 60, 12},
      {206, L"Static", base | SS_LEFT | WS_GROUP, 10, 55, 60, 10},
      {201, L"Edit", base | ES_LEFT | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 70, 55, 80, 12},
      {IDOK, L"Button", base | BS_DEFPUSHBUTTON | WS_TABSTOP, 20, 95, 50, 14},
      {IDCANCEL, L"Button", base | BS_PUSHBUTTON | WS_TABSTOP, 90, 95, 50, 14},
  };
  for (const Expect& e : expected) {
    const rc::ControlTemplate* c = control(d, e.id);
    ASSERT_NE(c, nullptr) << e.id;
    EXPECT_EQ(c->class_name, e.cls) << e.id;
    EXPECT_EQ(c->style, e.style) << e.id;
    EXPECT_EQ(c->x, e.x) << e.id;
    EXPECT_EQ(c->y, e.y) << e.id;
    EXPECT_EQ(c->cx, e.cx) << e.id;
    EXPECT_EQ(c->cy, e.cy) << e.id;
  }

  const rc::DialogTemplate& shell = r.dialogs[num(300)];
  EXPECT_TRUE(shell.extended);
  EXPECT_TRUE(shell.has_font);
  EXPECT_EQ(shell.point_size, 8);
  EXPECT_EQ(shell.face_name, L"MS Shell Dlg");
  ASSERT_EQ(shell.controls.size(), 4u);
  EXPECT_EQ(shell.controls[0].text_resource, 128);  // ICON by number
  EXPECT_EQ(shell.controls[0].style, base | SS_ICON);
  EXPECT_EQ(shell.controls[0].id, -1);
  EXPECT_EQ(shell.controls[1].text, L"Ampersands & all");
  EXPECT_TRUE(shell.controls[1].style & SS_NOPREFIX);
  EXPECT_EQ(shell.controls[2].style, base | SS_CENTER);  // NOT WS_GROUP removed a default
}

// The program's own script: what the dialogs and the main loop rely on.
TEST(ResourceScript, ProgramScript) {
  rc::Resources r = load(VAPORA_APP_RC);
  EXPECT_EQ(r.strings[103], L"Vapora 2.0");
  EXPECT_EQ(r.strings[109], L"VAPORA20");
  ASSERT_EQ(r.accelerators[num(109)].size(), 2u);
  for (const auto& a : r.accelerators[num(109)]) {
    EXPECT_EQ(a.command, 104);
    EXPECT_EQ(a.flags, FALT);
  }
  for (int id : {103, 111, 112}) EXPECT_TRUE(r.dialogs.count(num(id))) << id;
  EXPECT_TRUE(r.icons.count(num(107)));
  EXPECT_TRUE(r.icons.count(num(108)));
  const rc::DialogTemplate& input = r.dialogs[num(111)];
  EXPECT_EQ(input.caption, L"Data input window");
  EXPECT_FALSE(input.has_font);
  EXPECT_FALSE(input.style & WS_SYSMENU);  // no close button
  int radios = 0;
  for (const auto& c : input.controls) radios += (c.style & BS_TYPEMASK) == BS_RADIOBUTTON && c.class_name == L"Button";
  EXPECT_EQ(radios, 17);
}

TEST(ResourceScript, SyntaxVariantsAndErrors) {
  struct Case { const char* script; bool ok; const char* error_part; };
  const Case cases[] = {
      // Conditionals, continued #define lines, block comments and string escapes.
      {"#define A 5\n#ifdef A\n#define B (A+1)\n#else\n#define B 99\n#endif\n"
       "#if defined(B) && B == 6\n#define C \\\n 7\n#endif\n"
       "STRINGTABLE { B, \"x\\ty\" /* c */ C \"q\"\"uote\" \"a\" \"b\" }", true, nullptr},
      {"STRINGTABLE BEGIN 1 \"unterminated END", false, "line 1"},
      {"\n\n1 DIALOG 0,0,10,10\nBEGIN\n  FROB 1,2,3\nEND", false, "line 5"},
      {"1 ACCELERATORS BEGIN \"ab\", 5 END", false, "one character"},
      {"1 ACCELERATORS BEGIN \"^C\", 5, ASCII\n \"a\", 6, VIRTKEY, SHIFT, NOINVERT END", true, nullptr},
      {"1 DIALOG 0,0,10,10 STYLE UNKNOWN_STYLE BEGIN END", false, "UNKNOWN_STYLE"},
      {"1 VERSIONINFO FILEVERSION 1,0,0,0\nBEGIN BLOCK \"x\" BEGIN VALUE \"a\", \"b\" END END\n"
       "2 DIALOG DISCARDABLE 0,0,10,10 BEGIN CONTROL \"t\", 3, BUTTON, BS_AUTOCHECKBOX, 1, 2, 3, 4 END", true, nullptr},
      {"#if 0\n#error not here\n#endif\n#error stop", false, "stop"},
  };
  for (const Case& c : cases) {
    rc::Resources r;
    std::string error;
    bool ok = rc::parse(c.script, r, error);
    EXPECT_EQ(ok, c.ok) << c.script << "\n" << error;
    if (c.error_part) {
      EXPECT_NE(error.find(c.error_part), std::string::npos) << error;
    }
    if (!ok) continue;
    if (r.strings.count(6)) {
      EXPECT_EQ(r.strings[6], L"x\ty");
      EXPECT_EQ(r.strings[7], L"q\"uoteab");
    }
    if (r.accelerators.count(num(1))) {
      const auto& a = r.accelerators[num(1)];
      ASSERT_EQ(a.size(), 2u);
      EXPECT_EQ(a[0].key, 3);  // "^C": Ctrl+C as a character
      EXPECT_EQ(a[1].key, 'A');  // virtual keys are upper case
      EXPECT_EQ(a[1].flags, FVIRTKEY | FSHIFT | FNOINVERT);
    }
    if (r.dialogs.count(num(2))) {
      const auto& ctl = r.dialogs[num(2)].controls.at(0);
      EXPECT_EQ(ctl.class_name, L"Button");
      EXPECT_EQ(ctl.style, (uint32_t)(WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX));
    }
  }
  // A missing include is an error; an SDK header is not.
  std::string flat, error;
  auto none = [](const std::string&, std::string&) { return false; };
  EXPECT_TRUE(rc::flatten_includes("#include <windows.h>\n#include \"winres.h\"\n", none, flat, error));
  EXPECT_FALSE(rc::flatten_includes("#include \"resource.h\"\n", none, flat, error));
  EXPECT_NE(error.find("resource.h"), std::string::npos);
}

}  // namespace
