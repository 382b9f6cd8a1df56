// The keys of sets of placements and the table of those met.
#include "search/transposition_table.h"

#include <algorithm>
#include <bit>
#include <new>

namespace arrowgrid {

namespace {

constexpr size_t CACHE_LINE = 64;

// Two unrelated mixers, so that the two sums are independent.
uint64_t splitMix(uint64_t v) {
  v += 0x9e3779b97f4a7c15ull;
  v = (v ^ (v >> 30)) * 0xbf58476d1ce4e5b9ull;
  v = (v ^ (v >> 27)) * 0x94d049bb133111ebull;
  return v ^ (v >> 31);
}

uint64_t murmurMix(uint64_t v) {
  v ^= 0x5bd1e9955bd1e995ull;
  v ^= v >> 33;
  v *= 0xff51afd7ed558ccdull;
  v ^= v >> 33;
  v *= 0xc4ceb9fe1a85ec53ull;
  return v ^ (v >> 33);
}

}  // namespace

PlacementSetKey withPlacement(const PlacementSetKey& set, const Placement& row) {
  // Coordinates stay far inside 24 bits (50 words), word numbers inside 7.
  const uint64_t packed = (static_cast<uint64_t>(static_cast<uint32_t>(row.x)) & 0xffffffu) |
                          (static_cast<uint64_t>(static_cast<uint32_t>(row.y)) & 0xffffffu) << 24 |
                          static_cast<uint64_t>(row.wordNumber & 0x7f) << 48 |
                          static_cast<uint64_t>(row.direction & 3) << 56;
  return PlacementSetKey{set.first + splitMix(packed), set.second + murmurMix(packed)};
}

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
    if (entry.unwantedPlusOne != 0 && entry.epoch == epoch && entry.first == set.first &&
        entry.second == set.second) {
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
  bucket[0] = TranspositionEntry{set.first, set.second, unwanted + 1, epoch, 0};
  return false;
}

}  // namespace arrowgrid
