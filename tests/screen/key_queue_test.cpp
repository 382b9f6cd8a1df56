// The key ring: order, capacity and the dropping of the oldest key.
#include <gtest/gtest.h>

#include <memory>
#include <thread>

#include "screen/key_queue.h"

namespace arrowgrid {
namespace {

TEST(KeyQueue, FifteenKeysAreKeptAndASixteenthDropsTheOldest) {
  auto queue = std::make_unique<KeyQueue>();
  for (int32_t i = 1; i <= 15; ++i) pushKey(*queue, characterKey(static_cast<uint8_t>(64 + i)));
  EXPECT_EQ(waitingKeyCount(*queue), 15);
  pushKey(*queue, editingKey(KeyKind::Left));
  EXPECT_EQ(waitingKeyCount(*queue), 15);
  Key key;
  for (int32_t i = 2; i <= 15; ++i) {
    ASSERT_TRUE(takeKey(*queue, key));
    EXPECT_EQ(key, characterKey(static_cast<uint8_t>(64 + i)));
  }
  ASSERT_TRUE(takeKey(*queue, key));
  EXPECT_EQ(key, editingKey(KeyKind::Left));
  EXPECT_FALSE(takeKey(*queue, key));
}

TEST(KeyQueue, WhileLinesAreReadEveryKeyIsHeldUpToTheLimit) {
  auto queue = std::make_unique<KeyQueue>();
  setKeysRead(*queue, true);
  for (int32_t i = 0; i < KEYS_HELD_MAX + 5; ++i)
    pushKey(*queue, characterKey(static_cast<uint8_t>(i % 200 + 1)));
  EXPECT_EQ(waitingKeyCount(*queue), KEYS_HELD_MAX);
  Key key;
  for (int32_t i = 0; i < KEYS_HELD_MAX; ++i) {
    ASSERT_TRUE(takeKey(*queue, key));
    ASSERT_EQ(key.code, i % 200 + 1);  // the oldest first, the ones past the limit dropped
  }

  // A search starts: what is typed meanwhile keeps only the last 15.
  for (int32_t i = 1; i <= 40; ++i) pushKey(*queue, characterKey(static_cast<uint8_t>(i)));
  setKeysRead(*queue, false);
  pushKey(*queue, characterKey(41));
  EXPECT_EQ(waitingKeyCount(*queue), 15);
  ASSERT_TRUE(takeKey(*queue, key));
  EXPECT_EQ(key.code, 27);
}

TEST(KeyQueue, TwoThreadsLoseNothingBelowCapacity) {
  auto queue = std::make_unique<KeyQueue>();
  constexpr int32_t KEYS = 20000;
  std::thread typist([&] {
    for (int32_t i = 0; i < KEYS; ++i) {
      while (waitingKeyCount(*queue) >= 10) std::this_thread::yield();
      pushKey(*queue, characterKey(static_cast<uint8_t>(i % 251 + 1)));
    }
  });
  int32_t received = 0;
  int32_t outOfOrder = 0;
  Key key;
  while (received < KEYS) {
    if (!takeKey(*queue, key)) continue;
    if (key.code != received % 251 + 1) ++outOfOrder;
    ++received;
  }
  typist.join();
  EXPECT_EQ(outOfOrder, 0);
}

}  // namespace
}  // namespace arrowgrid
