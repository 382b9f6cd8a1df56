// Takes every waiting key out of a queue, for tests that check what a form
// put there.
#pragma once

#include <vector>

#include "screen/key_queue.h"

namespace arrowgrid::test_support {

inline std::vector<Key> drainKeys(KeyQueue& queue) {
  std::vector<Key> keys;
  Key key;
  while (takeKey(queue, key)) keys.push_back(key);
  return keys;
}

}  // namespace arrowgrid::test_support
