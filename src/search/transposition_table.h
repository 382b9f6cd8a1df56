// Sets of placements met by a depth-first search, so that it can skip a node
// whose set it has already met with no more unwanted neighbourhoods. A set
// is known by its key (search/placement_set_key.h). The table has a fixed
// size, allocated once per search: a lost entry only loses a skip.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>

#include "search/placement_set_key.h"

namespace arrowgrid {

struct TranspositionEntry {
  PlacementSetKey key;
  int32_t unwantedPlusOne = 0;  // 0: the entry is free
  int32_t unused = 0;
  uint64_t padding = 0;
};

// A bucket of two entries fills a cache line.
static_assert(sizeof(TranspositionEntry) == 32);

struct FreeMemory {
  void operator()(void* memory) const { std::free(memory); }
};

struct TranspositionTable {
  std::unique_ptr<void, FreeMemory> memory;  // zeroed pages, touched only when used
  TranspositionEntry* entries = nullptr;     // bucketCount pairs, aligned to a cache line
  size_t bucketMask = 0;
  int64_t skips = 0;
};

// A table of at least `entries` entries (a power of two, 2 or more). Throws
// std::bad_alloc when the memory is refused.
void allocateTranspositionTable(TranspositionTable& table, size_t entries);

// True when `set` was recorded with no more than `unwanted` unwanted
// neighbourhoods; otherwise records it with `unwanted` and returns false.
bool metBeforeWithNoMoreUnwanted(TranspositionTable& table, const PlacementSetKey& set, int32_t unwanted);

}  // namespace arrowgrid
