// The program's resources on the non-Windows build: the preprocessed script and the icon
// files that vapora_add_resources() linked in, read once on first use.
#include <cstdio>

#include "user_internal.h"

namespace {

// Filled by the generated table's static initialisers: plain pointers for the script, which
// need no construction, and a map built on first use for the files.
const char* script_text = nullptr;
unsigned long script_length = 0;
std::map<std::string, std::pair<const unsigned char*, unsigned long>>& files() {
    static std::map<std::string, std::pair<const unsigned char*, unsigned long>> by_name;
    return by_name;
}

// An icon file's image, by GDK's .ico reader; null when the file cannot be read.
GdkPixbuf* load_icon_file(const std::string& name) {
    auto file = files().find(name);
    if (file == files().end()) return nullptr;
    const auto& [data, length] = file->second;
    GInputStream* in = g_memory_input_stream_new_from_data(data, (gssize)length, nullptr);
    GdkPixbuf* image = gdk_pixbuf_new_from_stream(in, nullptr, nullptr);
    g_object_unref(in);
    return image;
}

// Scripts name every resource by a number; a name given as a string finds nothing.
vapora::rc::ResName res_name(LPCWSTR name) {
    vapora::rc::ResName n;
    n.is_number = IS_INTRESOURCE(name);
    if (n.is_number)
        n.number = (int)(UINT_PTR)name;
    else
        n.text = name;
    return n;
}

}  // namespace

void vapora_register_resource_script(const char* text, unsigned long length) {
    script_text = text;
    script_length = length;
}

void vapora_register_resource_file(const char* name, const unsigned char* data,
                                   unsigned long length) {
    files()[name] = {data, length};
}

namespace vapora::user {

const vapora::rc::Resources& resources() {
    static const vapora::rc::Resources all = [] {
        vapora::rc::Resources r;
        std::string error;
        // The build read the same text already; a failure here means a damaged program.
        if (script_text && !vapora::rc::parse(std::string(script_text, script_length), r, error))
            std::fprintf(stderr, "vapora: resource script: %s\n", error.c_str());
        return r;
    }();
    return all;
}

const vapora::rc::DialogTemplate* find_dialog(LPCWSTR name) {
    auto it = resources().dialogs.find(res_name(name));
    return it == resources().dialogs.end() ? nullptr : &it->second;
}

}  // namespace vapora::user

int LoadStringW(HINSTANCE, UINT id, LPWSTR buffer, int max) {
    auto& strings = vapora::user::resources().strings;
    auto it = strings.find((int)id);
    if (!buffer || max <= 0) return 0;
    int n = it == strings.end() ? 0 : std::min((int)it->second.size(), max - 1);
    if (n > 0) std::wmemcpy(buffer, it->second.c_str(), (size_t)n);
    buffer[n] = 0;
    return n;
}

// An icon is a handle the program passes along; it exists when the script names it.
HICON LoadIconW(HINSTANCE, LPCWSTR name) {
    auto n = res_name(name);
    auto& icons = vapora::user::resources().icons;
    if (!icons.count(n)) return nullptr;
    static std::map<vapora::rc::ResName, HICON__> loaded;
    bool is_new = !loaded.count(n);
    HICON__& h = loaded[n];
    if (is_new) {
        h.id = n.number;
        h.pixbuf = load_icon_file(icons.at(n));
    }
    return &h;
}

// The system arrow is the one cursor the program asks for.
HCURSOR LoadCursorW(HINSTANCE instance, LPCWSTR name) {
    static HICON__ arrow{32512};
    if (instance || !IS_INTRESOURCE(name)) return nullptr;
    return &arrow;
}

HMODULE GetModuleHandleW(LPCWSTR name) {
    static int module;
    return name ? nullptr : (HMODULE)&module;
}
