// The full print sequence of the trials line, and the digit updates that
// stand for it while nothing else touches the screen.
#include "interaction/trials_line.h"

#include <array>

namespace arrowgrid {

namespace {

bool screenUntouched(const Console& console, const TrialsLineState& line) {
  return line.shown && console.text.changeCount == line.seenTextChange &&
         console.surface.changeCount == line.seenSurfaceChange;
}

}  // namespace

void printTrialsLineFull(Console& console, TrialsLineState& line, int64_t count) {
  locateCursor(console, TRIALS_ROW, TRIALS_COLUMN);
  printText(console, line.label, PrintEnding::NoEnding);
  printNumber(console, count, PrintEnding::NoEnding);
  printText(console, line.trailingBlanks, PrintEnding::NoEnding);
  locateCursor(console, 22, 30);
  printText(console, line.promptBlanks, PrintEnding::LineEnd);
  locateCursor(console, 23, 30);
  printText(console, line.promptBlanks, PrintEnding::LineEnd);
  ++line.fullPrints;

  // Digit updates need the digits as printed; a negative count (never met)
  // keeps to the full sequence.
  line.shown = count >= 0;
  line.shownCount = count;
  line.digitCount = 0;
  for (int64_t rest = count; rest > 0 || line.digitCount == 0; rest /= 10) ++line.digitCount;
  line.seenTextChange = console.text.changeCount;
  line.seenSurfaceChange = console.surface.changeCount;
}

void printTrialsLine(Console& console, TrialsLineState& line, int64_t count) {
  settleScreen(console);  // the line lies over whatever is still to be drawn
  if (count == line.shownCount && screenUntouched(console, line)) return;
  if (count > 0 && screenUntouched(console, line)) {
    std::array<uint8_t, 20> digits{};
    int32_t digitCount = 0;
    for (int64_t rest = count; rest > 0; rest /= 10) {
      digits[static_cast<size_t>(digitCount++)] = static_cast<uint8_t>('0' + rest % 10);
    }
    if (digitCount == line.digitCount) {
      // digits holds the least significant first.
      for (int32_t k = 0; k < digitCount; ++k) {
        putCell(console.text, console.surface, TRIALS_FIRST_DIGIT_CELL + k,
                digits[static_cast<size_t>(digitCount - 1 - k)]);
      }
      line.shownCount = count;
      ++console.text.changeCount;
      line.seenTextChange = console.text.changeCount;
      return;
    }
  }
  printTrialsLineFull(console, line, count);
}

}  // namespace arrowgrid
