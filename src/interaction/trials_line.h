// The trials line on row 21 and the blanking of the prompt rows 22 and 23.
// The search brings it up to date whenever it can be seen: at each picture
// taken during the search and when the search stops. When nothing touched
// the screen since the line was printed and the count keeps its width, only
// the digits that changed are written: the label, the blanks and the cursor
// are already what the full sequence would leave.
#pragma once

#include <cstdint>

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

// The line for count: the changed digits only when the screen is as the
// line last left it and the count keeps its width, else the full sequence.
void printTrialsLine(Console& console, TrialsLineState& line, int64_t count);

}  // namespace arrowgrid
