// The trials line on row 21 and the blanking of the prompt rows 22 and 23,
// rewritten at every trial. When nothing touched the screen since the last
// trial and the count keeps its width, only the changed digits are written:
// the label, the blanks and the cursor are already what the full sequence
// would leave.
#pragma once

#include <array>
#include <cstdint>
#include <cstring>

#include "interaction/trials_line_state.h"
#include "screen/console.h"

namespace arrowgrid {

inline constexpr int32_t TRIALS_ROW = 21;
inline constexpr int32_t TRIALS_COLUMN = 40;
// Cell of the first digit: after the label and the number's blank.
inline constexpr int32_t TRIALS_FIRST_DIGIT_CELL =
    (TRIALS_ROW - 1) * TEXT_COLUMNS + (TRIALS_COLUMN - 1) + static_cast<int32_t>(TRIALS_LABEL.size()) + 1;

// The full sequence: the label, the count and seven blanks from row 21,
// column 40, then 33 blanks with a line end at rows 22 and 23 from column 30.
void printTrialsLineFull(Console& console, TrialsLineState& line, int64_t count);

// One trial's line: the changed digits only when the screen is as the last
// trial left it and the count keeps its width, else the full sequence.
void printTrialsLine(Console& console, TrialsLineState& line, int64_t count);

// "00" to "99", two codes per value.
inline constexpr std::array<uint8_t, 200> DIGIT_PAIRS = [] {
  std::array<uint8_t, 200> pairs{};
  for (int32_t v = 0; v < 100; ++v) {
    pairs[static_cast<size_t>(2 * v)] = static_cast<uint8_t>('0' + v / 10);
    pairs[static_cast<size_t>(2 * v + 1)] = static_cast<uint8_t>('0' + v % 10);
  }
  return pairs;
}();

// The trials lines of one resumeSearch call. Between two of its trials
// nothing touches the screen but these writes (a present ends the run
// first), so the last two digits are counted in a register and written
// straight into their cells, which were marked for painting when the run
// took them over; only their wrap from 99 to 00 goes through putCell.
struct TrialsRun {
  uint8_t* tensCell = nullptr;      // in text.cells, the units cell follows; null: the next trial is checked
  // The pair of DIGIT_PAIRS on screen; without a run, the last pair, so
  // that the next trial reaches the end and is checked.
  const uint8_t* shownPair = DIGIT_PAIRS.data() + DIGIT_PAIRS.size() - 2;
};

// Records in line what the run left on screen (count is the last printed);
// before anything else may touch the screen.
inline void endTrialsRun(Console& console, TrialsLineState& line, TrialsRun run, int64_t count) {
  if (run.tensCell == nullptr) return;
  line.runTensCell = run.tensCell;
  line.runShownPair = run.shownPair;
  if (count == line.shownCount) return;
  line.shownCount = count;
  ++console.text.changeCount;
  line.seenTextChange = console.text.changeCount;
}

// A wrap of the last two digits, or a checked trial; the run to go on with.
TrialsRun settleTrialsRun(Console& console, TrialsLineState& line, TrialsRun run, int64_t count);

// Takes the last two digit cells of the line on screen over for a run.
TrialsRun takeOverLastTwo(Console& console, const TrialsLineState& line);

// A run that goes on from the line as the previous run or printTrialsLine
// left it, when the screen is untouched since and count is the count shown;
// else a run whose first trial is checked.
inline TrialsRun beginTrialsRun(Console& console, const TrialsLineState& line, int64_t count) {
  if (!line.shown || count != line.shownCount || console.text.changeCount != line.seenTextChange ||
      console.surface.changeCount != line.seenSurfaceChange) {
    return TrialsRun{};
  }
  // The last run's cells are still marked for painting: nothing was flushed.
  if (line.runTensCell != nullptr) return TrialsRun{line.runTensCell, line.runShownPair};
  return takeOverLastTwo(console, line);
}

// The next count's last two digits written by the run; false when they
// wrap from 99 to 00 or the trial is to be checked (settleTrialsRun).
inline bool advanceTrialsRun(TrialsRun& run) {
  run.shownPair += 2;
  if (run.shownPair == DIGIT_PAIRS.data() + DIGIT_PAIRS.size()) return false;
  std::memcpy(run.tensCell, run.shownPair, 2);
  return true;
}

inline void printTrialOfRun(Console& console, TrialsLineState& line, TrialsRun& run, int64_t count) {
  if (!advanceTrialsRun(run)) run = settleTrialsRun(console, line, run, count);
}

}  // namespace arrowgrid
