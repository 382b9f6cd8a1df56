// Bounds on what lies below an accepted arrangement.
//
// Notation. N is the accepted arrangement in rows 1..k with grid G, counts
// U (unwanted), C (crossings) and box W x H. A descendant D keeps rows 1..k
// and adds rows k+1..m. The evaluation writes rows in order from an empty
// grid, so D writes rows 1..k exactly as N does: D's counts are N's plus what
// rows k+1..m add, and none of those additions is negative; D's box contains
// N's. A bound is a score O such that every D ranks at or below O:
//   O.wordsPlaced is at least every D's words;
//   among the D with O.wordsPlaced words, U_D >= O.unwanted;
//   among those with U_D == O.unwanted, C_D <= O.crossings and S_D >= O.surface.
// Then D ranks at or below O field by field, whichever field decides.
//
// Facts about cells used below.
// (F1) A cell only changes as empty -> letter, empty -> block, empty or
//      block -> single arrow, single arrow -> both arrows. Letters never
//      change.
// (F2) Two words of the same direction never share a letter cell: where
//      their spans meet, an arrow or terminator of one falls on a letter of
//      the other, or the two arrow cells coincide, and each is a clash. So a
//      letter cell is covered by at most two words, one each way, and a
//      crossing is counted once per cell, when the second word is written.
// (F3) A row P accepted on a later grid G' (G plus rows written after it) is
//      accepted on G. By F1, each cell of G is an earlier state of the same
//      cell of G': under P's arrow cell G' holds empty, block or the other
//      arrow, so G holds one of those too; under a letter G' holds empty
//      (so G does) or the same letter (so G holds it or is empty); under the
//      terminator G' holds empty, block or a single arrow, so G holds one
//      of those. Side cells never reject. With a frame, P within it on G'
//      is within it on G: G's box grown by P lies inside G''s grown by P.
//
// Groups. Let S be a set of unplaced words that holds every word any D
// places after row k, and split S into groups: two words are in the same
// group when linked by a chain of words of S sharing letters. Take any group
// g with a word placed in D, and P the first row of g in D. P crosses an
// earlier row on one of its letters; a row after k that P could cross shares
// that letter, so it would be of group g and earlier than P. Hence P crosses
// one of rows 1..k: P is one of the rows the next level of N would push, and
// by F3 it is accepted on G. Probing every such row on G therefore finds P.
// Moreover every cell where P meets a letter on G' holds that letter on G
// already (a later writer of the letter would share it with P), so P's
// crossings on G' and on G are the same cells, and every cell P writes on
// G' is empty on G with side cells whose letters (F1) are still there:
//   (G1) C(P on G') = C(P on G) and U(P on G') >= U(P on G).
// A group none of whose words has an accepted probe is never placed; S
// without it still holds every placed word, so the grouping is redone until
// every group has one. Then at most |S| words join: O.words = k + |S|.
//
// The D that matter place all of S. Per group g let umin(g) be the smallest
// U of its probes; by G1 the first row of g adds at least umin(g) and the
// other rows add at least 0, so U_D >= U + sum umin(g) = O.unwanted. When
// U_D equals it, every first row P_g has U(P on G) = umin(g) exactly:
//   surface: D's box holds N's box grown by P_g, for every g, so S_D is at
//     least the largest over groups of the smallest such box among the
//     probes with U = umin(g); and a word of length L spans L + 2 cells one
//     way, so S_D >= min(max(W, L+2) * H, W * max(H, L+2)) for the longest
//     word of S;
//   crossings: a one-word group meets no other new word (it shares no
//     letter with one), so by G1 its crossings are exactly those of its
//     probe: at most the largest among its probes with U = umin(g). The
//     other words' crossings are bounded in newCrossingsAtMost, by letters
//     (F2: each joins a new occurrence to a cell of G that one word covers,
//     or to an occurrence in another new word) and by pairs (two straight
//     words meet in at most one cell). There, a new word w meets old cells
//     at most as often as its best probe does: if it meets any, it lies
//     across an old row, so it is one of its probes, accepted on G (F3),
//     and the old letters it meets are letters of G.
//
// The quick bound is the same argument with S = every unplaced word taken
// as one group, without probes: nothing but the counts of N and the letters.
#include "search/subtree_bound.h"

#include <algorithm>
#include <bit>

#include "search/best_selection.h"
#include "search/candidate_enumeration.h"
#include "search/fast_evaluation.h"
#include "search/grid_evaluation.h"
#include "search/search_engine.h"

namespace arrowgrid {

namespace {

int32_t letterKind(uint8_t code) { return code == '-' ? 26 : code - 'A'; }

const uint8_t* lettersOf(const ArrangementSearch& search, int32_t wordNumber) {
  return search.letters.letters.data() + search.letters.offset[static_cast<size_t>(wordNumber)];
}

int32_t lengthOf(const ArrangementSearch& search, int32_t wordNumber) {
  return search.letters.length[static_cast<size_t>(wordNumber)];
}

uint64_t unplacedWords(const ArrangementSearch& search) {
  uint64_t unplaced = enumeration_detail::allWordBits(search.letters.wordCount);
  for (int32_t r = 1; r <= search.state.placedCount; ++r) {
    unplaced &= ~enumeration_detail::wordBit(search.table.rows[static_cast<size_t>(r)].wordNumber);
  }
  return unplaced;
}

// The most crossings that `words`, all placed, can add. Per letter kind l,
// with o single cells of l on the grid, N occurrences of l in the words and
// M of them in the word that holds most: a crossing joins a new occurrence
// to a single cell (y of them, y <= min(o, N)) or to an occurrence in
// another word (z, and a word never crosses itself, so z <= (N - y) -
// max(0, M - y) as well as (N - y) / 2). y + z grows with y, so its largest
// value is at y = min(o, N). Over all letters: two words cross at most once,
// so the crossings between new words number at most the pairs of them that
// share a letter, and those of a new word with old rows at most the old
// rows that share a letter with it, and its length; oldCrossings, when
// given, caps the latter further per word.
int32_t newCrossingsAtMost(const LevelLetters& level, const BoundTables& tables, uint64_t words,
                           const std::array<int32_t, MAX_WORDS + 1>* oldCrossings = nullptr) {
  std::array<int32_t, LETTER_KINDS> occurrences{};
  std::array<int32_t, LETTER_KINDS> most{};
  int32_t oldRowsAtMost = 0;  // crossings of new words with old rows
  int32_t pairsAtMost = 0;    // crossings between new words
  for (uint64_t rest = words; rest != 0; rest &= rest - 1) {
    const auto w = static_cast<size_t>(std::countr_zero(rest));
    const auto& count = tables.letterCount[w];
    for (uint32_t kinds = tables.letterMask[w]; kinds != 0; kinds &= kinds - 1) {
      const auto l = static_cast<size_t>(std::countr_zero(kinds));
      occurrences[l] += count[l];
      most[l] = std::max(most[l], count[l]);
    }
    int32_t old = std::min(tables.length[w], level.rowsSharing[w]);
    if (oldCrossings != nullptr) old = std::min(old, (*oldCrossings)[w]);
    oldRowsAtMost += old;
    pairsAtMost += std::popcount(tables.sharing[w] & words & (~uint64_t{0} << w));
  }
  int32_t joint = 0;  // the per-letter maxima of y + z
  int32_t reusesAtMost = 0;
  int32_t pairedAtMost = 0;
  for (size_t l = 0; l < LETTER_KINDS; ++l) {
    const int32_t n = occurrences[l];
    const int32_t y = std::min(level.uncrossed[l], n);
    const int32_t rest = n - y;
    joint += y + std::min(rest / 2, rest - std::max(0, most[l] - y));
    reusesAtMost += y;
    pairedAtMost += std::min(n / 2, n - most[l]);
  }
  return std::min(joint, std::min(reusesAtMost, oldRowsAtMost) + std::min(pairedAtMost, pairsAtMost));
}

// The smallest surface of a box that holds `box` and a span of `span` cells
// one way or the other.
int64_t surfaceWithSpan(const GridBox& box, int32_t span) {
  const int64_t w = box.width;
  const int64_t h = box.height;
  return std::min(std::max<int64_t>(w, span) * h, w * std::max<int64_t>(h, span));
}

int32_t longestWord(const ArrangementSearch& search, uint64_t words) {
  int32_t longest = 0;
  for (uint64_t rest = words; rest != 0; rest &= rest - 1) {
    longest = std::max(longest, lengthOf(search, std::countr_zero(rest)));
  }
  return longest;
}

// What the probes of one word found: the smallest unwanted count and, among
// the probes with that count, the most crossings and the smallest surface;
// and the most crossings of any probe. No default values: the per-word
// arrays are filled only for the words at hand, not cleared in whole.
struct WordProbes {
  bool any;
  int32_t unwanted;
  int32_t crossings;
  int64_t surface;
  int32_t crossingsOfAny;
};

void noteProbe(WordProbes& found, int32_t unwanted, int32_t crossings, int64_t surface) {
  if (!found.any || unwanted < found.unwanted) {
    found = WordProbes{true, unwanted, crossings, surface, found.crossingsOfAny};
  } else if (unwanted == found.unwanted) {
    found.crossings = std::max(found.crossings, crossings);
    found.surface = std::min(found.surface, surface);
  }
  found.crossingsOfAny = std::max(found.crossingsOfAny, crossings);
}

// Whether writing `written` can change a cell that `reader` reads: its
// arrow, letters, terminator and the side cells of its letters.
bool rowTouches(const Placement& reader, int32_t readerLength, const Placement& written,
                int32_t writtenLength) {
  const bool readerAcross = reader.direction == DIR_HORIZONTAL;
  const bool writtenAcross = written.direction == DIR_HORIZONTAL;
  const int32_t rx0 = readerAcross ? reader.x : reader.x - 1;
  const int32_t rx1 = readerAcross ? reader.x + readerLength + 1 : reader.x + 1;
  const int32_t ry0 = readerAcross ? reader.y - 1 : reader.y;
  const int32_t ry1 = readerAcross ? reader.y + 1 : reader.y + readerLength + 1;
  const int32_t wx1 = writtenAcross ? written.x + writtenLength + 1 : written.x;
  const int32_t wy1 = writtenAcross ? written.y : written.y + writtenLength + 1;
  return written.x <= rx1 && wx1 >= rx0 && written.y <= ry1 && wy1 >= ry0;
}

// Probes every row that could join the arrangement in rows 1..k next, notes
// the accepted ones per word and keeps them as level k's list. A row across
// rows 1..k-1 accepted now was accepted on the parent's grid too (F3), so
// when the parent's list is known only its rows and those across row k are
// tried; and a row of that list that reads no cell row k wrote adds what it
// added to the parent.
void probeNextRows(ArrangementSearch& search, BoundLevels& levels, uint64_t unplaced,
                   const ArrangementScore& node, std::array<WordProbes, MAX_WORDS + 1>& found) {
  const int32_t k = search.state.placedCount;
  const GridBox box = search.evaluation.grid.box;
  std::vector<ProbedRow>& accepted = levels.accepted;
  accepted.resize(levels.acceptedEnd[static_cast<size_t>(k - 1)]);
  auto keep = [&](const Placement& row, int32_t unwanted, int32_t crossings) {
    const int64_t surface = boxSurface(boxWithRow(box, row, lengthOf(search, row.wordNumber)));
    noteProbe(found[static_cast<size_t>(row.wordNumber)], unwanted, crossings, surface);
    accepted.push_back(ProbedRow{row, unwanted, crossings});
  };
  auto tryRow = [&](const Placement& row) {
    ++levels.probes;
    const RowProbe probe = probeRowOnTop(search, row);
    if (probe.outcome != EvaluationOutcome::Accepted) return;
    keep(row, probe.unwantedNeighbourhoods - node.unwantedNeighbourhoods, probe.crossings - node.crossings);
  };
  auto tryAcross = [&](int32_t crossedRow) {
    const Placement crossed = search.table.rows[static_cast<size_t>(crossedRow)];
    const uint8_t* crossedWord = lettersOf(search, crossed.wordNumber);
    const int32_t crossedLength = lengthOf(search, crossed.wordNumber);
    for (uint64_t rest = unplaced; rest != 0; rest &= rest - 1) {
      const int32_t w = std::countr_zero(rest);
      const uint8_t* word = lettersOf(search, w);
      const int32_t length = lengthOf(search, w);
      for (int32_t letterPos = 1; letterPos <= length; ++letterPos) {
        for (int32_t crossedPos = 1; crossedPos <= crossedLength; ++crossedPos) {
          if (crossedWord[crossedPos - 1] != word[letterPos - 1]) continue;
          tryRow(placementAcross(crossed, Candidate{w, letterPos, crossedRow, crossedPos}));
        }
      }
    }
  };
  if (k >= 2 && levels.acceptedKnown[static_cast<size_t>(k - 1)]) {
    const Placement newest = search.table.rows[static_cast<size_t>(k)];
    const int32_t newestLength = lengthOf(search, newest.wordNumber);
    const size_t from = levels.acceptedEnd[static_cast<size_t>(k - 2)];
    const size_t to = levels.acceptedEnd[static_cast<size_t>(k - 1)];
    for (size_t i = from; i < to; ++i) {
      const ProbedRow parent = accepted[i];  // a copy: the list grows meanwhile
      if ((unplaced & enumeration_detail::wordBit(parent.row.wordNumber)) == 0) continue;
      if (rowTouches(parent.row, lengthOf(search, parent.row.wordNumber), newest, newestLength)) {
        tryRow(parent.row);
      } else {
        keep(parent.row, parent.unwanted, parent.crossings);
      }
    }
    tryAcross(k);
  } else {
    for (int32_t r = 1; r <= k; ++r) tryAcross(r);
  }
  levels.acceptedEnd[static_cast<size_t>(k)] = accepted.size();
  levels.acceptedKnown[static_cast<size_t>(k)] = true;
}

// The groups of `words`: words linked by chains of shared letters. Returns
// the number of groups; group[w] numbers them from 0.
int32_t groupWords(const BoundTables& tables, uint64_t words, std::array<int32_t, MAX_WORDS + 1>& group) {
  int32_t groups = 0;
  uint64_t left = words;
  while (left != 0) {
    const int32_t seed = std::countr_zero(left);
    uint64_t members = enumeration_detail::wordBit(seed);
    uint32_t letters = tables.letterMask[static_cast<size_t>(seed)];
    left &= ~members;
    for (bool grew = true; grew;) {
      grew = false;
      for (uint64_t rest = left; rest != 0; rest &= rest - 1) {
        const int32_t w = std::countr_zero(rest);
        if ((tables.letterMask[static_cast<size_t>(w)] & letters) == 0) continue;
        members |= enumeration_detail::wordBit(w);
        letters |= tables.letterMask[static_cast<size_t>(w)];
        left &= ~enumeration_detail::wordBit(w);
        grew = true;
      }
    }
    for (uint64_t rest = members; rest != 0; rest &= rest - 1)
      group[static_cast<size_t>(std::countr_zero(rest))] = groups;
    ++groups;
  }
  return groups;
}

}  // namespace

void buildBoundTables(const WordLetters& words, BoundTables& tables) {
  tables = BoundTables{};
  tables.wordCount = words.wordCount;
  for (int32_t w = 1; w <= words.wordCount; ++w) {
    const int32_t length = words.length[static_cast<size_t>(w)];
    tables.totalLetters += length;
    for (int32_t i = 0; i < length; ++i) {
      const int32_t l =
          letterKind(words.letters[static_cast<size_t>(words.offset[static_cast<size_t>(w)] + i)]);
      tables.letterMask[static_cast<size_t>(w)] |= uint32_t{1} << l;
      ++tables.letterCount[static_cast<size_t>(w)][static_cast<size_t>(l)];
    }
    tables.length[static_cast<size_t>(w)] = length;
  }
  for (int32_t w = 1; w <= words.wordCount; ++w) {
    for (int32_t v = 1; v <= words.wordCount; ++v) {
      if (v != w &&
          (tables.letterMask[static_cast<size_t>(w)] & tables.letterMask[static_cast<size_t>(v)]) != 0) {
        tables.sharing[static_cast<size_t>(w)] |= enumeration_detail::wordBit(v);
      }
    }
  }
}

void recordLevelLetters(const ArrangementSearch& search, const BoundTables& tables, BoundLevels& levels,
                        int32_t level) {
  const Placement& row = search.table.rows[static_cast<size_t>(level)];
  const int32_t length = lengthOf(search, row.wordNumber);
  const uint8_t* word = lettersOf(search, row.wordNumber);
  LevelLetters& record = levels.levels[static_cast<size_t>(level)];
  record = levels.levels[static_cast<size_t>(level - 1)];
  // A new arrangement at this level: its list of next rows is not known yet.
  levels.acceptedKnown[static_cast<size_t>(level)] = false;
  levels.acceptedEnd[static_cast<size_t>(level)] = levels.acceptedEnd[static_cast<size_t>(level - 1)];
  record.placedLetters += length;
  const uint32_t rowLetters = tables.letterMask[static_cast<size_t>(row.wordNumber)];
  for (uint64_t sharing = tables.sharing[static_cast<size_t>(row.wordNumber)]; sharing != 0;
       sharing &= sharing - 1) {
    ++record.rowsSharing[static_cast<size_t>(std::countr_zero(sharing))];
  }
  const auto& count = tables.letterCount[static_cast<size_t>(row.wordNumber)];
  for (uint32_t kinds = rowLetters; kinds != 0; kinds &= kinds - 1) {
    const auto l = static_cast<size_t>(std::countr_zero(kinds));
    record.uncrossed[l] += count[l];
  }
  // The row's crossings: each earlier row across it whose letters meet its
  // letters (F2: only those). The cell was one word's and is now two
  // words': one single cell fewer, and the new letter adds none.
  for (int32_t r = 1; r < level; ++r) {
    const Placement& other = search.table.rows[static_cast<size_t>(r)];
    if (other.direction == row.direction) continue;
    const int32_t otherLength = lengthOf(search, other.wordNumber);
    const bool horizontal = row.direction == DIR_HORIZONTAL;
    const int32_t along = horizontal ? other.x - row.x : other.y - row.y;   // letter index in row
    const int32_t across = horizontal ? row.y - other.y : row.x - other.x;  // letter index in other
    if (along < 1 || along > length || across < 1 || across > otherLength) continue;
    record.uncrossed[static_cast<size_t>(letterKind(word[along - 1]))] -= 2;
  }
}

ArrangementScore quickBoundBelow(const ArrangementSearch& search, const BoundTables& tables,
                                 const BoundLevels& levels) {
  // S = every unplaced word, one group: no probe, no G1.
  const ArrangementScore node = lastEvaluationScore(search);
  const uint64_t unplaced = unplacedWords(search);
  const LevelLetters& level = levels.levels[static_cast<size_t>(search.state.placedCount)];
  ArrangementScore bound = node;
  bound.wordsPlaced += std::popcount(unplaced);
  bound.crossings += newCrossingsAtMost(level, tables, unplaced);
  bound.surface =
      std::max(node.surface, surfaceWithSpan(search.evaluation.grid.box, longestWord(search, unplaced) + 2));
  return bound;
}

ArrangementScore probedBoundBelow(ArrangementSearch& search, const BoundTables& tables, BoundLevels& levels) {
  const ArrangementScore node = lastEvaluationScore(search);
  const GridBox box = search.evaluation.grid.box;
  const uint64_t unplaced = unplacedWords(search);

  std::array<WordProbes, MAX_WORDS + 1> probes;
  for (uint64_t rest = unplaced; rest != 0; rest &= rest - 1) {
    probes[static_cast<size_t>(std::countr_zero(rest))] = WordProbes{false, 0, 0, 0, 0};
  }
  probeNextRows(search, levels, unplaced, node, probes);
  uint64_t probed = 0;  // words with an accepted probe
  for (uint64_t rest = unplaced; rest != 0; rest &= rest - 1) {
    const int32_t w = std::countr_zero(rest);
    if (probes[static_cast<size_t>(w)].any) probed |= enumeration_detail::wordBit(w);
  }

  // Drop the groups without a probe until every group has one.
  std::array<int32_t, MAX_WORDS + 1> group;  // set for the words grouped
  uint64_t words = unplaced;
  int32_t groups = 0;
  for (;;) {
    groups = groupWords(tables, words, group);
    uint64_t reached = 0;  // groups with a probed word, as bits
    for (uint64_t rest = words & probed; rest != 0; rest &= rest - 1) {
      reached |= uint64_t{1} << group[static_cast<size_t>(std::countr_zero(rest))];
    }
    uint64_t kept = 0;
    for (uint64_t rest = words; rest != 0; rest &= rest - 1) {
      const int32_t w = std::countr_zero(rest);
      if ((reached >> group[static_cast<size_t>(w)]) & 1) kept |= enumeration_detail::wordBit(w);
    }
    if (kept == words) break;
    words = kept;
  }

  // Per group: umin, the surface of its cheapest first rows, its size.
  struct GroupProbes {
    WordProbes best;
    int32_t size;
  };
  std::array<GroupProbes, MAX_WORDS + 1> perGroup;
  for (int32_t g = 0; g < groups; ++g) perGroup[static_cast<size_t>(g)] = GroupProbes{{false, 0, 0, 0, 0}, 0};
  for (uint64_t rest = words; rest != 0; rest &= rest - 1) {
    const int32_t w = std::countr_zero(rest);
    GroupProbes& g = perGroup[static_cast<size_t>(group[static_cast<size_t>(w)])];
    ++g.size;
    const WordProbes& p = probes[static_cast<size_t>(w)];
    if (!p.any) continue;
    if (!g.best.any || p.unwanted < g.best.unwanted) {
      g.best = p;
    } else if (p.unwanted == g.best.unwanted) {
      g.best.crossings = std::max(g.best.crossings, p.crossings);
      g.best.surface = std::min(g.best.surface, p.surface);
    }
  }

  ArrangementScore bound = node;
  bound.wordsPlaced += std::popcount(words);
  bound.surface = std::max(node.surface, surfaceWithSpan(box, longestWord(search, words) + 2));
  uint64_t pairedWords = 0;  // words of groups of two or more
  for (int32_t g = 0; g < groups; ++g) {
    const GroupProbes& probesOfGroup = perGroup[static_cast<size_t>(g)];
    if (probesOfGroup.size == 0) continue;
    bound.unwantedNeighbourhoods += probesOfGroup.best.unwanted;
    bound.surface = std::max(bound.surface, probesOfGroup.best.surface);
    if (probesOfGroup.size == 1) bound.crossings += probesOfGroup.best.crossings;
  }
  for (uint64_t rest = words; rest != 0; rest &= rest - 1) {
    const int32_t w = std::countr_zero(rest);
    if (perGroup[static_cast<size_t>(group[static_cast<size_t>(w)])].size > 1) {
      pairedWords |= enumeration_detail::wordBit(w);
    }
  }
  std::array<int32_t, MAX_WORDS + 1> oldCrossings;  // set for the paired words
  for (uint64_t rest = pairedWords; rest != 0; rest &= rest - 1) {
    const auto w = static_cast<size_t>(std::countr_zero(rest));
    oldCrossings[w] = probes[w].crossingsOfAny;
  }
  bound.crossings += newCrossingsAtMost(levels.levels[static_cast<size_t>(search.state.placedCount)], tables,
                                        pairedWords, &oldCrossings);
  return bound;
}

}  // namespace arrowgrid
