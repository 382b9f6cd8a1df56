// The keys of sets of placements and the table of those met.
#include "search/transposition_table.h"

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
    if (entry.unwantedPlusOne != 0 && entry.first == set.first && entry.second == set.second) {
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
  bucket[0] = TranspositionEntry{set.first, set.second, unwanted + 1, 0, 0};
  return false;
}

}  // namespace arrowgrid
