// Line input: the prompt, the line editor with its keys, the line end after
// the typed text, and the first field of the line.
#include <algorithm>
#include <chrono>

#include "screen/console.h"
#include "screen/text_output.h"

namespace arrowgrid {

namespace {

// How long a wait for a key lasts before the form's hooks and the picture
// are looked at again; a key ends the wait at once.
constexpr auto KEY_WAIT_INTERVAL = std::chrono::milliseconds(25);
constexpr int32_t TAB_WIDTH = 8;

struct LineEditor {
  ByteString line;    // the typed line, without its Enter
  int32_t point = 0;  // insertion point, 0..length
  // Cell of the line's first byte as (row - 1) * 80 + column - 1; follows
  // the screen when it scrolls, so it goes negative once that byte has
  // scrolled off the top.
  int64_t start = 0;
};

int32_t lineLength(const LineEditor& editor) { return static_cast<int32_t>(editor.line.size()); }

void placeCursor(TextScreen& text, int64_t place) {
  text.cursorRow = static_cast<int32_t>(place / TEXT_COLUMNS) + 1;
  text.cursorColumn = static_cast<int32_t>(place % TEXT_COLUMNS) + 1;
}

// Echoes bytes, then blanks, from the cell of the line's place `from`,
// through the output rules. Cells that have scrolled off the top are skipped.
void echoAt(Console& console, LineEditor& editor, int32_t from, std::string_view bytes, int32_t blanks) {
  PrintRun run;
  beginPrint(console, run);
  editor.start -= int64_t{TEXT_COLUMNS} * run.rowsScrolled;
  int64_t place = editor.start + from;
  if (place < 0) {
    const int64_t hidden = -place;
    const size_t skippedBytes =
        static_cast<size_t>(std::min<int64_t>(hidden, static_cast<int64_t>(bytes.size())));
    bytes.remove_prefix(skippedBytes);
    blanks -= static_cast<int32_t>(std::min<int64_t>(hidden - static_cast<int64_t>(skippedBytes), blanks));
    place = 0;
  }
  const int32_t scrolledBefore = run.rowsScrolled;
  if (!bytes.empty() || blanks > 0) {
    placeCursor(console.text, place);
    emitBytes(console, run, bytes);
    for (int32_t i = 0; i < blanks; ++i) emitBytes(console, run, " ");
  }
  endPrint(console, run);
  editor.start -= int64_t{TEXT_COLUMNS} * (run.rowsScrolled - scrolledBefore);
}

std::string_view restOfLine(const LineEditor& editor, int32_t from) {
  return std::string_view(editor.line).substr(static_cast<size_t>(from));
}

void insertBytes(Console& console, LineEditor& editor, size_t count, char byte) {
  editor.line.insert(static_cast<size_t>(editor.point), count, byte);
  echoAt(console, editor, editor.point, restOfLine(editor, editor.point), 0);
  editor.point += static_cast<int32_t>(count);
}

// Removes the byte at place `at`; the rest moves left and a blank covers
// the cell freed at the end.
void removeByte(Console& console, LineEditor& editor, int32_t at) {
  editor.line.erase(static_cast<size_t>(at), 1);
  echoAt(console, editor, at, restOfLine(editor, at), 1);
}

void eraseLine(Console& console, LineEditor& editor) {
  echoAt(console, editor, 0, std::string_view(), lineLength(editor));
  editor.line.clear();
  editor.point = 0;
}

Key waitForKey(Console& console) {
  Key key;
  while (!takeKey(console.keys, key)) {
    if (console.platform.waitingForKey) console.platform.waitingForKey(console.platform.context, console);
    serviceDisplay(console);
    if (takeKeyWithin(console.keys, key, KEY_WAIT_INTERVAL)) break;
  }
  return key;
}

// Acts on one key; true when it ends the line.
bool applyKey(Console& console, LineEditor& editor, Key key) {
  const int32_t length = lineLength(editor);
  switch (key.kind) {
    case KeyKind::Character:
      if (key.code == 13 || key.code == 10) return true;
      if (key.code >= 32) {
        insertBytes(console, editor, 1, static_cast<char>(key.code));
      } else if (key.code == 8) {
        if (editor.point > 0) removeByte(console, editor, --editor.point);
      } else if (key.code == 9) {
        insertBytes(console, editor, static_cast<size_t>(TAB_WIDTH - editor.point % TAB_WIDTH), ' ');
      } else if (key.code == 27) {
        eraseLine(console, editor);
      }
      break;
    case KeyKind::Delete:
      if (editor.point < length)
        removeByte(console, editor, editor.point);
      else
        soundBeep(console);
      break;
    case KeyKind::Left:
      if (editor.point > 0) --editor.point;
      break;
    case KeyKind::Right:
      if (editor.point < length) ++editor.point;
      break;
    case KeyKind::Home:
      editor.point = 0;
      break;
    case KeyKind::End:
      editor.point = length;
      break;
    case KeyKind::Up:
      if (editor.point - TEXT_COLUMNS >= 0) editor.point -= TEXT_COLUMNS;
      break;
    case KeyKind::Down:
      if (editor.point + TEXT_COLUMNS <= length) editor.point += TEXT_COLUMNS;
      break;
    case KeyKind::CloseRequest:
    case KeyKind::Other:
      break;
  }
  // An emptied line whose start had scrolled away starts again at the top.
  if (editor.line.empty()) editor.start = std::max<int64_t>(editor.start, 0);
  return false;
}

// Lets the user type one line from the cursor's cell on and returns it.
// Afterwards the cursor stands right after the line's last character;
// filledLastColumn tells that this character is in column 80.
ByteString editLine(Console& console, bool& filledLastColumn) {
  LineEditor editor;
  editor.start = int64_t{cellIndex(console.text.cursorRow, console.text.cursorColumn)};
  // From here until the next search, typed keys are read: none is dropped.
  setKeysRead(console.keys, true);
  if (console.platform.lineInputStarting)
    console.platform.lineInputStarting(console.platform.context, console);
  while (!applyKey(console, editor, waitForKey(console))) {
  }
  // A line that filled the last cell left its scroll pending: carry it out
  // so that the place after the line is a cell of the screen.
  PrintRun run;
  beginPrint(console, run);
  editor.start -= int64_t{TEXT_COLUMNS} * run.rowsScrolled;
  const int64_t endPlace = std::max<int64_t>(editor.start + lineLength(editor), 0);
  placeCursor(console.text, endPlace);
  filledLastColumn = lineLength(editor) > 0 && endPlace % TEXT_COLUMNS == 0;
  ++console.text.changeCount;
  return std::move(editor.line);
}

}  // namespace

ByteString inputText(Console& console, const ByteString& prompt, bool questionMark) {
  PrintRun run;
  beginPrint(console, run);
  if (!prompt.empty()) printText(console, prompt, PrintEnding::NoEnding);
  if (questionMark) printText(console, ByteString("? "), PrintEnding::NoEnding);
  // A prompt that filled the last cell: the typing starts on a new bottom row.
  beginPrint(console, run);
  bool filledLastColumn = false;
  const ByteString line = editLine(console, filledLastColumn);
  if (filledLastColumn) {
    // The text ended in column 80: the row after it is the one the cursor
    // already stands on (below row 25 it scrolls into view).
    PrintRun ending;
    emitBytes(console, ending, "\r");
    endPrint(console, ending);
    console.text.printColumn = 0;
  } else {
    printLineEnd(console);
  }
  return firstField(line);
}

ByteString firstField(const ByteString& line) {
  size_t i = 0;
  while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
  size_t end = 0;
  if (i < line.size() && line[i] == '"') {
    ++i;
    end = line.find('"', i);
  } else {
    end = line.find(',', i);
  }
  if (end == ByteString::npos) end = line.size();
  return line.substr(i, std::min<size_t>(end - i, INPUT_FIELD_MAX));
}

}  // namespace arrowgrid
