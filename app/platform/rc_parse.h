// The resource script reader of the non-Windows build. It reads the same .rc file that
// the Windows resource compiler compiles (string table, accelerators, dialog templates,
// icons; menus, manifests and other kinds are recognised and skipped), so the program's
// templates and strings exist once. Used at build time to flatten and check a script and
// at start-up to read the embedded copy. Needs neither GTK nor a display.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace vapora::rc {

// A resource name: a number (MAKEINTRESOURCE) or a case-insensitive string.
struct ResName {
  bool is_number = true;
  int number = 0;
  std::wstring text;  // upper-cased, when !is_number
  bool operator<(const ResName& o) const {
    if (is_number != o.is_number) return is_number;
    return is_number ? number < o.number : text < o.text;
  }
};

// One ACCELERATORS entry, with the Win32 flag bits (FVIRTKEY, FSHIFT, FCONTROL, FALT).
struct Accelerator {
  uint8_t flags = 0;
  uint16_t key = 0;
  uint16_t command = 0;
};

// One control of a dialog template, in dialog units, with its full window style
// (the defaults of the statement that declared it already applied).
struct ControlTemplate {
  std::wstring class_name;  // "Button", "Edit", "Static", ... as written in CONTROL
  std::wstring text;        // caption; empty for edit boxes
  int text_resource = -1;   // ICON controls and CONTROL with a numeric text: the icon id
  int id = -1;
  uint32_t style = 0;
  uint32_t ex_style = 0;
  int x = 0, y = 0, cx = 0, cy = 0;
};

struct DialogTemplate {
  bool extended = false;  // DIALOGEX
  uint32_t style = 0;
  uint32_t ex_style = 0;
  int x = 0, y = 0, cx = 0, cy = 0;
  std::wstring caption;
  bool has_font = false;
  int point_size = 0;
  std::wstring face_name;
  std::vector<ControlTemplate> controls;
};

struct Resources {
  std::map<int, std::wstring> strings;
  std::map<ResName, std::vector<Accelerator>> accelerators;
  std::map<ResName, DialogTemplate> dialogs;
  std::map<ResName, std::string> icons;  // file name as written in the script
};

// Returns the contents of an included file, or false when it cannot be found.
using IncludeLoader = std::function<bool(const std::string& name, std::string& contents)>;

// Replaces every #include "file" line by the file's text, recursively (at most 16 deep),
// so that the result needs no file system. Includes of the Windows SDK (<windows.h>,
// "winres.h", ...) are dropped: the reader knows the constants they define. Returns
// false with a message on a missing file.
bool flatten_includes(const std::string& text, const IncludeLoader& loader,
                      std::string& out, std::string& error);

// Reads a flattened script: #define / #undef / #if[n]def / #if / #else / #endif, then the
// resource statements. Returns false with "line N: message" on the first error.
bool parse(const std::string& text, Resources& out, std::string& error);

}  // namespace vapora::rc
