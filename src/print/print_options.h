// The options of a printed grid that both programs accept: the PDF page,
// the PNG resolution and an optional title line, and what a title may hold.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace arrowgrid {

enum class PageSize { A4, Letter, A3 };

// Where a puzzle's clues are printed: each in its clue cell (a clue too long
// for its cell goes to a numbered list under the grid), or all of them in
// that list, with only numbers in the cells.
enum class ClueLayout { InCells, List };

inline constexpr int32_t PRINT_DPI_DEFAULT = 150;
// Below this a grid's letters are a few pixels high; above it a full A3
// page would need hundreds of megabytes of pixels.
inline constexpr int32_t PRINT_DPI_MIN = 50;
inline constexpr int32_t PRINT_DPI_MAX = 600;

// The files printing reads. Fonts are named by file, not by what
// fontconfig would substitute for a name, so the output looks the same on
// every machine.
struct PrintFiles {
  std::string letterFont = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";    // fonts-dejavu-core
  std::string clueFont = "/usr/share/fonts/truetype/dejavu/DejaVuSansCondensed.ttf";  // fonts-dejavu-extra
  std::string clueBoldFont = "/usr/share/fonts/truetype/dejavu/DejaVuSansCondensed-Bold.ttf";
  std::string hyphenation = "/usr/share/hyphen/hyph_fr.dic";  // hyphen-fr
};

struct PrintOptions {
  PageSize page = PageSize::A4;
  int32_t dpi = PRINT_DPI_DEFAULT;
  std::string title;      // UTF-8; empty: no title line
  std::string author;     // UTF-8, under the title and in the PDF's metadata; empty: none
  std::string copyright;  // UTF-8, likewise
  ClueLayout clueLayout = ClueLayout::InCells;
  PrintFiles files;
};

// A longer title would not fit any page at a readable size.
inline constexpr int32_t PRINT_TITLE_MAX_CHARACTERS = 200;

// Why title cannot be printed ("byte 0xFF at offset 3 is not valid UTF-8",
// a noncharacter, too many characters), or "" when it can.
std::string titleProblem(std::string_view title);

}  // namespace arrowgrid
