// Clipping and pixel walk of a line between two pixel end points; a template
// so that drawLine and the tests share one walk with no per-pixel call cost.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <utility>

namespace arrowgrid {

namespace line_detail {

inline constexpr int32_t OUT_LEFT = 1;
inline constexpr int32_t OUT_RIGHT = 2;
inline constexpr int32_t OUT_TOP = 4;
inline constexpr int32_t OUT_BOTTOM = 8;
inline constexpr int32_t LAST_COLUMN = 639;
inline constexpr int32_t LAST_ROW = 349;

inline int32_t outsideCode(PixelPoint p) {
  int32_t code = 0;
  if (p.x < 0) code |= OUT_LEFT;
  if (p.x > LAST_COLUMN) code |= OUT_RIGHT;
  if (p.y < 0) code |= OUT_TOP;
  if (p.y > LAST_ROW) code |= OUT_BOTTOM;
  return code;
}

// The coordinate at `at` along the axis from (a0, b0) to (a1, b1), truncated
// toward zero. 64-bit so that far-off end points cannot overflow.
inline int32_t interpolate(int64_t a0, int64_t b0, int64_t a1, int64_t b1, int64_t at) {
  const int64_t span = a1 - a0;
  return static_cast<int32_t>((b0 * span + (b1 - b0) * (at - a0)) / span);
}

}  // namespace line_detail

// Cohen-Sutherland against the surface. When the first end point lies inside
// while the second does not, the two are exchanged, so the walk starts from
// the clipped end. False when nothing of the segment is on the surface.
inline bool clipLineToSurface(PixelPoint& first, PixelPoint& second) {
  using namespace line_detail;
  // Each pass settles one side of one end point; eight passes settle all.
  for (int32_t pass = 0; pass < 16; ++pass) {
    int32_t firstCode = outsideCode(first);
    const int32_t secondCode = outsideCode(second);
    if ((firstCode | secondCode) == 0) return true;
    if ((firstCode & secondCode) != 0) return false;
    if (firstCode == 0) {
      std::swap(first, second);
      firstCode = secondCode;
    }
    PixelPoint moved = first;
    if (firstCode & OUT_LEFT) {
      moved = {0, interpolate(first.x, first.y, second.x, second.y, 0)};
    } else if (firstCode & OUT_RIGHT) {
      moved = {LAST_COLUMN, interpolate(first.x, first.y, second.x, second.y, LAST_COLUMN)};
    } else if (firstCode & OUT_TOP) {
      moved = {interpolate(first.y, first.x, second.y, second.x, 0), 0};
    } else {
      moved = {interpolate(first.y, first.x, second.y, second.x, LAST_ROW), LAST_ROW};
    }
    first = moved;
  }
  return false;
}

template <typename Visit>
void forEachLinePixel(PixelPoint from, PixelPoint to, Visit&& visit) {
  if (!clipLineToSurface(from, to)) return;
  if (from.x == to.x) {
    const int32_t step = to.y >= from.y ? 1 : -1;
    for (int32_t y = from.y;; y += step) {
      visit(PixelPoint{from.x, y});
      if (y == to.y) break;
    }
    return;
  }
  if (from.y == to.y) {
    const int32_t step = to.x >= from.x ? 1 : -1;
    for (int32_t x = from.x;; x += step) {
      visit(PixelPoint{x, from.y});
      if (x == to.x) break;
    }
    return;
  }
  // Bresenham: error starts at 2*minor - major; the minor coordinate steps
  // (after the pixel) when the error is zero or more.
  const int32_t dx = std::abs(to.x - from.x);
  const int32_t dy = std::abs(to.y - from.y);
  const int32_t stepX = to.x > from.x ? 1 : -1;
  const int32_t stepY = to.y > from.y ? 1 : -1;
  const bool xMajor = dx >= dy;
  const int32_t major = xMajor ? dx : dy;
  const int32_t minor = xMajor ? dy : dx;
  int32_t error = 2 * minor - major;
  PixelPoint p = from;
  for (int32_t i = 0; i <= major; ++i) {
    visit(p);
    if (error >= 0) {
      if (xMajor)
        p.y += stepY;
      else
        p.x += stepX;
      error -= 2 * major;
    }
    if (xMajor)
      p.x += stepX;
    else
      p.y += stepY;
    error += 2 * minor;
  }
}

}  // namespace arrowgrid
