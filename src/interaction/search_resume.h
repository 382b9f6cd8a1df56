// The search's entry from the step loop: the engine run with the trials line
// kept on screen, and the end-of-search message.
#pragma once

#include <cstdint>

#include "interaction/trials_line_state.h"
#include "screen/console.h"
#include "search/parallel_search.h"
#include "search/search_engine.h"
#include "search/selection_mode.h"

namespace arrowgrid {

// searchUntilShown with the screen: the trials line holds the count at
// every stop, and whenever the display asks for a picture it gets one with
// the line as it stands at that trial.
SearchStop searchUntilShown(ArrangementSearch& search, Console& console, TrialsLineState& line,
                            SelectionMode selectionMode);

// The same with the workers (see searchUntilShownInParallel).
SearchStop searchUntilShown(ArrangementSearch& search, SearchWorkers& workers, Console& console,
                            TrialsLineState& line, SelectionMode selectionMode);

// "La recherche est terminée" at row 22, column 30, with a line end.
void printSearchFinished(Console& console);

}  // namespace arrowgrid
