// Title, placement and colours of the window's picture.
#include "screen/window_picture.h"

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
  const int32_t scale =
      std::max(1, std::min(clientWidth / SURFACE_WIDTH, clientHeight / SURFACE_HEIGHT));
  return PictureRect{(clientWidth - scale * SURFACE_WIDTH) / 2,
                     (clientHeight - scale * SURFACE_HEIGHT) / 2, scale};
}

void convertToArgb(const PixelRows& pixels, void* destination, int32_t pitch) {
  auto* rowBytes = static_cast<unsigned char*>(destination);
  uint32_t row[SURFACE_WIDTH];
  for (const auto& source : pixels) {
    for (int32_t x = 0; x < SURFACE_WIDTH; ++x) row[x] = EGA_PALETTE[source[static_cast<size_t>(x)] & 15];
    // The texture's rows need not be 4-byte aligned for us: copy bytes.
    std::memcpy(rowBytes, row, sizeof row);
    rowBytes += pitch;
  }
}

}  // namespace arrowgrid
