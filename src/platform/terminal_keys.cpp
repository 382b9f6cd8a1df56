// Decoding of the raw terminal's byte stream: UTF-8, CSI and SS3 sequences.
#include "platform/terminal_keys.h"

#include <string_view>

#include "base/utf8_decoding.h"
#include "screen/cp437.h"

namespace arrowgrid {

namespace {

constexpr uint8_t ESC = 27;

// The key of a complete CSI ("ESC [") or SS3 ("ESC O") sequence.
Key keyOfSequence(const TerminalKeyDecoder& decoder) {
  const uint8_t final = decoder.pending[static_cast<size_t>(decoder.count - 1)];
  switch (final) {
    case 'A':
      return editingKey(KeyKind::Up);
    case 'B':
      return editingKey(KeyKind::Down);
    case 'C':
      return editingKey(KeyKind::Right);
    case 'D':
      return editingKey(KeyKind::Left);
    case 'H':
      return editingKey(KeyKind::Home);
    case 'F':
      return editingKey(KeyKind::End);
    case '~': {
      int32_t number = 0;  // the first parameter, as in "ESC [ 3 ; 5 ~"
      for (int32_t i = 2; i < decoder.count; ++i) {
        const uint8_t c = decoder.pending[static_cast<size_t>(i)];
        if (c < '0' || c > '9') break;
        number = number * 10 + (c - '0');
        if (number > 1000) break;
      }
      if (number == 1 || number == 7) return editingKey(KeyKind::Home);
      if (number == 4 || number == 8) return editingKey(KeyKind::End);
      if (number == 3) return editingKey(KeyKind::Delete);
      return editingKey(KeyKind::Other);
    }
    default:
      return editingKey(KeyKind::Other);
  }
}

// A complete sequence that is still not UTF-8 (an over-long form, a
// surrogate) is dropped like any other invalid one.
void pushUtf8Character(const TerminalKeyDecoder& decoder, KeyQueue& queue) {
  const std::string_view bytes(reinterpret_cast<const char*>(decoder.pending.data()),
                               static_cast<size_t>(decoder.count));
  const DecodedCharacter character = decodeUtf8Character(bytes, 0);
  if (character.bytes == 0) return;
  const int32_t code = cp437OfUnicode(character.code);
  if (code > 0) pushKey(queue, characterKey(static_cast<uint8_t>(code)));
}

void pushPlainByte(uint8_t byte, KeyQueue& queue) {
  if (byte == 127) {
    pushKey(queue, characterKey(8));  // most terminals send DEL for Backspace
  } else if (byte != 0) {
    pushKey(queue, characterKey(byte));
  }
}

// The decoder has just received one more byte: emit what is complete.
void resolve(TerminalKeyDecoder& decoder, KeyQueue& queue) {
  for (;;) {
    if (decoder.count == 0) return;
    const uint8_t lead = decoder.pending[0];
    const uint8_t last = decoder.pending[static_cast<size_t>(decoder.count - 1)];
    if (lead == ESC) {
      if (decoder.count == 1) return;
      const uint8_t second = decoder.pending[1];
      if (second == '[' || second == 'O') {
        if (decoder.count == 2) return;
        const bool finished = second == 'O' || (last >= 0x40 && last <= 0x7E);
        if (finished) {
          pushKey(queue, keyOfSequence(decoder));
          decoder.count = 0;
        } else if (last < 0x20 || last > 0x3F) {
          pushKey(queue, editingKey(KeyKind::Other));  // broken sequence
          decoder.count = 0;
        } else if (decoder.count == static_cast<int32_t>(decoder.pending.size())) {
          pushKey(queue, editingKey(KeyKind::Other));  // overlong: drop it up to its end
          decoder.count = 0;
          decoder.skippingSequence = true;
        }
        return;
      }
      // Escape followed by anything else: the Escape key, then that byte anew.
      pushKey(queue, characterKey(ESC));
      decoder.pending[0] = second;
      decoder.count = 1;
      continue;
    }
    if (lead >= 0x80) {
      const auto length = static_cast<int32_t>(utf8SequenceLength(lead));
      if (length == 0) {
        decoder.count = 0;  // invalid lead: dropped
        return;
      }
      if (decoder.count > 1 && (last & 0xC0) != 0x80) {
        // Cut sequence: drop it and start again from the new byte.
        decoder.pending[0] = last;
        decoder.count = 1;
        continue;
      }
      if (decoder.count < length) return;
      pushUtf8Character(decoder, queue);
      decoder.count = 0;
      return;
    }
    pushPlainByte(lead, queue);
    decoder.count = 0;
    return;
  }
}

}  // namespace

void decodeTerminalBytes(TerminalKeyDecoder& decoder, const uint8_t* bytes, size_t length, KeyQueue& queue) {
  for (size_t i = 0; i < length; ++i) {
    if (decoder.skippingSequence) {
      const uint8_t byte = bytes[i];
      if (byte >= 0x20 && byte <= 0x3F) continue;
      decoder.skippingSequence = false;
      if (byte >= 0x40 && byte <= 0x7E) continue;  // its final byte
    }
    decoder.pending[static_cast<size_t>(decoder.count++)] = bytes[i];
    resolve(decoder, queue);
  }
}

void finishPendingKey(TerminalKeyDecoder& decoder, KeyQueue& queue) {
  if (decoder.count == 0) return;
  if (decoder.pending[0] == ESC) {
    pushKey(queue, characterKey(ESC));
    // "ESC [" or "ESC O" with nothing after: Escape, then that character.
    if (decoder.count == 2) pushKey(queue, characterKey(decoder.pending[1]));
  }
  decoder.count = 0;
}

}  // namespace arrowgrid
