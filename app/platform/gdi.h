// The drawing half of the Win32 subset for the non-Windows build: GDI over cairo and
// Pango. Exactly the calls diagram/ and app/ make, with the names, signatures and
// effects of <windows.h>. Include platform.h, not this file.
//
// Pixel rules kept from Win32 on image surfaces (rasterised here, not by cairo, so
// that curves and grid match the Windows program pixel for pixel):
//  - coordinates name pixels; LineTo draws up to, but not including, its end point;
//  - Rectangle, Polygon and Ellipse cover their left and top edges, not their right
//    and bottom ones; with the null pen the filled area is one pixel smaller each way;
//  - R2_NOT inverts every pixel under a line, so a line drawn twice gives the screen
//    back; text and FillRect always copy.
// On vector surfaces (SVG, PDF) and scaled image surfaces the same calls become cairo
// paths through the pixel centres.
#pragma once

#ifdef _WIN32
#error "gdi.h is for the non-Windows build; include platform.h"
#endif

#include "win32_types.h"

#define PS_SOLID 0
#define PS_NULL 5

#define TRANSPARENT 1
#define OPAQUE 2

#define R2_NOT 6
#define R2_COPYPEN 13

#define FW_NORMAL 400
#define FW_BOLD 700
#define DEFAULT_CHARSET 1
#define PROOF_QUALITY 2
#define VARIABLE_PITCH 2
#define FF_ROMAN 0x10
#define FF_SWISS 0x20

HPEN CreatePen(int iStyle, int cWidth, COLORREF color);
HBRUSH CreateSolidBrush(COLORREF color);
// Height is the cell height; the escapement rotates counterclockwise in tenths of a
// degree; pitch and family pick the face (Swiss a sans, Roman a serif). Orientation,
// character set, precisions, underline, strike-out and the face name are not used.
HFONT CreateFontW(int cHeight, int cWidth, int cEscapement, int cOrientation, int cWeight,
                  DWORD bItalic, DWORD bUnderline, DWORD bStrikeOut, DWORD iCharSet,
                  DWORD iOutPrecision, DWORD iClipPrecision, DWORD iQuality, DWORD iPitchAndFamily,
                  LPCWSTR pszFaceName);
HBITMAP CreateCompatibleBitmap(HDC hdc, int cx, int cy);
HDC CreateCompatibleDC(HDC hdc);
BOOL DeleteDC(HDC hdc);
HGDIOBJ SelectObject(HDC hdc, HGDIOBJ h);
// An object still selected into a DC is not deleted (FALSE), so it still counts.
BOOL DeleteObject(HGDIOBJ ho);

BOOL MoveToEx(HDC hdc, int x, int y, LPPOINT lppt);
BOOL LineTo(HDC hdc, int x, int y);
BOOL Polygon(HDC hdc, const POINT* apt, int cpt);
BOOL Rectangle(HDC hdc, int left, int top, int right, int bottom);
BOOL Ellipse(HDC hdc, int left, int top, int right, int bottom);

BOOL TextOutW(HDC hdc, int x, int y, LPCWSTR lpString, int c);
int SetBkMode(HDC hdc, int mode);
COLORREF SetBkColor(HDC hdc, COLORREF color);
COLORREF SetTextColor(HDC hdc, COLORREF color);
int SetROP2(HDC hdc, int rop2);

// Not a Win32 name: pens, brushes, fonts, bitmaps and memory DCs created and not yet
// deleted, so that a test can see that a drawing step leaves none behind.
int vapora_gdi_object_count(void);
