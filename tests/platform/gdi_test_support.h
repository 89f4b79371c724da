// A memory DC over a fresh bitmap, with the whole picture at hand for comparisons.
#pragma once

#include <vector>

#include "gdi.h"

struct TestCanvas {
  HDC dc = nullptr;
  HBITMAP bitmap = nullptr;
  HGDIOBJ old_bitmap = nullptr;
  int width = 0;
  int height = 0;

  TestCanvas(int w, int h, COLORREF background) : width(w), height(h) {
    dc = CreateCompatibleDC(nullptr);
    bitmap = CreateCompatibleBitmap(dc, w, h);
    old_bitmap = SelectObject(dc, bitmap);
    HBRUSH brush = CreateSolidBrush(background);
    RECT all = {0, 0, w, h};
    FillRect(dc, &all, brush);
    DeleteObject(brush);
  }
  ~TestCanvas() {
    SelectObject(dc, old_bitmap);
    DeleteObject(bitmap);
    DeleteDC(dc);
  }
  TestCanvas(const TestCanvas&) = delete;
  TestCanvas& operator=(const TestCanvas&) = delete;

  COLORREF at(int x, int y) const { return GetPixel(dc, x, y); }
  std::vector<COLORREF> snapshot() const {
    std::vector<COLORREF> v;
    v.reserve(size_t(width) * height);
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) v.push_back(at(x, y));
    return v;
  }
  // Every pixel a different colour, so that a pixel inverted, copied or left alone can
  // be told apart.
  void fill_pattern() {
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x)
        SetPixel(dc, x, y, RGB((x * 37 + y * 11) & 0xFF, (x * 5 + y * 53) & 0xFF, (x ^ y) & 0xFF));
  }
};
