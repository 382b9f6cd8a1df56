// initSearch and the one-time copies of the word list that the hot loops use.
#include "search/search_start.h"

#include "search/fast_evaluation.h"

namespace arrowgrid {

void buildWordLetters(const WordList& wordList, WordLetters& letters) {
  letters.wordCount = wordList.wordCount;
  letters.letters.clear();
  letters.offset.fill(0);
  letters.length.fill(0);
  letters.occupiedCells = 0;
  letters.letterSet.fill(0);
  for (auto& positions : letters.positions) positions.fill(0);
  for (int32_t w = 1; w <= wordList.wordCount; ++w) {
    const ByteString& word = wordList.words[static_cast<size_t>(w)];
    const auto wi = static_cast<size_t>(w);
    letters.offset[wi] = static_cast<int32_t>(letters.letters.size());
    letters.length[wi] = textLength(word);
    for (int32_t i = 0; i < textLength(word); ++i) {
      const auto code = static_cast<uint8_t>(word[static_cast<size_t>(i)]);
      letters.letters.push_back(code);
      const int32_t index = code - LETTER_CODE_BASE;
      letters.letterSet[wi] |= uint64_t{1} << index;
      if (textLength(word) <= POSITION_MASK_LETTERS) {
        letters.positions[wi][static_cast<size_t>(index)] |= uint64_t{1} << i;
      }
    }
    letters.occupiedCells += textLength(word) + 2;
  }
  // One spare byte so a word of length 0 beyond wordCount still has a valid
  // address; no loop reads it.
  letters.letters.push_back(0);
}

void initSearch(ArrangementSearch& search) {
  SearchState& state = search.state;
  for (int32_t r = 1; r <= search.wordList.wordCount; ++r) {
    search.table.rows[static_cast<size_t>(r)] = Placement{};
  }
  state.trialCount = 1;
  Placement& first = search.table.rows[1];
  first.wordNumber = 1;
  first.x = 0;
  first.y = 0;
  first.direction = DIR_HORIZONTAL;
  state.placedCount = 1;
  state.extendFlag = true;
  search.bestScore = ArrangementScore{1, 0, 0, textLength(search.wordList.words[1]) + 2};

  buildWordLetters(search.wordList, search.letters);
  prepareFastEvaluation(search);
}

std::unique_ptr<ArrangementSearch> startedSearch(const WordList& words, const GridFrame& frame) {
  auto search = std::make_unique<ArrangementSearch>();
  search->wordList = words;
  search->frame = frame;
  initSearch(*search);
  return search;
}

bool wordOneFitsFrame(const WordList& words, const GridFrame& frame) {
  // The box of word 1 alone, as the evaluation grows it from its start box.
  const int32_t length = words.wordCount >= 1 ? textLength(words.words[1]) : 0;
  return boxFitsFrame(GridBox{0, length + 1, -1, 1, length + 2, 3}, frame);
}

}  // namespace arrowgrid
