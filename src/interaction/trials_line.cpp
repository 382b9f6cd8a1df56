// The full print sequence of the trials line, the digit updates that stand
// for it while nothing else touches the screen, and the runs of trials that
// keep the last two digits in a register.
#include "interaction/trials_line.h"

namespace arrowgrid {

namespace {

uint8_t digitCell(const TextScreen& text, int32_t k) {
  return text.cells[static_cast<size_t>(TRIALS_FIRST_DIGIT_CELL + k)];
}

// Adds one to the count shown in the digit cells; false (nothing written)
// when every digit is a nine and the count would grow a digit.
bool countUpOnScreen(Console& console, int32_t digitCount) {
  TextScreen& text = console.text;
  int32_t k = digitCount - 1;
  while (k >= 0 && digitCell(text, k) == '9') --k;
  if (k < 0) return false;
  putCell(text, console.surface, TRIALS_FIRST_DIGIT_CELL + k, static_cast<uint8_t>(digitCell(text, k) + 1));
  for (int32_t z = k + 1; z < digitCount; ++z) {
    putCell(text, console.surface, TRIALS_FIRST_DIGIT_CELL + z, '0');
  }
  return true;
}

bool screenUntouched(const Console& console, const TrialsLineState& line) {
  return line.shown && console.text.changeCount == line.seenTextChange &&
         console.surface.changeCount == line.seenSurfaceChange;
}

}  // namespace

// Takes the last two digit cells over for a run. A flush may have cleared
// their marks without changing a pixel, so they are marked again each time.
TrialsRun takeOverLastTwo(Console& console, const TrialsLineState& line) {
  TrialsRun run;
  if (!line.shown || line.digitCount < 2) return run;
  TextScreen& text = console.text;
  const int32_t tens = TRIALS_FIRST_DIGIT_CELL + line.digitCount - 2;
  markGlyphPending(text, tens);
  markGlyphPending(text, tens + 1);
  run.tensCell = &text.cells[static_cast<size_t>(tens)];
  const int32_t lastTwo = (run.tensCell[0] - '0') * 10 + (run.tensCell[1] - '0');
  run.shownPair = DIGIT_PAIRS.data() + 2 * lastTwo;
  return run;
}

void printTrialsLineFull(Console& console, TrialsLineState& line, int64_t count) {
  line.runTensCell = nullptr;  // the digits change under any earlier run
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
  line.runTensCell = nullptr;  // the digits change under any earlier run
  if (screenUntouched(console, line) && count == line.shownCount + 1 &&
      countUpOnScreen(console, line.digitCount)) {
    line.shownCount = count;
    ++console.text.changeCount;
    line.seenTextChange = console.text.changeCount;
    return;
  }
  printTrialsLineFull(console, line, count);
}

TrialsRun settleTrialsRun(Console& console, TrialsLineState& line, TrialsRun run, int64_t count) {
  // With a run, the last two digits have just passed 99.
  if (run.tensCell != nullptr && countUpOnScreen(console, line.digitCount)) {
    run.shownPair = DIGIT_PAIRS.data();  // 99 became 00 with its carry
    return run;
  }
  endTrialsRun(console, line, run, count - 1);
  printTrialsLine(console, line, count);
  return takeOverLastTwo(console, line);
}

}  // namespace arrowgrid
