// The 640x350 pixel surface that carries the text layer's glyphs and the
// lines of a drawn grid. Drawing records the operation in a backlog and
// paints nothing: a report drawn a million times a second costs a few
// stores each, and pixels are painted only when something reads them
// (paintSurface, from the logic thread). Painting and copying hold `lock`,
// so a copy on another thread never sees half a glyph or half a line.
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
inline constexpr uint8_t COLOR_BACKGROUND = 0;   // black
inline constexpr uint8_t COLOR_FOREGROUND = 15;  // white

// Operations kept before the backlog is painted to make room: more than the
// largest grid on screen draws (40x22 cells, five lines and two glyphs each).
inline constexpr int32_t SURFACE_BACKLOG_CAPACITY = 8192;

using PixelRows = std::array<std::array<uint8_t, SURFACE_WIDTH>, SURFACE_HEIGHT>;

struct LogicalWindow {
  float originX = 0;              // the smaller x of the two corners
  float originY = 0;              // the smaller y of the two corners
  float spanX = 0;                // larger minus smaller x
  float spanY = 0;                // larger minus smaller y
  bool screenOrientation = true;  // y grows downwards, like pixel rows
  bool isSet = false;
};

struct PixelPoint {
  int32_t x;
  int32_t y;
  bool operator==(const PixelPoint&) const = default;
};

enum class SurfaceOpKind : uint8_t { Glyph, Line, Scroll };

// One drawing operation not yet painted.
struct SurfaceOp {
  SurfaceOpKind kind;
  uint8_t code;          // Glyph: the code
  uint16_t place;        // Glyph: text cell, row-major 0..1999; Scroll: text rows, 1..25
  float x1, y1, x2, y2;  // Line: logical end points
};

struct DrawingSurface {
  std::mutex lock;       // held while pixels are painted or copied
  bool open = false;     // set by openSurface, never cleared
  PixelRows pixels{};    // palette indices 0..15, [row][column], as last painted
  LogicalWindow window;  // set once by setLogicalWindow
  uint8_t foreground = COLOR_FOREGROUND;
  uint8_t background = COLOR_BACKGROUND;
  uint64_t changeCount = 0;  // bumped by every operation that changes the picture

  // What the picture holds beyond `pixels`; logic thread only.
  bool clearPending = false;  // cleared since painted: painting starts from the background
  int32_t backlogCount = 0;   // operations in backlog, in drawing order
  std::array<SurfaceOp, SURFACE_BACKLOG_CAPACITY> backlog{};
  // Whether a cell's glyph still lies on top of its pixels, told by counting
  // lines: those drawn since the surface opened, at the last clear, and at
  // each cell's last glyph (row-major, 25x80). A line anywhere since counts
  // as one over the cell: a same-glyph reprint then paints again, harmlessly.
  uint64_t linesDrawn = 0;
  uint64_t linesAtClear = 0;
  std::array<uint64_t, TEXT_ROWS * TEXT_COLUMNS> linesAtGlyph{};
};

void openSurface(DrawingSurface& surface);
void setLogicalWindow(DrawingSurface& surface, float x1, float y1, float x2, float y2,
                      bool screenOrientation);

// Logical coordinates to pixel coordinates, rounding halves away from zero.
PixelPoint toPixel(const DrawingSurface& surface, float x, float y);

// Solid line in the foreground colour, clipped to the surface.
void drawLine(DrawingSurface& surface, float x1, float y1, float x2, float y2);

// Calls visit(PixelPoint) for every pixel drawLine would set, in drawing
// order, for two pixel end points (clipping included). Painting uses it;
// tests read the order from it.
template <typename Visit>
void forEachLinePixel(PixelPoint from, PixelPoint to, Visit&& visit);

// Every pixel to the background; what was drawn before is dropped unpainted.
void clearSurface(DrawingSurface& surface);

// Opaque 8x14 glyph of code into the text cell (row 1..25, column 1..80).
void drawGlyph(DrawingSurface& surface, int32_t row, int32_t column, uint8_t code);

// Moves the content up by 14*n pixel rows; the freed rows take the background.
void scrollTextRows(DrawingSurface& surface, int32_t n);

// True when no line was drawn since the cell's last glyph or the last clear,
// so that its pixels show its glyph alone (cell row-major, 0..1999).
inline bool glyphOnTop(const DrawingSurface& surface, int32_t cell) {
  const uint64_t since = surface.linesAtGlyph[static_cast<size_t>(cell)];
  return (since > surface.linesAtClear ? since : surface.linesAtClear) == surface.linesDrawn;
}

// Paints the backlog into pixels, under the lock. Logic thread only.
void paintSurface(DrawingSurface& surface);

// Copies the pixels as last painted, under the lock; any thread.
void copyPixels(DrawingSurface& surface, PixelRows& out);

}  // namespace arrowgrid

#include "screen/line_pixels.inl"
