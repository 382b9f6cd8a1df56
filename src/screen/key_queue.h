// Keys typed and not yet read. The platform's thread appends, the logic
// thread takes; every access holds `lock`.
#pragma once

#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>

namespace arrowgrid {

enum class KeyKind : uint8_t {
  Character,  // code 1..255 of code page 437 (Enter 13, Backspace 8, Tab 9, Escape 27)
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

// While nothing reads keys (a search runs), at most 15 wait: a further key
// drops the oldest. While the program reads typed lines, nothing is dropped:
// a paste waits here whole, up to KEYS_HELD_MAX keys, and reaches line input
// as it takes them.
inline constexpr int32_t KEYS_KEPT_UNREAD = 15;  // while nothing reads
inline constexpr int32_t KEYS_HELD_MAX = 4096;

struct KeyQueue {
  std::mutex lock;
  std::condition_variable arrived;  // signalled by every push
  std::array<Key, KEYS_HELD_MAX> slots{};
  int32_t head = 0;   // oldest key
  int32_t count = 0;  // keys waiting
  // The program reads typed lines: keep every key. Changed under `lock`;
  // read without it only to skip a change that is not needed.
  std::atomic<bool> reading{false};
};

// Appends a key. While nothing reads, the oldest is dropped when 15 already
// wait; while the program reads, the key is dropped only when KEYS_HELD_MAX
// wait (a form that can hold its input back, like a terminal, waits for room
// instead).
void pushKey(KeyQueue& queue, Key key);
// Takes the oldest key; false when none is waiting.
bool takeKey(KeyQueue& queue, Key& key);
// takeKey, waiting up to `timeout` for a key to arrive; woken at once by pushKey.
bool takeKeyWithin(KeyQueue& queue, Key& key, std::chrono::milliseconds timeout);
int32_t waitingKeyCount(KeyQueue& queue);

// Line input starts reading (true); a search starts and nothing reads
// (false). Cheap when nothing changes, so the search may call it often.
void setKeysRead(KeyQueue& queue, bool reading);

inline Key characterKey(uint8_t code) { return Key{KeyKind::Character, code}; }
inline Key editingKey(KeyKind kind) { return Key{kind, 0}; }

}  // namespace arrowgrid
