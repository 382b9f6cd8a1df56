// The driver's start: both intro screens row for row, and where typing starts.
#include <gtest/gtest.h>

#include <memory>

#include "interaction/program_driver.h"
#include "platform/key_script.h"
#include "support/console_session.h"
#include "support/french_texts.h"

namespace arrowgrid {
using namespace test_support;
namespace {

struct DriverFixture : ::testing::Test {
  std::unique_ptr<Program> program = std::make_unique<Program>();
  ConsoleSession session{program->console};
};

TEST_F(DriverFixture, FirstIntroScreenWaitsWithTypingFromColumn32) {
  typeText(session.platform.script, "x,\"y");  // typed but not ended: the pause still waits
  EXPECT_THROW(runStep(*program), ScriptExhausted);
  const Console& console = program->console;
  EXPECT_EQ(screenRow(console, 1), INTRO_FIRST_ROW);
  EXPECT_EQ(screenRow(console, 2), "toutes les possibilités. Pour quitter le programme avant la fin de son");
  EXPECT_EQ(screenRow(console, 3), "exécution, presser simultanément <Ctrl> et <Pause>");
  EXPECT_EQ(screenRow(console, 4), "");
  EXPECT_EQ(screenRow(console, 5), "");
  EXPECT_EQ(screenRow(console, 6), ".......................sauf");
  for (int row = 7; row <= 10; ++row)
    EXPECT_EQ(screenRow(console, row).substr(0, 17), std::string(16, ' ') + "(");
  EXPECT_EQ(screenRow(console, 11), "");
  EXPECT_EQ(screenRow(console, 12), "");
  EXPECT_EQ(screenRow(console, 13), std::string(PRESS_RETURN) + "x,\"y");
  EXPECT_EQ(cellAt(console, 13, 32), 'x');
}

TEST_F(DriverFixture, SecondIntroScreenAfterAnyLine) {
  typeLine(session.platform.script, "\"quoted, with comma\" and more");
  EXPECT_THROW(runStep(*program), ScriptExhausted);
  const Console& console = program->console;
  EXPECT_EQ(screenRow(console, 1), INTRO_THANKS_ROW);
  EXPECT_EQ(screenRow(console, 2), "notamment en versant 1 EURO");
  EXPECT_EQ(screenRow(console, 3), "         soit par virement bancaire au compte");
  EXPECT_EQ(screenRow(console, 4).substr(0, 17), std::string(16, ' ') + "(");
  for (int row = 5; row <= 7; ++row)
    EXPECT_EQ(screenRow(console, row).substr(0, 21), std::string(20, ' ') + "(");
  EXPECT_EQ(screenRow(console, 8).substr(0, 23), std::string(16, ' ') + "IBAN : ");
  EXPECT_EQ(screenRow(console, 9).substr(0, 27), std::string(16, ' ') + "BIC code : ");
  EXPECT_EQ(screenRow(console, 10), "");
  EXPECT_EQ(screenRow(console, 11), "         soit par mandat postal, chèque, lettre... à la même adresse");
  EXPECT_EQ(screenRow(console, 12), "");
  EXPECT_EQ(screenRow(console, 13), "");
  EXPECT_EQ(screenRow(console, 14), PRESS_RETURN);
  EXPECT_EQ(console.text.cursorRow, 14);
  EXPECT_EQ(console.text.cursorColumn, 32);
}

TEST_F(DriverFixture, KeysTypedBeforeThePromptServeIt) {
  // Both pauses answered before either screen is shown.
  for (int key = 0; key < 2; ++key) pushKey(program->console.keys, characterKey(13));
  runStep(*program);
  EXPECT_EQ(program->step, ProgramStep::WordEntry);
  EXPECT_EQ(screenRow(program->console, 14), PRESS_RETURN);
  EXPECT_EQ(session.platform.lineInputs, 2);
}

}  // namespace
}  // namespace arrowgrid
