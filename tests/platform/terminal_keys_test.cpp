// Raw terminal bytes to keys: UTF-8 to code page 437, escape sequences to
// editing keys, sequences split between two reads, a lone Escape.
#include "platform/terminal_keys.h"

#include <gtest/gtest.h>

#include <string_view>
#include <vector>

#include "support/queued_keys.h"

namespace arrowgrid {
using namespace test_support;
namespace {

using test_support::drainKeys;

std::vector<Key> decode(TerminalKeyDecoder& decoder, KeyQueue& queue, std::string_view bytes) {
  decodeTerminalBytes(decoder, reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), queue);
  return drainKeys(queue);
}

std::vector<Key> decodeAll(std::string_view bytes) {
  TerminalKeyDecoder decoder;
  KeyQueue queue;
  decodeTerminalBytes(decoder, reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), queue);
  finishPendingKey(decoder, queue);
  return drainKeys(queue);
}

const Key LEFT = editingKey(KeyKind::Left);
const Key RIGHT = editingKey(KeyKind::Right);
const Key UP = editingKey(KeyKind::Up);
const Key DOWN = editingKey(KeyKind::Down);
const Key HOME = editingKey(KeyKind::Home);
const Key END = editingKey(KeyKind::End);
const Key DELETE = editingKey(KeyKind::Delete);
const Key OTHER = editingKey(KeyKind::Other);

TEST(TerminalKeys, PlainAndControlBytes) {
  EXPECT_EQ(decodeAll("ab\r\t"),
            (std::vector<Key>{characterKey('a'), characterKey('b'), characterKey(13), characterKey(9)}));
  // Backspace is DEL on most terminals, ^H on some: both are Backspace.
  EXPECT_EQ(decodeAll("\x7f\x08"), (std::vector<Key>{characterKey(8), characterKey(8)}));
}

TEST(TerminalKeys, Utf8BecomesCodePage437AndUnknownCharactersAreDropped) {
  EXPECT_EQ(decodeAll("\xC3\xA9t\xC3\xA9"),
            (std::vector<Key>{characterKey(130), characterKey('t'), characterKey(130)}));
  EXPECT_EQ(decodeAll("a\xE2\x82\xAC"
                      "b"),
            (std::vector<Key>{characterKey('a'), characterKey('b')}));
  EXPECT_EQ(decodeAll("\xE2\x96\x88"), (std::vector<Key>{characterKey(219)}));  // full block
}

TEST(TerminalKeys, InvalidUtf8IsDroppedAndDecodingResumes) {
  EXPECT_EQ(decodeAll("\x80x"), (std::vector<Key>{characterKey('x')}));
  EXPECT_EQ(decodeAll("\xC3y"), (std::vector<Key>{characterKey('y')}));
  // An over-long 'A' and a surrogate are complete sequences, yet not characters.
  EXPECT_EQ(decodeAll("\xE0\x81\x81\xED\xA0\x80z"), (std::vector<Key>{characterKey('z')}));
}

TEST(TerminalKeys, CursorKeysInBothModes) {
  EXPECT_EQ(decodeAll("\x1b[A\x1b[B\x1b[C\x1b[D"), (std::vector<Key>{UP, DOWN, RIGHT, LEFT}));
  EXPECT_EQ(decodeAll("\x1bOA\x1bOB\x1bOC\x1bOD"), (std::vector<Key>{UP, DOWN, RIGHT, LEFT}));
  // With a modifier (Ctrl+Right) the key is still Right.
  EXPECT_EQ(decodeAll("\x1b[1;5C"), (std::vector<Key>{RIGHT}));
}

TEST(TerminalKeys, HomeEndDeleteInTheirCommonSpellings) {
  EXPECT_EQ(decodeAll("\x1b[H\x1b[F\x1bOH\x1bOF"), (std::vector<Key>{HOME, END, HOME, END}));
  EXPECT_EQ(decodeAll("\x1b[1~\x1b[4~\x1b[7~\x1b[8~\x1b[3~"),
            (std::vector<Key>{HOME, END, HOME, END, DELETE}));
  EXPECT_EQ(decodeAll("\x1b[3;2~"), (std::vector<Key>{DELETE}));
}

TEST(TerminalKeys, UnknownSequencesAreIgnoredKeysNotText) {
  // F5 and Page Up: no character may leak out of them.
  EXPECT_EQ(decodeAll("\x1b[15~\x1b[5~z"), (std::vector<Key>{OTHER, OTHER, characterKey('z')}));
}

TEST(TerminalKeys, LoneEscapeIsTheEscapeKeyOnceNothingFollows) {
  TerminalKeyDecoder decoder;
  KeyQueue queue;
  EXPECT_TRUE(decode(decoder, queue, "\x1b").empty());  // may still be a sequence
  finishPendingKey(decoder, queue);
  EXPECT_EQ(drainKeys(queue), (std::vector<Key>{characterKey(27)}));
  // Escape followed by a plain key is both keys.
  EXPECT_EQ(decodeAll("\x1bq"), (std::vector<Key>{characterKey(27), characterKey('q')}));
  EXPECT_EQ(decodeAll("\x1b\x1b"), (std::vector<Key>{characterKey(27), characterKey(27)}));
}

TEST(TerminalKeys, SequencesSplitBetweenReadsAreJoined) {
  TerminalKeyDecoder decoder;
  KeyQueue queue;
  EXPECT_TRUE(decode(decoder, queue, "\x1b[").empty());
  EXPECT_EQ(decode(decoder, queue, "D"), (std::vector<Key>{LEFT}));
  EXPECT_TRUE(decode(decoder, queue, "\x1b[3").empty());
  EXPECT_EQ(decode(decoder, queue, "~"), (std::vector<Key>{DELETE}));
  EXPECT_TRUE(decode(decoder, queue, "\xC3").empty());
  EXPECT_EQ(decode(decoder, queue, "\xA9"), (std::vector<Key>{characterKey(130)}));
}

TEST(TerminalKeys, OverlongSequenceIsDroppedWithoutOverflow) {
  std::string bytes = "\x1b[";
  bytes.append(40, '1');
  bytes += "~x";
  // One ignored key; none of its digits leaks out as typed text.
  EXPECT_EQ(decodeAll(bytes), (std::vector<Key>{OTHER, characterKey('x')}));
}

}  // namespace
}  // namespace arrowgrid
