// What the window's keyboard events become in the key queue: characters
// come only from text input (so a printable key is not counted twice),
// editing keys only from key-down events.
#pragma once

#include <cstdint>
#include <string_view>

#include "screen/key_queue.h"

namespace arrowgrid {

// Modifier bits of a key-down event that matter here (SDL's KMOD_* values).
inline constexpr uint16_t KEY_MODIFIER_CTRL = 0x0040 | 0x0080;

// The key for a key-down event of keycode (an SDL_Keycode) with the
// modifiers held; false when the event gives no key (printable keys, whose
// character arrives as text input, and keys the program has no use for).
// Ctrl+C and Ctrl+Break give an ignored key: typed into the window they are
// no interrupt.
bool keyOfKeyDown(int32_t keycode, uint16_t modifiers, Key& key);

// Appends the characters of a text-input event (UTF-8) to the queue as code
// page 437 characters; a character without a code is dropped.
void pushTextInput(KeyQueue& queue, std::string_view utf8);

}  // namespace arrowgrid
