// The three shapes of a word file, read in bounded steps.
#include "puzzle/word_file.h"

#include <nlohmann/json.hpp>

#include "base/message_text.h"
#include "puzzle/clue_text.h"
#include "search/search_data.h"

namespace arrowgrid {

namespace {

constexpr int END_OF_INPUT = -1;

// Bytes of a stream a chunk at a time, so a line is looked at byte by byte
// without a call per byte into the stream.
struct ChunkReader {
  std::istream& in;
  char chunk[4096];
  std::streamsize at = 0, length = 0;
};

int nextByte(ChunkReader& reader) {
  if (reader.at == reader.length) {
    reader.in.read(reader.chunk, sizeof reader.chunk);
    reader.length = reader.in.gcount();
    reader.at = 0;
    if (reader.length <= 0) return END_OF_INPUT;
  }
  return static_cast<unsigned char>(reader.chunk[reader.at++]);
}

bool isBlank(int c) { return c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v'; }

std::string_view trimmed(std::string_view text) {
  while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
  return text;
}

std::string tooManyWords() {
  return "more than " + std::to_string(MAX_WORDS) + " words; at most " + std::to_string(MAX_WORDS) +
         " are allowed";
}

// Adds a word and its clue as typed; false with file.error when the clue
// is refused.
bool addWord(WordFileText& file, std::string_view word, std::string_view clue, const std::string& place) {
  const CheckedClue checked = checkClueText(clue);
  if (!checked.ok) {
    file.error = place + ": clue of '" + messageText(word) + "': " + checked.why;
    return false;
  }
  file.words.push_back(WordText{std::string(word), place, checked.text});
  return true;
}

// Warns of the words left without a clue in a list of clues: the player
// would find an empty clue cell. A plain list of words has none at all.
void warnMissingClues(WordFileText& file, bool listOfClues) {
  for (const WordText& word : file.words) listOfClues = listOfClues || !word.clue.empty();
  if (!listOfClues) return;
  for (const WordText& word : file.words) {
    if (word.clue.empty())
      file.warnings.push_back(word.place + ": word '" + messageText(word.text) +
                              "' has no clue; its cell stays empty");
  }
}

bool isHeader(std::string_view word, std::string_view clue) {
  const FoldedWord w = foldWordText(word);
  const FoldedWord c = foldWordText(clue);
  return w.ok && c.ok &&
         ((w.word == "MOT" && c.word == "DEFINITION") || (w.word == "WORD" && c.word == "CLUE"));
}

struct LineState {
  int64_t number = 1;
  bool firstWordLine = true;
};

// One line of a list: false with file.error when it is refused.
bool takeLine(WordFileText& file, std::string_view line, LineState& state, const std::string& name) {
  const std::string_view text = trimmed(line);
  if (text.empty() || text.front() == '#') return true;
  const size_t tab = text.find('\t');
  const std::string_view word = trimmed(text.substr(0, tab));
  std::string_view clue = tab == std::string_view::npos ? std::string_view() : text.substr(tab);
  while (!clue.empty() && (clue.front() == '\t' || clue.front() == ' ')) clue.remove_prefix(1);
  const bool first = state.firstWordLine;
  state.firstWordLine = false;
  if (first && tab != std::string_view::npos && isHeader(word, clue)) return true;
  const std::string place = name + ":" + std::to_string(state.number);
  if (static_cast<int64_t>(file.words.size()) == MAX_WORDS) {
    file.error = place + ": " + tooManyWords();
    return false;
  }
  return addWord(file, word, clue, place);
}

void readLines(ChunkReader& reader, int c, int64_t lineNumber, WordFileText& file, const std::string& name) {
  LineState state;
  state.number = lineNumber;
  std::string line;
  line.reserve(WORD_LINE_MAX_BYTES);
  for (; c != END_OF_INPUT; c = nextByte(reader)) {
    if (c == '\n') {
      if (!takeLine(file, line, state, name)) return;
      line.clear();
      ++state.number;
    } else if (static_cast<int64_t>(line.size()) == WORD_LINE_MAX_BYTES) {
      file.error = name + ": line " + std::to_string(state.number) + " too long (more than " +
                   std::to_string(WORD_LINE_MAX_BYTES) + " bytes)";
      return;
    } else {
      line.push_back(static_cast<char>(c));
    }
  }
  if (!takeLine(file, line, state, name)) return;
  warnMissingClues(file, false);
  file.ok = true;
}

// The line and column of a byte of text, for the parser's messages.
std::string positionOf(std::string_view text, size_t byte, int64_t firstLine) {
  int64_t line = firstLine;
  size_t lineStart = 0;
  for (size_t i = 0; i < byte && i < text.size(); ++i) {
    if (text[i] == '\n') ++line, lineStart = i + 1;
  }
  return std::to_string(line) + ":" + std::to_string(byte - lineStart + 1);
}

void readJsonList(ChunkReader& reader, int64_t lineNumber, WordFileText& file, const std::string& name) {
  std::string text = "[";
  for (int c = nextByte(reader); c != END_OF_INPUT; c = nextByte(reader)) {
    if (static_cast<int64_t>(text.size()) == WORD_JSON_MAX_BYTES) {
      file.error =
          name + ": more than " + std::to_string(WORD_JSON_MAX_BYTES) + " bytes; too large for a list";
      return;
    }
    text.push_back(static_cast<char>(c));
  }
  nlohmann::json list;
  try {
    list = nlohmann::json::parse(text);
  } catch (const nlohmann::json::parse_error& error) {
    // error.byte counts from 1 and points just past the offending byte.
    file.error =
        name + ":" + positionOf(text, error.byte == 0 ? 0 : error.byte - 1, lineNumber) + ": not valid JSON";
    return;
  } catch (const nlohmann::json::exception&) {
    file.error = name + ": not valid JSON (a number out of range)";
    return;
  }
  if (!list.is_array()) {
    file.error = name + ": a JSON list of {\"answer\": ..., \"clue\": ...} objects is expected";
    return;
  }
  int64_t number = 0;
  for (const nlohmann::json& item : list) {
    const std::string place = name + ": item " + std::to_string(++number);
    if (number > MAX_WORDS) {
      file.error = place + ": " + tooManyWords();
      return;
    }
    if (!item.is_object()) {
      file.error = place + ": not an object with \"answer\" and \"clue\"";
      return;
    }
    const auto answer = item.find("answer");
    if (answer == item.end() || !answer->is_string()) {
      file.error = place + ": no \"answer\" string";
      return;
    }
    const auto clue = item.find("clue");
    if (clue != item.end() && !clue->is_string() && !clue->is_null()) {
      file.error = place + ": \"clue\" is neither a string nor null";
      return;
    }
    const std::string noClue;
    const std::string& clueText =
        clue != item.end() && clue->is_string() ? clue->get_ref<const std::string&>() : noClue;
    if (!addWord(file, answer->get_ref<const std::string&>(), clueText, place)) return;
  }
  warnMissingClues(file, true);
  file.ok = true;
}

}  // namespace

WordFileText readWordFile(std::istream& in, const std::string& name) {
  WordFileText file;
  ChunkReader reader{in, {}, 0, 0};
  int c = nextByte(reader);
  // A byte order mark some editors put first.
  if (c == 0xEF && reader.length >= 3 && reader.chunk[1] == '\xBB' && reader.chunk[2] == '\xBF') {
    reader.at = 3;
    c = nextByte(reader);
  }
  int64_t lineNumber = 1;
  for (; isBlank(c) || c == '\n'; c = nextByte(reader)) lineNumber += c == '\n';
  if (c == '[') {
    readJsonList(reader, lineNumber, file, name);
  } else {
    readLines(reader, c, lineNumber, file, name);
  }
  return file;
}

}  // namespace arrowgrid
