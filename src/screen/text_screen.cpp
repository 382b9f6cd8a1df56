// Printing on the text layer: the output rules, wrapping, scrolling with its
// pending case, print zones with printColumn, the number format, clearing and
// cursor placement. Cells change only through putCell; glyphs go to the
// surface later, by commitPendingGlyphs.
#include "screen/text_screen.h"

#include <algorithm>
#include <charconv>

#include "screen/console.h"
#include "screen/cp437.h"
#include "screen/text_output.h"

namespace arrowgrid {

namespace {

constexpr std::string_view LINE_END = "\r\n";
constexpr std::string_view BLANKS =
    "                                                                                ";

// A character is about to be drawn: a cursor below row 25 first moves the
// screen up until it stands on row 25.
void scrollCursorIntoView(Console& console, PrintRun& run) {
  TextScreen& text = console.text;
  if (text.cursorRow <= TEXT_ROWS) return;
  const int32_t rows = text.cursorRow - TEXT_ROWS;
  scrollScreen(console, rows);
  run.rowsScrolled += rows;
  text.cursorRow = TEXT_ROWS;
}

void putCharacter(Console& console, PrintRun& run, uint8_t code) {
  TextScreen& text = console.text;
  scrollCursorIntoView(console, run);
  putCell(text, console.surface, cellIndex(text.cursorRow, text.cursorColumn), code);
  run.endsInLastCell = text.cursorRow == TEXT_ROWS && text.cursorColumn == TEXT_COLUMNS;
  if (++text.cursorColumn > TEXT_COLUMNS) {
    text.cursorColumn = 1;
    ++text.cursorRow;
  }
}

// The bytes that move the cursor or sound rather than show a glyph.
bool isControlByte(uint8_t code) {
  return code < 14 && ((1u << code) & ((1u << 7) | (1u << 8) | (1u << 9) | (1u << 10) | (1u << 13)));
}

void emitControlByte(Console& console, PrintRun& run, uint8_t code) {
  TextScreen& text = console.text;
  switch (code) {
    case 7:
      run.endsInLastCell = false;
      soundBeep(console);
      break;
    case 8:
      run.endsInLastCell = false;
      if (text.cursorColumn > 1) --text.cursorColumn;
      break;
    case 9:
      do {
        putCharacter(console, run, BLANK);
      } while ((text.cursorColumn - 1) % 8 != 0);
      break;
    case 10:
      run.endsInLastCell = false;
      ++text.cursorRow;
      break;
    default:  // 13
      run.endsInLastCell = false;
      text.cursorColumn = 1;
      break;
  }
}

// printColumn after one printed text: its length added, or the bytes after
// its last carriage return or line feed; modulo 80 either way.
void advancePrintColumn(TextScreen& text, std::string_view printed) {
  // Searched by hand: the texts are short and this runs at every trial.
  size_t after = printed.size();
  while (after > 0 && printed[after - 1] != '\r' && printed[after - 1] != '\n') --after;
  if (after == 0) {
    text.printColumn = static_cast<int32_t>(
        (static_cast<size_t>(text.printColumn) + printed.size() % TEXT_COLUMNS) % TEXT_COLUMNS);
  } else {
    text.printColumn = static_cast<int32_t>((printed.size() - after) % TEXT_COLUMNS);
  }
}

void printPiece(Console& console, PrintRun& run, std::string_view piece) {
  emitBytes(console, run, piece);
  advancePrintColumn(console.text, piece);
}

void applyEnding(Console& console, PrintRun& run, PrintEnding ending) {
  if (ending == PrintEnding::LineEnd) {
    printPiece(console, run, LINE_END);
  } else if (ending == PrintEnding::NextZone) {
    const int32_t printColumn = console.text.printColumn;
    const int32_t zoneStart = PRINT_ZONE_WIDTH * ((printColumn + PRINT_ZONE_WIDTH) / PRINT_ZONE_WIDTH) + 1;
    if (zoneStart > TEXT_COLUMNS - PRINT_ZONE_WIDTH) {
      printPiece(console, run, LINE_END);
    } else {
      printPiece(console, run, BLANKS.substr(0, static_cast<size_t>(zoneStart - (printColumn + 1))));
    }
  }
}

void printItem(Console& console, std::string_view item, PrintEnding ending) {
  PrintRun run;
  beginPrint(console, run);  // settles a deferred drawing
  printPiece(console, run, item);
  applyEnding(console, run, ending);
  endPrint(console, run);
}

// The number format into a caller's buffer: no allocation on the trials line.
std::string_view formatNumberInto(char (&buffer)[24], int64_t value) {
  char* first = buffer;
  if (value >= 0) *first++ = ' ';
  const auto result = std::to_chars(first, buffer + sizeof buffer, value);
  return std::string_view(buffer, static_cast<size_t>(result.ptr - buffer));
}

}  // namespace

void soundBeep(Console& console) {
  if (console.platform.beep) console.platform.beep(console.platform.context);
}

void scrollScreen(Console& console, int32_t rows) {
  if (rows <= 0) return;
  settleScreen(console);
  // Pending glyphs first, so cells and pixels move as one picture.
  commitPendingGlyphs(console);
  TextScreen& text = console.text;
  const size_t moved = static_cast<size_t>(std::min(rows, TEXT_ROWS) * TEXT_COLUMNS);
  std::copy(text.cells.begin() + static_cast<ptrdiff_t>(moved), text.cells.end(), text.cells.begin());
  std::fill(text.cells.end() - static_cast<ptrdiff_t>(moved), text.cells.end(), BLANK);
  scrollTextRows(console.surface, rows);
  ++text.changeCount;
}

void beginPrint(Console& console, PrintRun& run) {
  settleScreen(console);
  TextScreen& text = console.text;
  if (!text.pendingScroll) return;
  text.pendingScroll = false;
  scrollScreen(console, 1);
  run.rowsScrolled += 1;
  text.cursorRow = TEXT_ROWS;
  text.cursorColumn = 1;
}

void emitBytes(Console& console, PrintRun& run, std::string_view bytes) {
  TextScreen& text = console.text;
  size_t i = 0;
  while (i < bytes.size()) {
    const auto code = static_cast<uint8_t>(bytes[i]);
    if (isControlByte(code)) {
      emitControlByte(console, run, code);
      ++i;
      continue;
    }
    // A run of characters within the cursor's row: the common case, and the
    // trials line's, kept free of per-byte cursor bookkeeping.
    scrollCursorIntoView(console, run);
    const size_t room = static_cast<size_t>(TEXT_COLUMNS + 1 - text.cursorColumn);
    const size_t limit = std::min(bytes.size(), i + room);
    size_t end = i + 1;
    while (end < limit && !isControlByte(static_cast<uint8_t>(bytes[end]))) ++end;
    const int32_t row = text.cursorRow;
    const int32_t column = text.cursorColumn + static_cast<int32_t>(end - i);
    int32_t index = cellIndex(row, text.cursorColumn);
    for (size_t k = i; k < end; ++k) putCell(text, console.surface, index++, static_cast<uint8_t>(bytes[k]));
    run.endsInLastCell = row == TEXT_ROWS && column == TEXT_COLUMNS + 1;
    if (column > TEXT_COLUMNS) {
      text.cursorColumn = 1;
      text.cursorRow = row + 1;
    } else {
      text.cursorColumn = column;
    }
    i = end;
  }
}

void endPrint(Console& console, PrintRun& run) {
  TextScreen& text = console.text;
  if (text.cursorRow > TEXT_ROWS) {
    if (run.endsInLastCell) {
      // Parked on the last cell: the screen moves only when more follows.
      text.cursorRow = TEXT_ROWS;
      text.cursorColumn = TEXT_COLUMNS;
      text.pendingScroll = true;
    } else {
      scrollCursorIntoView(console, run);
    }
  }
  ++text.changeCount;
}

void clearScreen(Console& console) {
  // A drawing still deferred would be wiped unseen: it is dropped undrawn.
  console.deferred = DeferredDrawing{};
  TextScreen& text = console.text;
  // Glyphs not yet committed are dropped: the cleared surface already shows blanks.
  for (int32_t i = 0; i < text.pendingCount; ++i)
    text.glyphPending[text.pendingCells[static_cast<size_t>(i)]] = false;
  text.pendingCount = 0;
  text.cells.fill(BLANK);
  clearSurface(console.surface);
  text.cursorRow = 1;
  text.cursorColumn = 1;
  text.printColumn = 0;
  text.pendingScroll = false;
  ++text.changeCount;
}

void locateCursor(Console& console, int32_t row, int32_t column) {
  if (row < 1 || row > TEXT_ROWS || column < 1 || column > TEXT_COLUMNS) return;
  settleScreen(console);
  TextScreen& text = console.text;
  text.cursorRow = row;
  text.cursorColumn = column;
  text.pendingScroll = false;
  text.printColumn = column - 1;
  ++text.changeCount;
}

void printText(Console& console, const ByteString& text, PrintEnding ending) {
  printItem(console, text, ending);
}

void printNumber(Console& console, int64_t value, PrintEnding ending) {
  char buffer[24];
  printItem(console, formatNumberInto(buffer, value), ending);
}

void printLineEnd(Console& console) { printItem(console, std::string_view(), PrintEnding::LineEnd); }

ByteString cp437Text(std::string_view utf8) { return fromUtf8(utf8); }

}  // namespace arrowgrid
