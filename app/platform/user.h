// The windowing half of the Win32 subset for the non-Windows build: USER over GTK 3.
// Names, signatures, constants and effects are those of <windows.h>, limited to what the
// program calls, so that app/ compiles unchanged on both platforms. Include platform.h.
//
// What the program can rely on, as on a current Windows:
//  - a top-level window's client area is its outer size less a fixed 3-pixel frame and a
//    26-pixel caption (994 x 671 for 1000 x 700); it shows a backing surface that keeps
//    what was drawn through GetDC or BeginPaint, also while covered;
//  - input arrives as posted messages through GetMessageW; WM_PAINT comes for the first
//    show (UpdateWindow) and once after a restore from minimise, never for an uncovering;
//  - DialogBoxParamW runs a nested loop: the owner takes no input but keeps its pixels;
//    radio buttons change their check state only through BM_SETCHECK; Escape and the
//    close button send IDCANCEL, Enter the focused push button or IDOK; controls are
//    placed by dialog units (2 x 2 pixels each without a template font, 1.5 x 1.625 with
//    8-point "MS Shell Dlg");
//  - one resource set per program, from the script given to vapora_add_resources().
#pragma once

#ifdef _WIN32
#error "user.h is for the non-Windows build; include platform.h"
#endif

// A resource script includes this header for its constants alone (RC_INVOKED), as the
// SDK's <windows.h> gives them to the resource compiler.
#ifndef RC_INVOKED
#include "win32_types.h"
#endif

// ---- Styles --------------------------------------------------------------------------
#define WS_OVERLAPPED 0x00000000L
#define WS_POPUP 0x80000000L
#define WS_CHILD 0x40000000L
#define WS_VISIBLE 0x10000000L
#define WS_CAPTION 0x00C00000L
#define WS_BORDER 0x00800000L
#define WS_SYSMENU 0x00080000L
#define WS_GROUP 0x00020000L
#define WS_TABSTOP 0x00010000L
#define WS_MINIMIZEBOX 0x00020000L

#define CS_VREDRAW 0x0001
#define CS_HREDRAW 0x0002
#define CW_USEDEFAULT ((int)0x80000000)

#define DS_SETFONT 0x40L
#define DS_MODALFRAME 0x80L
#define DS_FIXEDSYS 0x08L

#define BS_PUSHBUTTON 0x00000000L
#define BS_DEFPUSHBUTTON 0x00000001L
#define BS_RADIOBUTTON 0x00000004L
#define BS_GROUPBOX 0x00000007L
#define BS_AUTORADIOBUTTON 0x00000009L
#define SS_LEFT 0x00000000L
#define SS_ICON 0x00000003L
#define SS_NOPREFIX 0x00000080L
#define ES_LEFT 0x0000L
#define ES_AUTOHSCROLL 0x0080L

#define FVIRTKEY 0x01
#define FCONTROL 0x08
#define FALT 0x10

// ---- Messages and values -------------------------------------------------------------
#define WM_NULL 0x0000
#define WM_DESTROY 0x0002
#define WM_NCDESTROY 0x0082
#define WM_SETTEXT 0x000C
#define WM_GETTEXT 0x000D
#define WM_PAINT 0x000F
#define WM_CLOSE 0x0010
#define WM_QUIT 0x0012
#define WM_SETFONT 0x0030
#define WM_KEYDOWN 0x0100
#define WM_CHAR 0x0102
#define WM_SYSKEYDOWN 0x0104
#define WM_SYSCHAR 0x0106
#define WM_INITDIALOG 0x0110
#define WM_COMMAND 0x0111
#define WM_MOUSEMOVE 0x0200
#define WM_LBUTTONDOWN 0x0201
#define MK_LBUTTON 0x0001
#define VK_MENU 0x12
#define VK_F4 0x73
#define VK_F5 0x74

#define BM_SETCHECK 0x00F1
#define BST_UNCHECKED 0x0000
#define BST_CHECKED 0x0001
#define BN_CLICKED 0

#define IDOK 1
#define IDCANCEL 2
#define MB_OK 0x00000000L
#define MB_ICONEXCLAMATION 0x00000030L

#define SW_SHOW 5
#define SW_SHOWDEFAULT 10
#define IDC_ARROW MAKEINTRESOURCEW(32512)
#define MAKEWPARAM(l, h) ((WPARAM)(DWORD)MAKELONG(l, h))

#ifndef RC_INVOKED
// ---- Records -------------------------------------------------------------------------
typedef LRESULT(CALLBACK* WNDPROC)(HWND, UINT, WPARAM, LPARAM);
typedef INT_PTR(CALLBACK* DLGPROC)(HWND, UINT, WPARAM, LPARAM);

struct WNDCLASSEXW {
    UINT cbSize;
    UINT style;
    WNDPROC lpfnWndProc;
    int cbClsExtra;
    int cbWndExtra;
    HINSTANCE hInstance;
    HICON hIcon;
    HCURSOR hCursor;
    HBRUSH hbrBackground;
    LPCWSTR lpszMenuName;
    LPCWSTR lpszClassName;
    HICON hIconSm;
};

struct MSG {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    DWORD time;
    POINT pt;
};

struct PAINTSTRUCT {
    HDC hdc;
    BOOL fErase;
    RECT rcPaint;
};

// ---- Windows, messages and painting --------------------------------------------------
ATOM RegisterClassExW(const WNDCLASSEXW* lpwcx);
HWND CreateWindowExW(DWORD dwExStyle, LPCWSTR lpClassName, LPCWSTR lpWindowName, DWORD dwStyle,
                     int X, int Y, int nWidth, int nHeight, HWND hWndParent, HMENU hMenu,
                     HINSTANCE hInstance, LPVOID lpParam);
BOOL DestroyWindow(HWND hWnd);
BOOL ShowWindow(HWND hWnd, int nCmdShow);
BOOL UpdateWindow(HWND hWnd);
BOOL GetClientRect(HWND hWnd, LPRECT lpRect);
// For a test build's hook: which windows are alive, and their titles.
BOOL IsWindow(HWND hWnd);
int GetWindowTextW(HWND hWnd, LPWSTR lpString, int nMaxCount);

BOOL GetMessageW(MSG* lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax);
BOOL TranslateMessage(const MSG* lpMsg);
LRESULT DispatchMessageW(const MSG* lpMsg);
void PostQuitMessage(int nExitCode);
LRESULT DefWindowProcW(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam);
HACCEL LoadAcceleratorsW(HINSTANCE hInstance, LPCWSTR lpTableName);
int TranslateAcceleratorW(HWND hWnd, HACCEL hAccTable, MSG* lpMsg);

HDC BeginPaint(HWND hWnd, PAINTSTRUCT* lpPaint);
BOOL EndPaint(HWND hWnd, const PAINTSTRUCT* lpPaint);
HDC GetDC(HWND hWnd);
int ReleaseDC(HWND hWnd, HDC hDC);
BOOL GetCursorPos(LPPOINT lpPoint);
BOOL ScreenToClient(HWND hWnd, LPPOINT lpPoint);
BOOL MessageBeep(UINT uType);

// ---- Resources -----------------------------------------------------------------------
int LoadStringW(HINSTANCE hInstance, UINT uID, LPWSTR lpBuffer, int cchBufferMax);
HICON LoadIconW(HINSTANCE hInstance, LPCWSTR lpIconName);
HCURSOR LoadCursorW(HINSTANCE hInstance, LPCWSTR lpCursorName);
HMODULE GetModuleHandleW(LPCWSTR lpModuleName);

// ---- Dialogs and message boxes -------------------------------------------------------
INT_PTR DialogBoxParamW(HINSTANCE hInstance, LPCWSTR lpTemplateName, HWND hWndParent,
                        DLGPROC lpDialogFunc, LPARAM dwInitParam);
BOOL EndDialog(HWND hDlg, INT_PTR nResult);
UINT GetDlgItemTextW(HWND hDlg, int nIDDlgItem, LPWSTR lpString, int cchMax);
BOOL SetDlgItemTextW(HWND hDlg, int nIDDlgItem, LPCWSTR lpString);
LRESULT SendDlgItemMessageW(HWND hDlg, int nIDDlgItem, UINT Msg, WPARAM wParam, LPARAM lParam);
// MB_ICONEXCLAMATION | MB_OK, the one kind the program shows: answers IDOK.
int MessageBoxW(HWND hWnd, LPCWSTR lpText, LPCWSTR lpCaption, UINT uType);

// The program's entry point, as on Windows; the layer's main() calls it once GTK is up.
int WINAPI wWinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPWSTR lpCmdLine, int nShowCmd);

// ---- Linux extensions (not Win32 names) ----------------------------------------------

// Called by the tables that vapora_add_resources() generates: hands the layer the
// program's resource script and the files it names (icons).
void vapora_register_resource_script(const char* text, unsigned long length);
void vapora_register_resource_file(const char* name, const unsigned char* data,
                                   unsigned long length);

// Writes a window's backing surface (what the program has drawn in its client area) as
// a PNG file, for a test build's hook. Returns 1 on success, 0 on failure.
int vapora_save_window_png(HWND hWnd, const char* path);

#endif  // RC_INVOKED
