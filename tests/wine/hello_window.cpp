// A tiny Win32 program that tells whether Wine can run a window of Vapora's kind at all,
// and measures what Wine's frame leaves of a 1000 x 700 window.
//
// The window has the main window's style and outer size. Its first paint fills the client
// area black and draws a yellow frame one pixel inside the client edges and a green
// diagonal; a mouse move paints a 20 x 20 green square at the cursor, right and below
// it; any key opens a message box titled
// "hello_window box", which Escape closes. After the first paint the title becomes
// "hello_window client WxH at X,Y": the client size and the client's top-left corner
// relative to the window's top-left corner, so the harness can read Wine's frame metrics
// with xdotool.
#include <windows.h>

#include <cwchar>

namespace {

const wchar_t kClassName[] = L"HELLOWINDOW";
bool title_reported = false;

void report_client_in_title(HWND window)
{
    RECT client{};
    RECT outer{};
    GetClientRect(window, &client);
    GetWindowRect(window, &outer);
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    wchar_t title[100];
    swprintf(title, 100, L"hello_window client %ldx%ld at %ld,%ld",
             static_cast<long>(client.right), static_cast<long>(client.bottom),
             static_cast<long>(origin.x - outer.left), static_cast<long>(origin.y - outer.top));
    SetWindowTextW(window, title);
}

void on_paint(HWND window)
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    RECT client;
    GetClientRect(window, &client);
    HBRUSH black = CreateSolidBrush(RGB(0, 0, 0));
    FillRect(dc, &client, black);
    DeleteObject(black);

    HPEN yellow = CreatePen(PS_SOLID, 1, RGB(255, 255, 0));
    HGDIOBJ old_pen = SelectObject(dc, yellow);
    HGDIOBJ old_brush = SelectObject(dc, GetStockObject(NULL_BRUSH));
    Rectangle(dc, 1, 1, client.right - 1, client.bottom - 1);
    SelectObject(dc, old_brush);

    HPEN green = CreatePen(PS_SOLID, 1, RGB(0, 255, 0));
    SelectObject(dc, green);
    MoveToEx(dc, 20, 20, nullptr);
    LineTo(dc, 400, 400);
    SelectObject(dc, old_pen);
    DeleteObject(green);
    DeleteObject(yellow);
    EndPaint(window, &ps);

    if (!title_reported) {
        title_reported = true;
        report_client_in_title(window);
    }
}

void on_mouse_move(HWND window, LPARAM lparam)
{
    HDC dc = GetDC(window);
    const int x = static_cast<short>(LOWORD(lparam));
    const int y = static_cast<short>(HIWORD(lparam));
    RECT panel{x, y, x + 20, y + 20};
    HBRUSH green = CreateSolidBrush(RGB(0, 128, 0));
    FillRect(dc, &panel, green);
    DeleteObject(green);
    ReleaseDC(window, dc);
}

LRESULT CALLBACK hello_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    switch (message) {
    case WM_PAINT:
        on_paint(window);
        return 0;
    case WM_MOUSEMOVE:
        on_mouse_move(window, lparam);
        return 0;
    case WM_KEYDOWN:
        MessageBoxW(window, L"A key was pressed.", L"hello_window box", MB_OK);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(window, message, wparam, lparam);
    }
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show)
{
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = hello_window_proc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.lpszClassName = kClassName;
    RegisterClassExW(&wc);

    HWND window = CreateWindowExW(0, kClassName, L"hello_window",
                                  WS_OVERLAPPED | WS_SYSMENU | WS_MINIMIZEBOX, CW_USEDEFAULT, 0,
                                  1000, 700, nullptr, nullptr, instance, nullptr);
    if (!window)
        return 2;
    ShowWindow(window, show);
    UpdateWindow(window);

    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}
