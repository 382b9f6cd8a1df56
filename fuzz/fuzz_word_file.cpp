// Word files of any bytes: read without fault or unbounded growth; a list
// read has at most the words allowed, each clue already in the form a
// second check keeps unchanged; a refusal always says why.
#include <cstdint>
#include <string_view>

#include "fuzz_check.h"
#include "puzzle/clue_text.h"
#include "puzzle/word_file.h"

using namespace arrowgrid;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const WordFileText file = readWordText(std::string_view(reinterpret_cast<const char*>(data), size), "fuzz");
  FUZZ_CHECK(file.ok == file.error.empty());
  FUZZ_CHECK(!file.unreadable);
  FUZZ_CHECK(file.words.size() <= static_cast<size_t>(MAX_WORDS));
  for (const WordText& word : file.words) {
    FUZZ_CHECK(static_cast<int64_t>(word.text.size()) <= WORD_JSON_MAX_BYTES);
    const CheckedClue again = checkClueText(word.clue);
    FUZZ_CHECK(again.ok && again.text == word.clue);
  }
  if (file.ok) buildWordList(file.words);
  return 0;
}
