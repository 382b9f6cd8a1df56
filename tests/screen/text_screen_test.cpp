// Printing on the text layer: output rules, zones, number format,
// printColumn, scrolling with its pending case, cursor placement, and the
// lazy painting of glyphs.
#include "support/console_session.h"

namespace arrowgrid {
using namespace test_support;
namespace {

using TextOutput = ConsoleSessionTest;
using PrintZones = ConsoleSessionTest;
using Scrolling = ConsoleSessionTest;
using GlyphPainting = ConsoleSessionTest;

TEST_F(TextOutput, NumbersCarryABlankOrAMinusSign) {
  for (const int64_t value : {int64_t{7}, int64_t{-3}, int64_t{0}, INT64_MIN}) {
    printNumber(*console, value, PrintEnding::LineEnd);
  }
  EXPECT_EQ(screenRow(*console, 1), " 7");
  EXPECT_EQ(screenRow(*console, 2), "-3");
  EXPECT_EQ(screenRow(*console, 3), " 0");
  EXPECT_EQ(screenRow(*console, 4), "-9223372036854775808");
  printNumber(*console, 12, PrintEnding::NoEnding);
  print("caractères non traités", PrintEnding::LineEnd);
  EXPECT_EQ(screenRow(*console, 5), " 12caractères non traités");
  expectCursor(6, 1);
}

TEST_F(TextOutput, ControlBytesMoveTheCursorWithoutDrawing) {
  locateCursor(*console, 3, 5);
  print("ab\bc");
  EXPECT_EQ(screenRow(*console, 3), "    ac");
  print("\x07");
  EXPECT_EQ(platform.beeps, 1);
  expectCursor(3, 7);
  print("\t|");
  EXPECT_EQ(cellAt(*console, 3, 9), '|');
  print("\t");
  expectCursor(3, 17);  // from column 10 to the next 8k + 1
  print("\rZ\n");
  EXPECT_EQ(cellAt(*console, 3, 1), 'Z');
  expectCursor(4, 2);
  locateCursor(*console, 5, 1);
  print("\b");
  expectCursor(5, 1);
}

TEST_F(TextOutput, TextWrapsAfterColumn80) {
  locateCursor(*console, 3, 79);
  print("abcd");
  EXPECT_EQ(cellAt(*console, 3, 80), 'b');
  EXPECT_EQ(screenRow(*console, 4), "cd");
  expectCursor(4, 3);
}

TEST_F(TextOutput, OutOfRangeLocateLeavesTheCursorWhereItWas) {
  locateCursor(*console, 3, 4);
  print("a");
  locateCursor(*console, 26, 1);
  print("b");
  locateCursor(*console, 1, 81);
  print("c");
  locateCursor(*console, 0, 5);
  locateCursor(*console, 5, 0);
  locateCursor(*console, -1, -1);
  print("d");
  EXPECT_EQ(screenRow(*console, 3), "   abcd");
  EXPECT_EQ(console->text.printColumn, 7);
}

TEST_F(TextOutput, ClearScreenBlanksCellsAndPixelsAndHomesTheCursor) {
  locateCursor(*console, 10, 10);
  print("\xE2\x96\x88");  // full block, not yet painted
  drawLine(*console, 0, 0, 79, 22);
  print("x");
  clearScreen(*console);
  EXPECT_EQ(console->text.pendingCount, 0);
  EXPECT_EQ(screenText(*console), std::string(24, '\n'));
  expectCursor(1, 1);
  EXPECT_EQ(console->text.printColumn, 0);
  for (int32_t y = 0; y < SURFACE_HEIGHT; ++y) {
    for (int32_t x = 0; x < SURFACE_WIDTH; ++x) ASSERT_EQ(pixelAt(*console, x, y), 0) << x << "," << y;
  }
}

TEST_F(PrintZones, ItemsStartAtColumns15And29) {
  print("mot No", PrintEnding::NextZone);
  printNumber(*console, 3, PrintEnding::NextZone);
  print("xy");
  EXPECT_EQ(screenRow(*console, 1), "mot No         3            xy");
  EXPECT_EQ(cellAt(*console, 1, 15), ' ');
  EXPECT_EQ(cellAt(*console, 1, 16), '3');
  EXPECT_EQ(cellAt(*console, 1, 29), 'x');
}

TEST_F(PrintZones, Column55GetsABlankAndColumn56ALineEnd) {
  print(std::string(55, '-'), PrintEnding::NextZone);
  print("a");
  EXPECT_EQ(cellAt(*console, 1, 57), 'a');
  expectCursor(1, 58);

  locateCursor(*console, 3, 1);
  print(std::string(56, '-'), PrintEnding::NextZone);
  expectCursor(4, 1);
  EXPECT_EQ(cellAt(*console, 3, 57), ' ');

  // printColumn, not the cursor, decides.
  locateCursor(*console, 6, 57);
  print("", PrintEnding::NextZone);
  expectCursor(7, 1);
}

TEST_F(PrintZones, PrintColumnCountsSinceTheLastLineEnd) {
  print("mot No");
  EXPECT_EQ(console->text.printColumn, 6);
  print("ab\r\ncde");
  EXPECT_EQ(console->text.printColumn, 3);
  print(std::string(85, 'z'));
  EXPECT_EQ(console->text.printColumn, 8);  // (3 + 85) modulo 80
  printNumber(*console, -42, PrintEnding::NoEnding);
  EXPECT_EQ(console->text.printColumn, 11);
  printLineEnd(*console);
  EXPECT_EQ(console->text.printColumn, 0);
  locateCursor(*console, 4, 20);
  EXPECT_EQ(console->text.printColumn, 19);
  print("x", PrintEnding::NextZone);
  EXPECT_EQ(console->text.printColumn, 28);
  expectCursor(4, 29);
}

TEST_F(Scrolling, LineEndOnRow25ScrollsAtOnceWithDrawnLines) {
  locateCursor(*console, 1, 1);
  print("top");
  drawLine(*console, 0, 0, 10, 0);  // pixel row 28
  locateCursor(*console, 25, 1);
  print("bottom", PrintEnding::LineEnd);
  EXPECT_EQ(screenRow(*console, 24), "bottom");
  EXPECT_EQ(screenRow(*console, 25), "");
  EXPECT_EQ(screenRow(*console, 1), "");  // "top" has scrolled away
  expectCursor(25, 1);
  EXPECT_FALSE(console->text.pendingScroll);
  EXPECT_EQ(pixelAt(*console, 5, 14), COLOR_FOREGROUND);
  EXPECT_EQ(pixelAt(*console, 5, 28), COLOR_BACKGROUND);
}

TEST_F(Scrolling, EightyCharactersOnRow25WaitForTheNextPrint) {
  locateCursor(*console, 24, 1);
  print("above");
  locateCursor(*console, 25, 1);
  print(std::string(80, 'x'));
  EXPECT_EQ(screenRow(*console, 24), "above");
  EXPECT_EQ(screenRow(*console, 25), std::string(80, 'x'));
  EXPECT_TRUE(console->text.pendingScroll);
  expectCursor(25, 80);
  print("y");
  EXPECT_EQ(screenRow(*console, 23), "above");
  EXPECT_EQ(screenRow(*console, 24), std::string(80, 'x'));
  EXPECT_EQ(screenRow(*console, 25), "y");
  EXPECT_FALSE(console->text.pendingScroll);
}

TEST_F(Scrolling, LocateCancelsThePendingScroll) {
  locateCursor(*console, 25, 1);
  print(std::string(80, 'x'));
  locateCursor(*console, 10, 5);
  EXPECT_FALSE(console->text.pendingScroll);
  print("y");
  EXPECT_EQ(screenRow(*console, 25), std::string(80, 'x'));
  EXPECT_EQ(cellAt(*console, 10, 5), 'y');

  locateCursor(*console, 25, 1);
  print(std::string(80, 'x'));
  clearScreen(*console);
  EXPECT_FALSE(console->text.pendingScroll);
  print("z");
  EXPECT_EQ(screenRow(*console, 1), "z");
}

TEST_F(Scrolling, TextRunningPastRow25ScrollsBeforeItsCharacter) {
  locateCursor(*console, 25, 79);
  print("abcd");
  EXPECT_EQ(screenRow(*console, 24), std::string(78, ' ') + "ab");
  EXPECT_EQ(screenRow(*console, 25), "cd");
  expectCursor(25, 3);
  // Many line ends at once move the screen by as many rows.
  locateCursor(*console, 25, 1);
  print("\r\n\r\n\r\n");
  EXPECT_EQ(screenRow(*console, 21), std::string(78, ' ') + "ab");
  expectCursor(25, 1);
}

TEST_F(Scrolling, PendingGlyphsMoveWithTheirCells) {
  locateCursor(*console, 2, 1);
  print("\xE2\x96\x88");  // painted only at the next flush
  EXPECT_EQ(console->text.pendingCount, 1);
  locateCursor(*console, 25, 1);
  printLineEnd(*console);
  EXPECT_EQ(cellAt(*console, 1, 1), 219);
  EXPECT_EQ(pixelAt(*console, 0, 0), COLOR_FOREGROUND);
  EXPECT_EQ(pixelAt(*console, 7, 13), COLOR_FOREGROUND);
  EXPECT_EQ(pixelAt(*console, 0, 14), COLOR_BACKGROUND);
}

TEST_F(GlyphPainting, SameCharacterInAnIntactCellIsNotRepainted) {
  locateCursor(*console, 1, 1);
  print("\xE2\x96\x88");
  paintPicture(*console);
  console->surface.pixels[0][0] = 7;  // a scribble that a repaint would undo
  locateCursor(*console, 1, 1);
  print("\xE2\x96\x88");
  EXPECT_EQ(console->text.pendingCount, 0);
  EXPECT_EQ(pixelAt(*console, 0, 0), 7);

  // A line over the cell makes the same character paint again.
  drawLine(*console, 0, -1.5f, 3, -1.5f);
  console->surface.pixels[0][0] = 7;
  locateCursor(*console, 1, 1);
  print("\xE2\x96\x88");
  EXPECT_EQ(console->text.pendingCount, 1);
  EXPECT_EQ(pixelAt(*console, 0, 0), COLOR_FOREGROUND);
  EXPECT_TRUE(glyphOnTop(console->surface, 0));
}

TEST_F(GlyphPainting, BlankPrintedOverALineErasesItInsideTheCellOnly) {
  drawLine(*console, 0, 0, 3, 0);  // along the top edge of row 3, columns 1 to 3
  locateCursor(*console, 3, 2);
  print(" ");
  for (int32_t x = 8; x < 16; ++x) EXPECT_EQ(pixelAt(*console, x, 28), COLOR_BACKGROUND);
  EXPECT_EQ(pixelAt(*console, 7, 28), COLOR_FOREGROUND);
  EXPECT_EQ(pixelAt(*console, 16, 28), COLOR_FOREGROUND);
}

TEST_F(GlyphPainting, LineDrawnAfterAPrintLiesOverIt) {
  locateCursor(*console, 3, 1);
  print(" ");  // unchanged blank cell: nothing pending
  print("\xE2\x96\x88 ");
  drawLine(*console, 0, 0.5f, 3, 0.5f);  // through the middle of row 3
  EXPECT_EQ(pixelAt(*console, 12, 35), COLOR_FOREGROUND);
  EXPECT_EQ(pixelAt(*console, 20, 35), COLOR_FOREGROUND);
  EXPECT_EQ(pixelAt(*console, 20, 34), COLOR_BACKGROUND);
}

}  // namespace
}  // namespace arrowgrid
