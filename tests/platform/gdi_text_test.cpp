// Text: placement by the cell's top-left corner, cell sizes from the logical font,
// rotation by the escapement and the opaque background.
#include <gtest/gtest.h>

#include <cwchar>

#include "gdi_test_support.h"

namespace {

constexpr COLORREF black = RGB(0, 0, 0);
constexpr COLORREF white = RGB(255, 255, 255);

struct Ink {
  int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;  // inclusive bounds
  int count = 0;
};

Ink ink_of(const TestCanvas& c, COLORREF background) {
  Ink ink;
  for (int y = 0; y < c.height; ++y) {
    for (int x = 0; x < c.width; ++x) {
      if (c.at(x, y) == background) continue;
      ++ink.count;
      ink.left = std::min(ink.left, x);
      ink.right = std::max(ink.right, x);
      ink.top = std::min(ink.top, y);
      ink.bottom = std::max(ink.bottom, y);
    }
  }
  return ink;
}

HFONT font(int height, int width = 0, int escapement = 0, int weight = 0,
           DWORD pitch_and_family = 0) {
  return CreateFontW(height, width, escapement, 0, weight, 0, 0, 0, 0, 0, 0, PROOF_QUALITY,
                     pitch_and_family, nullptr);
}

TEST(GdiText, PlacedByTheTopLeftCornerOfItsCell) {
  struct Case {
    const wchar_t* text;
    int height;
    DWORD family;
  } cases[] = {{L"T [\u00b0C]", 14, 0}, {L"Hg", 22, 0x20}, {L"700", 10, 0}, {L"Vapora", 17, 0x10}};
  for (const Case& k : cases) {
    SCOPED_TRACE(k.height);
    TestCanvas c(120, 60, black);
    HFONT f = font(k.height, 0, 0, 0, k.family);
    HGDIOBJ old = SelectObject(c.dc, f);
    SetBkMode(c.dc, TRANSPARENT);
    SetTextColor(c.dc, white);
    const int x = 17, y = 11;
    int n = int(std::wcslen(k.text));
    SIZE cell;
    ASSERT_TRUE(GetTextExtentPoint32W(c.dc, k.text, n, &cell));
    EXPECT_EQ(cell.cy, k.height);
    TextOutW(c.dc, x, y, k.text, n);
    Ink ink = ink_of(c, black);
    ASSERT_GT(ink.count, 0);
    EXPECT_GE(ink.left, x);
    EXPECT_GE(ink.top, y);
    EXPECT_LT(ink.right, x + cell.cx + 1);  // one pixel of antialiasing slack
    EXPECT_LT(ink.bottom, y + cell.cy);
    // The glyphs fill most of the cell: not drawn at a quarter of the size or off to
    // one side.
    EXPECT_GT(ink.right - ink.left + 1, cell.cx * 3 / 4);
    EXPECT_GT(ink.bottom - ink.top + 1, cell.cy / 2);
    SelectObject(c.dc, old);
    DeleteObject(f);
  }
}

TEST(GdiText, OpaqueBackgroundFillsExactlyTheCell) {
  TestCanvas c(140, 40, black);
  c.fill_pattern();
  auto before = c.snapshot();
  HFONT f = font(14, 0, 0, 0, 0x22);
  HGDIOBJ old = SelectObject(c.dc, f);
  const COLORREF panel = RGB(0, 130, 0);
  EXPECT_EQ(SetBkMode(c.dc, OPAQUE), OPAQUE);  // opaque is also the default
  SetBkColor(c.dc, panel);
  SetTextColor(c.dc, panel);  // text in the background colour: the cell is one colour
  const wchar_t* text = L"p = 1.013 bar   ";
  int n = int(std::wcslen(text));
  SIZE cell;
  GetTextExtentPoint32W(c.dc, text, n, &cell);
  TextOutW(c.dc, 5, 9, text, n);
  for (int y = 0; y < c.height; ++y) {
    for (int x = 0; x < c.width; ++x) {
      bool in = x >= 5 && x < 5 + cell.cx && y >= 9 && y < 9 + cell.cy;
      COLORREF want = in ? panel : before[size_t(y) * c.width + x];
      ASSERT_EQ(c.at(x, y), want) << x << "," << y;
    }
  }
  SelectObject(c.dc, old);
  DeleteObject(f);
}

TEST(GdiText, TransparentBackgroundLeavesTheCellAlone) {
  TestCanvas c(80, 30, RGB(10, 20, 30));
  HFONT f = font(12);
  HGDIOBJ old = SelectObject(c.dc, f);
  SetBkMode(c.dc, TRANSPARENT);
  SetBkColor(c.dc, RGB(200, 0, 0));
  SetTextColor(c.dc, white);
  TextOutW(c.dc, 2, 2, L"- -", 3);
  for (int y = 0; y < c.height; ++y)
    for (int x = 0; x < c.width; ++x) ASSERT_NE(c.at(x, y), RGB(200, 0, 0));
  SelectObject(c.dc, old);
  DeleteObject(f);
}

TEST(GdiText, EscapementNineHundredReadsUpward) {
  TestCanvas c(60, 120, black);
  HFONT f = font(10, 5, 900);
  HGDIOBJ old = SelectObject(c.dc, f);
  SetBkMode(c.dc, TRANSPARENT);
  SetTextColor(c.dc, white);
  const int x = 20, y = 100;
  const wchar_t* text = L"1000 bar";
  SIZE cell;
  GetTextExtentPoint32W(c.dc, text, 8, &cell);
  TextOutW(c.dc, x, y, text, 8);
  Ink ink = ink_of(c, black);
  ASSERT_GT(ink.count, 0);
  EXPECT_GT(ink.bottom - ink.top, 2 * (ink.right - ink.left));  // taller than wide
  // The cell turns about its top-left corner: it rises from y and lies right of x.
  EXPECT_GE(ink.left, x);
  EXPECT_LE(ink.right, x + cell.cy);
  EXPECT_LT(ink.bottom, y + 1);
  EXPECT_GE(ink.top, y - cell.cx - 1);
  // Reading upward: a lone first character sits at the bottom end, by the corner.
  TestCanvas d(60, 120, black);
  SelectObject(d.dc, f);
  SetBkMode(d.dc, TRANSPARENT);
  SetTextColor(d.dc, white);
  TextOutW(d.dc, x, y, L"1       ", 8);
  Ink first = ink_of(d, black);
  ASSERT_GT(first.count, 0);
  EXPECT_GT(first.top, y - cell.cx / 4);
  SelectObject(d.dc, GetStockObject(SYSTEM_FONT));
  SelectObject(c.dc, old);
  DeleteObject(f);
}

TEST(GdiText, OpaqueRotatedCellIsTheTurnedRectangle) {
  TestCanvas c(40, 80, black);
  HFONT f = font(10, 5, 900);
  HGDIOBJ old = SelectObject(c.dc, f);
  SetBkColor(c.dc, RGB(0, 0, 200));
  // Spaces: no ink at all, so only the background shows (turned glyphs may overhang
  // their advance by a faint pixel, as on Windows).
  SIZE cell;
  GetTextExtentPoint32W(c.dc, L"      ", 6, &cell);
  ASSERT_GT(cell.cx, 6);
  TextOutW(c.dc, 10, 70, L"      ", 6);
  for (int y = 0; y < c.height; ++y) {
    for (int x = 0; x < c.width; ++x) {
      bool in = x >= 10 && x < 10 + cell.cy && y >= 70 - cell.cx && y < 70;
      ASSERT_EQ(c.at(x, y), in ? RGB(0, 0, 200) : black) << x << "," << y;
    }
  }
  SelectObject(c.dc, old);
  DeleteObject(f);
}

TEST(GdiText, CellSizeFollowsTheLogicalFont) {
  TestCanvas c(8, 8, black);
  auto extent = [&](HFONT f, const wchar_t* text) {
    HGDIOBJ old = SelectObject(c.dc, f);
    SIZE s = {0, 0};
    GetTextExtentPoint32W(c.dc, text, int(std::wcslen(text)), &s);
    SelectObject(c.dc, old);
    DeleteObject(f);
    return s;
  };
  const wchar_t* sample = L"abcdefghijklmnopqrstuvwxyz";
  // Positive heights are cells, negative ones character heights (so a taller cell).
  EXPECT_EQ(extent(font(19), sample).cy, 19);
  EXPECT_GT(extent(font(-19), sample).cy, 19);
  // A width is the average character width: 26 letters of width 6 are about 156.
  SIZE six = extent(font(12, 6), sample);
  EXPECT_NEAR(six.cx, 26 * 6, 2);
  EXPECT_EQ(six.cy, 12);
  EXPECT_LT(extent(font(12, 4), sample).cx, six.cx);
  // Bold is wider than normal for the same cell.
  EXPECT_GT(extent(font(14, 0, 0, 700), sample).cx, extent(font(14, 0, 0, 400), sample).cx);
  // An empty text has no width but the cell's height.
  SIZE empty = extent(font(14), L"");
  EXPECT_EQ(empty.cx, 0);
  EXPECT_EQ(empty.cy, 14);
}

TEST(GdiText, FamilyPicksTheFace) {
  auto draw = [](DWORD family) {
    TestCanvas c(90, 24, black);
    HFONT f = font(18, 0, 0, 0, family);
    HGDIOBJ old = SelectObject(c.dc, f);
    SetTextColor(c.dc, white);
    SetBkMode(c.dc, TRANSPARENT);
    TextOutW(c.dc, 2, 2, L"Rag", 3);
    SelectObject(c.dc, old);
    DeleteObject(f);
    return c.snapshot();
  };
  auto swiss = draw(FF_SWISS | VARIABLE_PITCH), roman = draw(FF_ROMAN),
       modern = draw(FF_MODERN), none = draw(0);
  EXPECT_NE(swiss, roman);
  EXPECT_NE(swiss, modern);
  EXPECT_NE(roman, modern);
  EXPECT_EQ(none, swiss);  // no family: sans
}

}  // namespace
