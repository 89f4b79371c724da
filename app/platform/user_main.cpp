// main() of a program written for Windows' wide-character GUI entry point.
#include <gtk/gtk.h>

#include "user.h"

int main(int argc, char** argv) {
  if (!gtk_init_check(&argc, &argv)) {
    g_printerr("cannot open the display\n");
    return 1;
  }
  static wchar_t empty_command_line[] = L"";
  return wWinMain(GetModuleHandleW(nullptr), nullptr, empty_command_line, SW_SHOWDEFAULT);
}
