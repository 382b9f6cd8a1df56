// The display selection dialog driven by scripted keys: its screen, the
// reading of numeric answers, and the start-over on a value out of range.
#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>

#include "interaction/display_dialog.h"
#include "platform/key_script.h"
#include "support/console_session.h"
#include "support/french_texts.h"

namespace arrowgrid {
using namespace test_support;
namespace {

struct DialogSession : ConsoleSession {
  DisplaySettings settings;  // the defaults 1, 1, 0

  // Types the lines, then runs the dialog: true when it returned.
  bool answer(std::initializer_list<std::string_view> lines) {
    type(lines);
    return runsToEnd([&] { chooseDisplaySettings(*console, settings); });
  }
};

TEST(DisplayDialog, TwoEmptyAnswersKeepTheDefaultsOnEightRows) {
  DialogSession session;
  ASSERT_TRUE(session.answer({"", ""}));
  EXPECT_TRUE(session.settings.completeGrid);
  EXPECT_EQ(session.settings.selectionMode, SelectionMode{1});
  EXPECT_EQ(session.settings.pauseMode, PauseMode{0});
  EXPECT_EQ(session.row(1), SELECTION_FIRST_ROW);
  EXPECT_EQ(session.row(2), "       <1> pour n'afficher que les meilleures solutions");
  EXPECT_EQ(session.row(3), "       <2> pour n'afficher que les premières des meilleures");
  EXPECT_EQ(session.row(4), choiceRow(" 1"));
  EXPECT_EQ(session.row(5), "");
  EXPECT_EQ(session.row(6), "entrez <0> pour ne pas faire de pause");
  EXPECT_EQ(session.row(7), "       <1> pour faire une pause après chaque impression");
  EXPECT_EQ(session.row(8), choiceRow(" 0"));
  EXPECT_EQ(session.row(9), "");
}

TEST(DisplayDialog, TypingFollowsTheEqualsSign) {
  DialogSession session;
  typeText(session.platform.script, "2");
  EXPECT_FALSE(session.answer({}));
  EXPECT_EQ(session.row(4), choiceRow(" 1") + "2");
  EXPECT_EQ(cellAt(*session.console, 4, 21), '2');
}

TEST(DisplayDialog, AnswersAreReadAsNumbersRoundedHalfToEven) {
  struct Case {
    std::string_view selection, pause;
    int32_t selectionMode, pauseMode;
  };
  const Case cases[] = {
      {"abc", "abc", 0, 0}, {"2.5", "0.5", 2, 0}, {"1.5", "1", 2, 1},
      {"0.5", "1.4", 0, 1}, {" 2x", "&H1", 2, 1}, {"1,2", "\"0,5\"", 1, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.selection) + " / " + std::string(c.pause));
    DialogSession session;
    ASSERT_TRUE(session.answer({c.selection, c.pause}));
    EXPECT_EQ(session.settings.selectionMode, SelectionMode{c.selectionMode});
    EXPECT_EQ(session.settings.pauseMode, PauseMode{c.pauseMode});
    EXPECT_EQ(session.row(1), SELECTION_FIRST_ROW) << "no start-over";
  }
}

TEST(DisplayDialog, AFirstAnswerOutOfRangeStartsOverShowingIt) {
  DialogSession refused;  // 2.6 rounds to 3: asked again on a cleared screen
  EXPECT_FALSE(refused.answer({"2.6"}));
  EXPECT_EQ(refused.settings.selectionMode, SelectionMode{3});
  EXPECT_EQ(refused.row(1), SELECTION_FIRST_ROW);
  EXPECT_EQ(refused.row(4), choiceRow(" 3"));
  EXPECT_EQ(refused.row(5), "");

  DialogSession kept;  // 5, then an empty answer keeps 5 and starts over again
  EXPECT_FALSE(kept.answer({"5", ""}));
  EXPECT_EQ(kept.row(4), choiceRow(" 5"));
  EXPECT_EQ(kept.row(5), "");
  EXPECT_EQ(kept.row(6), "");

  DialogSession settled;
  ASSERT_TRUE(settled.answer({"5", "", "2", ""}));
  EXPECT_EQ(settled.settings.selectionMode, SelectionMode{2});
  EXPECT_EQ(settled.settings.pauseMode, PauseMode{0});
  EXPECT_EQ(settled.row(4), choiceRow(" 5") + "2");

  DialogSession negative;
  EXPECT_FALSE(negative.answer({"-1"}));
  EXPECT_EQ(negative.row(4), choiceRow("-1"));
  DialogSession negativeSettled;
  ASSERT_TRUE(negativeSettled.answer({"-1", "0", "1"}));
  EXPECT_EQ(negativeSettled.settings.selectionMode, SelectionMode{0});
  EXPECT_EQ(negativeSettled.settings.pauseMode, PauseMode{1});

  DialogSession huge;  // beyond 32 bits: the most negative value, refused
  EXPECT_FALSE(huge.answer({"1e10"}));
  EXPECT_EQ(huge.row(4), choiceRow("-2147483648"));
}

TEST(DisplayDialog, ASecondAnswerOutOfRangeRestartsTheWholeDialog) {
  DialogSession first;
  EXPECT_FALSE(first.answer({"2", "7"}));
  EXPECT_EQ(first.row(1), SELECTION_FIRST_ROW);
  EXPECT_EQ(first.row(4), choiceRow(" 2"));
  EXPECT_EQ(first.row(8), "");

  DialogSession second;
  EXPECT_FALSE(second.answer({"2", "7", ""}));
  EXPECT_EQ(second.row(4), choiceRow(" 2"));
  EXPECT_EQ(second.row(8), choiceRow(" 7"));

  DialogSession settled;
  ASSERT_TRUE(settled.answer({"2", "7", "", "-0.4"}));
  EXPECT_EQ(settled.settings.selectionMode, SelectionMode{2});
  EXPECT_EQ(settled.settings.pauseMode, PauseMode{0});
}

TEST(DisplayDialog, CalledAgainItOffersTheCurrentValuesAndLeavesCompleteGrid) {
  DialogSession session;
  session.settings = DisplaySettings{.completeGrid = false,
                                     .selectionMode = SelectionMode::NewBestsOnly,
                                     .pauseMode = PauseMode::AfterEachReport};
  ASSERT_TRUE(session.answer({"", ""}));
  EXPECT_EQ(session.row(4), choiceRow(" 2"));
  EXPECT_EQ(session.row(8), choiceRow(" 1"));
  EXPECT_FALSE(session.settings.completeGrid);
  EXPECT_EQ(session.settings.selectionMode, SelectionMode{2});
  EXPECT_EQ(session.settings.pauseMode, PauseMode{1});
}

}  // namespace
}  // namespace arrowgrid
