// Word list entry: the entry screen is rebuilt from scratch after every
// answer, so the list on screen always matches the words kept.
#include "interaction/word_entry.h"

#include "interaction/return_prompt.h"
#include "screen/text_screen.h"

namespace arrowgrid {

int32_t foldWord(ByteString& word) {
  int32_t untreatedCount = 0;
  for (int32_t p = 1; p <= textLength(word); ++p) {
    int32_t c = codeAt(word, p);
    if (c >= 'a' && c <= 'z') {
      c += 'A' - 'a';
      overwriteAt(word, p, characterOf(c));
    }
    if (!((c >= 'A' && c <= 'Z') || c == '-')) ++untreatedCount;
  }
  return untreatedCount;
}

namespace {

// Title, an empty row, then one "mot No" line per accepted word.
void showEntryScreen(Console& console, const WordList& wordList, const ByteString& wordLabel) {
  clearScreen(console);
  printText(console, cp437Text("entrez les mots à disposer en grille"), PrintEnding::LineEnd);
  printLineEnd(console);
  for (int32_t i = 1; i <= wordList.wordCount; ++i) {
    printText(console, wordLabel, PrintEnding::NextZone);
    printNumber(console, i, PrintEnding::NextZone);
    printText(console, wordList.words[static_cast<size_t>(i)], PrintEnding::LineEnd);
  }
}

}  // namespace

void enterWordList(Console& console, WordList& wordList) {
  const ByteString wordLabel = cp437Text("mot No");
  wordList.wordCount = 0;
  for (ByteString& word : wordList.words) word.clear();

  for (;;) {
    showEntryScreen(console, wordList, wordLabel);
    if (wordList.wordCount == MAX_WORDS) {
      printText(console, cp437Text("nombre maximum atteint"), PrintEnding::LineEnd);
    } else {
      printText(console, wordLabel, PrintEnding::NextZone);
      printNumber(console, wordList.wordCount + 1, PrintEnding::NextZone);
      ByteString answer = inputText(console, ByteString(), false);
      if (!answer.empty()) {
        const int32_t untreatedCount = foldWord(answer);
        if (untreatedCount > 0) {
          printText(console, cp437Text("ce mot contient"), PrintEnding::NoEnding);
          printNumber(console, untreatedCount, PrintEnding::NoEnding);
          printText(console, cp437Text("caractères non traités"), PrintEnding::LineEnd);
          waitForReturn(console);
        } else {
          wordList.wordCount += 1;
          wordList.words[static_cast<size_t>(wordList.wordCount)] = answer;
        }
        continue;
      }
    }

    // An empty answer, or the list is full: may entry end here?
    if (wordList.wordCount < 2) {
      printText(console, cp437Text("nombre de mots insuffisant"), PrintEnding::LineEnd);
      waitForReturn(console);
      continue;
    }
    if (wordList.wordCount >= MAX_WORDS) {
      waitForReturn(console);
      return;
    }
    printText(console, cp437Text("entrée terminée (O/N)"), PrintEnding::LineEnd);
    const ByteString answer = inputText(console, ByteString(), false);
    // Only a bare n goes back for more words; anything else, 'n ' included, ends entry.
    if (answer == "n" || answer == "N") continue;
    return;
  }
}

}  // namespace arrowgrid
