// The real arrowgrid-solve: its grid and counts, the words from standard
// input, the JSON read back and rebuilt by the engine, the exit statuses.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <functional>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "search/grid_evaluation.h"
#include "search/processor_count.h"
#include "search/search_start.h"
#include "solve/result_json.h"
#include "support/binary_run.h"
#include "support/temporary_folder.h"

namespace arrowgrid {
using namespace test_support;

namespace {

// Run to its end; or sent signal once `when` holds.
BinaryRun solve(const std::vector<std::string>& arguments, const std::string& input = "", int signal = 0,
                const std::function<bool(const RunningProgram&)>& when = nullptr) {
  return runProgram(ARROWGRID_SOLVE_BINARY, input, 60, arguments, signal ? 1 : 0, OutputTarget::Captured,
                    signal ? signal : SIGINT, when);
}

std::vector<std::string> plus(std::vector<std::string> list, const std::vector<std::string>& more) {
  list.insert(list.end(), more.begin(), more.end());
  return list;
}

// The search has begun once its second thread runs (with -j 2 or more): the
// handling of Ctrl+C for the search is set up before it.
bool searching(const RunningProgram& program) { return threadCount(program) >= 2; }

// The output without its time line, which differs from run to run.
std::string withoutTime(const std::string& text) {
  std::istringstream lines(text);
  std::string kept;
  for (std::string line; std::getline(lines, line);) {
    if (!line.starts_with("Time:")) kept += line + "\n";
  }
  return kept;
}

const std::vector<std::string> A7{"MAISON", "JARDIN", "TABLE", "PORTE", "SOLEIL", "FLEUR", "LIVRE"};

TEST(SolveBinary, ThreeWordsPrintTheGridOfTrial7) {
  const BinaryRun run = solve({"ab", "BC", "ca", "--quiet"});
  EXPECT_EQ(run.exitStatus, 0) << run.standardError;
  EXPECT_EQ(withoutTime(run.standardOutput),
            "┌───────────┐\n"
            "│     ↓     │\n"
            "│ → A B ■   │\n"
            "│   → C A ■ │\n"
            "│     ■     │\n"
            "└───────────┘\n"
            "Words placed:            3 of 3\n"
            "Unwanted neighbourhoods: 0\n"
            "Crossings:               2\n"
            "Surface:                 20\n"
            "Box:                     5 x 4, columns 0 to 4, rows -1 to 2\n"
            "Found by:                proof\n"
            "Proven best:             yes\n");
  EXPECT_EQ(run.standardError, "");
  const BinaryRun exhaustive = solve({"AB", "BC", "CA", "--exhaustive"});
  EXPECT_NE(exhaustive.standardOutput.find("Trials:                  26\n"), std::string::npos);
  EXPECT_NE(exhaustive.standardOutput.find("Proven best:             yes (every trial run)\n"),
            std::string::npos);
}

TEST(SolveBinary, SevenWordsGiveOneAnswerWhateverTheWorkers) {
  std::vector<std::string> one = A7;
  one.push_back("--jobs=1");
  const BinaryRun first = solve(one);
  EXPECT_EQ(first.exitStatus, 0) << first.standardError;
  EXPECT_NE(first.standardOutput.find("Words placed:            7 of 7\n"), std::string::npos);
  EXPECT_NE(first.standardOutput.find("Proven best:             yes\n"), std::string::npos);
  std::vector<std::string> two = A7;
  two.push_back("-j2");
  EXPECT_EQ(withoutTime(solve(two).standardOutput), withoutTime(first.standardOutput));
}

TEST(SolveBinary, WordsFromStandardInput) {
  const BinaryRun run = solve({"--words", "-", "-q"}, "# three words\nab\n\nbc\r\nca\n");
  EXPECT_EQ(run.exitStatus, 0) << run.standardError;
  EXPECT_NE(run.standardOutput.find("│ → A B ■   │\n"), std::string::npos);
}

TEST(SolveBinary, UnreadableWordsAreARunTimeFailure) {
  // Through the shell, to start the solver with standard input closed or a folder.
  const std::pair<std::vector<std::string>, std::string> cases[] = {
      {{"-c", "exec \"$0\" --words /nonexistent/words.txt"},
       "arrowgrid-solve: /nonexistent/words.txt: No such file or directory\n"},
      {{"-c", "exec \"$0\" --words - <&-"},
       "arrowgrid-solve: standard input: cannot be read: Bad file descriptor\n"},
      {{"-c", "exec \"$0\" --words - </"},
       "arrowgrid-solve: standard input: cannot be read: Is a directory\n"},
  };
  for (auto [arguments, message] : cases) {
    arguments.push_back(ARROWGRID_SOLVE_BINARY);
    const BinaryRun run = runProgram("/bin/sh", "", 60, arguments);
    EXPECT_EQ(run.exitStatus, 1) << message;
    EXPECT_EQ(run.standardError, message);
  }
}

TEST(SolveBinary, ClosedStandardOutputIsAFailureThatLeavesTheJsonAlone) {
  TemporaryFolder folder;
  const std::string json = folder.file("closed-output.json");
  const BinaryRun run = runProgram(ARROWGRID_SOLVE_BINARY, "", 60, {"-q", "AB", "BC", "CA", "--json", json},
                                   0, OutputTarget::Closed);
  EXPECT_EQ(run.exitStatus, 1);
  EXPECT_EQ(run.standardError, "arrowgrid-solve: standard output: Bad file descriptor\n");
  std::ifstream in(json);
  const nlohmann::json document = nlohmann::json::parse(in, nullptr, false);
  EXPECT_FALSE(document.is_discarded()) << "the grid went into the JSON file";
}

TEST(SolveBinary, UnwritableJsonIsARunTimeFailure) {
  const BinaryRun run = solve({"AB", "BA", "--json", "/nonexistent/result.json"});
  EXPECT_EQ(run.exitStatus, 1);
  EXPECT_EQ(run.standardError, "arrowgrid-solve: /nonexistent/result.json: No such file or directory\n");
}

// A list whose proof takes far longer than these tests wait.
const std::vector<std::string> LONG_LIST{"ABCDE", "BCDEA", "CDEAB", "DEABC", "EABCD", "ACEBD", "BDACE",
                                         "CEADB", "DBECA", "EDCBA", "ABCDE", "BCDEA", "CDEAB", "DEABC"};

// The JSON file is written whole once the answer is known: a signal during
// the search, a full disk or a planted link leave what was there, and a pipe
// with no reader holds nothing up before the search.
TEST(SolveBinary, JsonFileIsReplacedWholeOnlyOnceTheAnswerIsKnown) {
  TemporaryFolder folder;
  const std::string keep = folder.file("keep.json");
  std::ofstream(keep) << "previous\n";
  const BinaryRun killed = solve(plus(LONG_LIST, {"-j2", "--json", keep}), "", SIGTERM, searching);
  EXPECT_EQ(killed.terminatingSignal, SIGTERM);
  EXPECT_EQ(fileContent(keep), "previous\n");

  const std::string target = folder.file("target.txt");
  std::ofstream(target) << "not to be touched\n";
  ASSERT_EQ(symlink(target.c_str(), folder.file("link.json").c_str()), 0);
  ASSERT_EQ(solve({"AB", "BC", "CA", "-q", "--json", folder.file("link.json")}).exitStatus, 0);
  EXPECT_EQ(fileContent(target), "not to be touched\n");
  EXPECT_EQ(nlohmann::json::parse(fileContent(folder.file("link.json")))["words"].size(), 3u);
  EXPECT_EQ(folder.names(), (std::vector<std::string>{"keep.json", "link.json", "target.txt"}));

  const std::string pipe = folder.file("pipe.json");
  ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
  // Ended once the text is out, while it waits for the pipe's reader.
  const BinaryRun unread =
      solve({"AB", "BC", "CA", "--json", pipe}, "", SIGTERM, [](const RunningProgram& p) {
        return standardOutputSoFar(p).find("Proven best:") != std::string::npos;
      });
  EXPECT_EQ(unread.terminatingSignal, SIGTERM);
  EXPECT_NE(unread.standardOutput.find("Words placed:            3 of 3\n"), std::string::npos);
  // Standard output by its name, a file here: added to, the link kept.
  const BinaryRun named = solve({"AB", "BC", "CA", "-q", "--json", "/dev/stdout"});
  EXPECT_EQ(named.exitStatus, 0) << named.standardError;
  EXPECT_TRUE(named.standardOutput.starts_with("┌")) << named.standardOutput;
  EXPECT_NE(named.standardOutput.find("\"words\": ["), std::string::npos);
  struct stat link {};
  EXPECT_TRUE(lstat("/dev/stdout", &link) == 0 && S_ISLNK(link.st_mode));

  TemporaryFolder small;
  if (!mountSmallDisk(small)) GTEST_SKIP() << "no tmpfs can be mounted here";
  const std::string full = small.file("keep.json");
  std::ofstream(full) << "previous\n";
  fillDisk(small);
  std::vector<std::string> words = A7;
  words.insert(words.end(), {"--json", full});
  const BinaryRun noSpace = solve(words);
  EXPECT_EQ(noSpace.exitStatus, 1);
  EXPECT_EQ(noSpace.standardError, "arrowgrid-solve: cannot write " + full + ": No space left on device\n");
  EXPECT_EQ(fileContent(full), "previous\n");
  EXPECT_EQ(small.names(), (std::vector<std::string>{"filler", "keep.json"}));
}

// A signal while the print files are drawn, sent once a hidden temporary
// file is seen, ends either program with none of them left.
TEST(SolveBinary, ASignalWhileDrawingLeavesNoTemporaryFile) {
  int endedBySignal = 0;
  for (const bool solver : {true, false})
    for (const int signalNumber : {SIGTERM, SIGINT}) {
      TemporaryFolder folder;
      const std::string prefix = folder.file("big");
      std::vector<std::string> arguments =
          solver ? std::vector<std::string>{"AB", "BC", "CA", "-q", "--png", prefix, "--pdf", prefix}
                 : std::vector<std::string>{"--script", "--export", folder.path};
      arguments.insert(arguments.end(), {"--dpi", "600", "--page", "a3"});
      const auto drawing = [&](const RunningProgram&) {
        for (const std::string& name : folder.names())
          if (name[0] == '.') return true;
        return false;
      };
      const BinaryRun run = runProgram(solver ? ARROWGRID_SOLVE_BINARY : ARROWGRID_BINARY,
                                       "\n\nAB\nBC\nCA\n\nO\n\n\n\nV\n\nF\n", 60, arguments, 1,
                                       OutputTarget::Captured, signalNumber, drawing);
      if (run.terminatingSignal == signalNumber) ++endedBySignal;
      EXPECT_FALSE(drawing({})) << solver << " " << signalNumber;
    }
  EXPECT_GT(endedBySignal, 0);  // else every file was written between two looks
}

TEST(SolveBinary, TimeLimitAndCtrlCGiveTheBestSoFar) {
  std::vector<std::string> limited = LONG_LIST;
  limited.insert(limited.end(), {"--time-limit", "0.3"});
  const BinaryRun run = solve(limited);
  EXPECT_EQ(run.exitStatus, 0) << run.standardError;
  EXPECT_NE(run.standardOutput.find(
                "Best grid found in 0.3 s; not proven best (--time-limit none proves it)\n"),
            std::string::npos)
      << run.standardOutput;

  // Once the search has begun: before it, Ctrl+C simply ends the program.
  const BinaryRun interrupted = solve(plus(LONG_LIST, {"-j2"}), "", SIGINT, searching);
  EXPECT_EQ(interrupted.exitStatus, 130) << interrupted.standardError;
  EXPECT_NE(interrupted.standardOutput.find("Proven best:             no: interrupted, best found so far\n"),
            std::string::npos)
      << interrupted.standardOutput;

  // Started with SIGINT ignored, as a script's background job is: it stays so.
  const BinaryRun ignored =
      runProgram("/bin/sh", "", 60,
                 plus({"-c", "trap '' INT; exec \"$0\" \"$@\"", ARROWGRID_SOLVE_BINARY, "-j2"}, limited), 1,
                 OutputTarget::Captured, SIGINT, searching);
  EXPECT_TRUE(ignored.signalSent && ignored.exitStatus == 0) << ignored.standardError;
  EXPECT_NE(ignored.standardOutput.find("Best grid found in 0.3 s; not proven best"), std::string::npos);
}

// The JSON says which limit stopped the search; threads beyond the
// processors are said once, and not run.
TEST(SolveBinary, NodeLimitInTheJsonAndThreadsBeyondTheProcessorsSaidOnce) {
  const BinaryRun run = solve(plus(LONG_LIST, {"--node-limit", "2000", "-j", "256", "--json", "-"}));
  ASSERT_EQ(run.exitStatus, 0) << run.standardError;
  const nlohmann::json result = nlohmann::json::parse(run.standardOutput);
  EXPECT_TRUE(result["stopped"] == "node-limit" && result["proven"] == false) << result;
  const std::string n = std::to_string(availableProcessors());
  const std::string warning =
      "arrowgrid-solve: warning: -j 256: " + n + " processors available, so " + n + " threads\n";
  EXPECT_EQ(run.standardError, availableProcessors() < 256 ? warning : "");
}

// Seven words in 10 x 7: as many as fit, the others named on standard
// error and in the JSON, which gives the frame; a grid within it; status 0.
TEST(SolveBinary, AFrameTooSmallForEveryWordNamesTheWordsLeftOut) {
  TemporaryFolder folder;
  std::vector<std::string> arguments = A7;
  arguments.insert(arguments.end(), {"--frame", "10x7", "--json", folder.file("g.json")});
  const BinaryRun run = solve(arguments);
  ASSERT_EQ(run.exitStatus, 0) << run.standardError;
  EXPECT_NE(run.standardOutput.find("Frame:                   10 x 7\n"), std::string::npos) << run.standardOutput;
  EXPECT_EQ(run.standardError, "arrowgrid-solve: the frame 10 x 7 holds 5 of the 7 words; left out: JARDIN, FLEUR\n");
  const nlohmann::json result = nlohmann::json::parse(fileContent(folder.file("g.json")));
  EXPECT_EQ(result["frame"], (nlohmann::json{{"columns", 10}, {"rows", 7}}));
  EXPECT_TRUE(result["box"]["width"] <= 10 && result["box"]["height"] <= 7) << result["box"];
  std::vector<std::string> leftOut = A7;
  for (const auto& placement : result["placements"]) std::erase(leftOut, placement["text"].get<std::string>());
  EXPECT_EQ(result["leftOut"], nlohmann::json(leftOut));
}

// Three grids: each in the text under its heading, the first being the
// answer without the option; the two others in the JSON; one set of files
// each, the first under today's names.
TEST(SolveBinary, CandidatesGiveEachGridItsTextJsonAndFiles) {
  TemporaryFolder folder;
  std::vector<std::string> arguments = A7;
  arguments.insert(arguments.end(), {"--candidates", "3", "--json", folder.file("g.json"), "--ipuz",
                                     folder.file("g.ipuz"), "--svg", folder.file("x"), "-j3"});
  const std::string text = withoutTime(solve(arguments).standardOutput);
  const std::string answer = withoutTime(solve(A7).standardOutput);
  EXPECT_EQ(text.substr(0, text.find("Grids to choose from:")),
            "Grid 1 of 3: the answer\n" + answer.substr(0, answer.find("Found by:")));
  for (const char* heading : {"\nGrid 2 of 3: another grid the first, quick search met\n┌",
                              "\nGrid 3 of 3: another grid the first, quick search met\n┌"})
    EXPECT_NE(text.find(heading), std::string::npos) << text;
  const nlohmann::json result = nlohmann::json::parse(fileContent(folder.file("g.json")));
  ASSERT_EQ(result["candidates"].size(), 2u);
  EXPECT_EQ(result["candidates"][1]["rank"], 3);
  EXPECT_EQ(result["candidates"][1]["counts"]["wordsPlaced"], 7);
  EXPECT_NE(result["candidates"][0]["placements"], result["placements"]);
  EXPECT_EQ(folder.names(), (std::vector<std::string>{"g-2.ipuz", "g-3.ipuz", "g.ipuz", "g.json", "x-2-grille.svg",
                                                      "x-2-solution.svg", "x-3-grille.svg", "x-3-solution.svg",
                                                      "x-grille.svg", "x-solution.svg"}));
}

// The JSON, read back, rebuilt into a grid by the engine from its rows alone.
TEST(SolveBinary, JsonRebuildsIntoTheSameGrid) {
  std::vector<std::string> arguments = A7;
  arguments.insert(arguments.end(), {"--json", "-"});
  const BinaryRun run = solve(arguments);
  ASSERT_EQ(run.exitStatus, 0) << run.standardError;
  const nlohmann::json result = nlohmann::json::parse(run.standardOutput);

  ArrangementSearch search;
  search.wordList.wordCount = static_cast<int32_t>(result["words"].size());
  for (int32_t w = 1; w <= search.wordList.wordCount; ++w) {
    search.wordList.words[static_cast<size_t>(w)] =
        result["words"][static_cast<size_t>(w - 1)].get<std::string>();
  }
  EXPECT_EQ(search.wordList.words[1], "MAISON");
  initSearch(search);
  const auto& placements = result["placements"];
  for (size_t r = 0; r < placements.size(); ++r) {
    const auto& p = placements[r];
    EXPECT_EQ(p["row"], r + 1);
    Placement& row = search.table.rows[r + 1];
    row.wordNumber = p["word"];
    row.x = p["arrow"]["x"];
    row.y = p["arrow"]["y"];
    row.direction = p["direction"] == "right" ? DIR_HORIZONTAL : DIR_VERTICAL;
    EXPECT_EQ(p["text"], search.wordList.words[static_cast<size_t>(row.wordNumber)]);
    EXPECT_EQ(p["crossing"].is_null(), r == 0);
  }
  GridEvaluation rebuilt;
  ASSERT_EQ(buildArrangementGrid(search, static_cast<int32_t>(placements.size()), rebuilt),
            EvaluationOutcome::Accepted);

  const GridBox& box = rebuilt.grid.box;
  EXPECT_EQ(result["box"], (nlohmann::json{{"xMin", box.xMin},
                                           {"xMax", box.xMax},
                                           {"yMin", box.yMin},
                                           {"yMax", box.yMax},
                                           {"width", box.width},
                                           {"height", box.height}}));
  EXPECT_EQ(result["counts"], (nlohmann::json{{"wordsPlaced", placements.size()},
                                              {"unwantedNeighbourhoods", rebuilt.unwantedNeighbourhoods},
                                              {"crossings", rebuilt.crossings},
                                              {"surface", boxSurface(box)}}));
  ASSERT_EQ(result["cells"].size(), static_cast<size_t>(box.height));
  for (int32_t y = box.yMin; y <= box.yMax; ++y) {
    const auto& cells = result["cells"][static_cast<size_t>(y - box.yMin)];
    ASSERT_EQ(cells.size(), static_cast<size_t>(box.width));
    for (int32_t x = box.xMin; x <= box.xMax; ++x) {
      const int32_t code = gridCell(rebuilt.grid, x, y);
      const auto& cell = cells[static_cast<size_t>(x - box.xMin)];
      EXPECT_EQ(cell["kind"], cellKindName(code)) << x << "," << y;
      if (isLetterCode(code)) {
        EXPECT_EQ(cell["letter"], std::string(1, static_cast<char>(code)));
      }
    }
  }
  EXPECT_EQ(result["strategy"], "proof");
  EXPECT_EQ(result["proven"], true);
  EXPECT_EQ(result["stopped"], "complete");
  EXPECT_FALSE(result.contains("trials"));
  EXPECT_GE(result["elapsedSeconds"].get<double>(), 0.0);

  const BinaryRun exhaustive = solve({"AB", "BC", "CA", "--exhaustive", "--json", "-"});
  EXPECT_EQ(nlohmann::json::parse(exhaustive.standardOutput)["trials"], 26);
  EXPECT_EQ(nlohmann::json::parse(exhaustive.standardOutput)["strategy"], "exhaustive");
}

}  // namespace
}  // namespace arrowgrid
