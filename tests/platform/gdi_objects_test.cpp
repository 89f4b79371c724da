// Objects and device contexts: what selecting hands back, that deleting balances the
// live count, DCs over window surfaces, and PNG output.
#include <gtest/gtest.h>

#include <cairo.h>
#include <unistd.h>

#include <string>

#include "gdi_internal.h"
#include "gdi_test_support.h"

namespace {

TEST(GdiObjects, SelectReturnsThePreviousObjectOfThatKind) {
  HDC dc = CreateCompatibleDC(nullptr);
  HPEN p1 = CreatePen(PS_SOLID, 1, RGB(1, 2, 3)), p2 = CreatePen(PS_NULL, 1, 0);
  HBRUSH b1 = CreateSolidBrush(RGB(9, 9, 9));
  HFONT f1 = CreateFontW(10, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, nullptr);
  HBITMAP bm = CreateCompatibleBitmap(dc, 4, 4);
  // A new DC holds the black pen, the white brush and the system font.
  EXPECT_EQ(SelectObject(dc, p1), GetStockObject(BLACK_PEN));
  EXPECT_EQ(SelectObject(dc, b1), GetStockObject(WHITE_BRUSH));
  EXPECT_EQ(SelectObject(dc, f1), GetStockObject(SYSTEM_FONT));
  EXPECT_EQ(SelectObject(dc, p2), p1);  // a pen replaces only the pen
  EXPECT_EQ(SelectObject(dc, GetStockObject(NULL_BRUSH)), b1);
  HGDIOBJ first_bitmap = SelectObject(dc, bm);
  EXPECT_NE(first_bitmap, nullptr);
  EXPECT_EQ(SelectObject(dc, first_bitmap), bm);
  EXPECT_EQ(SelectObject(dc, GetStockObject(BLACK_PEN)), p2);
  EXPECT_EQ(SelectObject(dc, GetStockObject(SYSTEM_FONT)), f1);
  EXPECT_EQ(SelectObject(dc, nullptr), nullptr);
  EXPECT_EQ(SelectObject(nullptr, p1), nullptr);
  for (HGDIOBJ o : {HGDIOBJ(p1), HGDIOBJ(p2), HGDIOBJ(b1), HGDIOBJ(f1), HGDIOBJ(bm)})
    EXPECT_TRUE(DeleteObject(o));
  DeleteDC(dc);
}

TEST(GdiObjects, StateSettersReturnThePreviousValue) {
  HDC dc = CreateCompatibleDC(nullptr);
  EXPECT_EQ(SetBkMode(dc, TRANSPARENT), OPAQUE);
  EXPECT_EQ(SetBkMode(dc, OPAQUE), TRANSPARENT);
  EXPECT_EQ(SetBkColor(dc, RGB(0, 130, 0)), RGB(255, 255, 255));
  EXPECT_EQ(SetBkColor(dc, 0), RGB(0, 130, 0));
  EXPECT_EQ(SetTextColor(dc, RGB(255, 0, 0)), RGB(0, 0, 0));
  EXPECT_EQ(SetTextColor(dc, 0), RGB(255, 0, 0));
  EXPECT_EQ(SetROP2(dc, R2_NOT), R2_COPYPEN);
  EXPECT_EQ(SetROP2(dc, R2_COPYPEN), R2_NOT);
  EXPECT_EQ(SetROP2(dc, 0), 0);  // out of range: refused, mode kept
  EXPECT_EQ(GetROP2(dc), R2_COPYPEN);
  POINT p = {-1, -1};
  MoveToEx(dc, 3, 4, nullptr);
  MoveToEx(dc, 7, 8, &p);
  EXPECT_EQ(p.x, 3);
  EXPECT_EQ(p.y, 4);
  DeleteDC(dc);
}

TEST(GdiObjects, DeletingBalancesTheLiveCount) {
  const int start = vapora_gdi_object_count();
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bm = CreateCompatibleBitmap(dc, 8, 8);
  HPEN pen = CreatePen(PS_SOLID, 1, 0);
  HBRUSH brush = CreateSolidBrush(0);
  HFONT f = CreateFontW(14, 0, 900, 0, 700, 1, 0, 0, 0, 0, 0, 2, 0x22, nullptr);
  EXPECT_EQ(vapora_gdi_object_count(), start + 5);
  HGDIOBJ old_bm = SelectObject(dc, bm);
  HGDIOBJ old_pen = SelectObject(dc, pen);
  HGDIOBJ old_font = SelectObject(dc, f);
  TextOutW(dc, 0, 0, L"x", 1);  // resolving the font must not leak either
  // Deleting a selected pen is taken, but the pen lives on until it is selected out.
  EXPECT_TRUE(DeleteObject(pen));
  EXPECT_EQ(vapora_gdi_object_count(), start + 5);
  SelectObject(dc, old_pen);
  EXPECT_EQ(vapora_gdi_object_count(), start + 4);
  EXPECT_FALSE(DeleteObject(pen));  // gone now
  SelectObject(dc, old_font);
  SelectObject(dc, old_bm);
  EXPECT_TRUE(DeleteObject(f));
  EXPECT_TRUE(DeleteObject(brush));
  EXPECT_TRUE(DeleteObject(bm));
  EXPECT_TRUE(DeleteDC(dc));
  EXPECT_EQ(vapora_gdi_object_count(), start);
  // Stock objects are never counted and survive DeleteObject.
  EXPECT_TRUE(DeleteObject(GetStockObject(BLACK_PEN)));
  EXPECT_EQ(vapora_gdi_object_count(), start);
  EXPECT_NE(GetStockObject(BLACK_PEN), nullptr);
}

TEST(GdiObjects, ABitmapSitsInOneDcAtATime) {
  HDC a = CreateCompatibleDC(nullptr), b = CreateCompatibleDC(nullptr);
  HBITMAP bm = CreateCompatibleBitmap(a, 2, 2);
  HGDIOBJ old = SelectObject(a, bm);
  EXPECT_EQ(SelectObject(b, bm), nullptr);
  SelectObject(a, old);
  HGDIOBJ old_b = SelectObject(b, bm);
  EXPECT_NE(old_b, nullptr);
  SelectObject(b, old_b);
  DeleteObject(bm);
  DeleteDC(a);
  DeleteDC(b);
}

struct Damage {
  int calls = 0;
  RECT last = {0, 0, 0, 0};
};

TEST(GdiSurfaceDc, DrawsIntoTheWindowSurfaceWithinItsClip) {
  const int start = vapora_gdi_object_count();
  cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 30, 20);
  HDC dc = vapora_dc_for_surface(s);
  ASSERT_NE(dc, nullptr);
  EXPECT_EQ(vapora_dc_surface(dc), s);
  EXPECT_EQ(vapora_gdi_object_count(), start);  // not one of the program's objects
  EXPECT_FALSE(DeleteDC(dc));                   // and not the program's to delete
  Damage damage;
  vapora_dc_set_damage_callback(dc, [](void* data, const RECT* r) {
    auto* d = static_cast<Damage*>(data);
    ++d->calls;
    d->last = *r;
  }, &damage);
  HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
  RECT all = {0, 0, 30, 20};
  FillRect(dc, &all, red);
  EXPECT_EQ(damage.calls, 1);
  EXPECT_EQ(damage.last.right, 30);
  EXPECT_EQ(GetPixel(dc, 29, 19), RGB(255, 0, 0));
  RECT clip = {10, 5, 20, 15};
  vapora_dc_set_clip(dc, &clip);
  SelectObject(dc, GetStockObject(WHITE_PEN));
  MoveToEx(dc, 0, 10, nullptr);
  LineTo(dc, 30, 10);
  EXPECT_EQ(damage.last.left, 10);
  EXPECT_EQ(damage.last.right, 20);
  vapora_dc_set_clip(dc, nullptr);
  for (int x = 0; x < 30; ++x)
    EXPECT_EQ(GetPixel(dc, x, 10), x >= 10 && x < 20 ? RGB(255, 255, 255) : RGB(255, 0, 0)) << x;
  // The pixels are the surface's own, in cairo's layout.
  cairo_surface_flush(s);
  const uint32_t* row = reinterpret_cast<const uint32_t*>(
      cairo_image_surface_get_data(s) + 10 * cairo_image_surface_get_stride(s));
  EXPECT_EQ(row[15] & 0xFFFFFF, 0xFFFFFFu);
  EXPECT_EQ(row[5] & 0xFFFFFF, 0xFF0000u);
  vapora_release_surface_dc(dc);
  DeleteObject(red);
  EXPECT_EQ(vapora_gdi_object_count(), start);
  cairo_surface_destroy(s);
}

TEST(GdiPng, WrittenAndReadBackPixelForPixel) {
  TestCanvas c(23, 17, RGB(0, 0, 0));
  c.fill_pattern();
  std::string path = ::testing::TempDir() + "vapora_gdi_" + std::to_string(getpid()) + ".png";
  ASSERT_EQ(vapora_save_png(c.dc, path.c_str()), 1);
  cairo_surface_t* back = cairo_image_surface_create_from_png(path.c_str());
  ASSERT_EQ(cairo_surface_status(back), CAIRO_STATUS_SUCCESS);
  ASSERT_EQ(cairo_image_surface_get_width(back), 23);
  ASSERT_EQ(cairo_image_surface_get_height(back), 17);
  const unsigned char* data = cairo_image_surface_get_data(back);
  int stride = cairo_image_surface_get_stride(back);
  for (int y = 0; y < 17; ++y) {
    const uint32_t* row = reinterpret_cast<const uint32_t*>(data + y * stride);
    for (int x = 0; x < 23; ++x) {
      uint32_t p = row[x];
      ASSERT_EQ(RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF), c.at(x, y)) << x << "," << y;
    }
  }
  cairo_surface_destroy(back);
  unlink(path.c_str());
  EXPECT_EQ(vapora_save_png(c.dc, "/nonexistent-dir/x.png"), 0);
}

}  // namespace
