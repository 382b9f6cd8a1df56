// The 80x25 text layer: cursor, printing with its three endings, print
// zones, wrapping and scrolling. Its cells are the truth of what the screen
// shows; glyphs reach the pixel surface lazily (commitPendingGlyphs), so that
// a line rewritten millions of times costs a few byte writes, not glyph paints.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "base/byte_string.h"
#include "screen/drawing_surface.h"

namespace arrowgrid {

struct Console;

enum class PrintEnding : int32_t {
  NoEnding = 0,  // the cursor stays right after the item
  LineEnd = 1,   // carriage return and line feed
  NextZone = 2,  // advance to the next print zone
};

inline constexpr int32_t PRINT_ZONE_WIDTH = 14;
inline constexpr int32_t INPUT_FIELD_MAX = 4096;
inline constexpr int32_t TEXT_CELLS = TEXT_ROWS * TEXT_COLUMNS;
inline constexpr uint8_t BLANK = 32;

struct TextScreen {
  int32_t cursorRow = 1;                  // 1..25; may stand past row 25 only inside a print
  int32_t cursorColumn = 1;               // 1..80
  std::array<uint8_t, TEXT_CELLS> cells;  // code shown in each cell, row-major; blank 32
  int32_t printColumn = 0;                // characters since the last line end, 0..79, for print zones
  bool pendingScroll = false;             // a print ended in column 80 of row 25
  // Cells whose glyph changed since it was last painted, listed once each.
  std::array<bool, TEXT_CELLS> glyphPending{};
  std::array<uint16_t, TEXT_CELLS> pendingCells{};
  int32_t pendingCount = 0;
  // Bumped by every operation that changes cells, cursor or printColumn, so
  // that a caller can tell that nothing touched the screen since it looked.
  uint64_t changeCount = 0;

  TextScreen() { cells.fill(BLANK); }
};

inline int32_t cellIndex(int32_t row, int32_t column) { return (row - 1) * TEXT_COLUMNS + (column - 1); }

// Lists the cell at index, once, for the next commitPendingGlyphs.
inline void markGlyphPending(TextScreen& text, int32_t index) {
  const auto i = static_cast<size_t>(index);
  if (text.glyphPending[i]) return;
  text.glyphPending[i] = true;
  text.pendingCells[static_cast<size_t>(text.pendingCount++)] = static_cast<uint16_t>(index);
}

// Shows code in the cell at index without moving the cursor. A cell that
// already shows code, with no line drawn over it since, is left alone; any
// other change goes to the surface at the next commitPendingGlyphs. Every
// print goes through here.
inline void putCell(TextScreen& text, const DrawingSurface& surface, int32_t index, uint8_t code) {
  const auto i = static_cast<size_t>(index);
  if (text.cells[i] == code && glyphOnTop(surface, index)) return;
  text.cells[i] = code;
  markGlyphPending(text, index);
}

void clearScreen(Console& console);
void locateCursor(Console& console, int32_t row, int32_t column);
void printText(Console& console, const ByteString& text, PrintEnding ending);
// The value in decimal, a blank before a value >= 0, a minus sign before a negative one.
void printNumber(Console& console, int64_t value, PrintEnding ending);
void printLineEnd(Console& console);

// Shows the prompt (and "? " when questionMark), lets the user type and edit
// one line, ends it with a line end and returns its first field.
ByteString inputText(Console& console, const ByteString& prompt, bool questionMark);

// The first field of a typed line: leading blanks and tabs skipped, a quoted
// field up to the closing quote, else up to the first comma; at most 4096 bytes.
ByteString firstField(const ByteString& line);

// The number at the start of text (&H, &O, &B prefixes; decimal with
// exponent); 0 when there is none.
double numberValue(const ByteString& text);
// Nearest integer, halves to even; outside the 32-bit range gives INT32_MIN.
int32_t roundToInteger(double value);

// Closes the window and ends the process with status.
[[noreturn]] void endProgram(Console& console, int32_t status);

// A text written in this source as UTF-8, in code page 437.
ByteString cp437Text(std::string_view utf8);

}  // namespace arrowgrid
