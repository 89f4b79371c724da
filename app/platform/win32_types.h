// Basic Win32 types and macros for the non-Windows build of the platform layer.
// Handles are distinct pointer types, as with STRICT on Windows, so that passing a
// pen where a brush is wanted does not compile on either platform.
#pragma once

#ifdef _WIN32
#error "win32_types.h is for the non-Windows build; include platform.h"
#endif

#include <cstdint>
#include <cwchar>

#define WINAPI
#define CALLBACK
#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif

typedef int BOOL;
typedef unsigned char BYTE;
typedef uint16_t WORD;
typedef uint32_t DWORD;
typedef int32_t LONG;
typedef unsigned int UINT;
typedef wchar_t* LPWSTR;
typedef const wchar_t* LPCWSTR;
typedef void* LPVOID;
typedef uintptr_t WPARAM;
typedef intptr_t LPARAM;
typedef intptr_t LRESULT;
typedef intptr_t INT_PTR;
typedef uintptr_t UINT_PTR;
typedef DWORD COLORREF;
typedef WORD ATOM;

#define VAPORA_DECLARE_HANDLE(name) \
    struct name##__;                \
    typedef struct name##__* name
VAPORA_DECLARE_HANDLE(HINSTANCE);
VAPORA_DECLARE_HANDLE(HWND);
VAPORA_DECLARE_HANDLE(HDC);
VAPORA_DECLARE_HANDLE(HPEN);
VAPORA_DECLARE_HANDLE(HBRUSH);
VAPORA_DECLARE_HANDLE(HFONT);
VAPORA_DECLARE_HANDLE(HBITMAP);
VAPORA_DECLARE_HANDLE(HICON);
VAPORA_DECLARE_HANDLE(HACCEL);
VAPORA_DECLARE_HANDLE(HMENU);
#undef VAPORA_DECLARE_HANDLE
typedef void* HGDIOBJ;
typedef HICON HCURSOR;
typedef HINSTANCE HMODULE;

struct POINT {
    LONG x;
    LONG y;
};
struct RECT {
    LONG left;
    LONG top;
    LONG right;
    LONG bottom;
};
struct SIZE {
    LONG cx;
    LONG cy;
};
typedef POINT* LPPOINT;
typedef RECT* LPRECT;

#define RGB(r, g, b) \
    ((COLORREF)(((BYTE)(r)) | ((WORD)((BYTE)(g)) << 8) | (((DWORD)(BYTE)(b)) << 16)))
#define GetRValue(c) ((BYTE)(c))
#define GetGValue(c) ((BYTE)(((WORD)(c)) >> 8))
#define GetBValue(c) ((BYTE)((c) >> 16))
#define LOWORD(l) ((WORD)(((UINT_PTR)(l)) & 0xffff))
#define MAKELONG(a, b) \
    ((LONG)(((WORD)(((UINT_PTR)(a)) & 0xffff)) | ((DWORD)((WORD)(((UINT_PTR)(b)) & 0xffff))) << 16))
#define MAKELPARAM(l, h) ((LPARAM)(DWORD)MAKELONG(l, h))
#define MAKEINTRESOURCEW(i) ((LPWSTR)((UINT_PTR)((WORD)(i))))
#define IS_INTRESOURCE(r) ((((UINT_PTR)(r)) >> 16) == 0)
