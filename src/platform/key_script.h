// Keys typed by a script rather than a keyboard: standard input in the
// script form, a test's lines in the in-memory form. They reach the key
// queue only as it empties, so no scripted key is ever dropped by the
// queue's 15-key limit.
#pragma once

#include <deque>
#include <string_view>

#include "screen/key_queue.h"

namespace arrowgrid {

struct KeyScript {
  std::deque<Key> pending;  // keys not yet in the queue, in typing order
};

// Moves pending keys into the queue while fewer than 15 wait there.
void feedKeyQueue(KeyScript& script, KeyQueue& queue);

// Appends the characters of a UTF-8 text as keys; characters without a code
// page 437 code are dropped.
void typeText(KeyScript& script, std::string_view utf8);

// typeText, then Enter.
void typeLine(KeyScript& script, std::string_view utf8);

}  // namespace arrowgrid
