// The three shapes of a word file, read in bounded steps.
#include "puzzle/word_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <nlohmann/json.hpp>

#include "base/message_text.h"
#include "puzzle/clue_text.h"
#include "search/search_data.h"

namespace arrowgrid {

namespace {

constexpr int END_OF_INPUT = -1;

// Bytes from a descriptor or from memory, a chunk at a time, so a line is
// looked at byte by byte without a system call per byte.
struct ByteReader {
  int descriptor = -1;      // read(2) from it; -1: from memory
  std::string_view memory;  // what memory holds still unread
  char chunk[4096];
  size_t at = 0, length = 0;
  bool ended = false;  // no more bytes: the input's end, or a failure
  int failure = 0;     // errno of the read that failed, 0 while none has
};

// Fills the chunk as far as the input goes: a pipe may give a few bytes a
// read, and the encoding is told from the first chunk.
void fillChunk(ByteReader& reader) {
  reader.at = 0;
  reader.length = 0;
  if (reader.descriptor < 0) {
    reader.length = std::min(sizeof reader.chunk, reader.memory.size());
    reader.memory.copy(reader.chunk, reader.length);
    reader.memory.remove_prefix(reader.length);
    reader.ended = reader.length == 0;
    return;
  }
  while (reader.length < sizeof reader.chunk && !reader.ended) {
    const ssize_t got =
        read(reader.descriptor, reader.chunk + reader.length, sizeof reader.chunk - reader.length);
    if (got > 0) {
      reader.length += static_cast<size_t>(got);
    } else if (got == 0) {
      reader.ended = true;
    } else if (errno != EINTR) {
      reader.failure = errno;
      reader.ended = true;
    }
  }
}

int nextByte(ByteReader& reader) {
  if (reader.at == reader.length) {
    if (reader.ended) return END_OF_INPUT;
    fillChunk(reader);
    if (reader.length == 0) return END_OF_INPUT;
  }
  return static_cast<unsigned char>(reader.chunk[reader.at++]);
}

// A line ends at a line feed, a carriage return (old Mac files end lines
// so) or the two together: a line feed right after a carriage return is
// the second half of one line end, neither a line end nor a byte of a line.
bool isLineEnd(int c) { return c == '\n' || c == '\r'; }
bool isSecondHalfOfCrLf(int c, int previous) { return c == '\n' && previous == '\r'; }

bool isBlank(int c) { return c == ' ' || c == '\t' || c == '\f' || c == '\v'; }

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
  const std::string_view text = withoutBlanksAround(line);
  if (text.empty() || text.front() == '#') return true;
  const size_t tab = text.find('\t');
  const std::string_view word = withoutBlanksAround(text.substr(0, tab));
  const std::string_view clue =
      tab == std::string_view::npos ? std::string_view() : withoutBlanksAround(text.substr(tab));
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

void readLines(ByteReader& reader, int c, int64_t lineNumber, WordFileText& file, const std::string& name) {
  LineState state;
  state.number = lineNumber;
  std::string line;
  line.reserve(WORD_LINE_MAX_BYTES);
  for (int previous = 0; c != END_OF_INPUT; previous = c, c = nextByte(reader)) {
    if (isSecondHalfOfCrLf(c, previous)) continue;
    if (isLineEnd(c)) {
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
    const int c = static_cast<unsigned char>(text[i]);
    if (isLineEnd(c) && !isSecondHalfOfCrLf(c, i == 0 ? 0 : text[i - 1])) ++line;
    if (isLineEnd(c)) lineStart = i + 1;
  }
  return std::to_string(line) + ":" + std::to_string(byte - lineStart + 1);
}

// A JSON text from its first byte, '[' for a list; a lone object, the
// shape of one item, is refused as what it is.
void readJsonList(ByteReader& reader, int first, int64_t lineNumber, WordFileText& file,
                  const std::string& name) {
  std::string text(1, static_cast<char>(first));
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
    file.error = name + ": a JSON object, not a list of {\"answer\", \"clue\"} objects";
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
    if (!addWord(file, withoutBlanksAround(answer->get_ref<const std::string&>()), clueText, place)) return;
  }
  warnMissingClues(file, true);
  file.ok = true;
}

// The encodings a list is refused in, told by their byte order mark or by
// the zero bytes that an ASCII character has in them ('?': any byte but
// zero). A mark first: UTF-32's little-endian mark starts as UTF-16's does.
struct WideEncoding {
  std::string_view start;
  const char* name;
};
constexpr WideEncoding WIDE_ENCODINGS[] = {
    {std::string_view("\xFF\xFE\0\0", 4), "UTF-32LE"},
    {std::string_view("\0\0\xFE\xFF", 4), "UTF-32BE"},
    {"\xFF\xFE", "UTF-16LE"},
    {"\xFE\xFF", "UTF-16BE"},
    {std::string_view("?\0\0\0", 4), "UTF-32LE"},
    {std::string_view("\0\0\0?", 4), "UTF-32BE"},
    {std::string_view("?\0", 2), "UTF-16LE"},
    {std::string_view("\0?", 2), "UTF-16BE"},
};

const char* wideEncodingOf(std::string_view bytes) {
  for (const WideEncoding& encoding : WIDE_ENCODINGS) {
    if (bytes.size() < encoding.start.size()) continue;
    bool matches = true;
    for (size_t i = 0; i < encoding.start.size(); ++i) {
      const char expected = encoding.start[i];
      matches = matches && (expected == '?' ? bytes[i] != '\0' : bytes[i] == expected);
    }
    if (matches) return encoding.name;
  }
  return nullptr;
}

WordFileText readWords(ByteReader& reader, const std::string& name) {
  WordFileText file;
  int c = nextByte(reader);
  const std::string_view first(reader.chunk, reader.length);
  if (const char* encoding = wideEncodingOf(first)) {
    file.error = name + ": " + encoding + " text; save the list as UTF-8";
  } else {
    // A byte order mark some editors put first.
    if (first.starts_with("\xEF\xBB\xBF")) {
      reader.at = 3;
      c = nextByte(reader);
    }
    int64_t lineNumber = 1;
    for (int previous = 0; isBlank(c) || isLineEnd(c); previous = c, c = nextByte(reader))
      lineNumber += isLineEnd(c) && !isSecondHalfOfCrLf(c, previous);
    if (c == '[' || c == '{') {
      readJsonList(reader, c, lineNumber, file, name);
    } else {
      readLines(reader, c, lineNumber, file, name);
    }
  }
  // What was read before a failure is not the list.
  if (reader.failure != 0) {
    file = WordFileText();
    file.unreadable = true;
    file.error = name + ": cannot be read: " + std::strerror(reader.failure);
  }
  return file;
}

}  // namespace

WordFileText readWordDescriptor(int descriptor, const std::string& name) {
  ByteReader reader;
  reader.descriptor = descriptor;
  return readWords(reader, name);
}

WordFileText readWordText(std::string_view bytes, const std::string& name) {
  ByteReader reader;
  reader.memory = bytes;
  return readWords(reader, name);
}

WordFileText readWordFile(const std::string& path) {
  const int descriptor = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (descriptor < 0) {
    WordFileText file;
    file.unreadable = true;
    file.error = path + ": " + std::strerror(errno);
    return file;
  }
  WordFileText file = readWordDescriptor(descriptor, path);
  close(descriptor);
  return file;
}

}  // namespace arrowgrid
