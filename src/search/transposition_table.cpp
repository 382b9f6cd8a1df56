// The table of the sets of placements met.
#include "search/transposition_table.h"

#include <new>

namespace arrowgrid {

namespace {

constexpr size_t CACHE_LINE = 64;

}  // namespace

void allocateTranspositionTable(TranspositionTable& table, size_t entries) {
  size_t buckets = 1;
  while (buckets * 2 < entries) buckets *= 2;
  const size_t bytes = buckets * 2 * sizeof(TranspositionEntry);
  // calloc hands large blocks out as untouched zero pages: a table that a
  // small list barely uses costs it nothing.
  void* memory = std::calloc(bytes + CACHE_LINE, 1);
  if (memory == nullptr) throw std::bad_alloc();
  table.memory.reset(memory);
  const auto address = reinterpret_cast<uintptr_t>(memory);
  table.entries = reinterpret_cast<TranspositionEntry*>((address + CACHE_LINE - 1) & ~(CACHE_LINE - 1));
  table.bucketMask = buckets - 1;
  table.skips = 0;
}

bool metBeforeWithNoMoreUnwanted(TranspositionTable& table, const PlacementSetKey& set, int32_t unwanted) {
  TranspositionEntry* bucket = table.entries + 2 * (set.first & table.bucketMask);
  for (int32_t i = 0; i < 2; ++i) {
    TranspositionEntry& entry = bucket[i];
    if (entry.unwantedPlusOne != 0 && entry.key == set) {
      if (entry.unwantedPlusOne - 1 <= unwanted) {
        ++table.skips;
        return true;
      }
      entry.unwantedPlusOne = unwanted + 1;
      return false;
    }
  }
  // The newest first; the older one makes way.
  bucket[1] = bucket[0];
  bucket[0] = TranspositionEntry{set, unwanted + 1, 0, 0};
  return false;
}

}  // namespace arrowgrid
