// Bytes typed into a raw terminal turned into keys: UTF-8 characters become
// code page 437 characters, escape sequences become editing keys.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "screen/key_queue.h"

namespace arrowgrid {

struct TerminalKeyDecoder {
  std::array<uint8_t, 16> pending{};  // bytes of a sequence not yet complete
  int32_t count = 0;                  // 0..16
  bool skippingSequence = false;      // the rest of an overlong sequence is being dropped
};

// Decodes bytes and appends every complete key to the queue. A sequence cut
// at the end of the bytes (escape or UTF-8) waits for the next call.
void decodeTerminalBytes(TerminalKeyDecoder& decoder, const uint8_t* bytes, size_t length, KeyQueue& queue);

// No byte followed: an Escape still pending was the Escape key itself; any
// other unfinished sequence is dropped.
void finishPendingKey(TerminalKeyDecoder& decoder, KeyQueue& queue);

}  // namespace arrowgrid
