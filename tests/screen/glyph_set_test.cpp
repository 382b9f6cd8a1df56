// Checks of the compiled code page 437 glyph set: the glyphs the grid and the
// French messages depend on, and box drawing that joins up cell to cell.
#include "screen/glyph_set.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace arrowgrid {
namespace {

constexpr int ROWS = 14;
constexpr int COLUMNS = 8;

bool pixel(uint8_t code, int row, int column) { return (GLYPH_BITMAPS[code][row] & (0x80 >> column)) != 0; }

bool isBlank(uint8_t code) {
  for (int row = 0; row < ROWS; row++) {
    if (GLYPH_BITMAPS[code][row] != 0) return false;
  }
  return true;
}

bool sameGlyph(uint8_t a, uint8_t b) { return std::memcmp(GLYPH_BITMAPS[a], GLYPH_BITMAPS[b], ROWS) == 0; }

// Distance from the first to the last set pixel along a row or a column,
// counting both ends (0 when it is empty).
int inkSpan(uint8_t code, int line, bool alongRow) {
  const int length = alongRow ? COLUMNS : ROWS;
  int first = -1, last = -1;
  for (int i = 0; i < length; i++) {
    if (alongRow ? pixel(code, line, i) : pixel(code, i, line)) {
      if (first < 0) first = i;
      last = i;
    }
  }
  return first < 0 ? 0 : last - first + 1;
}

int rowSpan(uint8_t code, int row) { return inkSpan(code, row, true); }
int columnSpan(uint8_t code, int column) { return inkSpan(code, column, false); }

TEST(GlyphSet, FullBlockCoversTheWholeCellAndBlanksAreEmpty) {
  for (int row = 0; row < ROWS; row++) {
    EXPECT_EQ(GLYPH_BITMAPS[219][row], 0xFF) << "row " << row;
  }
  EXPECT_TRUE(isBlank(0));
  EXPECT_TRUE(isBlank(32));
  EXPECT_TRUE(isBlank(255));
}

TEST(GlyphSet, EveryOtherCodeShowsSomething) {
  for (int code = 1; code <= 254; code++) {
    if (code == 32) continue;
    EXPECT_FALSE(isBlank(static_cast<uint8_t>(code))) << "code " << code;
  }
}

TEST(GlyphSet, DownArrowHasAVerticalShaftAndItsHeadBelow) {
  const uint8_t down = 25;
  int top = 0;
  while (top < ROWS && GLYPH_BITMAPS[down][top] == 0) top++;
  int bottom = ROWS - 1;
  while (bottom > top && GLYPH_BITMAPS[down][bottom] == 0) bottom--;
  ASSERT_LT(top, bottom - 4) << "arrow too short to have a shaft";

  // The shaft: the top rows are one pixel, all in the same column; the tip
  // at the bottom is that same single pixel.
  const uint8_t shaft = GLYPH_BITMAPS[down][top];
  EXPECT_EQ(rowSpan(down, top), 1);
  EXPECT_EQ(GLYPH_BITMAPS[down][top + 1], shaft);
  EXPECT_EQ(GLYPH_BITMAPS[down][top + 2], shaft);
  EXPECT_EQ(GLYPH_BITMAPS[down][bottom], shaft);

  int widest = top;
  for (int row = top; row <= bottom; row++) {
    if (rowSpan(down, row) > rowSpan(down, widest)) widest = row;
  }
  EXPECT_GE(rowSpan(down, widest), 3);
  EXPECT_GT(widest, (top + bottom) / 2) << "head is not in the lower half";
}

TEST(GlyphSet, RightArrowHasAHorizontalShaftAndItsHeadOnTheRight) {
  const uint8_t right = 26;
  int left = 0;
  while (left < COLUMNS && columnSpan(right, left) == 0) left++;
  int last = COLUMNS - 1;
  while (last > left && columnSpan(right, last) == 0) last--;
  ASSERT_LT(left, last - 3) << "arrow too short to have a shaft";

  EXPECT_EQ(columnSpan(right, left), 1);
  EXPECT_EQ(columnSpan(right, last), 1) << "tip is not a point";
  int shaftRow = 0;
  while (!pixel(right, shaftRow, left)) shaftRow++;
  EXPECT_TRUE(pixel(right, shaftRow, left + 1));
  EXPECT_TRUE(pixel(right, shaftRow, last)) << "tip is off the shaft";

  int widest = left;
  for (int column = left; column <= last; column++) {
    if (columnSpan(right, column) > columnSpan(right, widest)) widest = column;
  }
  EXPECT_GE(columnSpan(right, widest), 3);
  EXPECT_GT(widest, (left + last) / 2) << "head is not on the right";
}

// An accented letter keeps its base letter's drawing and adds its mark only
// above it (or, for the cedilla, only below it).
void expectBaseWithMark(uint8_t accented, char base, bool markBelow) {
  const auto plain = static_cast<uint8_t>(base);
  ASSERT_FALSE(isBlank(plain)) << base;
  int inkTop = 0;
  while (GLYPH_BITMAPS[plain][inkTop] == 0) inkTop++;
  int inkBottom = ROWS - 1;
  while (GLYPH_BITMAPS[plain][inkBottom] == 0) inkBottom--;
  bool markFound = false;
  for (int row = 0; row < ROWS; row++) {
    const bool inMarkZone = markBelow ? row > inkBottom : row < inkTop;
    if (inMarkZone) {
      markFound = markFound || GLYPH_BITMAPS[accented][row] != 0;
    } else {
      EXPECT_EQ(GLYPH_BITMAPS[accented][row], GLYPH_BITMAPS[plain][row])
          << "code " << int(accented) << " row " << row;
    }
  }
  EXPECT_TRUE(markFound) << "code " << int(accented) << " has no mark";
}

TEST(GlyphSet, AccentedLettersAreTheirBaseLetterPlusAMark) {
  struct Pair {
    uint8_t accented;
    char base;
  };
  const Pair above[] = {
      {130, 'e'}, {138, 'e'}, {136, 'e'}, {137, 'e'},  // é è ê ë
      {133, 'a'}, {131, 'a'}, {132, 'a'}, {160, 'a'},  // à â ä á
      {151, 'u'}, {150, 'u'}, {129, 'u'},              // ù û ü
      {147, 'o'}, {148, 'o'},                          // ô ö
  };
  for (const Pair& p : above) expectBaseWithMark(p.accented, p.base, false);
  expectBaseWithMark(135, 'c', true);  // ç
  expectBaseWithMark(128, 'C', true);  // Ç
}

// The column of the leftmost pixel of a row.
int firstColumn(uint8_t code, int row) {
  int column = 0;
  while (column < COLUMNS && !pixel(code, row, column)) column++;
  return column;
}

// An acute accent climbs to the right, a grave one to the left. The mark is
// the first run of inked rows; compare its top row with its bottom row.
int accentSlant(uint8_t code) {
  int top = 0;
  while (top < ROWS - 1 && GLYPH_BITMAPS[code][top] == 0) top++;
  int bottom = top;
  while (bottom + 1 < ROWS && GLYPH_BITMAPS[code][bottom + 1] != 0) bottom++;
  return firstColumn(code, top) - firstColumn(code, bottom);
}

TEST(GlyphSet, AcuteAndGraveAccentsLeanTheRightWay) {
  for (uint8_t acute : {130, 144, 160, 161, 162, 163}) {  // é É á í ó ú
    EXPECT_GT(accentSlant(acute), 0) << "code " << int(acute);
  }
  for (uint8_t grave : {138, 133, 151, 141, 149}) {  // è à ù ì ò
    EXPECT_LT(accentSlant(grave), 0) << "code " << int(grave);
  }
}

TEST(GlyphSet, LettersAndDigitsAreAllDistinct) {
  // Any two of a group would be mistaken for each other on screen.
  const std::string groups[] = {"0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz",
                                "e\x82\x8A\x88\x89", "a\x85\x83\x84", "u\x97\x96\x81"};
  for (const std::string& group : groups) {
    for (size_t i = 0; i < group.size(); i++) {
      for (size_t j = i + 1; j < group.size(); j++) {
        EXPECT_FALSE(sameGlyph(static_cast<uint8_t>(group[i]), static_cast<uint8_t>(group[j])))
            << int(uint8_t(group[i])) << " and " << int(uint8_t(group[j]));
      }
    }
  }
  // i and its circumflex/diaeresis forms replace the dot rather than add to it.
  EXPECT_FALSE(sameGlyph(140, 'i'));  // î
  EXPECT_FALSE(sameGlyph(139, 'i'));  // ï
  EXPECT_FALSE(sameGlyph(144, 'E'));  // É
}

// Box drawing 179..218: the edges of the cell each glyph's strokes run to
// (U up, D down, L left, R right). A stroke must touch its edge so that
// neighbouring cells join, and the other edges must stay clear.
TEST(GlyphSet, BoxDrawingStrokesReachExactlyTheirCellEdges) {
  const char* const arms[] = {
      "UD",  "UDL", "UDL",  "UDL",  "DL",   "DL",   "UDL", "UD",   // 179..186
      "DL",  "UL",  "UL",   "UL",   "DL",   "UR",   "ULR", "DLR",  // 187..194
      "UDR", "LR",  "UDLR", "UDR",  "UDR",  "UR",   "DR",  "ULR",  // 195..202
      "DLR", "UDR", "LR",   "UDLR", "ULR",  "ULR",  "DLR", "DLR",  // 203..210
      "UR",  "UR",  "DR",   "DR",   "UDLR", "UDLR", "UL",  "DR",   // 211..218
  };
  for (int code = 179; code <= 218; code++) {
    const auto glyph = static_cast<uint8_t>(code);
    const std::string expected = arms[code - 179];
    bool left = false, right = false;
    for (int row = 0; row < ROWS; row++) {
      left = left || pixel(glyph, row, 0);
      right = right || pixel(glyph, row, COLUMNS - 1);
    }
    EXPECT_EQ(GLYPH_BITMAPS[code][0] != 0, expected.find('U') != std::string::npos)
        << "code " << code << " top edge";
    EXPECT_EQ(GLYPH_BITMAPS[code][ROWS - 1] != 0, expected.find('D') != std::string::npos)
        << "code " << code << " bottom edge";
    EXPECT_EQ(left, expected.find('L') != std::string::npos) << "code " << code << " left edge";
    EXPECT_EQ(right, expected.find('R') != std::string::npos) << "code " << code << " right edge";
  }
  // The plain lines run the full cell so that a row or column of them is unbroken.
  bool fullRow = false, fullColumn = false;
  for (int row = 0; row < ROWS; row++) fullRow = fullRow || GLYPH_BITMAPS[196][row] == 0xFF;
  for (int column = 0; column < COLUMNS; column++) {
    int count = 0;
    for (int row = 0; row < ROWS; row++) count += pixel(179, row, column) ? 1 : 0;
    fullColumn = fullColumn || count == ROWS;
  }
  EXPECT_TRUE(fullRow) << "196 has no unbroken row";
  EXPECT_TRUE(fullColumn) << "179 has no unbroken column";
}

}  // namespace
}  // namespace arrowgrid
