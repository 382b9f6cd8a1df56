// Pixel-exact lines, clipping at the surface edges, and what glyphs, clearing
// and scrolling do to drawn pixels.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <memory>
#include <thread>
#include <vector>

#include "screen/drawing_surface.h"

namespace arrowgrid {
namespace {

std::unique_ptr<DrawingSurface> openedSurface() {
  auto surface = std::make_unique<DrawingSurface>();
  openSurface(*surface);
  setLogicalWindow(*surface, 0, -2, 80, 23, true);
  return surface;
}

// The lit pixels once everything drawn is painted.
std::vector<PixelPoint> litPixels(DrawingSurface& surface) {
  paintSurface(surface);
  std::vector<PixelPoint> lit;
  for (int32_t y = 0; y < SURFACE_HEIGHT; ++y) {
    for (int32_t x = 0; x < SURFACE_WIDTH; ++x) {
      if (surface.pixels[y][x] != COLOR_BACKGROUND) lit.push_back({x, y});
    }
  }
  return lit;
}

std::vector<PixelPoint> walk(PixelPoint from, PixelPoint to) {
  std::vector<PixelPoint> order;
  forEachLinePixel(from, to, [&](PixelPoint p) { order.push_back(p); });
  return order;
}

TEST(ToPixel, MapsTheProgramWindowOntoTextCells) {
  auto surface = openedSurface();
  EXPECT_EQ(toPixel(*surface, 0, 0), (PixelPoint{0, 28}));
  EXPECT_EQ(toPixel(*surface, 0, -2), (PixelPoint{0, 0}));
  EXPECT_EQ(toPixel(*surface, 80, 23), (PixelPoint{640, 350}));
  EXPECT_EQ(toPixel(*surface, 2, 1), (PixelPoint{16, 42}));
  // Halves round away from zero: 8 * 0.3125 = 2.5 and 8 * -0.3125 = -2.5.
  EXPECT_EQ(toPixel(*surface, 0.3125f, 0).x, 3);
  EXPECT_EQ(toPixel(*surface, -0.3125f, 0).x, -3);
}

TEST(ToPixel, UpwardOrientationMirrorsRows) {
  auto surface = std::make_unique<DrawingSurface>();
  openSurface(*surface);
  setLogicalWindow(*surface, 0, 0, 640, 350, false);
  EXPECT_EQ(toPixel(*surface, 0, 350), (PixelPoint{0, 0}));
  EXPECT_EQ(toPixel(*surface, 10, 0), (PixelPoint{10, 350}));
}

TEST(LinePixels, DiagonalSetsTheSeventeenPixelsInOrder) {
  const std::vector<PixelPoint> expected = {{16, 42}, {15, 41}, {14, 40}, {13, 39}, {12, 38}, {11, 38},
                                            {10, 37}, {9, 36},  {8, 35},  {7, 34},  {6, 33},  {5, 32},
                                            {4, 31},  {3, 31},  {2, 30},  {1, 29},  {0, 28}};
  EXPECT_EQ(walk({16, 42}, {0, 28}), expected);

  auto surface = openedSurface();
  drawLine(*surface, 2, 1, 0, 0);
  std::vector<PixelPoint> lit = litPixels(*surface);
  std::vector<PixelPoint> sorted = expected;
  std::sort(sorted.begin(), sorted.end(),
            [](PixelPoint a, PixelPoint b) { return a.y != b.y ? a.y < b.y : a.x < b.x; });
  EXPECT_EQ(lit, sorted);
  for (PixelPoint p : lit) EXPECT_EQ(surface->pixels[p.y][p.x], COLOR_FOREGROUND);
}

TEST(LinePixels, SteepLineStepsAlongRows) {
  const std::vector<PixelPoint> expected = {{0, 0}, {1, 1}, {1, 2}, {2, 3}};
  EXPECT_EQ(walk({0, 0}, {2, 3}), expected);
}

TEST(LinePixels, StraightSegmentsIncludeBothEnds) {
  EXPECT_EQ(walk({5, 9}, {5, 7}), (std::vector<PixelPoint>{{5, 9}, {5, 8}, {5, 7}}));
  EXPECT_EQ(walk({3, 4}, {5, 4}), (std::vector<PixelPoint>{{3, 4}, {4, 4}, {5, 4}}));
  EXPECT_EQ(walk({7, 7}, {7, 7}), (std::vector<PixelPoint>{{7, 7}}));
}

TEST(LineClipping, RightAndBottomEdgesLieJustOutside) {
  auto surface = openedSurface();
  drawLine(*surface, 78, 0, 80, 0);
  std::vector<PixelPoint> lit = litPixels(*surface);
  ASSERT_EQ(lit.size(), 16u);
  EXPECT_EQ(lit.front(), (PixelPoint{624, 28}));
  EXPECT_EQ(lit.back(), (PixelPoint{639, 28}));

  auto other = openedSurface();
  drawLine(*other, 80, 0, 80, 5);
  drawLine(*other, 0, 23, 10, 23);
  EXPECT_TRUE(litPixels(*other).empty());
}

TEST(LineClipping, ClippedEndIsWalkedFirst) {
  // The first end point is inside, so the ends are exchanged: the walk
  // starts from the end clipped onto column 639.
  const std::vector<PixelPoint> order = walk({630, 10}, {700, 10});
  ASSERT_EQ(order.size(), 10u);
  EXPECT_EQ(order.front(), (PixelPoint{639, 10}));
  EXPECT_EQ(order.back(), (PixelPoint{630, 10}));
}

TEST(LineClipping, DiagonalThroughACornerIsCutOnBothSides) {
  // From (-10, -10) to (10, 10): clipped to (0, 0) .. (10, 10).
  const std::vector<PixelPoint> order = walk({-10, -10}, {10, 10});
  ASSERT_EQ(order.size(), 11u);
  EXPECT_EQ(order.front(), (PixelPoint{0, 0}));
  EXPECT_EQ(order.back(), (PixelPoint{10, 10}));

  // Past the bottom-right corner: (630, 340) to (650, 360) stops at (639, 349).
  const std::vector<PixelPoint> corner = walk({630, 340}, {650, 360});
  ASSERT_FALSE(corner.empty());
  EXPECT_EQ(corner.front(), (PixelPoint{639, 349}));
  EXPECT_EQ(corner.back(), (PixelPoint{630, 340}));
  for (PixelPoint p : corner) {
    EXPECT_LE(p.x, 639);
    EXPECT_LE(p.y, 349);
  }
}

TEST(LineClipping, InterpolatedCoordinateTruncatesTowardZero) {
  // Left edge crossing of (-1, 0)-(2, 2): row 2/3, truncated to 0.
  EXPECT_EQ(walk({-1, 0}, {2, 2}).front(), (PixelPoint{0, 0}));
  // Grazing the corner: both ends clip onto pixel (0, 0).
  EXPECT_EQ(walk({-5, 5}, {5, -5}), (std::vector<PixelPoint>{{0, 0}}));
  // Passing beyond the corner sets nothing.
  EXPECT_TRUE(walk({-20, 3}, {3, -20}).empty());
}

TEST(LineClipping, FarOffCoordinatesNeitherOverflowNorDrawOutside) {
  auto surface = openedSurface();
  drawLine(*surface, -1e9f, 0, 1e9f, 0);
  EXPECT_EQ(litPixels(*surface).size(), 640u);
  drawLine(*surface, 1e30f, 1e30f, 2e30f, -1e30f);
  drawLine(*surface, std::nanf(""), 0, 3, 3);
  EXPECT_EQ(litPixels(*surface).size(), 640u);
}

TEST(SurfaceGlyphs, GlyphReplacesLinePixelsInsideItsCellOnly) {
  auto surface = openedSurface();
  // Along the top edge of row 3 (pixel row 28), columns 1 to 3.
  drawLine(*surface, 0, 0, 3, 0);
  EXPECT_FALSE(glyphOnTop(*surface, 2 * TEXT_COLUMNS + 1));
  drawGlyph(*surface, 3, 2, 32);
  EXPECT_TRUE(glyphOnTop(*surface, 2 * TEXT_COLUMNS + 1));
  paintSurface(*surface);
  for (int32_t x = 8; x < 16; ++x) EXPECT_EQ(surface->pixels[28][x], COLOR_BACKGROUND);
  EXPECT_EQ(surface->pixels[28][7], COLOR_FOREGROUND);
  EXPECT_EQ(surface->pixels[28][16], COLOR_FOREGROUND);

  drawGlyph(*surface, 3, 2, 219);
  paintSurface(*surface);
  for (int32_t y = 28; y < 42; ++y) {
    for (int32_t x = 8; x < 16; ++x) EXPECT_EQ(surface->pixels[y][x], COLOR_FOREGROUND);
  }
  EXPECT_EQ(surface->pixels[29][16], COLOR_BACKGROUND);

  // A line drawn after the glyph lies over it.
  drawGlyph(*surface, 3, 2, 32);
  drawLine(*surface, 1, 0.5f, 2, 0.5f);
  paintSurface(*surface);
  EXPECT_EQ(surface->pixels[35][12], COLOR_FOREGROUND);
}

TEST(SurfaceGlyphs, OutOfRangeCellIsIgnored) {
  auto surface = openedSurface();
  const uint64_t before = surface->changeCount;
  drawGlyph(*surface, 26, 1, 219);
  drawGlyph(*surface, 1, 0, 219);
  EXPECT_EQ(surface->changeCount, before);
  EXPECT_TRUE(litPixels(*surface).empty());
}

TEST(SurfaceClearAndScroll, ClearErasesLinesAndTheirMarks) {
  auto surface = openedSurface();
  drawLine(*surface, 0, 0, 79, 22);
  paintSurface(*surface);  // one line painted, one still recorded
  drawLine(*surface, 5, -2, 5, 22);
  clearSurface(*surface);
  EXPECT_TRUE(litPixels(*surface).empty());
  for (int32_t cell = 0; cell < TEXT_ROWS * TEXT_COLUMNS; ++cell) EXPECT_TRUE(glyphOnTop(*surface, cell));
}

TEST(SurfaceClearAndScroll, ScrollCarriesLinesAndMarksUp) {
  auto surface = openedSurface();
  drawLine(*surface, 0, 0, 10, 0);          // pixel row 28, text row 3
  drawLine(*surface, 0, 22.5f, 10, 22.5f);  // pixel row 343, text row 25
  drawGlyph(*surface, 5, 20, 219);          // after the lines: on top
  scrollTextRows(*surface, 1);
  std::vector<PixelPoint> lit = litPixels(*surface);
  ASSERT_EQ(lit.size(), 81u * 2 + 8 * 14);
  EXPECT_EQ(lit.front(), (PixelPoint{0, 14}));
  EXPECT_EQ(lit.back(), (PixelPoint{80, 329}));
  EXPECT_EQ(surface->pixels[42][152], COLOR_FOREGROUND);  // the block, now on row 4
  EXPECT_EQ(surface->pixels[56][152], COLOR_BACKGROUND);
  EXPECT_FALSE(glyphOnTop(*surface, 1 * TEXT_COLUMNS));
  EXPECT_TRUE(glyphOnTop(*surface, 3 * TEXT_COLUMNS + 19));
  EXPECT_FALSE(glyphOnTop(*surface, 3 * TEXT_COLUMNS));
  EXPECT_TRUE(glyphOnTop(*surface, 24 * TEXT_COLUMNS));  // freed: fresh background

  scrollTextRows(*surface, 40);
  EXPECT_TRUE(litPixels(*surface).empty());
}

TEST(SurfaceBacklog, AFullBacklogIsPaintedToMakeRoom) {
  // No logical window: coordinates are pixels. One-pixel lines, each at its
  // own pixel, more of them than the backlog holds and no clear between.
  auto surface = std::make_unique<DrawingSurface>();
  openSurface(*surface);
  constexpr int32_t LINES = SURFACE_BACKLOG_CAPACITY + 100;
  for (int32_t k = 0; k < LINES; ++k) {
    const auto x = static_cast<float>(k % SURFACE_WIDTH), y = static_cast<float>(2 * (k / SURFACE_WIDTH));
    drawLine(*surface, x, y, x, y);
  }
  EXPECT_LE(surface->backlogCount, SURFACE_BACKLOG_CAPACITY);
  EXPECT_EQ(litPixels(*surface).size(), static_cast<size_t>(LINES));
}

TEST(SurfaceClearAndScroll, CopyTakesTheWholePicture) {
  auto surface = openedSurface();
  drawLine(*surface, 0, -2, 79.875f, 22.9f);
  auto copy = std::make_unique<PixelRows>();
  copyPixels(*surface, *copy);
  EXPECT_EQ((*copy)[0][0], COLOR_BACKGROUND);  // drawn, not yet painted
  paintSurface(*surface);
  copyPixels(*surface, *copy);
  EXPECT_EQ(*copy, surface->pixels);
  EXPECT_EQ((*copy)[0][0], COLOR_FOREGROUND);
  EXPECT_EQ((*copy)[349][639], COLOR_FOREGROUND);
}

TEST(SurfaceLock, ACopyNeverShowsHalfAGlyph) {
  auto surface = openedSurface();
  std::atomic<bool> drawing{true};
  std::thread painter([&] {
    for (int32_t i = 0; i < 20000; ++i) {
      drawGlyph(*surface, 1, 1, (i % 2) ? 219 : 32);
      paintSurface(*surface);
    }
    drawing = false;
  });
  auto copy = std::make_unique<PixelRows>();
  int32_t torn = 0;
  while (drawing) {
    copyPixels(*surface, *copy);
    const uint8_t first = (*copy)[0][0];
    for (int32_t y = 0; y < GLYPH_HEIGHT; ++y) {
      for (int32_t x = 0; x < GLYPH_WIDTH; ++x) torn += (*copy)[y][x] != first;
    }
  }
  painter.join();
  EXPECT_EQ(torn, 0);
}

}  // namespace
}  // namespace arrowgrid
