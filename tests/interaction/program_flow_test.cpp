// The whole program from scripted keys: which reports the search shows in
// each selection mode, the menu reached from a report and at the end, and
// the finish command.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "display/grid_drawing.h"
#include "interaction/program_driver.h"
#include "interaction/trials_line.h"
#include "search/grid_evaluation.h"
#include "search/search_test_support.h"
#include "support/console_session.h"
#include "support/french_texts.h"

namespace arrowgrid {
using namespace test_support;
namespace {

struct ProgramFlow : ::testing::Test {
  std::unique_ptr<Program> program = std::make_unique<Program>();
  ConsoleSession session{program->console};

  void SetUp() override { session.platform.keepScreens = true; }

  // A new run: a fresh program, nothing typed yet.
  void restart() {
    program = std::make_unique<Program>();
    session.reopen(program->console);
    SetUp();
  }

  // Intro pauses, the words (AB BC CA unless told), the end of the list,
  // the two dialog answers.
  void startWith(const std::string& selectionMode, const std::string& pauseMode,
                 const std::vector<std::string>& words = {"AB", "BC", "CA"}) {
    typeLine(session.platform.script, "");
    typeLine(session.platform.script, "");
    for (const std::string& word : words) typeLine(session.platform.script, word);
    typeLine(session.platform.script, "");
    typeLine(session.platform.script, "O");
    typeLine(session.platform.script, selectionMode);
    typeLine(session.platform.script, pauseMode);
  }

  // Runs the steps until the program ends (its status) or the script runs out (-1).
  int runUntilStopped() {
    try {
      for (;;) runStep(*program);
    } catch (const ProgramEnded& ended) {
      return ended.status;
    } catch (const ScriptExhausted&) {
      return -1;
    }
  }

  static std::string rowOf(const std::string& screen, int32_t r) {
    size_t start = 0;
    for (int32_t i = 1; i < r; ++i) start = screen.find('\n', start) + 1;
    return screen.substr(start, screen.find('\n', start) - start);
  }

  // The trial counts of the report prompts among the recorded screens.
  std::vector<std::string> reportedTrials() const {
    std::vector<std::string> trials;
    for (const std::string& screen : session.platform.screens) {
      if (rowOf(screen, 23).find(REPORT_PAUSE_PROMPT) == std::string::npos) continue;
      const std::string line = rowOf(screen, 21);
      trials.push_back(line.substr(line.find(':') + 2));
    }
    return trials;
  }
};

TEST_F(ProgramFlow, SelectionModesShowTheirReports) {
  const std::vector<std::pair<std::string, std::vector<std::string>>> cases = {
      {"0", {"1", "3", "7", "8", "16", "18", "23"}},
      {"1", {"3", "7", "8", "18", "23"}},
      {"2", {"3", "7"}},
  };
  for (const auto& [mode, expected] : cases) {
    restart();
    startWith(mode, "1");
    for (size_t report = 0; report < expected.size(); ++report) typeLine(session.platform.script, "");
    typeLine(session.platform.script, "");  // the pause after the end of the search
    EXPECT_EQ(runUntilStopped(), -1) << "mode " << mode;
    EXPECT_EQ(reportedTrials(), expected) << "mode " << mode;
    EXPECT_EQ(session.row(1), MENU_TITLE) << "mode " << mode;
    EXPECT_EQ(program->search.bestScore, (ArrangementScore{3, 0, 2, 20})) << "mode " << mode;
  }
}

TEST_F(ProgramFlow, ReportsAfterLongJumpsCarryTheTrialByTrialCounts) {
  // Few letters in common: most comparisons are passed over in bulk.
  const std::vector<std::string> words = {"MAISON", "JARDIN", "TABLE", "PORTE"};
  auto judged = test_support::makeSearch(words);
  std::vector<std::string> expected;
  for (const auto& shown : test_support::judgeSearch(*judged, SelectionMode::AtLeastAsGood).shown) {
    expected.push_back(std::to_string(shown.trialCount));
  }
  ASSERT_GT(expected.size(), 3u);
  startWith("1", "1", words);
  for (size_t report = 0; report <= expected.size(); ++report) typeLine(session.platform.script, "");
  EXPECT_EQ(runUntilStopped(), -1);
  EXPECT_EQ(reportedTrials(), expected);
  EXPECT_EQ(program->search.state.trialCount, judged->state.trialCount);
  EXPECT_EQ(session.row(1), MENU_TITLE);
}

TEST_F(ProgramFlow, SelectionChangedFromTheMenuDuringAWorkedAheadSearch) {
  // Five words: the search's workers (where there are processors for them)
  // run ahead of the reports; every other report leads to the menu, which
  // changes the selection between 2 and 1.
  const std::vector<std::string> words = {"MAISON", "JARDIN", "TABLE", "PORTE", "SOLEIL"};
  const auto modeAfter = [](size_t shown) {
    return shown >= 2 && (shown / 2) % 2 == 1 ? SelectionMode::AtLeastAsGood : SelectionMode::NewBestsOnly;
  };
  auto judged = test_support::makeSearch(words);
  std::vector<std::string> expected;
  for (const auto& shown : test_support::judgeSearch(*judged, modeAfter).shown) {
    expected.push_back(std::to_string(shown.trialCount));
  }
  ASSERT_GT(expected.size(), 6u);
  startWith("2", "1", words);
  for (size_t report = 1; report <= expected.size(); ++report) {
    if (report % 2 == 1) {
      typeLine(session.platform.script, "");
      continue;
    }
    for (const std::string& line :
         {std::string("M"), std::string("S"), std::to_string(static_cast<int32_t>(modeAfter(report))),
          std::string("1"), std::string("R")}) {
      typeLine(session.platform.script, line);
    }
  }
  typeLine(session.platform.script, "");  // the pause after the end of the search
  EXPECT_EQ(runUntilStopped(), -1);
  EXPECT_EQ(reportedTrials(), expected);
  EXPECT_EQ(program->search.state.trialCount, judged->state.trialCount);
  EXPECT_EQ(program->search.bestScore, judged->bestScore);
  EXPECT_EQ(session.row(1), MENU_TITLE);
}

TEST_F(ProgramFlow, ReportCountsAndTheMenuShowsThatArrangement) {
  startWith("", "1");
  typeLine(session.platform.script, "");   // trial 3
  typeLine(session.platform.script, "M");  // trial 7: to the menu
  typeLine(session.platform.script, "c");
  EXPECT_EQ(runUntilStopped(), -1);
  const std::string report = session.platform.screens[session.platform.screens.size() - 3];
  EXPECT_EQ(rowOf(report, 1), "Nb mots placés = 3          Nb de voisinages non désirés = 0");
  EXPECT_EQ(rowOf(report, 2), "Nb recoupement = 2          Surface = 5* 4= 20");
  EXPECT_EQ(rowOf(report, 21), trialsRow("7"));
  // The completed grid alone, the typing cursor at row 22, column 50.
  for (int32_t r = 3; r <= 6; ++r) EXPECT_EQ(session.row(r), rowOf(report, r)) << r;
  EXPECT_EQ(session.row(1), "");
  EXPECT_EQ(session.row(21), "");
  EXPECT_EQ(program->console.text.cursorRow, 22);
  EXPECT_EQ(program->console.text.cursorColumn, 50);
}

// At the end of the search the search's own grid is whatever it tried last.
// The menu shows the arrangement reported last instead, with or without a
// pause, or word 1 alone when nothing was reported.
TEST_F(ProgramFlow, AfterTheEndTheMenuShowsTheArrangementReportedLast) {
  const std::vector<std::string> animals = {"CHAT", "CHIEN", "LAPIN", "TIGRE", "LION", "POULE"};
  const std::vector<std::string> apart = {"AB", "CD"};
  const std::tuple<std::vector<std::string>, std::string, size_t> cases[] = {
      {animals, "0", 6}, {animals, "1", 6}, {apart, "0", 1}};
  for (const auto& [words, pauseMode, wordsPlaced] : cases) {
    auto judged = test_support::makeSearch(words);
    const std::vector<test_support::ShownArrangement> shown =
        test_support::judgeSearch(*judged, SelectionMode::NewBestsOnly).shown;
    PlacementTable table = test_support::makeSearch(words)->table;  // word 1 alone
    std::vector<Placement> rows{table.rows[1]};
    if (!shown.empty()) rows = shown.back().rows;
    ASSERT_EQ(rows.size(), wordsPlaced);
    std::copy(rows.begin(), rows.end(), table.rows.begin() + 1);
    GridEvaluation evaluation;
    buildArrangementGrid(judged->wordList, table, static_cast<int32_t>(rows.size()), evaluation);
    ConsoleSession quiet;
    drawGrid(
        *quiet.console, evaluation.grid,
        DisplaySettings{true, SelectionMode::NewBestsOnly, static_cast<PauseMode>(std::stoi(pauseMode))});

    restart();
    startWith("2", pauseMode, words);
    if (pauseMode != "0")
      for (size_t report = 0; report < shown.size(); ++report) typeLine(session.platform.script, "");
    typeLine(session.platform.script, "");  // the pause after the end of the search
    typeLine(session.platform.script, "C");
    EXPECT_EQ(runUntilStopped(), -1);
    for (int32_t r = 1; r <= 21; ++r)
      EXPECT_EQ(session.row(r), screenRow(*quiet.console, r)) << r << " " << words[0];
  }
}

TEST_F(ProgramFlow, ResumingAfterTheEndCountsOneTrialAndEndsAgain) {
  startWith("2", "");
  typeLine(session.platform.script, "");  // the pause after the end of the search
  typeLine(session.platform.script, "r");
  EXPECT_EQ(runUntilStopped(), -1);
  EXPECT_EQ(session.row(21), trialsRow("27"));
  EXPECT_EQ(session.row(22), SEARCH_FINISHED_ROW);
  EXPECT_EQ(session.row(24), PRESS_RETURN);
  EXPECT_EQ(program->search.state.trialCount, 27);
  EXPECT_EQ(program->search.state.placedCount, 1);
}

TEST_F(ProgramFlow, ResumeFromTheMenuKeepsTheSearchWhereItStopped) {
  startWith("1", "1");
  typeLine(session.platform.script, "m");  // trial 3: to the menu
  typeLine(session.platform.script, "s");  // new answers: every arrangement, no pause
  typeLine(session.platform.script, "0");
  typeLine(session.platform.script, "0");
  typeLine(session.platform.script, "R");
  typeLine(session.platform.script, "");  // the pause after the end of the search
  typeLine(session.platform.script, "F");
  EXPECT_EQ(runUntilStopped(), 0);
  EXPECT_EQ(program->search.state.trialCount, 26);
  EXPECT_EQ(program->settings.selectionMode, SelectionMode{0});
  EXPECT_EQ(program->settings.pauseMode, PauseMode{0});
}

// With no pause, reports are drawn only when something reads the screen. A
// form that wants a picture at every chance must still see, each time, the
// report of the last arrangement shown with the trials line of that moment,
// and the end of the search the last report with the final count.
TEST_F(ProgramFlow, PicturesWithNoPauseShowTheLastReportAndTheTrialOfTheirMoment) {
  const std::vector<std::string> words = {"MAISON", "JARDIN", "TABLE", "PORTE", "SOLEIL"};
  auto judged = test_support::makeSearch(words);
  const std::vector<test_support::ShownArrangement> shown =
      test_support::judgeSearch(*judged, SelectionMode::AllAccepted).shown;
  ASSERT_GT(shown.size(), 50u);

  // The screen of report k drawn at once, with the trials line at trial.
  auto expectedScreen = [&](size_t k, int64_t trial) {
    ConsoleSession quiet;
    PlacementTable table;
    std::copy(shown[k].rows.begin(), shown[k].rows.end(), table.rows.begin() + 1);
    GridEvaluation evaluation;
    buildArrangementGrid(judged->wordList, table, static_cast<int32_t>(shown[k].rows.size()), evaluation);
    showArrangementReport(*quiet.console, shown[k].score, evaluation.grid, shown[k].trialCount,
                          DisplaySettings{.selectionMode = SelectionMode::AllAccepted});
    TrialsLineState line;
    printTrialsLine(*quiet.console, line, trial);
    return screenText(*quiet.console);
  };

  // With a picture at every chance, then with none before the end.
  for (const bool everyPicture : {true, false}) {
    restart();
    session.platform.wantsEveryPicture = everyPicture;
    program->console.platform.refreshWanted.store(everyPicture);
    startWith("0", "0", words);
    typeLine(session.platform.script, "");  // the pause after the end of the search
    EXPECT_EQ(runUntilStopped(), -1);
    size_t checked = 0;
    for (const std::string& picture : session.platform.pictures) {
      const std::string line = rowOf(picture, 21);
      if (line.find("essais") == std::string::npos || rowOf(picture, 1).find("Nb mots") == std::string::npos)
        continue;
      const int64_t trial = std::stoll(line.substr(line.find(':') + 2));
      size_t k = 0;
      while (k + 1 < shown.size() && shown[k + 1].trialCount <= trial) ++k;
      ASSERT_EQ(picture, expectedScreen(k, trial)) << "picture at trial " << trial;
      ++checked;
    }
    EXPECT_EQ(checked > 20, everyPicture) << checked;

    // The end: the last report under the final count and the message.
    ASSERT_GE(session.platform.screens.size(), 2u);
    const std::string end =
        session.platform.screens[session.platform.screens.size() - 2];  // the last is the menu
    const std::string last = expectedScreen(shown.size() - 1, judged->state.trialCount);
    for (int32_t r = 1; r <= 21; ++r) EXPECT_EQ(rowOf(end, r), rowOf(last, r)) << r << " " << everyPicture;
    EXPECT_EQ(rowOf(end, 22), SEARCH_FINISHED_ROW);
  }
}

}  // namespace
}  // namespace arrowgrid
