// Title, placement and colours of the window's picture.
#include "platform/window_picture.h"

#include <algorithm>
#include <cstring>

namespace arrowgrid {

std::string windowTitleOf(std::string_view executablePath) {
  std::string_view name = executablePath;
  const size_t slash = name.find_last_of('/');
  if (slash != std::string_view::npos) name.remove_prefix(slash + 1);
  const size_t dot = name.find_last_of('.');
  if (dot != std::string_view::npos) name = name.substr(0, dot);
  return std::string(name);
}

PictureRect pictureRectIn(int32_t clientWidth, int32_t clientHeight) {
  const int32_t scale = std::max(1, std::min(clientWidth / SURFACE_WIDTH, clientHeight / SURFACE_HEIGHT));
  return PictureRect{(clientWidth - scale * SURFACE_WIDTH) / 2, (clientHeight - scale * SURFACE_HEIGHT) / 2,
                     scale};
}

void convertToArgb(const PixelRows& pixels, int32_t firstRow, int32_t rowCount, void* destination,
                   int32_t pitch) {
  auto* rowBytes = static_cast<unsigned char*>(destination);
  uint32_t row[SURFACE_WIDTH];
  for (int32_t y = firstRow; y < firstRow + rowCount; ++y) {
    const auto& source = pixels[static_cast<size_t>(y)];
    for (int32_t x = 0; x < SURFACE_WIDTH; ++x) row[x] = EGA_PALETTE[source[static_cast<size_t>(x)] & 15];
    // The texture's rows need not be 4-byte aligned for us: copy bytes.
    std::memcpy(rowBytes, row, sizeof row);
    rowBytes += pitch;
  }
}

RowBand changedRows(const PixelRows& before, const PixelRows& after) {
  int32_t first = 0;
  while (first < SURFACE_HEIGHT && before[static_cast<size_t>(first)] == after[static_cast<size_t>(first)])
    ++first;
  if (first == SURFACE_HEIGHT) return RowBand{};
  int32_t last = SURFACE_HEIGHT - 1;
  while (before[static_cast<size_t>(last)] == after[static_cast<size_t>(last)]) --last;
  return RowBand{first, last - first + 1};
}

}  // namespace arrowgrid
