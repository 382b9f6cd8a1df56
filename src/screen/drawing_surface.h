// The 640x350 pixel surface that carries the text layer's glyphs and the
// lines of a drawn grid. The logic thread draws; a platform thread may copy
// the pixels to show them. Every operation holds `lock` for its whole
// duration, so a copy never sees half a glyph or half a line.
#pragma once

#include <array>
#include <cstdint>
#include <mutex>

namespace arrowgrid {

inline constexpr int32_t SURFACE_WIDTH = 640;
inline constexpr int32_t SURFACE_HEIGHT = 350;
inline constexpr int32_t TEXT_COLUMNS = 80;
inline constexpr int32_t TEXT_ROWS = 25;
inline constexpr int32_t GLYPH_WIDTH = 8;
inline constexpr int32_t GLYPH_HEIGHT = 14;
inline constexpr uint8_t COLOR_BACKGROUND = 0;  // black
inline constexpr uint8_t COLOR_FOREGROUND = 15;  // white

using PixelRows = std::array<std::array<uint8_t, SURFACE_WIDTH>, SURFACE_HEIGHT>;

struct LogicalWindow {
  float originX = 0;      // the smaller x of the two corners
  float originY = 0;      // the smaller y of the two corners
  float spanX = 0;        // larger minus smaller x
  float spanY = 0;        // larger minus smaller y
  bool screenOrientation = true;  // y grows downwards, like pixel rows
  bool isSet = false;
};

struct PixelPoint {
  int32_t x;
  int32_t y;
  bool operator==(const PixelPoint&) const = default;
};

struct DrawingSurface {
  std::mutex lock;                   // held by every operation on this record
  bool open = false;                 // set by openSurface, never cleared
  PixelRows pixels{};                // palette indices 0..15, [row][column]
  LogicalWindow window;              // set once by setLogicalWindow
  uint8_t foreground = COLOR_FOREGROUND;
  uint8_t background = COLOR_BACKGROUND;
  // A line has set a pixel in this text cell (row-major, 25x80) since the
  // cell's last glyph: printing the same character there must redraw it.
  std::array<bool, TEXT_ROWS * TEXT_COLUMNS> cellOverdrawn{};
  uint64_t changeCount = 0;          // bumped by every operation that changes pixels
};

void openSurface(DrawingSurface& surface);
void setLogicalWindow(DrawingSurface& surface, float x1, float y1, float x2, float y2,
                      bool screenOrientation);

// Logical coordinates to pixel coordinates, rounding halves away from zero.
PixelPoint toPixel(const DrawingSurface& surface, float x, float y);

// Solid line in the foreground colour, clipped to the surface.
void drawLine(DrawingSurface& surface, float x1, float y1, float x2, float y2);

// Calls visit(PixelPoint) for every pixel drawLine would set, in drawing
// order, for two pixel end points (clipping included). drawLine uses it;
// tests read the order from it.
template <typename Visit>
void forEachLinePixel(PixelPoint from, PixelPoint to, Visit&& visit);

void clearSurface(DrawingSurface& surface);

// Opaque 8x14 glyph of code into the text cell (row 1..25, column 1..80).
void drawGlyph(DrawingSurface& surface, int32_t row, int32_t column, uint8_t code);

// Moves the content up by 14*n pixel rows; the freed rows take the background.
void scrollTextRows(DrawingSurface& surface, int32_t n);

// Copies the pixels under the lock, between two operations.
void copyPixels(DrawingSurface& surface, PixelRows& out);

}  // namespace arrowgrid

#include "screen/line_pixels.inl"
