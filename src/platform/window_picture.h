// The window's picture: its title, where the 640x350 surface lands in a
// client area of any size, and the palette that turns indices into colours.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "screen/drawing_surface.h"

namespace arrowgrid {

// The standard 16 colours of the 640x350 display mode as 0xAARRGGBB.
inline constexpr std::array<uint32_t, 16> EGA_PALETTE = {
    0xFF000000, 0xFF0000AA, 0xFF00AA00, 0xFF00AAAA, 0xFFAA0000, 0xFFAA00AA, 0xFFAA5500, 0xFFAAAAAA,
    0xFF555555, 0xFF5555FF, 0xFF55FF55, 0xFF55FFFF, 0xFFFF5555, 0xFFFF55FF, 0xFFFFFF55, 0xFFFFFFFF};

// The executable's file name without its directory and without the part
// from its last "." on: "/usr/bin/arrowgrid" and "arrowgrid.exe" give "arrowgrid".
std::string windowTitleOf(std::string_view executablePath);

struct PictureRect {
  int32_t x;      // left edge in the client area (negative when it is narrower)
  int32_t y;      // top edge
  int32_t scale;  // whole factor, at least 1
  bool operator==(const PictureRect&) const = default;
};

// The largest whole factor that fits the client area, the picture centred.
PictureRect pictureRectIn(int32_t clientWidth, int32_t clientHeight);

// Writes pixel rows firstRow .. firstRow + rowCount - 1 of the surface as
// 0xAARRGGBB words into rows of pitch bytes starting at destination (a
// locked band of a streaming texture).
void convertToArgb(const PixelRows& pixels, int32_t firstRow, int32_t rowCount, void* destination,
                   int32_t pitch);

struct RowBand {
  int32_t first = 0;  // first pixel row that differs
  int32_t count = 0;  // rows from first to the last that differs; 0 when none does
};

// The rows between the first and the last that differ between two pictures.
RowBand changedRows(const PixelRows& before, const PixelRows& after);

}  // namespace arrowgrid
