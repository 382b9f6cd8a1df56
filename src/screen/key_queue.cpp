// The ring of typed keys: 16 slots, one always free, so a full ring drops
// its oldest key rather than the new one.
#include "screen/key_queue.h"

namespace arrowgrid {

namespace {

int32_t nextSlot(int32_t slot) { return (slot + 1) % KEY_QUEUE_SLOTS; }

int32_t countOf(const KeyQueue& queue) {
  return (queue.tail - queue.head + KEY_QUEUE_SLOTS) % KEY_QUEUE_SLOTS;
}

}  // namespace

void pushKey(KeyQueue& queue, Key key) {
  std::lock_guard<std::mutex> hold(queue.lock);
  if (countOf(queue) == KEY_QUEUE_SLOTS - 1) queue.head = nextSlot(queue.head);
  queue.slots[static_cast<size_t>(queue.tail)] = key;
  queue.tail = nextSlot(queue.tail);
}

bool takeKey(KeyQueue& queue, Key& key) {
  std::lock_guard<std::mutex> hold(queue.lock);
  if (queue.head == queue.tail) return false;
  key = queue.slots[static_cast<size_t>(queue.head)];
  queue.head = nextSlot(queue.head);
  return true;
}

int32_t waitingKeyCount(KeyQueue& queue) {
  std::lock_guard<std::mutex> hold(queue.lock);
  return countOf(queue);
}

}  // namespace arrowgrid
