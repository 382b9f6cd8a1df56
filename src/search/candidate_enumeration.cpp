// The enumeration driven without a screen, for tests and the benchmark.
#include "search/candidate_enumeration.h"

namespace arrowgrid {

ResumeOutcome resumeSearchQuiet(ArrangementSearch& search) {
  return runEnumerationWith(search, QuietTrials{});
}

}  // namespace arrowgrid
