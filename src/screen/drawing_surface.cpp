// The pixel surface: logical coordinates, and lines, opaque glyphs, clearing
// and scrolling, recorded as they come and painted in their order on demand.
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

// --- painting, under the lock ---------------------------------------------

void paintLine(DrawingSurface& surface, const SurfaceOp& op) {
  const uint8_t color = surface.foreground;
  forEachLinePixel(toPixel(surface, op.x1, op.y1), toPixel(surface, op.x2, op.y2), [&](PixelPoint p) {
    surface.pixels[static_cast<size_t>(p.y)][static_cast<size_t>(p.x)] = color;
  });
}

void paintGlyph(DrawingSurface& surface, int32_t cell, uint8_t code) {
  const uint8_t* bitmap = GLYPH_BITMAPS[code];
  const size_t left = static_cast<size_t>((cell % TEXT_COLUMNS) * GLYPH_WIDTH);
  const size_t top = static_cast<size_t>((cell / TEXT_COLUMNS) * GLYPH_HEIGHT);
  for (size_t y = 0; y < GLYPH_HEIGHT; ++y) {
    uint8_t* pixel = &surface.pixels[top + y][left];
    const uint8_t bits = bitmap[y];
    for (int32_t x = 0; x < GLYPH_WIDTH; ++x) {
      pixel[x] = (bits & (0x80 >> x)) ? surface.foreground : surface.background;
    }
  }
}

void paintScroll(DrawingSurface& surface, int32_t rows) {
  const size_t pixelRows = static_cast<size_t>(rows * GLYPH_HEIGHT);
  const size_t keptRows = SURFACE_HEIGHT - pixelRows;
  std::memmove(&surface.pixels[0], &surface.pixels[pixelRows], keptRows * SURFACE_WIDTH);
  for (size_t y = keptRows; y < SURFACE_HEIGHT; ++y) surface.pixels[y].fill(surface.background);
}

// --- recording --------------------------------------------------------------

// The slot for one more operation; a full backlog is painted first, so
// drawing without a clear keeps memory bounded.
SurfaceOp& nextOp(DrawingSurface& surface) {
  if (surface.backlogCount == SURFACE_BACKLOG_CAPACITY) paintSurface(surface);
  ++surface.changeCount;
  return surface.backlog[static_cast<size_t>(surface.backlogCount++)];
}

}  // namespace

void openSurface(DrawingSurface& surface) {
  surface.foreground = COLOR_FOREGROUND;
  surface.background = COLOR_BACKGROUND;
  clearSurface(surface);  // painted, like everything, when first read
  surface.open = true;
}

void setLogicalWindow(DrawingSurface& surface, float x1, float y1, float x2, float y2,
                      bool screenOrientation) {
  // Lines already drawn keep the window they were drawn in.
  paintSurface(surface);
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
  SurfaceOp& op = nextOp(surface);
  op.kind = SurfaceOpKind::Line;
  op.x1 = x1;
  op.y1 = y1;
  op.x2 = x2;
  op.y2 = y2;
  ++surface.linesDrawn;
}

void clearSurface(DrawingSurface& surface) {
  surface.backlogCount = 0;
  surface.clearPending = true;
  surface.linesAtClear = surface.linesDrawn;
  ++surface.changeCount;
}

void drawGlyph(DrawingSurface& surface, int32_t row, int32_t column, uint8_t code) {
  if (row < 1 || row > TEXT_ROWS || column < 1 || column > TEXT_COLUMNS) return;
  const int32_t cell = (row - 1) * TEXT_COLUMNS + (column - 1);
  SurfaceOp& op = nextOp(surface);
  op.kind = SurfaceOpKind::Glyph;
  op.code = code;
  op.place = static_cast<uint16_t>(cell);
  surface.linesAtGlyph[static_cast<size_t>(cell)] = surface.linesDrawn;
}

void scrollTextRows(DrawingSurface& surface, int32_t n) {
  if (n <= 0) return;
  const int32_t rows = std::min(n, TEXT_ROWS);
  SurfaceOp& op = nextOp(surface);
  op.kind = SurfaceOpKind::Scroll;
  op.place = static_cast<uint16_t>(rows);
  // The cells' line counts move with their pixels; the freed cells are
  // fresh background that no line crosses.
  auto& counts = surface.linesAtGlyph;
  const auto movedCells = static_cast<ptrdiff_t>(rows * TEXT_COLUMNS);
  std::copy(counts.begin() + movedCells, counts.end(), counts.begin());
  std::fill(counts.end() - movedCells, counts.end(), surface.linesDrawn);
}

void paintSurface(DrawingSurface& surface) {
  if (!surface.clearPending && surface.backlogCount == 0) return;
  std::lock_guard<std::mutex> hold(surface.lock);
  if (surface.clearPending) {
    for (auto& row : surface.pixels) row.fill(surface.background);
    surface.clearPending = false;
  }
  for (int32_t k = 0; k < surface.backlogCount; ++k) {
    const SurfaceOp& op = surface.backlog[static_cast<size_t>(k)];
    switch (op.kind) {
      case SurfaceOpKind::Glyph:
        paintGlyph(surface, op.place, op.code);
        break;
      case SurfaceOpKind::Line:
        paintLine(surface, op);
        break;
      case SurfaceOpKind::Scroll:
        paintScroll(surface, op.place);
        break;
    }
  }
  surface.backlogCount = 0;
}

void copyPixels(DrawingSurface& surface, PixelRows& out) {
  std::lock_guard<std::mutex> hold(surface.lock);
  out = surface.pixels;
}

}  // namespace arrowgrid
