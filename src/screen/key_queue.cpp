// The ring of typed keys: 15 kept while nothing reads, more held while the
// program reads typed lines.
#include "screen/key_queue.h"

namespace arrowgrid {

namespace {

size_t slotOf(const KeyQueue& queue, int32_t offset) {
  return static_cast<size_t>((queue.head + offset) % KEYS_HELD_MAX);
}

void dropOldest(KeyQueue& queue) {
  queue.head = (queue.head + 1) % KEYS_HELD_MAX;
  --queue.count;
}

}  // namespace

void pushKey(KeyQueue& queue, Key key) {
  {
    std::lock_guard<std::mutex> hold(queue.lock);
    if (queue.reading.load(std::memory_order_relaxed)) {
      if (queue.count == KEYS_HELD_MAX) return;
    } else {
      while (queue.count >= KEYS_KEPT_UNREAD) dropOldest(queue);
    }
    queue.slots[slotOf(queue, queue.count)] = key;
    ++queue.count;
  }
  queue.arrived.notify_one();
}

bool takeKey(KeyQueue& queue, Key& key) {
  std::lock_guard<std::mutex> hold(queue.lock);
  if (queue.count == 0) return false;
  key = queue.slots[slotOf(queue, 0)];
  dropOldest(queue);
  return true;
}

bool takeKeyWithin(KeyQueue& queue, Key& key, std::chrono::milliseconds timeout) {
  std::unique_lock<std::mutex> hold(queue.lock);
  if (!queue.arrived.wait_for(hold, timeout, [&] { return queue.count > 0; })) return false;
  key = queue.slots[slotOf(queue, 0)];
  dropOldest(queue);
  return true;
}

int32_t waitingKeyCount(KeyQueue& queue) {
  std::lock_guard<std::mutex> hold(queue.lock);
  return queue.count;
}

void setKeysRead(KeyQueue& queue, bool reading) {
  if (queue.reading.load(std::memory_order_relaxed) == reading) return;
  std::lock_guard<std::mutex> hold(queue.lock);
  queue.reading.store(reading, std::memory_order_relaxed);
}

}  // namespace arrowgrid
