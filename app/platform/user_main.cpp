// main() of a program written for Windows' wide-character GUI entry point.
#include <gtk/gtk.h>

#include <clocale>

#include "user.h"

int main(int argc, char** argv) {
    if (!gtk_init_check(&argc, &argv)) {
        g_printerr("cannot open the display\n");
        return 1;
    }
    // gtk_init took the user's locale; numbers keep the decimal point of the C runtime's
    // start-up locale, as a Windows program's do.
    std::setlocale(LC_NUMERIC, "C");
    static wchar_t empty_command_line[] = L"";
    return wWinMain(GetModuleHandleW(nullptr), nullptr, empty_command_line, SW_SHOWDEFAULT);
}
