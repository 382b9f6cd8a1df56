// The pixel surface: logical coordinates, lines, opaque glyphs, clearing and
// scrolling. Each operation takes the surface lock for its whole duration.
#include "screen/drawing_surface.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "screen/glyph_set.h"

namespace arrowgrid {

namespace {

// Far-off logical points are held here so the clipping arithmetic stays in
// range; such points lie hundreds of thousands of screens away anyway.
constexpr double PIXEL_LIMIT = 1 << 30;

int32_t roundHalfAwayFromZero(double value) {
  if (std::isnan(value)) return 0;
  return static_cast<int32_t>(std::clamp(std::round(value), -PIXEL_LIMIT, PIXEL_LIMIT));
}

// Pixel of the logical coordinate `value` on an axis of `pixels` pixels.
double axisPixel(double value, double origin, double span, int32_t pixels) {
  if (span == 0) return value - origin;
  return pixels * (value - origin) / span;
}

}  // namespace

void openSurface(DrawingSurface& surface) {
  std::lock_guard<std::mutex> hold(surface.lock);
  for (auto& row : surface.pixels) row.fill(COLOR_BACKGROUND);
  surface.cellOverdrawn.fill(false);
  surface.foreground = COLOR_FOREGROUND;
  surface.background = COLOR_BACKGROUND;
  surface.open = true;
  ++surface.changeCount;
}

void setLogicalWindow(DrawingSurface& surface, float x1, float y1, float x2, float y2,
                      bool screenOrientation) {
  std::lock_guard<std::mutex> hold(surface.lock);
  LogicalWindow& window = surface.window;
  window.originX = std::min(x1, x2);
  window.originY = std::min(y1, y2);
  window.spanX = std::fabs(x2 - x1);
  window.spanY = std::fabs(y2 - y1);
  window.screenOrientation = screenOrientation;
  window.isSet = true;
}

PixelPoint toPixel(const DrawingSurface& surface, float x, float y) {
  const LogicalWindow& window = surface.window;
  // Until a window is set, logical coordinates are pixel coordinates.
  if (!window.isSet) return {roundHalfAwayFromZero(x), roundHalfAwayFromZero(y)};
  const double px = axisPixel(x, window.originX, window.spanX, SURFACE_WIDTH);
  // Without screen orientation y grows upwards: distances run down from the larger y.
  const double top = static_cast<double>(window.originY) + window.spanY;
  const double py = window.screenOrientation
                        ? axisPixel(y, window.originY, window.spanY, SURFACE_HEIGHT)
                        : axisPixel(-static_cast<double>(y), -top, window.spanY, SURFACE_HEIGHT);
  return {roundHalfAwayFromZero(px), roundHalfAwayFromZero(py)};
}

void drawLine(DrawingSurface& surface, float x1, float y1, float x2, float y2) {
  if (!std::isfinite(x1) || !std::isfinite(y1) || !std::isfinite(x2) || !std::isfinite(y2)) return;
  std::lock_guard<std::mutex> hold(surface.lock);
  const PixelPoint from = toPixel(surface, x1, y1);
  const PixelPoint to = toPixel(surface, x2, y2);
  const uint8_t color = surface.foreground;
  bool changed = false;
  forEachLinePixel(from, to, [&](PixelPoint p) {
    surface.pixels[static_cast<size_t>(p.y)][static_cast<size_t>(p.x)] = color;
    const int32_t cell = (p.y / GLYPH_HEIGHT) * TEXT_COLUMNS + p.x / GLYPH_WIDTH;
    surface.cellOverdrawn[static_cast<size_t>(cell)] = true;
    changed = true;
  });
  if (changed) ++surface.changeCount;
}

void clearSurface(DrawingSurface& surface) {
  std::lock_guard<std::mutex> hold(surface.lock);
  for (auto& row : surface.pixels) row.fill(surface.background);
  surface.cellOverdrawn.fill(false);
  ++surface.changeCount;
}

void drawGlyph(DrawingSurface& surface, int32_t row, int32_t column, uint8_t code) {
  if (row < 1 || row > TEXT_ROWS || column < 1 || column > TEXT_COLUMNS) return;
  std::lock_guard<std::mutex> hold(surface.lock);
  const uint8_t* bitmap = GLYPH_BITMAPS[code];
  const size_t left = static_cast<size_t>((column - 1) * GLYPH_WIDTH);
  const size_t top = static_cast<size_t>((row - 1) * GLYPH_HEIGHT);
  for (size_t y = 0; y < GLYPH_HEIGHT; ++y) {
    uint8_t* pixel = &surface.pixels[top + y][left];
    const uint8_t bits = bitmap[y];
    for (int32_t x = 0; x < GLYPH_WIDTH; ++x) {
      pixel[x] = (bits & (0x80 >> x)) ? surface.foreground : surface.background;
    }
  }
  surface.cellOverdrawn[static_cast<size_t>((row - 1) * TEXT_COLUMNS + (column - 1))] = false;
  ++surface.changeCount;
}

void scrollTextRows(DrawingSurface& surface, int32_t n) {
  if (n <= 0) return;
  std::lock_guard<std::mutex> hold(surface.lock);
  const int32_t rows = std::min(n, TEXT_ROWS);
  const size_t pixelRows = static_cast<size_t>(rows * GLYPH_HEIGHT);
  const size_t keptRows = SURFACE_HEIGHT - pixelRows;
  std::memmove(&surface.pixels[0], &surface.pixels[pixelRows], keptRows * SURFACE_WIDTH);
  for (size_t y = keptRows; y < SURFACE_HEIGHT; ++y) surface.pixels[y].fill(surface.background);
  auto& flags = surface.cellOverdrawn;
  const size_t movedCells = static_cast<size_t>(rows * TEXT_COLUMNS);
  std::copy(flags.begin() + static_cast<ptrdiff_t>(movedCells), flags.end(), flags.begin());
  std::fill(flags.end() - static_cast<ptrdiff_t>(movedCells), flags.end(), false);
  ++surface.changeCount;
}

void copyPixels(DrawingSurface& surface, PixelRows& out) {
  std::lock_guard<std::mutex> hold(surface.lock);
  out = surface.pixels;
}

}  // namespace arrowgrid
