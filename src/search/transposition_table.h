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
  uint32_t epoch = 0;           // entries of another epoch count as free
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

// Entries worth a worker's table: about what a search of `wordCount` words
// records in `timeLimitSeconds` (0: no limit) or within `nodeLimit`
// evaluations (0: none), a power of two from 2^12 to 2^21 (64 MB). A9 fills
// 2^18 entries (8 MB) with few losses; a larger table only touches more pages.
size_t transpositionEntriesFor(int32_t wordCount, double timeLimitSeconds, int64_t nodeLimit);

// A table of at least `entries` entries (a power of two, 2 or more). Throws
// std::bad_alloc when the memory is refused.
void allocateTranspositionTable(TranspositionTable& table, size_t entries);

// True when `set` was recorded in this `epoch` with no more than `unwanted`
// unwanted neighbourhoods; otherwise records it with `unwanted` and returns
// false. Entries of an earlier epoch are never met: a new epoch starts with
// what an empty table would answer, without clearing it.
bool metBeforeWithNoMoreUnwanted(TranspositionTable& table, const PlacementSetKey& set, int32_t unwanted,
                                 uint32_t epoch = 0);

}  // namespace arrowgrid
