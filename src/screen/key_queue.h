// Keys typed and not yet read. The platform's thread appends, the logic
// thread takes; every access holds `lock`.
#pragma once

#include <array>
#include <cstdint>
#include <mutex>

namespace arrowgrid {

enum class KeyKind : uint8_t {
  Character,     // code 1..255 of code page 437 (Enter 13, Backspace 8, Tab 9, Escape 27)
  Left,
  Right,
  Up,
  Down,
  Home,
  End,
  Delete,
  CloseRequest,  // the window's close button: the extended key (255, 'k')
  Other,         // any other key without a character
};

struct Key {
  KeyKind kind = KeyKind::Other;
  uint8_t code = 0;  // for Character only
  bool operator==(const Key&) const = default;
};

inline constexpr int32_t KEY_QUEUE_SLOTS = 16;  // holds at most 15 keys

struct KeyQueue {
  std::mutex lock;
  std::array<Key, KEY_QUEUE_SLOTS> slots{};
  int32_t head = 0;  // oldest key
  int32_t tail = 0;  // next free slot; head == tail means empty
};

// Appends a key; when 15 are already waiting the oldest is dropped.
void pushKey(KeyQueue& queue, Key key);
// Takes the oldest key; false when none is waiting.
bool takeKey(KeyQueue& queue, Key& key);
int32_t waitingKeyCount(KeyQueue& queue);

inline Key characterKey(uint8_t code) { return Key{KeyKind::Character, code}; }
inline Key editingKey(KeyKind kind) { return Key{kind, 0}; }

}  // namespace arrowgrid
