// The raw terminal's bytes to keys: any bytes decode without fault, into no
// more keys than bytes, and the keys do not depend on how the bytes were cut
// into reads.
#include <cstdint>
#include <memory>
#include <vector>

#include "fuzz_check.h"
#include "platform/terminal_keys.h"

using namespace arrowgrid;

namespace {

std::vector<Key> decodeInReads(const uint8_t* bytes, size_t size, size_t readSize) {
  auto queue = std::make_unique<KeyQueue>();
  setKeysRead(*queue, true);  // the whole input's keys are kept
  TerminalKeyDecoder decoder;
  for (size_t at = 0; at < size; at += readSize) {
    decodeTerminalBytes(decoder, bytes + at, std::min(readSize, size - at), *queue);
    FUZZ_CHECK(decoder.count >= 0 && decoder.count < static_cast<int32_t>(decoder.pending.size()));
  }
  finishPendingKey(decoder, *queue);
  std::vector<Key> keys;
  Key key;
  while (takeKey(*queue, key)) keys.push_back(key);
  return keys;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1 || size > static_cast<size_t>(KEYS_HELD_MAX)) return 0;
  const size_t readSize = data[0] % 8 + 1;
  const std::vector<Key> whole = decodeInReads(data + 1, size - 1, size);
  FUZZ_CHECK(whole.size() <= size - 1);
  FUZZ_CHECK(decodeInReads(data + 1, size - 1, readSize) == whole);
  return 0;
}
