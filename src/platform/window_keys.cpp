// Keyboard events of the window turned into keys of the queue.
#include "platform/window_keys.h"

#include <SDL_keycode.h>

#include "screen/cp437.h"

namespace arrowgrid {

bool keyOfKeyDown(int32_t keycode, uint16_t modifiers, Key& key) {
  const bool ctrl = (modifiers & KEY_MODIFIER_CTRL) != 0;
  switch (keycode) {
    case SDLK_LEFT:
      key = editingKey(KeyKind::Left);
      return true;
    case SDLK_RIGHT:
      key = editingKey(KeyKind::Right);
      return true;
    case SDLK_UP:
      key = editingKey(KeyKind::Up);
      return true;
    case SDLK_DOWN:
      key = editingKey(KeyKind::Down);
      return true;
    case SDLK_HOME:
      key = editingKey(KeyKind::Home);
      return true;
    case SDLK_END:
      key = editingKey(KeyKind::End);
      return true;
    case SDLK_DELETE:
      key = editingKey(KeyKind::Delete);
      return true;
    case SDLK_BACKSPACE:
      key = characterKey(8);
      return true;
    case SDLK_RETURN:
    case SDLK_RETURN2:
    case SDLK_KP_ENTER:
      key = characterKey(13);
      return true;
    case SDLK_ESCAPE:
      key = characterKey(27);
      return true;
    case SDLK_TAB:
      key = characterKey(9);
      return true;
    case SDLK_PAUSE:
    case SDLK_CANCEL:
      // Ctrl+Break reaches SDL as one of these two, depending on the system.
      if (!ctrl) return false;
      key = editingKey(KeyKind::Other);
      return true;
    case SDLK_c:
      if (!ctrl) return false;  // the letter itself comes as text input
      key = editingKey(KeyKind::Other);
      return true;
    default:
      return false;
  }
}

void pushTextInput(KeyQueue& queue, std::string_view utf8) {
  for (const char c : fromUtf8(utf8)) {
    const auto code = static_cast<uint8_t>(c);
    if (code != 0) pushKey(queue, characterKey(code));
  }
}

}  // namespace arrowgrid
