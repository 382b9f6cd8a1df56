// Words folded as grids write them, and the refusals that name the word,
// where it came from and the character.
#include <gtest/gtest.h>

#include "puzzle/word_input.h"

namespace arrowgrid {
namespace {

TEST(WordInput, FoldsAccentsLigaturesAndCaseKeepingTheHyphen) {
  const std::pair<const char*, const char*> cases[] = {
      {"élève", "ELEVE"},
      {"Noël", "NOEL"},
      {"garçon", "GARCON"},
      {"cœur", "COEUR"},
      {"Œuvre", "OEUVRE"},
      {"ex-æquo", "EX-AEQUO"},
      {"PÂTÉ", "PATE"},
      {"naïf", "NAIF"},
      {"où", "OU"},
      {"L'HAŸ", nullptr},
      {"aÿ", "AY"},
      {"Über", "UBER"},
      {"porte-clé", "PORTE-CLE"},
      {"ÎLE", "ILE"},
      {"côté", "COTE"},
      {"ÇA", "CA"},
  };
  for (const auto& [text, folded] : cases) {
    const FoldedWord word = foldWordText(text);
    if (folded == nullptr) {
      EXPECT_FALSE(word.ok) << text;
    } else {
      EXPECT_TRUE(word.ok) << text;
      EXPECT_EQ(word.word, folded) << text;
    }
  }
}

TEST(WordInput, NamesTheFirstCharacterThatHasNoPlace) {
  EXPECT_EQ(foldWordText("caf€").badCharacter, "'€' (U+20AC)");
  EXPECT_EQ(foldWordText("deux mots").badCharacter, "' ' (U+0020)");
  EXPECT_EQ(foldWordText("ñandu").badCharacter, "'ñ' (U+00F1)");
  EXPECT_EQ(foldWordText("a\tb").badCharacter, "U+0009");
  // Blanks that a quote would not show are named.
  EXPECT_EQ(foldWordText("porte\xC2\xA0"
                         "clé")
                .badCharacter,
            "U+00A0 (no-break space)");
  EXPECT_EQ(foldWordText("caf\xC3").badCharacter, "byte \\xC3 (not UTF-8)");
  EXPECT_EQ(foldWordText("\xC0\xAF").badCharacter, "byte \\xC0 (not UTF-8)");  // overlong '/'
}

TEST(WordInput, WordListRefusalsSayWhereAndWhy) {
  auto error = [](std::vector<WordText> words) { return buildWordList(words).error; };
  EXPECT_EQ(error({{"chat", "argument 1"}}), "1 word given; at least 2 are needed");
  EXPECT_EQ(error(std::vector<WordText>(51, WordText{"A", "x"})), "51 words given; at most 50 are allowed");
  EXPECT_EQ(error({{"chat", "list.txt:1"}, {"caf\xC3\xA9!", "list.txt:3"}}),
            "list.txt:3: word 'café!': '!' (U+0021) is not a letter or a hyphen");
  EXPECT_EQ(error({{"a\x01", "argument 1"}, {"b", "argument 2"}}),
            "argument 1: word 'a\\x01': U+0001 is not a letter or a hyphen");
  EXPECT_EQ(error({{"", "argument 1"}, {"b", "argument 2"}}), "argument 1: empty word");
  EXPECT_EQ(error({{std::string(101, 'a'), "argument 1"}, {"b", "argument 2"}}),
            "argument 1: word '" + std::string(101, 'a') + "': 101 letters; at most 100 are allowed");

  const WordListInput good =
      buildWordList({{"œil", "argument 1"}, {"île", "argument 2"}, {"œil", "argument 3"}});
  ASSERT_TRUE(good.ok);
  EXPECT_EQ(good.list.wordCount, 3);
  EXPECT_EQ(good.list.words[1], "OEIL");
  EXPECT_EQ(good.list.words[3], "OEIL");
}

}  // namespace
}  // namespace arrowgrid
