// Test tool: runs the program with the keys given on the command line and,
// once it waits for a key with none left, writes what the screen shows: the
// surface as a PPM picture (index 0 black, 15 white), or with --text the
// text layer as the script form's snapshot. The window and terminal tests
// compare the real forms against this.
//
//   surface_dump [--text] KEY...    KEY: text:UTF-8 | code:N | enter | left
//     | right | up | down | home | end | delete | backspace | escape | tab | close
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "interaction/program_driver.h"
#include "platform/script_form.h"
#include "screen/cp437.h"

namespace {

using namespace arrowgrid;

struct DumpForm {
  std::vector<Key> keys;  // still to type, in order
  size_t next = 0;
  bool asText = false;
};

[[noreturn]] void dumpAndExit(DumpForm& form, Console& console, int status) {
  paintPicture(console);
  if (form.asText) {
    writeSnapshot(console, stdout);
  } else {
    auto pixels = std::make_unique<PixelRows>();
    copyPixels(console.surface, *pixels);
    std::printf("P6\n%d %d\n255\n", SURFACE_WIDTH, SURFACE_HEIGHT);
    for (const auto& row : *pixels) {
      for (const uint8_t index : row) {
        if (index != COLOR_BACKGROUND && index != COLOR_FOREGROUND) {
          std::fprintf(stderr, "surface_dump: unexpected colour index %d\n", index);
          std::_Exit(2);
        }
        const unsigned char level = index == COLOR_FOREGROUND ? 255 : 0;
        const unsigned char rgb[3] = {level, level, level};
        std::fwrite(rgb, 1, 3, stdout);
      }
    }
  }
  std::fflush(stdout);
  std::_Exit(status);
}

void typeNextKey(void* context, Console& console) {
  auto& form = *static_cast<DumpForm*>(context);
  if (form.next == form.keys.size()) dumpAndExit(form, console, 0);
  pushKey(console.keys, form.keys[form.next++]);
}

void endWithDump(void* context, int32_t status) {
  // The program ended before the keys ran out: nothing to compare against.
  (void)context;
  std::fprintf(stderr, "surface_dump: the program ended with status %d\n", status);
  std::_Exit(2);
}

bool parseKey(std::string_view word, std::vector<Key>& keys) {
  static const struct {
    const char* name;
    Key key;
  } named[] = {
      {"enter", characterKey(13)},
      {"backspace", characterKey(8)},
      {"escape", characterKey(27)},
      {"tab", characterKey(9)},
      {"left", editingKey(KeyKind::Left)},
      {"right", editingKey(KeyKind::Right)},
      {"up", editingKey(KeyKind::Up)},
      {"down", editingKey(KeyKind::Down)},
      {"home", editingKey(KeyKind::Home)},
      {"end", editingKey(KeyKind::End)},
      {"delete", editingKey(KeyKind::Delete)},
      {"close", editingKey(KeyKind::CloseRequest)},
  };
  for (const auto& entry : named) {
    if (word == entry.name) {
      keys.push_back(entry.key);
      return true;
    }
  }
  if (word.starts_with("text:")) {
    for (const char c : fromUtf8(word.substr(5))) keys.push_back(characterKey(static_cast<uint8_t>(c)));
    return true;
  }
  if (word.starts_with("code:")) {
    const int code = std::atoi(std::string(word.substr(5)).c_str());
    if (code < 1 || code > 255) return false;
    keys.push_back(characterKey(static_cast<uint8_t>(code)));
    return true;
  }
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  auto form = std::make_unique<DumpForm>();
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--text") == 0) {
      form->asText = true;
    } else if (!parseKey(argv[i], form->keys)) {
      std::fprintf(stderr, "surface_dump: unknown key %s\n", argv[i]);
      return 2;
    }
  }
  auto program = std::make_unique<Program>();
  PlatformLayer& platform = program->console.platform;
  platform.context = form.get();
  platform.waitingForKey = typeNextKey;
  platform.endProcess = endWithDump;
  runProgram(*program);
}
