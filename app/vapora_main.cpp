// Program start: title and class name from the string table, the class of the one main
// window, the window itself (1000 x 700, no sizing border, no maximise button, no menu
// bar), and the message loop with the accelerator table.
#include <clocale>

#include "main_window.h"
#include "program_state.h"
#include "resource.h"

namespace {

// WS_OVERLAPPED | WS_SYSMENU | WS_MINIMIZEBOX: title bar, system menu, close and
// minimise buttons; the window cannot be resized or maximised.
constexpr DWORD main_window_style = 0x000A0000;
constexpr int main_window_width = 1000;
constexpr int main_window_height = 700;

void register_main_window_class(HINSTANCE instance) {
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof(wc);
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = main_window_proc;
    wc.cbClsExtra = 0;
    wc.cbWndExtra = 0;
    wc.hInstance = instance;
    wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_VAPORA));
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = nullptr;  // the repaint fills every pixel itself
    wc.lpszMenuName = nullptr;
    wc.lpszClassName = window_class_name;
    wc.hIconSm = LoadIconW(instance, MAKEINTRESOURCEW(IDI_SMALL));
    RegisterClassExW(&wc);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int show_command) {
    // Every number the program shows or reads has a decimal point, whatever locale a
    // GUI toolkit may have switched to before this entry point.
    std::setlocale(LC_NUMERIC, "C");
    LoadStringW(instance, IDS_APP_TITLE, window_title, title_buffer_length);
    LoadStringW(instance, IDS_WINDOW_CLASS, window_class_name, title_buffer_length);
    register_main_window_class(instance);
    app_instance = instance;

    HWND hwnd =
        CreateWindowExW(0, window_class_name, window_title, main_window_style, CW_USEDEFAULT, 0,
                        main_window_width, main_window_height, nullptr, nullptr, instance, nullptr);
    if (!hwnd) return 0;
    ShowWindow(hwnd, show_command);
    UpdateWindow(hwnd);  // the first repaint draws the whole chart before the loop

    HACCEL accelerators = LoadAcceleratorsW(instance, MAKEINTRESOURCEW(IDC_VAPORA));
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (!TranslateAcceleratorW(msg.hwnd, accelerators, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    return static_cast<int>(msg.wParam);
}
