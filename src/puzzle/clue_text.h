// A clue as the player reads it: the text typed by the puzzle maker, kept
// as typed but made safe to print and to compare.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace arrowgrid {

// Long enough for any definition a cell or the list under the grid holds.
inline constexpr int32_t CLUE_MAX_CHARACTERS = 200;

struct CheckedClue {
  bool ok = false;
  std::string text;  // when ok: valid UTF-8 in NFC, without blanks around it; may be empty
  std::string why;   // when not ok: the reason, e.g. "control character U+0009"
};

// Checks a clue: UTF-8 (the bad byte named), no control character, no
// line or paragraph separator (they would break the cell's layout) and no
// noncharacter (the printing library refuses them), at most
// CLUE_MAX_CHARACTERS characters once composed to NFC. Blanks around it
// are dropped first.
CheckedClue checkClueText(std::string_view typed);

// text without the blanks around it: spaces, tabs, carriage returns, form
// and line feeds, and no-break spaces (U+00A0), which editors show as spaces
// and which a word processor puts before French punctuation.
std::string_view withoutBlanksAround(std::string_view text);

}  // namespace arrowgrid
