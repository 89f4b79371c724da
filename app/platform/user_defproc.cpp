// The default window procedure: what Windows does with the messages a window procedure
// leaves to it.
#include "user_internal.h"

using namespace vapora::user;

LRESULT DefWindowProcW(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_SYSKEYDOWN:
            // Alt+F4 closes the window, as the system menu's shortcut does.
            if (wp == VK_F4 && ((lp >> 29) & 1)) call_proc(w, WM_CLOSE, 0, 0);
            return 0;
        case WM_CLOSE:
            DestroyWindow(w);
            return 0;
        case WM_PAINT: {  // validates: the next WM_PAINT waits for the next reason
            PAINTSTRUCT ps;
            BeginPaint(w, &ps);
            EndPaint(w, &ps);
            return 0;
        }
        default:
            return 0;
    }
}
