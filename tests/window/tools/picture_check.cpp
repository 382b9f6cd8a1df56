// Test tool: checks a screenshot of the window (PPM) against the reference
// surface (PPM, 640x350): the reference enlarged by a whole factor, centred,
// black around it. Prints the mismatches; exit status 0 only on a match.
//
//   picture_check REFERENCE.ppm SHOT.ppm SCALE
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

struct Picture {
  int width = 0;
  int height = 0;
  std::vector<unsigned char> rgb;  // 3 bytes a pixel, row by row
};

// Reads the next header number of a PPM, skipping blanks and comments.
bool readHeaderNumber(const std::string& bytes, size_t& at, int& value) {
  for (;;) {
    while (at < bytes.size() && std::isspace(static_cast<unsigned char>(bytes[at]))) ++at;
    if (at < bytes.size() && bytes[at] == '#') {
      while (at < bytes.size() && bytes[at] != '\n') ++at;
      continue;
    }
    break;
  }
  const size_t start = at;
  value = 0;
  while (at < bytes.size() && bytes[at] >= '0' && bytes[at] <= '9') value = value * 10 + (bytes[at++] - '0');
  return at > start;
}

bool readPpm(const char* path, Picture& picture) {
  std::ifstream file(path, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  if (bytes.size() < 2 || bytes[0] != 'P' || bytes[1] != '6') return false;
  size_t at = 2;
  int maxValue = 0;
  if (!readHeaderNumber(bytes, at, picture.width) || !readHeaderNumber(bytes, at, picture.height) ||
      !readHeaderNumber(bytes, at, maxValue) || maxValue != 255)
    return false;
  ++at;  // the one blank after the header
  const size_t size = static_cast<size_t>(picture.width) * picture.height * 3;
  if (bytes.size() < at + size) return false;
  picture.rgb.assign(bytes.begin() + static_cast<long>(at), bytes.begin() + static_cast<long>(at + size));
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: picture_check REFERENCE.ppm SHOT.ppm SCALE\n");
    return 2;
  }
  Picture reference;
  Picture shot;
  if (!readPpm(argv[1], reference) || !readPpm(argv[2], shot)) {
    std::fprintf(stderr, "picture_check: cannot read %s or %s as an 8-bit PPM\n", argv[1], argv[2]);
    return 2;
  }
  const int scale = std::atoi(argv[3]);
  const int left = (shot.width - reference.width * scale) / 2;
  const int top = (shot.height - reference.height * scale) / 2;
  if (scale < 1 || left < 0 || top < 0) {
    std::fprintf(stderr, "picture_check: a %dx%d shot cannot hold the picture at scale %d\n", shot.width,
                 shot.height, scale);
    return 1;
  }
  long mismatches = 0;
  for (int y = 0; y < shot.height; ++y) {
    for (int x = 0; x < shot.width; ++x) {
      const int rx = x - left;
      const int ry = y - top;
      const bool inside = rx >= 0 && ry >= 0 && rx < reference.width * scale && ry < reference.height * scale;
      static const unsigned char black[3] = {0, 0, 0};
      const unsigned char* want =
          inside ? &reference.rgb[(static_cast<size_t>(ry / scale) * reference.width + rx / scale) * 3]
                 : black;
      const unsigned char* got = &shot.rgb[(static_cast<size_t>(y) * shot.width + x) * 3];
      if (got[0] != want[0] || got[1] != want[1] || got[2] != want[2]) {
        if (mismatches < 5)
          std::fprintf(stderr, "pixel (%d, %d): %d,%d,%d instead of %d,%d,%d\n", x, y, got[0], got[1], got[2],
                       want[0], want[1], want[2]);
        ++mismatches;
      }
    }
  }
  std::printf("%ld mismatching pixels of %dx%d at scale %d\n", mismatches, shot.width, shot.height, scale);
  return mismatches == 0 ? 0 : 1;
}
