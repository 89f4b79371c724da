// The program's resources on the non-Windows build: the flattened script that
// vapora_add_resources() linked in, read once on first use.
#include <cstdio>
#include <cstdlib>
#include <cwctype>

#include "user_internal.h"

namespace {

struct Script {
  const char* text;
  unsigned long length;
};

// Constant-initialised, so registration from another unit's static initialiser is safe
// whatever the order of initialisation.
Script scripts[8];
int script_count = 0;

struct File {
  const char* name;
  const unsigned char* data;
  unsigned long length;
};
File files[32];
int file_count = 0;

// An icon file's image, by GDK's .ico reader; null when the file cannot be read.
GdkPixbuf* load_icon_file(const std::string& name) {
  for (int i = 0; i < file_count; ++i) {
    if (name != files[i].name) continue;
    GdkPixbufLoader* loader = gdk_pixbuf_loader_new_with_type("ico", nullptr);
    if (!loader) return nullptr;
    GdkPixbuf* image = nullptr;
    if (gdk_pixbuf_loader_write(loader, files[i].data, files[i].length, nullptr) &&
        gdk_pixbuf_loader_close(loader, nullptr)) {
      image = gdk_pixbuf_loader_get_pixbuf(loader);
      if (image) g_object_ref(image);
    }
    g_object_unref(loader);
    return image;
  }
  return nullptr;
}

vapora::rc::ResName res_name(LPCWSTR name) {
  vapora::rc::ResName n;
  if (IS_INTRESOURCE(name)) {
    n.number = (int)(UINT_PTR)name;
  } else {
    n.is_number = false;
    const wchar_t* p = name;
    if (*p == L'#') {  // "#123" names resource 123
      n.is_number = true;
      n.number = (int)std::wcstol(p + 1, nullptr, 10);
      return n;
    }
    for (; *p; ++p) n.text += (wchar_t)std::towupper(*p);
  }
  return n;
}

}  // namespace

void vapora_register_resource_script(const char* text, unsigned long length) {
  if (script_count < 8) scripts[script_count++] = Script{text, length};
}

void vapora_register_resource_file(const char* name, const unsigned char* data,
                                   unsigned long length) {
  if (file_count < 32) files[file_count++] = File{name, data, length};
}

namespace vapora::user {

const vapora::rc::Resources& resources() {
  static const vapora::rc::Resources all = [] {
    vapora::rc::Resources r;
    for (int i = 0; i < script_count; ++i) {
      std::string error;
      // The script was read at build time already; a failure here means a damaged table.
      if (!vapora::rc::parse(std::string(scripts[i].text, scripts[i].length), r, error))
        std::fprintf(stderr, "vapora: resource script: %s\n", error.c_str());
    }
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
  if (!buffer) return 0;
  if (it == strings.end()) {
    if (max > 0) buffer[0] = 0;
    return 0;
  }
  if (max == 0) {  // a read-only pointer to the string itself
    *(const wchar_t**)buffer = it->second.c_str();
    return (int)it->second.size();
  }
  int n = std::min((int)it->second.size(), max - 1);
  std::wmemcpy(buffer, it->second.c_str(), (size_t)n);
  buffer[n] = 0;
  return n;
}

// Icons and cursors are handles the program passes along; the system ones always exist,
// a program icon exists when the script names it.
HICON LoadIconW(HINSTANCE instance, LPCWSTR name) {
  static HICON__ system_icon{32512};
  if (!instance) return IS_INTRESOURCE(name) ? &system_icon : nullptr;
  auto n = res_name(name);
  auto& icons = vapora::user::resources().icons;
  if (!icons.count(n)) return nullptr;
  static std::map<vapora::rc::ResName, HICON__> loaded;
  bool is_new = !loaded.count(n);
  HICON__& h = loaded[n];
  if (is_new) {
    h.id = n.is_number ? n.number : 0;
    h.pixbuf = load_icon_file(icons.at(n));
  }
  return &h;
}

HCURSOR LoadCursorW(HINSTANCE instance, LPCWSTR name) {
  static HICON__ arrow{32512};
  if (instance || !IS_INTRESOURCE(name)) return nullptr;
  return &arrow;
}

HMODULE GetModuleHandleW(LPCWSTR name) {
  static int module;
  return name ? nullptr : (HMODULE)&module;
}
