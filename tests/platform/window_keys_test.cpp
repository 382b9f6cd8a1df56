// Window keyboard events to queue keys: characters only from text input,
// editing keys only from key-down, Ctrl+C and Ctrl+Break ignored keys.
#include "platform/window_keys.h"

#include <SDL_keycode.h>
#include <gtest/gtest.h>

#include <vector>

#include "support/queued_keys.h"

namespace arrowgrid {
using namespace test_support;
namespace {

using test_support::drainKeys;

TEST(WindowKeys, EditingKeysComeFromKeyDown) {
  const struct {
    int32_t keycode;
    Key expected;
  } cases[] = {
      {SDLK_LEFT, editingKey(KeyKind::Left)},
      {SDLK_RIGHT, editingKey(KeyKind::Right)},
      {SDLK_UP, editingKey(KeyKind::Up)},
      {SDLK_DOWN, editingKey(KeyKind::Down)},
      {SDLK_HOME, editingKey(KeyKind::Home)},
      {SDLK_END, editingKey(KeyKind::End)},
      {SDLK_DELETE, editingKey(KeyKind::Delete)},
      {SDLK_BACKSPACE, characterKey(8)},
      {SDLK_RETURN, characterKey(13)},
      {SDLK_KP_ENTER, characterKey(13)},
      {SDLK_ESCAPE, characterKey(27)},
      {SDLK_TAB, characterKey(9)},
  };
  for (const auto& c : cases) {
    Key key;
    ASSERT_TRUE(keyOfKeyDown(c.keycode, 0, key)) << c.keycode;
    EXPECT_EQ(key, c.expected) << c.keycode;
  }
}

TEST(WindowKeys, PrintableKeyDownGivesNothingSoTheCharacterIsNotDoubled) {
  Key key;
  EXPECT_FALSE(keyOfKeyDown(SDLK_a, 0, key));
  EXPECT_FALSE(keyOfKeyDown(SDLK_c, KMOD_LSHIFT, key));
  EXPECT_FALSE(keyOfKeyDown(SDLK_SPACE, 0, key));
  EXPECT_FALSE(keyOfKeyDown(SDLK_PAUSE, 0, key));
}

TEST(WindowKeys, CtrlCAndCtrlBreakAreIgnoredKeysNotInterrupts) {
  for (const uint16_t ctrl : {uint16_t{KMOD_LCTRL}, uint16_t{KMOD_RCTRL}}) {
    Key key;
    ASSERT_TRUE(keyOfKeyDown(SDLK_c, ctrl, key));
    EXPECT_EQ(key.kind, KeyKind::Other);
    ASSERT_TRUE(keyOfKeyDown(SDLK_PAUSE, ctrl, key));
    EXPECT_EQ(key.kind, KeyKind::Other);
    ASSERT_TRUE(keyOfKeyDown(SDLK_CANCEL, ctrl, key));
    EXPECT_EQ(key.kind, KeyKind::Other);
  }
}

TEST(WindowKeys, TextInputArrivesInCodePage437) {
  KeyQueue queue;
  pushTextInput(queue,
                "a\xC3\xA9"
                "Z");  // a, é, Z
  EXPECT_EQ(drainKeys(queue), (std::vector<Key>{characterKey('a'), characterKey(130), characterKey('Z')}));
  pushTextInput(queue, "\xC3\xA0\xC3\xA8\xC3\xAA");  // à è ê
  EXPECT_EQ(drainKeys(queue), (std::vector<Key>{characterKey(133), characterKey(138), characterKey(136)}));
}

TEST(WindowKeys, CharacterWithoutCodePage437CodeIsDropped) {
  KeyQueue queue;
  pushTextInput(queue,
                "x\xE2\x82\xAC"
                "y");  // the euro sign has no code
  EXPECT_EQ(drainKeys(queue), (std::vector<Key>{characterKey('x'), characterKey('y')}));
  pushTextInput(queue, "\xF0\x9F\x98\x80");  // nor has an emoji
  EXPECT_TRUE(drainKeys(queue).empty());
}

}  // namespace
}  // namespace arrowgrid
