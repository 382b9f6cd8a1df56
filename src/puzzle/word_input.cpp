// Folding and checking the words of both programs.
#include "puzzle/word_input.h"

#include <cstdio>

#include "base/message_text.h"
#include "base/utf8_decoding.h"

namespace arrowgrid {

namespace {

// The capitals a character folds to, or nullptr when it has none.
const char* foldedCharacter(char32_t c) {
  if (c >= 'A' && c <= 'Z') return nullptr;  // handled by the caller
  switch (c) {
    case U'é':
    case U'è':
    case U'ê':
    case U'ë':
    case U'É':
    case U'È':
    case U'Ê':
    case U'Ë':
      return "E";
    case U'à':
    case U'â':
    case U'ä':
    case U'À':
    case U'Â':
    case U'Ä':
      return "A";
    case U'î':
    case U'ï':
    case U'Î':
    case U'Ï':
      return "I";
    case U'ô':
    case U'ö':
    case U'Ô':
    case U'Ö':
      return "O";
    case U'ù':
    case U'û':
    case U'ü':
    case U'Ù':
    case U'Û':
    case U'Ü':
      return "U";
    case U'ÿ':
    case U'Ÿ':
      return "Y";
    case U'ç':
    case U'Ç':
      return "C";
    case U'œ':
    case U'Œ':
      return "OE";
    case U'æ':
    case U'Æ':
      return "AE";
    default:
      return nullptr;
  }
}

// The name of a character that shows as a blank or as nothing at all, so
// that a message does not quote what the reader cannot see; nullptr for
// the others.
const char* invisibleCharacterName(char32_t c) {
  switch (c) {
    case 0x00A0:
      return "no-break space";
    case 0x202F:
      return "narrow no-break space";
    case 0x00AD:
      return "soft hyphen";
    case 0x200B:
      return "zero-width space";
    case 0x2060:
      return "word joiner";
    case 0xFEFF:
      return "zero-width no-break space";
    default:
      return c == 0x1680 || (c >= 0x2000 && c <= 0x200A) || c == 0x205F || c == 0x3000 ? "space" : nullptr;
  }
}

std::string codePoint(char32_t c) {
  char text[16];
  std::snprintf(text, sizeof text, "U+%04X", static_cast<unsigned>(c));
  return text;
}

}  // namespace

FoldedWord foldWordText(std::string_view text) {
  FoldedWord folded;
  for (size_t at = 0; at < text.size();) {
    const DecodedCharacter d = decodeUtf8Character(text, at);
    if (d.bytes == 0) {
      folded.badCharacter = "byte " + messageText(text.substr(at, 1)) + " (not UTF-8)";
      return folded;
    }
    const char32_t c = d.code;
    if ((c >= 'A' && c <= 'Z') || c == '-') {
      folded.word += static_cast<char>(c);
    } else if (c >= 'a' && c <= 'z') {
      folded.word += static_cast<char>(c - 'a' + 'A');
    } else if (const char* capitals = foldedCharacter(c)) {
      folded.word += capitals;
    } else {
      folded.badCharacter = codePoint(c);
      if (const char* name = invisibleCharacterName(c))
        folded.badCharacter += std::string(" (") + name + ")";
      else if (!isEscapedInMessages(c))
        folded.badCharacter = std::string("'").append(text.substr(at, d.bytes)) + "' (" + codePoint(c) + ")";
      return folded;
    }
    at += d.bytes;
  }
  folded.ok = true;
  return folded;
}

WordListInput buildWordList(const std::vector<WordText>& words) {
  WordListInput input;
  const auto wordCount = static_cast<int64_t>(words.size());
  if (wordCount < 2 || wordCount > MAX_WORDS) {
    input.error =
        std::to_string(wordCount) + (wordCount == 1 ? " word" : " words") + " given; " +
        (wordCount < 2 ? "at least 2 are needed" : "at most " + std::to_string(MAX_WORDS) + " are allowed");
    return input;
  }
  input.list.wordCount = static_cast<int32_t>(wordCount);
  input.clues.assign(static_cast<size_t>(wordCount + 1), std::string());
  for (int64_t i = 0; i < wordCount; ++i) {
    const WordText& word = words[static_cast<size_t>(i)];
    const std::string prefix = word.place + ": word '" + messageText(word.text) + "': ";
    if (word.text.empty()) {
      input.error = word.place + ": empty word";
      return input;
    }
    const FoldedWord folded = foldWordText(word.text);
    if (!folded.ok) {
      input.error = prefix + folded.badCharacter + " is not a letter or a hyphen";
      return input;
    }
    if (static_cast<int64_t>(folded.word.size()) > MAX_WORD_LETTERS) {
      input.error = prefix + std::to_string(folded.word.size()) + " letters; at most " +
                    std::to_string(MAX_WORD_LETTERS) + " are allowed";
      return input;
    }
    input.list.words[static_cast<size_t>(i + 1)] = folded.word;
    input.clues[static_cast<size_t>(i + 1)] = word.clue;
  }
  input.ok = true;
  return input;
}

}  // namespace arrowgrid
