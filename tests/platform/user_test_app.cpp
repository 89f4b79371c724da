// A small program written against the Win32 subset, driven by user_e2e_test with real X
// input. It writes what its window and dialog procedures receive, one line per event,
// to the file named by USER_TEST_LOG.
//
// Keys: "d" opens the test dialog, "s" the shell-font dialog, "m" a message box; any
// other key is only logged.
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform.h"
#include "user_test_resource.h"

namespace {

FILE* log_file = nullptr;
HINSTANCE instance = nullptr;

void log_line(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
void log_line(const char* fmt, ...) {
  if (!log_file) return;
  va_list ap;
  va_start(ap, fmt);
  std::vfprintf(log_file, fmt, ap);
  va_end(ap);
  std::fputc('\n', log_file);
  std::fflush(log_file);
}

std::string narrow(const wchar_t* w) {
  std::string s;
  for (; *w; ++w) s += *w < 0x80 ? (char)*w : '?';
  return s;
}

INT_PTR CALLBACK test_dialog_proc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_INITDIALOG: {
      log_line("initdialog %ld", (long)lp);
      SetDlgItemTextW(dlg, IDC_TEST_LABEL, L"Value:");
      SendDlgItemMessageW(dlg, IDC_TEST_RADIO_A, BM_SETCHECK, BST_CHECKED, 0);
      // The owner must keep repainting while the dialog is up.
      InvalidateRect(GetParent(dlg), nullptr, FALSE);
      RECT r;
      GetClientRect(dlg, &r);
      log_line("dialog client %ld %ld", (long)r.right, (long)r.bottom);
      return TRUE;
    }
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(dlg, &ps);
      HBRUSH red = CreateSolidBrush(RGB(200, 0, 0));
      RECT mark{250, 160, 300, 180};
      FillRect(dc, &mark, red);
      DeleteObject(red);
      EndPaint(dlg, &ps);
      log_line("dialog paint");
      // Where the controls ended up, in the dialog's client pixels.
      for (int id : {IDC_TEST_RADIO_B, IDC_TEST_EDIT, IDC_TEST_NARROW_A, IDC_TEST_NARROW_B, IDOK}) {
        RECT r;
        GetWindowRect(GetDlgItem(dlg, id), &r);
        POINT tl{r.left, r.top};
        ScreenToClient(dlg, &tl);
        log_line("control %d %ld %ld %ld %ld", id, (long)tl.x, (long)tl.y, (long)(r.right - r.left),
                 (long)(r.bottom - r.top));
      }
      return TRUE;
    }
    case WM_COMMAND: {
      int id = LOWORD(wp), code = HIWORD(wp);
      if (code != BN_CLICKED) return FALSE;
      log_line("dialog command %d", id);
      if (id == IDC_TEST_RADIO_B) {
        // A click leaves a plain radio button as it was; only the program checks it.
        log_line("radio b after click %ld", (long)SendDlgItemMessageW(dlg, id, BM_GETCHECK, 0, 0));
        SendDlgItemMessageW(dlg, IDC_TEST_RADIO_A, BM_SETCHECK, BST_UNCHECKED, 0);
        SendDlgItemMessageW(dlg, IDC_TEST_RADIO_B, BM_SETCHECK, BST_CHECKED, 0);
      } else if (id == IDC_TEST_AUTO_A || id == IDC_TEST_AUTO_B) {
        log_line("auto %ld %ld", (long)IsDlgButtonChecked(dlg, IDC_TEST_AUTO_A),
                 (long)IsDlgButtonChecked(dlg, IDC_TEST_AUTO_B));
      } else if (id == IDOK) {
        wchar_t text[20];
        UINT n = GetDlgItemTextW(dlg, IDC_TEST_EDIT, text, 20);
        log_line("text %u [%s]", n, narrow(text).c_str());
        log_line("checks %ld %ld", (long)IsDlgButtonChecked(dlg, IDC_TEST_RADIO_A),
                 (long)IsDlgButtonChecked(dlg, IDC_TEST_RADIO_B));
        EndDialog(dlg, 77);
      }
      return TRUE;  // IDCANCEL (Escape) is logged and ignored
    }
    default:
      return FALSE;
  }
}

// The shell-font dialog: its size tells the dialog units; OK and Cancel end it.
INT_PTR CALLBACK shell_dialog_proc(HWND dlg, UINT msg, WPARAM wp, LPARAM) {
  if (msg == WM_INITDIALOG) {
    RECT r;
    GetClientRect(dlg, &r);
    log_line("shell client %ld %ld", (long)r.right, (long)r.bottom);
    return TRUE;
  }
  if (msg == WM_COMMAND && (LOWORD(wp) == IDOK || LOWORD(wp) == IDCANCEL)) {
    EndDialog(dlg, LOWORD(wp));
    return TRUE;
  }
  return FALSE;
}

LRESULT CALLBACK test_window_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_CREATE: {
      RECT r;
      GetClientRect(hwnd, &r);
      log_line("create %ld %ld", (long)r.right, (long)r.bottom);
      return 0;
    }
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      HBRUSH blue = CreateSolidBrush(RGB(0, 0, 128));
      FillRect(dc, &ps.rcPaint, blue);
      DeleteObject(blue);
      EndPaint(hwnd, &ps);
      log_line("paint %ld %ld %ld %ld", (long)ps.rcPaint.left, (long)ps.rcPaint.top,
               (long)ps.rcPaint.right, (long)ps.rcPaint.bottom);
      return 0;
    }
    case WM_MOUSEMOVE: {
      POINT p;
      GetCursorPos(&p);
      ScreenToClient(hwnd, &p);
      log_line("mousemove %d %d cursor %ld %ld", GET_X_LPARAM(lp), GET_Y_LPARAM(lp), (long)p.x, (long)p.y);
      return 0;
    }
    case WM_LBUTTONDOWN: {
      int x = GET_X_LPARAM(lp), y = GET_Y_LPARAM(lp);
      // Drawn outside WM_PAINT: it must stay in the window's surface.
      HDC dc = GetDC(hwnd);
      HBRUSH yellow = CreateSolidBrush(RGB(255, 255, 0));
      RECT r{x - 2, y - 2, x + 3, y + 3};
      FillRect(dc, &r, yellow);
      DeleteObject(yellow);
      ReleaseDC(hwnd, dc);
      log_line("lbuttondown %d %d", x, y);
      return 0;
    }
    case WM_KEYDOWN:
      log_line("keydown %u", (unsigned)wp);
      if (wp == 'D') {
        INT_PTR r = DialogBoxParamW(instance, MAKEINTRESOURCEW(IDD_TEST), hwnd, test_dialog_proc, 42);
        log_line("dialog result %ld", (long)r);
      } else if (wp == 'S') {
        INT_PTR r = DialogBoxParamW(instance, MAKEINTRESOURCEW(IDD_TEST_SHELL), hwnd, shell_dialog_proc, 0);
        log_line("shell result %ld", (long)r);
      } else if (wp == 'M') {
        log_line("messagebox open");
        InvalidateRect(hwnd, nullptr, FALSE);
        int r = MessageBoxW(hwnd, L"Data out of range, please retry", L"", MB_ICONEXCLAMATION | MB_OK);
        log_line("messagebox %d", r);
      }
      return 0;
    case WM_SYSKEYDOWN:
      log_line("syskeydown %u", (unsigned)wp);
      break;
    case WM_CHAR:
      log_line("char %u", (unsigned)wp);
      return 0;
    case WM_COMMAND:
      log_line("command %u", (unsigned)LOWORD(wp));
      return 0;
    case WM_DESTROY:
      log_line("destroy");
      PostQuitMessage(0);
      return 0;
    default:
      break;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE hinst, HINSTANCE, LPWSTR, int show) {
  const char* path = std::getenv("USER_TEST_LOG");
  log_file = path ? std::fopen(path, "w") : nullptr;
  instance = hinst;
  wchar_t title[100], class_name[100];
  LoadStringW(hinst, IDS_TEST_TITLE, title, 100);
  LoadStringW(hinst, IDS_TEST_CLASS, class_name, 100);

  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.style = CS_HREDRAW | CS_VREDRAW;
  wc.lpfnWndProc = test_window_proc;
  wc.hInstance = hinst;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = class_name;
  RegisterClassExW(&wc);

  HWND hwnd = CreateWindowExW(0, class_name, title, WS_OVERLAPPED | WS_SYSMENU | WS_MINIMIZEBOX,
                              CW_USEDEFAULT, 0, 1000, 700, nullptr, nullptr, hinst, nullptr);
  if (!hwnd) return 3;
  ShowWindow(hwnd, show);
  UpdateWindow(hwnd);
  HACCEL accel = LoadAcceleratorsW(hinst, MAKEINTRESOURCEW(IDA_TEST));
  log_line("ready");

  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0)) {
    if (!TranslateAcceleratorW(msg.hwnd, accel, &msg)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
  DestroyAcceleratorTable(accel);
  log_line("exit %d", (int)msg.wParam);
  if (log_file) std::fclose(log_file);
  return (int)msg.wParam;
}
