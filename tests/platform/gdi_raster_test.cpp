// Pixel rules of lines and areas: which pixels a call covers, and that inverting lines
// can be taken back exactly.
#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <set>
#include <utility>
#include <vector>

#include "gdi_test_support.h"

namespace {

constexpr COLORREF black = RGB(0, 0, 0);
constexpr COLORREF red = RGB(255, 0, 0);
constexpr COLORREF green = RGB(0, 255, 0);
constexpr COLORREF blue = RGB(0, 0, 255);

std::set<std::pair<int, int>> pixels_of(const TestCanvas& c, COLORREF colour) {
  std::set<std::pair<int, int>> s;
  for (int y = 0; y < c.height; ++y)
    for (int x = 0; x < c.width; ++x)
      if (c.at(x, y) == colour) s.insert({x, y});
  return s;
}

struct RectCase {
  const char* name;
  bool pen;      // a solid green pen, else the null pen
  bool brush;    // a solid red brush, else the null brush
  RECT box;      // as passed to Rectangle
  RECT outline;  // pixels [left, right) x [top, bottom) in green (empty: none)
  RECT fill;     // pixels in red
};

TEST(GdiRectangle, CoversLeftAndTopEdgesOnly) {
  const RectCase cases[] = {
      {"pen and brush", true, true, {5, 4, 15, 10}, {5, 4, 15, 10}, {6, 5, 14, 9}},
      {"pen only", true, false, {5, 4, 15, 10}, {5, 4, 15, 10}, {0, 0, 0, 0}},
      // Without an outline the filled area is a pixel smaller each way.
      {"null pen", false, true, {5, 4, 15, 10}, {0, 0, 0, 0}, {5, 4, 14, 9}},
      {"swapped corners", true, true, {15, 10, 5, 4}, {5, 4, 15, 10}, {6, 5, 14, 9}},
      {"one pixel wide", true, true, {7, 2, 8, 12}, {7, 2, 8, 12}, {0, 0, 0, 0}},
      {"nothing at all", false, false, {5, 4, 15, 10}, {0, 0, 0, 0}, {0, 0, 0, 0}},
  };
  for (const RectCase& k : cases) {
    SCOPED_TRACE(k.name);
    TestCanvas c(24, 16, black);
    HPEN pen = k.pen ? CreatePen(PS_SOLID, 1, green) : CreatePen(PS_NULL, 1, green);
    HBRUSH brush = k.brush ? CreateSolidBrush(red) : nullptr;
    HGDIOBJ old_pen = SelectObject(c.dc, pen);
    HGDIOBJ old_brush = SelectObject(c.dc, brush ? brush : GetStockObject(NULL_BRUSH));
    Rectangle(c.dc, k.box.left, k.box.top, k.box.right, k.box.bottom);
    for (int y = 0; y < c.height; ++y) {
      for (int x = 0; x < c.width; ++x) {
        auto in = [&](const RECT& r) { return x >= r.left && x < r.right && y >= r.top && y < r.bottom; };
        bool on_outline = in(k.outline) && !in(RECT{k.outline.left + 1, k.outline.top + 1,
                                                    k.outline.right - 1, k.outline.bottom - 1});
        COLORREF want = on_outline ? green : in(k.fill) ? red : black;
        ASSERT_EQ(c.at(x, y), want) << "at " << x << "," << y;
      }
    }
    SelectObject(c.dc, old_pen);
    SelectObject(c.dc, old_brush);
    DeleteObject(pen);
    if (brush) DeleteObject(brush);
  }
}

TEST(GdiRectangle, FillRectCoversExactlyItsRectangleWhateverTheRop) {
  TestCanvas c(12, 12, black);
  SetROP2(c.dc, R2_NOT);  // FillRect copies regardless
  HBRUSH brush = CreateSolidBrush(blue);
  RECT r = {2, 3, 9, 7};
  FillRect(c.dc, &r, brush);
  DeleteObject(brush);
  auto got = pixels_of(c, blue);
  EXPECT_EQ(got.size(), 7u * 4u);
  EXPECT_TRUE(got.count({2, 3}) && got.count({8, 6}));
  EXPECT_FALSE(got.count({9, 6}) || got.count({8, 7}));
}

struct LineCase {
  const char* name;
  POINT from, to;
};

const LineCase line_cases[] = {
    {"right", {2, 5}, {20, 5}},     {"left", {20, 5}, {2, 5}},
    {"down", {7, 1}, {7, 18}},      {"up", {7, 18}, {7, 1}},
    {"diagonal", {1, 1}, {17, 17}}, {"anti-diagonal", {18, 2}, {3, 17}},
    {"shallow", {1, 3}, {22, 9}},   {"steep", {4, 19}, {9, 0}},
    {"one step", {5, 5}, {6, 6}},
};

TEST(GdiLine, LeavesOutTheEndPixelAndTouchesEachPixelOnce) {
  for (const LineCase& k : line_cases) {
    SCOPED_TRACE(k.name);
    TestCanvas c(24, 20, black);
    HPEN pen = CreatePen(PS_SOLID, 1, green);
    HGDIOBJ old = SelectObject(c.dc, pen);
    POINT previous = {-1, -1};
    MoveToEx(c.dc, k.from.x, k.from.y, nullptr);
    LineTo(c.dc, k.to.x, k.to.y);
    MoveToEx(c.dc, 0, 0, &previous);
    EXPECT_EQ(previous.x, k.to.x);  // LineTo moves the current position to its end
    EXPECT_EQ(previous.y, k.to.y);
    auto got = pixels_of(c, green);
    size_t length = size_t(std::max(std::abs(k.to.x - k.from.x), std::abs(k.to.y - k.from.y)));
    EXPECT_EQ(got.size(), length);
    EXPECT_TRUE(got.count({k.from.x, k.from.y}));
    EXPECT_FALSE(got.count({k.to.x, k.to.y}));
    // One pixel per step of the longer axis, each next to the one before.
    for (const auto& p : got) {
      if (p == std::make_pair(int(k.from.x), int(k.from.y))) continue;
      bool linked = false;
      for (int dx = -1; dx <= 1; ++dx)
        for (int dy = -1; dy <= 1; ++dy)
          if ((dx || dy) && got.count({p.first + dx, p.second + dy})) linked = true;
      EXPECT_TRUE(linked) << p.first << "," << p.second;
    }
    SelectObject(c.dc, old);
    DeleteObject(pen);
  }
}

TEST(GdiLine, NullPenDrawsNothing) {
  TestCanvas c(20, 20, black);
  c.fill_pattern();
  auto before = c.snapshot();
  HPEN pen = CreatePen(PS_NULL, 1, green);
  HGDIOBJ old = SelectObject(c.dc, pen);
  SelectObject(c.dc, GetStockObject(NULL_BRUSH));
  MoveToEx(c.dc, 0, 0, nullptr);
  LineTo(c.dc, 19, 19);
  Rectangle(c.dc, 2, 2, 15, 15);
  Ellipse(c.dc, 2, 2, 15, 15);
  POINT tri[3] = {{1, 1}, {18, 3}, {9, 17}};
  Polygon(c.dc, tri, 3);
  Polyline(c.dc, tri, 3);
  EXPECT_EQ(c.snapshot(), before);
  SelectObject(c.dc, old);
  DeleteObject(pen);
}

struct InvertCase {
  const char* name;
  std::vector<POINT> points;  // a polyline through MoveToEx / LineTo
};

TEST(GdiInvertingLine, DrawnTwiceRestoresEveryPixel) {
  const InvertCase cases[] = {
      {"rubber band diagonal", {{3, 40}, {57, 4}}},
      {"steep and back", {{10, 2}, {13, 45}, {11, 3}}},
      {"polyline of several segments", {{2, 2}, {50, 9}, {30, 44}, {5, 30}, {58, 45}, {58, 1}}},
      {"self crossing", {{0, 0}, {59, 47}, {0, 47}, {59, 0}}},
      {"leaving the picture", {{-30, 20}, {80, 25}, {30, -70}}},
      {"a point", {{20, 20}, {20, 20}}},
  };
  for (const InvertCase& k : cases) {
    SCOPED_TRACE(k.name);
    TestCanvas c(60, 48, black);
    c.fill_pattern();
    auto before = c.snapshot();
    HPEN pen = CreatePen(PS_SOLID, 1, RGB(255, 255, 255));
    HGDIOBJ old = SelectObject(c.dc, pen);
    EXPECT_EQ(SetROP2(c.dc, R2_NOT), R2_COPYPEN);
    auto draw = [&] {
      MoveToEx(c.dc, k.points[0].x, k.points[0].y, nullptr);
      for (size_t i = 1; i < k.points.size(); ++i) LineTo(c.dc, k.points[i].x, k.points[i].y);
    };
    draw();
    auto once = c.snapshot();
    // Once: every changed pixel is the exact inverse of what was there.
    size_t changed = 0;
    for (size_t i = 0; i < once.size(); ++i) {
      if (once[i] == before[i]) continue;
      ++changed;
      ASSERT_EQ(once[i], ~before[i] & 0xFFFFFF);
    }
    if (k.points[0].x != k.points[1].x) {
      EXPECT_GT(changed, 0u);
    }
    draw();
    EXPECT_EQ(c.snapshot(), before);
    SelectObject(c.dc, old);
    DeleteObject(pen);
  }
}

TEST(GdiInvertingLine, PolylineCallMatchesLineToChain) {
  const POINT pts[] = {{2, 2}, {40, 9}, {30, 30}, {5, 20}};
  TestCanvas a(48, 36, black), b(48, 36, black);
  for (TestCanvas* c : {&a, &b}) {
    SelectObject(c->dc, GetStockObject(WHITE_PEN));
    SetROP2(c->dc, R2_NOT);
  }
  Polyline(a.dc, pts, 4);
  MoveToEx(b.dc, pts[0].x, pts[0].y, nullptr);
  for (int i = 1; i < 4; ++i) LineTo(b.dc, pts[i].x, pts[i].y);
  EXPECT_EQ(a.snapshot(), b.snapshot());
  // Joints are inverted once: one pixel per step of each segment, the last end left out.
  EXPECT_EQ(pixels_of(a, RGB(255, 255, 255)).size(), 38u + 21u + 25u);
}

TEST(GdiPolygon, RaisedPanelPiecesTileWithoutGapOrOverlap) {
  // The raised panel: two bevel polygons and a face rectangle, all without outline.
  // Each is ORed in with its own bit, so a pixel painted twice shows two bits.
  const int left = 20, top = 12, right = 60, bottom = 40;
  TestCanvas c(80, 56, black);
  SelectObject(c.dc, GetStockObject(NULL_PEN));
  SetROP2(c.dc, R2_MERGEPEN);
  POINT light[] = {{left - 5, top - 4}, {right + 5, top - 4}, {right, top},
                   {left, top},         {left, bottom},     {left - 5, bottom + 4}};
  POINT dark[] = {{right, bottom},      {right, top},        {right + 5, top - 4},
                  {right + 5, bottom + 4}, {left - 5, bottom + 4}, {left, bottom}};
  HBRUSH b1 = CreateSolidBrush(RGB(1, 0, 0)), b2 = CreateSolidBrush(RGB(2, 0, 0)),
         b4 = CreateSolidBrush(RGB(4, 0, 0));
  HGDIOBJ old = SelectObject(c.dc, b1);
  Polygon(c.dc, light, 6);
  SelectObject(c.dc, b2);
  Polygon(c.dc, dark, 6);
  SelectObject(c.dc, b4);
  Rectangle(c.dc, left, top, right + 1, bottom + 1);
  for (int y = 0; y < c.height; ++y) {
    for (int x = 0; x < c.width; ++x) {
      bool inside = x >= left - 5 && x < right + 5 && y >= top - 4 && y < bottom + 4;
      COLORREF v = c.at(x, y);
      if (!inside) {
        ASSERT_EQ(v, black) << x << "," << y;
      } else {
        ASSERT_TRUE(v == RGB(1, 0, 0) || v == RGB(2, 0, 0) || v == RGB(4, 0, 0)) << x << "," << y << " " << v;
      }
    }
  }
  EXPECT_EQ(c.at(left, top), RGB(4, 0, 0));           // the face starts at its corner
  EXPECT_EQ(c.at(right - 1, bottom - 1), RGB(4, 0, 0));
  EXPECT_EQ(c.at(right, top), RGB(2, 0, 0));          // the dark bevel starts at right
  EXPECT_EQ(c.at(left - 1, bottom - 1), RGB(1, 0, 0));
  SelectObject(c.dc, old);
  DeleteObject(b1);
  DeleteObject(b2);
  DeleteObject(b4);
}

struct EllipseCase {
  const char* name;
  RECT box;
};

TEST(GdiEllipse, InscribedInItsBoundingBox) {
  const EllipseCase cases[] = {
      {"point marker", {17, 17, 23, 23}},
      {"odd circle", {5, 5, 16, 16}},
      {"wide", {2, 8, 38, 20}},
      {"tall", {14, 1, 22, 29}},
  };
  for (const EllipseCase& k : cases) {
    SCOPED_TRACE(k.name);
    TestCanvas c(40, 30, black);
    HPEN pen = CreatePen(PS_SOLID, 1, red);
    HBRUSH brush = CreateSolidBrush(blue);
    HGDIOBJ op = SelectObject(c.dc, pen), ob = SelectObject(c.dc, brush);
    Ellipse(c.dc, k.box.left, k.box.top, k.box.right, k.box.bottom);
    const RECT& b = k.box;
    int min_x = 99, max_x = -1, min_y = 99, max_y = -1;
    for (int y = 0; y < c.height; ++y) {
      for (int x = 0; x < c.width; ++x) {
        if (c.at(x, y) == black) continue;
        EXPECT_TRUE(x >= b.left && x < b.right && y >= b.top && y < b.bottom) << x << "," << y;
        min_x = std::min(min_x, x), max_x = std::max(max_x, x);
        min_y = std::min(min_y, y), max_y = std::max(max_y, y);
        // Mirror images about the box's centre lines.
        EXPECT_NE(c.at(b.left + b.right - 1 - x, y), black);
        EXPECT_NE(c.at(x, b.top + b.bottom - 1 - y), black);
      }
    }
    EXPECT_EQ(min_x, b.left);
    EXPECT_EQ(max_x, b.right - 1);
    EXPECT_EQ(min_y, b.top);
    EXPECT_EQ(max_y, b.bottom - 1);
    EXPECT_EQ(c.at(b.left, b.top), black);  // corners stay out
    EXPECT_EQ(c.at(b.right - 1, b.bottom - 1), black);
    EXPECT_EQ(c.at((b.left + b.right) / 2, b.top), red);
    EXPECT_EQ(c.at((b.left + b.right) / 2, (b.top + b.bottom) / 2), blue);
    SelectObject(c.dc, op);
    SelectObject(c.dc, ob);
    DeleteObject(pen);
    DeleteObject(brush);
  }
}

// Coordinates far outside the picture must cost only their visible part: walking them
// pixel by pixel would take minutes and trip the test's time-out.
TEST(GdiLine, FarCoordinatesDrawTheVisiblePartAtOnce) {
  TestCanvas c(32, 32, black);
  SelectObject(c.dc, GetStockObject(WHITE_PEN));
  MoveToEx(c.dc, INT_MIN / 2, 5, nullptr);
  LineTo(c.dc, INT_MAX / 2, 5);
  MoveToEx(c.dc, INT_MIN, INT_MIN, nullptr);
  LineTo(c.dc, INT_MAX, INT_MAX);
  POINT far[] = {{-2000000000, -2000000000}, {2000000000, 10}, {10, 2000000000}};
  Polygon(c.dc, far, 3);
  SelectObject(c.dc, GetStockObject(NULL_BRUSH));
  Ellipse(c.dc, -2000000000, -2000000000, 2000000000, 2000000000);
  Rectangle(c.dc, INT_MIN, INT_MIN, INT_MAX, INT_MAX);  // its outline is out of sight
  SelectObject(c.dc, GetStockObject(NULL_PEN));
  Rectangle(c.dc, INT_MAX, INT_MAX, INT_MIN, INT_MIN);
  for (int x = 0; x < 32; ++x) EXPECT_EQ(c.at(x, 5), RGB(255, 255, 255)) << x;
}

}  // namespace
