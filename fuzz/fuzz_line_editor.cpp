// The line editor fed any keys, at prompts placed anywhere on the screen
// (a pending scroll included): every line it returns is the first field of
// what the editing keys make of the typed characters, and the cursor stays
// on the screen.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "fuzz_check.h"
#include "support/scripted_console.h"

using namespace arrowgrid;
using namespace arrowgrid::test_support;

namespace {

constexpr KeyKind EDITING_KINDS[] = {KeyKind::Left,   KeyKind::Right,        KeyKind::Up,
                                     KeyKind::Down,   KeyKind::Home,         KeyKind::End,
                                     KeyKind::Delete, KeyKind::CloseRequest, KeyKind::Other};

// Bytes 0xE0 to 0xEF repeat the key before them 10 to 160 times, so that
// short inputs make lines that wrap and scroll; 0xF0 and up are editing
// keys; the others are characters.
constexpr uint8_t FIRST_REPEAT = 0xE0;
constexpr uint8_t FIRST_EDITING = 0xF0;

Key keyOfByte(uint8_t byte) {
  if (byte < FIRST_REPEAT) return characterKey(byte);
  return editingKey(EDITING_KINDS[(byte - FIRST_EDITING) % (sizeof EDITING_KINDS / sizeof EDITING_KINDS[0])]);
}

// What the editing keys make of a line, screen aside.
struct LineModel {
  std::string line;
  size_t point = 0;

  // True when the key ends the line.
  bool apply(Key key) {
    switch (key.kind) {
      case KeyKind::Character:
        if (key.code == 13 || key.code == 10) return true;
        if (key.code >= 32) {
          line.insert(point++, 1, static_cast<char>(key.code));
        } else if (key.code == 8 && point > 0) {
          line.erase(--point, 1);
        } else if (key.code == 9) {
          const size_t blanks = 8 - point % 8;
          line.insert(point, blanks, ' ');
          point += blanks;
        } else if (key.code == 27) {
          line.clear();
          point = 0;
        }
        return false;
      case KeyKind::Delete:
        if (point < line.size()) line.erase(point, 1);
        return false;
      case KeyKind::Left:
        if (point > 0) --point;
        return false;
      case KeyKind::Right:
        if (point < line.size()) ++point;
        return false;
      case KeyKind::Home:
        point = 0;
        return false;
      case KeyKind::End:
        point = line.size();
        return false;
      case KeyKind::Up:
        if (point >= 80) point -= 80;
        return false;
      case KeyKind::Down:
        if (point + 80 <= line.size()) point += 80;
        return false;
      default:
        return false;
    }
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  auto console = std::make_unique<Console>();
  ScriptedPlatform platform;
  openTestConsole(*console, platform);
  // The prompt's cell; from row 25 a filled last column leaves a scroll pending.
  locateCursor(*console, data[0] % 25 + 1, data[1] % 80 + 1);
  if (data[0] % 25 == 24)
    printText(*console, ByteString(static_cast<size_t>(80 - data[1] % 80), '>'), PrintEnding::NoEnding);

  std::vector<ByteString> expected;
  LineModel model;
  Key key = characterKey('a');
  for (size_t i = 2; i < size; ++i) {
    int32_t times = 1;
    if (data[i] >= FIRST_REPEAT && data[i] < FIRST_EDITING) {
      times = (data[i] - FIRST_REPEAT + 1) * 10;
    } else {
      key = keyOfByte(data[i]);
    }
    for (int32_t k = 0; k < times; ++k) {
      platform.script.pending.push_back(key);
      if (model.apply(key)) {
        expected.push_back(firstField(model.line));
        model = LineModel{};
      }
    }
  }
  try {
    for (const ByteString& line : expected) {
      FUZZ_CHECK(inputText(*console, ByteString(), false) == line);
      FUZZ_CHECK(console->text.cursorRow >= 1 && console->text.cursorRow <= TEXT_ROWS);
      FUZZ_CHECK(console->text.cursorColumn >= 1 && console->text.cursorColumn <= TEXT_COLUMNS);
    }
    (void)inputText(*console, ByteString(), false);  // the unfinished last line
  } catch (const ScriptExhausted&) {
  }
  paintPicture(*console);  // painted as a window would show it, so painting is fuzzed too
  return 0;
}
