// Word files in their three shapes: what each keeps of a word and its clue,
// and every refusal with the place and the reason.
#include <gtest/gtest.h>

#include <fstream>

#include "puzzle/word_file.h"
#include "support/temporary_folder.h"

namespace arrowgrid {
namespace {

WordFileText read(const std::string& text) { return readWordText(text, "list"); }

// Every word as "PLACE|TEXT|CLUE", and the warnings after them.
std::vector<std::string> summary(const WordFileText& file) {
  std::vector<std::string> lines;
  for (const WordText& word : file.words) lines.push_back(word.place + "|" + word.text + "|" + word.clue);
  for (const std::string& warning : file.warnings) lines.push_back("warning " + warning);
  return lines;
}

TEST(WordFile, KeepsWordsWithTheirCluesAsTyped) {
  const std::string clue200(200, 'x');
  const struct {
    std::string text;
    std::vector<std::string> expected;
  } cases[] = {
      // A plain list: no clue, no warning, as before clues existed.
      {"\xEF\xBB\xBF"
       "chat\r\n\n# animals\n  chien  \n\t\nvache",
       {"list:1|chat|", "list:4|chien|", "list:6|vache|"}},
      // Headers in any case are skipped; tabs in a row are one separator.
      {"MOT\tDÉFINITION\nchat\t\tPetit félin  \r\nchien\t Ami fidèle\n",
       {"list:2|chat|Petit félin", "list:3|chien|Ami fidèle"}},
      {"# list\nword\tclue\nrat\tRongeur\n", {"list:3|rat|Rongeur"}},
      {"Mot\tdefinition\nrat\tRongeur\n", {"list:2|rat|Rongeur"}},
      // A header is the first word line only.
      {"rat\tRongeur\nmot\tdéfinition\n", {"list:1|rat|Rongeur", "list:2|mot|définition"}},
      // e and a combining acute composed to é; the longest clue allowed.
      {"ete\tEte\xCC\x81 en pente\npic\t" + clue200 + "\n",
       {"list:1|ete|Eté en pente", "list:2|pic|" + clue200}},
      // Words without a clue among words with one are warned of.
      {"chat\tFélin\nchien\ncoq\t\n",
       {"list:1|chat|Félin", "list:2|chien|", "list:3|coq|",
        "warning list:2: word 'chien' has no clue; its cell stays empty",
        "warning list:3: word 'coq' has no clue; its cell stays empty"}},
      // JSON, after blank lines; unknown keys ignored; a null clue is none.
      {"\n  [ {\"answer\": \"Chat\", \"clue\": \"Petit félin\", \"x\": 1},\n"
       "    {\"answer\": \"chien\", \"clue\": null}, {\"answer\": \"rat\"} ]\n",
       {"list: item 1|Chat|Petit félin", "list: item 2|chien|", "list: item 3|rat|",
        "warning list: item 2: word 'chien' has no clue; its cell stays empty",
        "warning list: item 3: word 'rat' has no clue; its cell stays empty"}},
      {"[]", {}},
      // Carriage returns alone end lines as line feeds do, and with one.
      {"rat\tA\rpic\tB\r\rcoq\tC\r\n\r\nruse\tD",
       {"list:1|rat|A", "list:2|pic|B", "list:4|coq|C", "list:6|ruse|D"}},
      // No-break spaces around a word or a clue are blanks, in both shapes.
      {"\xC2\xA0"
       "chat\xC2\xA0\t\xC2\xA0Petit f\xC3\xA9lin\xC2\xA0\n",
       {"list:1|chat|Petit félin"}},
      {"[{\"answer\": \" chat\\u00a0\", \"clue\": \"\\u00a0Petit félin \"}]",
       {"list: item 1|chat|Petit félin"}},
  };
  for (const auto& [text, expected] : cases) {
    const WordFileText file = read(text);
    EXPECT_TRUE(file.ok) << text << ": " << file.error;
    EXPECT_EQ(summary(file), expected) << text;
  }
}

TEST(WordFile, RefusesABadLineOrItemSayingWhereAndWhy) {
  std::string fiftyOne, fiftyOneItems = "[";
  for (int i = 0; i < 51; ++i) {
    fiftyOne += "mot\n";
    fiftyOneItems += std::string(i == 0 ? "" : ",") + "{\"answer\": \"mot\"}";
  }
  const std::pair<std::string, std::string> cases[] = {
      {"chat\tPetit\tfélin\n", "list:1: clue of 'chat': control character U+0009"},
      {"chat\nchien\tAmi\x1B[31m\n", "list:2: clue of 'chien': control character U+001B"},
      {"chat\tPetit \xC2\x85 félin\n", "list:1: clue of 'chat': control character U+0085"},
      {"chat\tPetit\xE2\x80\xA8"
       "félin\n",
       "list:1: clue of 'chat': line separator U+2028"},
      {"chat\tF\xC3lin\n", "list:1: clue of 'chat': byte \\xC3 (not UTF-8)"},
      {"pic\t" + std::string(201, 'x') + "\n",
       "list:1: clue of 'pic': 201 characters; at most 200 are allowed"},
      {"chat\n" + std::string(4097, 'a') + "\n", "list: line 2 too long (more than 4096 bytes)"},
      {std::string(5000, '\0'), "list: line 1 too long (more than 4096 bytes)"},
      {fiftyOne, "list:51: more than 50 words; at most 50 are allowed"},
      {fiftyOneItems + "]", "list: item 51: more than 50 words; at most 50 are allowed"},
      {"\n[{\"answer\": \"chat\",\n  \"clue\": 'x'}]", "list:3:11: not valid JSON"},
      {"[{\"answer\": \"ch\xC3t\"}]", "list:1:17: not valid JSON"},
      {"[1e999]", "list: not valid JSON (a number out of range)"},
      {"[{\"answer\": \"chat\"}] {}", "list:1:22: not valid JSON"},
      {"[\"chat\"]", "list: item 1: not an object with \"answer\" and \"clue\""},
      {"[{\"clue\": \"Félin\"}]", "list: item 1: no \"answer\" string"},
      {"[{\"answer\": 7}]", "list: item 1: no \"answer\" string"},
      {"[{\"answer\": \"chat\", \"clue\": 3}]", "list: item 1: \"clue\" is neither a string nor null"},
      {"[{\"answer\": \"chat\", \"clue\": \"a\\u0000b\"}]",
       "list: item 1: clue of 'chat': control character U+0000"},
      {"[" + std::string(WORD_JSON_MAX_BYTES, ' ') + "]",
       "list: more than 1048576 bytes; too large for a list"},
      {"\r[{\"answer\": \"chat\",\r  \"clue\": 'x'}]", "list:3:11: not valid JSON"},
      {"{\"answer\": \"chat\", \"clue\": \"F\u00e9lin\"}",
       "list: a JSON object, not a list of {\"answer\", \"clue\"} objects"},
      // Noncharacters: valid UTF-8 that the printing library refuses.
      {"chat\tF\xEF\xBF\xBFlin\n", "list:1: clue of 'chat': noncharacter U+FFFF"},
      {"[{\"answer\": \"chat\", \"clue\": \"F\\ud83f\\udffe\"}]",
       "list: item 1: clue of 'chat': noncharacter U+1FFFE"},
      // Other encodings, by their byte order mark or their zero bytes.
      {std::string("\xFF\xFE\0\0c\0\0\0", 8), "list: UTF-32LE text; save the list as UTF-8"},
      {std::string("\xFE\xFF\0c\0h", 6), "list: UTF-16BE text; save the list as UTF-8"},
      {std::string("c\0h\0a\0t\0\r\0\n\0", 12), "list: UTF-16LE text; save the list as UTF-8"},
      {std::string("\0\0\0c\0\0\0h", 8), "list: UTF-32BE text; save the list as UTF-8"},
  };
  for (const auto& [text, expected] : cases) {
    const WordFileText file = read(text);
    EXPECT_FALSE(file.ok) << text.substr(0, 80);
    EXPECT_EQ(file.error, expected) << text.substr(0, 80);
  }
}

// A file read as its bytes, or refused with the reason of the call that
// failed.
TEST(WordFile, FilesReadAsTheirBytesOrSayWhyNot) {
  test_support::TemporaryFolder folder;
  // The parser leaves errno at ERANGE after these numbers: a stale errno
  // once made this file unreadable.
  const std::string list = folder.file("list.json");
  std::ofstream(list)
      << "[{\"answer\": \"chat\", \"clue\": \"Félin\", \"id\": 18446744073709551616, \"x\": 1e-320}]";
  EXPECT_EQ(summary(readWordFile(list)), std::vector<std::string>{list + ": item 1|chat|Félin"});
  const WordFileText folderRead = readWordFile(folder.path);
  EXPECT_TRUE(folderRead.unreadable);
  EXPECT_EQ(folderRead.error, folder.path + ": cannot be read: Is a directory");
}

TEST(WordFile, CluesFollowTheirWordsIntoTheListByWordNumber) {
  const WordFileText file = read("chat\tFélin\nchien\n");
  const WordListInput input = buildWordList(file.words);
  ASSERT_TRUE(input.ok);
  EXPECT_EQ(input.clues, (std::vector<std::string>{"", "Félin", ""}));
}

}  // namespace
}  // namespace arrowgrid
