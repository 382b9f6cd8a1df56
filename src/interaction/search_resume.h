// The search's entry from the step loop: trials with the trials line kept on
// screen until a push or the end, and the end-of-search message.
#pragma once

#include "interaction/trials_line_state.h"
#include "screen/console.h"
#include "search/candidate_enumeration.h"

namespace arrowgrid {

// Runs trials until a matching candidate is pushed (evaluate it next) or the
// search is over (printSearchFinished, the pause prompt, then the menu).
// Each trial rewrites the trials line and lets the display repaint.
ResumeOutcome resumeSearch(ArrangementSearch& search, Console& console, TrialsLineState& line);

// "La recherche est terminée" at row 22, column 30, with a line end.
void printSearchFinished(Console& console);

}  // namespace arrowgrid
