// The byte-by-byte output rules of the text layer, shared by printing and by
// line input's echo. One print runs beginPrint, emitBytes (any number of
// times), endPrint; the run records how far the screen moved up meanwhile.
#pragma once

#include <cstdint>
#include <string_view>

namespace arrowgrid {

struct Console;

struct PrintRun {
  int32_t rowsScrolled = 0;     // rows the screen moved up during this print
  bool endsInLastCell = false;  // the last byte drew a character in column 80 of row 25
};

// Carries out a pending scroll: the screen moves up one row, the cursor
// continues at row 25, column 1.
void beginPrint(Console& console, PrintRun& run);

// Sends bytes through the output rules (bell, backspace, tab, line feed,
// carriage return, characters with wrapping after column 80). The cursor may
// stand below row 25 afterwards; a character drawn there scrolls first.
void emitBytes(Console& console, PrintRun& run, std::string_view bytes);

// Ends a print: a cursor below row 25 moves the screen up at once, unless
// the print's last character filled column 80 of row 25, where the cursor is
// parked and the scroll left pending.
void endPrint(Console& console, PrintRun& run);

// Moves cells, pixels and line marks up by rows together; the freed rows at
// the bottom are blank.
void scrollScreen(Console& console, int32_t rows);

// The line editor's beep, and the bell byte's: a tone of the platform.
void soundBeep(Console& console);

}  // namespace arrowgrid
