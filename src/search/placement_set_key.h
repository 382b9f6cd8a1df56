// The key of a set of placements (word number, arrow cell, direction), as
// the beam merges its children and the proof's table of sets met knows
// them: two independent 64-bit sums, one term per placement, so that the
// key does not depend on the order of the rows and grows by one addition
// per row. The crossing a row was found on plays no part: the same place
// reached across another row is the same placement.
#pragma once

#include <cstdint>
#include <type_traits>

#include "search/search_data.h"

namespace arrowgrid {

struct PlacementSetKey {
  uint64_t first = 0;
  uint64_t second = 0;
  bool operator==(const PlacementSetKey&) const = default;
};

namespace placement_key_detail {

// Each field is packed whole, so two placements never share their packing:
// only the mixing can make two sets meet, and two unrelated mixers make
// that chance negligible.
static_assert(std::is_same_v<decltype(Placement::x), int32_t> &&
                  std::is_same_v<decltype(Placement::y), int32_t>,
              "the arrow cell packs into 64 bits as two 32-bit coordinates");
static_assert(std::is_same_v<decltype(Placement::wordNumber), int32_t> &&
                  std::is_same_v<std::underlying_type_t<decltype(Placement::direction)>, int32_t>,
              "the word number and the direction's code pack into 64 bits as two 32-bit numbers");

inline uint64_t packedCell(const Placement& row) {
  return uint64_t{static_cast<uint32_t>(row.x)} | uint64_t{static_cast<uint32_t>(row.y)} << 32;
}

inline uint64_t packedWord(const Placement& row) {
  return uint64_t{static_cast<uint32_t>(row.wordNumber)} |
         uint64_t{static_cast<uint32_t>(directionCode(row.direction))} << 32;
}

inline uint64_t splitMix(uint64_t v) {
  v += 0x9e3779b97f4a7c15ull;
  v = (v ^ (v >> 30)) * 0xbf58476d1ce4e5b9ull;
  v = (v ^ (v >> 27)) * 0x94d049bb133111ebull;
  return v ^ (v >> 31);
}

inline uint64_t murmurMix(uint64_t v) {
  v ^= 0x5bd1e9955bd1e995ull;
  v ^= v >> 33;
  v *= 0xff51afd7ed558ccdull;
  v ^= v >> 33;
  v *= 0xc4ceb9fe1a85ec53ull;
  return v ^ (v >> 33);
}

}  // namespace placement_key_detail

// The key of the set with `row` added.
inline PlacementSetKey withPlacement(const PlacementSetKey& set, const Placement& row) {
  using namespace placement_key_detail;
  const uint64_t cell = packedCell(row);
  const uint64_t word = packedWord(row);
  return PlacementSetKey{set.first + splitMix(cell ^ splitMix(word)),
                         set.second + murmurMix(cell ^ murmurMix(word))};
}

}  // namespace arrowgrid
