// How many threads a search may run: never more than the processors this
// process may use, since a thread beyond them only waits for a processor
// while its tables take memory and the time limit slips.
#pragma once

#include <cstdint>

namespace arrowgrid {

// The most search threads asked for or run, whatever the machine.
inline constexpr int32_t MAX_SEARCH_THREADS = 256;

// The processors this process may run on (taskset, containers), where the
// system tells them; 1 to MAX_SEARCH_THREADS.
int32_t availableProcessors();

// The threads to run for `requested` (0: as many as the processors) on a
// machine with `processors`: 1 to min(processors, MAX_SEARCH_THREADS).
int32_t searchThreadsFor(int32_t requested, int32_t processors);

}  // namespace arrowgrid
