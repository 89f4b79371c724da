// Every drawing call the program uses, written once the way diagram/ and app/ write
// them. Built on Linux against our own layer (and run, below) and with the mingw-w64
// cross compiler against the real <windows.h>, so a signature, a constant or a type
// that differs between the two fails one of the builds.
#ifdef _WIN32
#  include "platform.h"
#else
#  include "win32_types.h"
#  include "gdi.h"
#endif

namespace {

// The exact prototypes: a pointer of the Windows type must take our function.
[[maybe_unused]] HPEN(WINAPI* const create_pen)(int, int, COLORREF) = CreatePen;
[[maybe_unused]] HBRUSH(WINAPI* const create_solid_brush)(COLORREF) = CreateSolidBrush;
[[maybe_unused]] HGDIOBJ(WINAPI* const get_stock_object)(int) = GetStockObject;
[[maybe_unused]] HFONT(WINAPI* const create_font)(int, int, int, int, int, DWORD, DWORD, DWORD,
                                                  DWORD, DWORD, DWORD, DWORD, DWORD,
                                                  LPCWSTR) = CreateFontW;
[[maybe_unused]] HGDIOBJ(WINAPI* const select_object)(HDC, HGDIOBJ) = SelectObject;
[[maybe_unused]] BOOL(WINAPI* const delete_object)(HGDIOBJ) = DeleteObject;
[[maybe_unused]] BOOL(WINAPI* const move_to)(HDC, int, int, LPPOINT) = MoveToEx;
[[maybe_unused]] BOOL(WINAPI* const line_to)(HDC, int, int) = LineTo;
[[maybe_unused]] BOOL(WINAPI* const polyline)(HDC, const POINT*, int) = Polyline;
[[maybe_unused]] BOOL(WINAPI* const polygon)(HDC, const POINT*, int) = Polygon;
[[maybe_unused]] BOOL(WINAPI* const rectangle)(HDC, int, int, int, int) = Rectangle;
[[maybe_unused]] BOOL(WINAPI* const ellipse)(HDC, int, int, int, int) = Ellipse;
[[maybe_unused]] int(WINAPI* const fill_rect)(HDC, const RECT*, HBRUSH) = FillRect;
[[maybe_unused]] BOOL(WINAPI* const text_out)(HDC, int, int, LPCWSTR, int) = TextOutW;
[[maybe_unused]] BOOL(WINAPI* const text_extent)(HDC, LPCWSTR, int, SIZE*) = GetTextExtentPoint32W;
[[maybe_unused]] int(WINAPI* const set_bk_mode)(HDC, int) = SetBkMode;
[[maybe_unused]] COLORREF(WINAPI* const set_bk_color)(HDC, COLORREF) = SetBkColor;
[[maybe_unused]] COLORREF(WINAPI* const set_text_color)(HDC, COLORREF) = SetTextColor;
[[maybe_unused]] int(WINAPI* const set_rop2)(HDC, int) = SetROP2;
[[maybe_unused]] COLORREF(WINAPI* const set_pixel)(HDC, int, int, COLORREF) = SetPixel;
[[maybe_unused]] COLORREF(WINAPI* const get_pixel)(HDC, int, int) = GetPixel;
[[maybe_unused]] HDC(WINAPI* const create_dc)(HDC) = CreateCompatibleDC;
[[maybe_unused]] HBITMAP(WINAPI* const create_bitmap)(HDC, int, int) = CreateCompatibleBitmap;
[[maybe_unused]] BOOL(WINAPI* const delete_dc)(HDC) = DeleteDC;
[[maybe_unused]] BOOL(WINAPI* const bit_blt)(HDC, int, int, int, int, HDC, int, int, DWORD) = BitBlt;

static_assert(PS_SOLID == 0 && PS_NULL == 5, "pen styles");
static_assert(TRANSPARENT == 1 && OPAQUE == 2, "background modes");
static_assert(R2_NOT == 6 && R2_COPYPEN == 13, "raster operations");
static_assert(NULL_BRUSH == 5 && BLACK_BRUSH == 4 && WHITE_BRUSH == 0, "stock brushes");
static_assert(FW_NORMAL == 400 && FW_BOLD == 700 && PROOF_QUALITY == 2, "font parameters");
static_assert(FF_SWISS == 0x20 && FF_ROMAN == 0x10 && VARIABLE_PITCH == 2, "families");
static_assert(RGB(1, 2, 3) == 0x030201, "COLORREF is 0x00BBGGRR");

}  // namespace

// One drawing step of each kind, with the discipline of the program's drawing code:
// create, select, draw, select the previous object back, delete.
void vapora_exercise_gdi(HDC dc) {
  HBRUSH black = CreateSolidBrush(RGB(0, 0, 0));
  HBRUSH old_brush = (HBRUSH)SelectObject(dc, black);
  Rectangle(dc, 0, 0, 200, 100);
  SelectObject(dc, old_brush);
  DeleteObject(black);

  HPEN grid = CreatePen(PS_SOLID, 1, RGB(192, 192, 192));
  HPEN old_pen = (HPEN)SelectObject(dc, grid);
  POINT previous;
  MoveToEx(dc, 20, 84, &previous);
  LineTo(dc, 198, 84);
  POINT axes[3] = {{20, 2}, {20, 84}, {198, 84}};
  Polyline(dc, axes, 3);
  SelectObject(dc, old_pen);
  DeleteObject(grid);

  HPEN none = CreatePen(PS_NULL, 1, 0);
  HBRUSH light = CreateSolidBrush(RGB(224, 224, 224));
  old_pen = (HPEN)SelectObject(dc, none);
  old_brush = (HBRUSH)SelectObject(dc, light);
  POINT bevel[6] = {{75, 16}, {345, 16}, {340, 20}, {80, 20}, {80, 110}, {75, 114}};
  Polygon(dc, bevel, 6);
  SelectObject(dc, GetStockObject(NULL_BRUSH));
  Ellipse(dc, 17, 17, 23, 23);
  SelectObject(dc, old_brush);
  SelectObject(dc, old_pen);
  DeleteObject(light);
  DeleteObject(none);

  HFONT label = CreateFontW(10, 5, 900, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, nullptr);
  HFONT heading = CreateFontW(14, 0, 0, 0, FW_BOLD, 0, 0, 0, 0, 0, 0, PROOF_QUALITY,
                              VARIABLE_PITCH | FF_SWISS, nullptr);
  HFONT old_font = (HFONT)SelectObject(dc, label);
  int old_mode = SetBkMode(dc, TRANSPARENT);
  COLORREF old_text = SetTextColor(dc, RGB(0, 255, 0));
  TextOutW(dc, 30, 90, L"1000 bar", 8);
  SelectObject(dc, heading);
  SetBkMode(dc, OPAQUE);
  COLORREF old_bk = SetBkColor(dc, RGB(0, 130, 0));
  SIZE extent;
  GetTextExtentPoint32W(dc, L"   Vapora", 9, &extent);
  TextOutW(dc, 40, 30, L"t = 100.0 C   ", 14);
  SelectObject(dc, old_font);
  DeleteObject(label);
  DeleteObject(heading);
  SetBkColor(dc, old_bk);
  SetTextColor(dc, old_text);
  SetBkMode(dc, old_mode);

  HPEN white = CreatePen(PS_SOLID, 1, RGB(255, 255, 255));
  old_pen = (HPEN)SelectObject(dc, white);
  int old_rop = SetROP2(dc, R2_NOT);
  MoveToEx(dc, 50, 50, nullptr);
  LineTo(dc, 150, 20);
  SetROP2(dc, old_rop);
  SelectObject(dc, old_pen);
  DeleteObject(white);

  RECT r = {1, 1, 4, 4};
  FillRect(dc, &r, (HBRUSH)GetStockObject(WHITE_BRUSH));
  SetPixel(dc, 0, 0, GetPixel(dc, 1, 1));
  HDC memory = CreateCompatibleDC(dc);
  HBITMAP bitmap = CreateCompatibleBitmap(dc, 8, 8);
  HBITMAP old_bitmap = (HBITMAP)SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, 8, 8, dc, 0, 0, SRCCOPY);
  SelectObject(memory, old_bitmap);
  DeleteObject(bitmap);
  DeleteDC(memory);
}

#if defined(_WIN32) && defined(VAPORA_WIN_COMPILE_MAIN)
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, 400, 200);
  HGDIOBJ old = SelectObject(dc, bitmap);
  vapora_exercise_gdi(dc);
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  return 0;
}
#endif

#ifndef _WIN32
#  include <gtest/gtest.h>

TEST(GdiCallingCode, RunsAndLeavesNoObjectBehind) {
  const int start = vapora_gdi_object_count();
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bitmap = CreateCompatibleBitmap(dc, 400, 200);
  HGDIOBJ old = SelectObject(dc, bitmap);
  vapora_exercise_gdi(dc);
  EXPECT_EQ(GetPixel(dc, 100, 60), RGB(0, 0, 0));       // the black fill
  EXPECT_EQ(GetPixel(dc, 100, 84), RGB(192, 192, 192));  // the grid line
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
  EXPECT_EQ(vapora_gdi_object_count(), start);
}
#endif
