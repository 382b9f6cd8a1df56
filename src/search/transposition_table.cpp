// The table of the sets of placements met.
#include "search/transposition_table.h"

#include <algorithm>
#include <bit>
#include <new>

namespace arrowgrid {

namespace {

constexpr size_t CACHE_LINE = 64;

}  // namespace

size_t transpositionEntriesFor(int32_t wordCount, double timeLimitSeconds, int64_t nodeLimit) {
  constexpr int32_t FEWEST_BITS = 12;
  constexpr int32_t MOST_BITS = 21;
  // The sets a search meets grow about twofold with each word: 2^18 for
  // A9's 9 words, 2^21 from 12 words on.
  size_t entries = size_t{1} << std::clamp(wordCount + 9, FEWEST_BITS, MOST_BITS);
  // One set recorded per few evaluations, at most about half a million a
  // second on one processor.
  constexpr double RECORDED_PER_SECOND = 1 << 19;
  if (timeLimitSeconds > 0 && timeLimitSeconds * RECORDED_PER_SECOND < static_cast<double>(entries)) {
    entries = std::bit_ceil(static_cast<size_t>(timeLimitSeconds * RECORDED_PER_SECOND) + 1);
  }
  if (nodeLimit > 0 && static_cast<size_t>(nodeLimit) < entries) {
    entries = std::bit_ceil(static_cast<size_t>(nodeLimit));
  }
  return std::max(entries, size_t{1} << FEWEST_BITS);
}

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

bool metBeforeWithNoMoreUnwanted(TranspositionTable& table, const PlacementSetKey& set, int32_t unwanted,
                                 uint32_t epoch) {
  TranspositionEntry* bucket = table.entries + 2 * (set.first & table.bucketMask);
  for (int32_t i = 0; i < 2; ++i) {
    TranspositionEntry& entry = bucket[i];
    if (entry.unwantedPlusOne != 0 && entry.epoch == epoch && entry.key == set) {
      if (entry.unwantedPlusOne - 1 <= unwanted) {
        ++table.skips;
        return true;
      }
      entry.unwantedPlusOne = unwanted + 1;
      return false;
    }
  }
  // The newest first; the older one makes way. Epochs only grow, so an entry
  // of an earlier epoch never sits before one of this epoch: dropping it or
  // keeping it behind changes no answer of this epoch.
  bucket[1] = bucket[0];
  bucket[0] = TranspositionEntry{set, unwanted + 1, epoch, 0};
  return false;
}

}  // namespace arrowgrid
