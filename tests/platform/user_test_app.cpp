// A small program written against the Win32 subset, driven by user_e2e_test with real X
// input. It links its own test hook, which writes to stdout each WM_PAINT its window
// handles and each dialog and message box it shows; the program adds where a click left
// its mark and what each box answered.
//
// A click marks the spot in red outside WM_PAINT and opens a dialog over it; "m" shows a
// message box, "a" a dialog with a close button; "s" answers "sync".
#include <cstdio>
#include <cstring>

#include "platform.h"
#include "test_hook.h"
#include "user_test_resource.h"

namespace {

HWND main_window = nullptr;

void say(const char* text, long a = 0, long b = 0) {
    std::printf(text, a, b);
    std::puts("");
    std::fflush(stdout);
}

void fill(HDC dc, const RECT& r, COLORREF colour) {
    HBRUSH brush = CreateSolidBrush(colour);
    HGDIOBJ old_brush = SelectObject(dc, brush),
            old_pen = SelectObject(dc, CreatePen(PS_NULL, 1, 0));
    Rectangle(dc, r.left, r.top, r.right, r.bottom);
    SelectObject(dc, old_brush);
    DeleteObject(SelectObject(dc, old_pen));
    DeleteObject(brush);
}

INT_PTR CALLBACK box_proc(HWND dialog, UINT msg, WPARAM wp, LPARAM) {
    if (msg == WM_COMMAND && (LOWORD(wp) == IDOK || LOWORD(wp) == IDCANCEL))
        return EndDialog(dialog, LOWORD(wp));
    return msg == WM_INITDIALOG;
}

LRESULT CALLBACK window_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        fill(dc, ps.rcPaint, RGB(0, 0, 128));
        EndPaint(hwnd, &ps);
    } else if (msg == WM_LBUTTONDOWN) {
        POINT screen;
        GetCursorPos(&screen);
        const LONG x = LOWORD(lp), y = (LONG)(lp >> 16);
        HDC dc = GetDC(hwnd);
        fill(dc, RECT{x - 4, y - 4, x + 5, y + 5}, RGB(255, 0, 0));
        ReleaseDC(hwnd, dc);
        say("mark %ld %ld", screen.x, screen.y);
        DialogBoxParamW(nullptr, MAKEINTRESOURCEW(IDD_TEST), hwnd, box_proc, 0);
        say("uncovered");
    } else if (msg == WM_KEYDOWN && wp == 'M') {
        say("answer %ld", MessageBoxW(hwnd, L"Data out of range, please retry", L"Message",
                                      MB_ICONEXCLAMATION | MB_OK));
    } else if (msg == WM_KEYDOWN && wp == 'A') {
        say("answer %ld",
            (long)DialogBoxParamW(nullptr, MAKEINTRESOURCEW(IDD_TEST_SHELL), hwnd, box_proc, 0));
    } else if (msg == WM_KEYDOWN && wp == 'S') {
        say("sync");
    } else if (msg == WM_DESTROY) {
        PostQuitMessage(0);
    } else {
        return DefWindowProcW(hwnd, msg, wp, lp);
    }
    return 0;
}

}  // namespace

void platform_test_hook(const char* event, HWND hwnd, UINT message) {
    if (std::strcmp(event, "message") != 0)
        say(event);
    else if (message == WM_PAINT && hwnd == main_window)
        say("paint");
}

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int show) {
    const WNDCLASSEXW wc{sizeof wc, 0,       window_proc,     0,      0, instance, nullptr, nullptr,
                         nullptr,   nullptr, L"PLATFORMTEST", nullptr};
    RegisterClassExW(&wc);
    main_window = CreateWindowExW(0, wc.lpszClassName, L"Platform Test",
                                  WS_OVERLAPPED | WS_SYSMENU | WS_MINIMIZEBOX, CW_USEDEFAULT, 0,
                                  600, 400, nullptr, nullptr, instance, nullptr);
    ShowWindow(main_window, show);
    UpdateWindow(main_window);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0)) DispatchMessageW(&msg);
    return (int)msg.wParam;
}
