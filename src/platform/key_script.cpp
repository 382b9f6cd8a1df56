// Scripted typing: text to keys, and keys to the queue as room appears.
#include "platform/key_script.h"

#include "screen/cp437.h"

namespace arrowgrid {

void feedKeyQueue(KeyScript& script, KeyQueue& queue) {
  while (!script.pending.empty() && waitingKeyCount(queue) < KEYS_KEPT_UNREAD) {
    pushKey(queue, script.pending.front());
    script.pending.pop_front();
  }
}

void typeText(KeyScript& script, std::string_view utf8) {
  for (const char byte : fromUtf8(utf8)) script.pending.push_back(characterKey(static_cast<uint8_t>(byte)));
}

void typeLine(KeyScript& script, std::string_view utf8) {
  typeText(script, utf8);
  script.pending.push_back(characterKey(13));
}

}  // namespace arrowgrid
