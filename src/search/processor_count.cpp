// The processors a search may use.
#include "search/processor_count.h"

#include <sched.h>

#include <algorithm>
#include <thread>

namespace arrowgrid {

int32_t availableProcessors() {
  cpu_set_t allowed;
  CPU_ZERO(&allowed);
  int32_t count = 0;
  if (sched_getaffinity(0, sizeof allowed, &allowed) == 0) count = CPU_COUNT(&allowed);
  if (count <= 0) count = static_cast<int32_t>(std::min(std::thread::hardware_concurrency(), 1024u));
  return std::clamp(count, 1, MAX_SEARCH_THREADS);
}

int32_t searchThreadsFor(int32_t requested, int32_t processors) {
  const int32_t usable = std::clamp(processors, 1, MAX_SEARCH_THREADS);
  return requested <= 0 ? usable : std::min(requested, usable);
}

}  // namespace arrowgrid
