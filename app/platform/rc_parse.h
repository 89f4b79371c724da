// The resource script reader of the non-Windows build. The build runs the script through
// the C preprocessor, as the Windows resource compiler does, and this reader takes the
// preprocessed text: string table, accelerators, icons and dialog templates in the
// statement forms the program's scripts use (menus and manifests are skipped). Used at
// build time to check a script and at start-up to read the embedded copy. Needs neither
// GTK nor a display.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace vapora::rc {

// A resource name: a number (MAKEINTRESOURCE) or a case-insensitive string. Scripts name
// every resource by a number, so a string never matches.
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
    std::wstring class_name;  // "Button", "Edit" or "Static"
    std::wstring text;        // caption; empty for edit boxes
    int text_resource = -1;   // ICON controls: the icon's number
    int id = -1;
    uint32_t style = 0;
    int x = 0, y = 0, cx = 0, cy = 0;
};

struct DialogTemplate {
    uint32_t style = 0;
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

// Reads a preprocessed script into `out`. Returns false with "file:line: message" on the
// first error (file and line from the preprocessor's line markers, "line N" without them).
bool parse(const std::string& text, Resources& out, std::string& error);

}  // namespace vapora::rc
