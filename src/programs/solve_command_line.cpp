// arrowgrid-solve's options, on the shared command-line pieces.
#include "programs/solve_command_line.h"

#include <array>
#include <charconv>
#include <cstdio>
#include <string_view>
#include <system_error>

#include "base/exit_status.h"
#include "search/solve_strategy.h"

namespace arrowgrid {

namespace {

// Whether text is a plain decimal number: digits, maybe a point and more
// digits. CLI11 alone would also take 0x10 as 16, an exponent, a sign, and
// blanks before the number but not after it.
bool isPlainDecimal(std::string_view text) {
  const size_t point = text.find('.');
  const std::string_view whole = text.substr(0, point);
  const std::string_view fraction = point == std::string_view::npos ? "" : text.substr(point + 1);
  const auto digitsOnly = [](std::string_view part) {
    return part.find_first_not_of("0123456789") == std::string_view::npos;
  };
  return whole.size() + fraction.size() > 0 && digitsOnly(whole) && digitsOnly(fraction);
}

// A plain decimal number above 0 that a double holds, or "none": no limit,
// which the settings hold as 0.
CLI::Validator secondsAbove0OrNone() {
  return CLI::Validator(
      [](std::string& value) -> std::string {
        if (value == "none") {
          value = "0";
          return {};
        }
        double seconds = 0;
        const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), seconds);
        if (isPlainDecimal(value) && error == std::errc() && end == value.data() + value.size() &&
            seconds > 0)
          return {};
        return "'" + value + "' is not a number of seconds above 0, nor none";
      },
      "");
}

// A plain decimal number of points within the sizes a clue may be held to.
CLI::Validator clueSizeFloor() {
  return CLI::Validator(
      [](std::string& value) -> std::string {
        double points = 0;
        const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), points);
        if (isPlainDecimal(value) && error == std::errc() && end == value.data() + value.size() &&
            points >= CLUE_SIZE_MIN_PT && points <= CLUE_SIZE_FLOOR_MAX_PT)
          return {};
        char why[96];
        std::snprintf(why, sizeof why, "' is not a number of points from %g to %g", CLUE_SIZE_MIN_PT,
                      CLUE_SIZE_FLOOR_MAX_PT);
        return "'" + value + why;
      },
      "");
}

// Columns and rows of a frame, each MIN_FRAME_SIDE to MAX_FRAME_SIDE: three
// is the least any grid takes either way.
constexpr int32_t MIN_FRAME_SIDE = 3;
constexpr int32_t MAX_FRAME_SIDE = 999;

// COLSxROWS in digits; false when it is not that or a side is out of range.
bool parseFrame(const std::string& text, GridFrame& frame) {
  const size_t cross = text.find('x');
  if (cross == std::string::npos) return false;
  const std::string sides[] = {text.substr(0, cross), text.substr(cross + 1)};
  int32_t values[2] = {0, 0};
  for (int32_t i = 0; i < 2; ++i) {
    const std::string& side = sides[i];
    if (side.empty() || side.size() > 3 || side.find_first_not_of("0123456789") != std::string::npos)
      return false;
    values[i] = std::stoi(side);
    if (values[i] < MIN_FRAME_SIDE || values[i] > MAX_FRAME_SIDE) return false;
  }
  frame = GridFrame{values[0], values[1]};
  return true;
}

CLI::Validator frameSides() {
  return CLI::Validator(
      [](std::string& value) -> std::string {
        GridFrame frame;
        if (parseFrame(value, frame)) return {};
        return "'" + value + "' is not COLSxROWS with each side " + std::to_string(MIN_FRAME_SIDE) + " to " +
               std::to_string(MAX_FRAME_SIDE);
      },
      "");
}

void defineOptions(CLI::App& app, SolveOptions& options, StandardFlags& flags) {
  prepareCommandLine(app);
  app.add_option("--words", options.wordsFile,
                 "read the words from FILE ('-': standard input): one a line, blank lines and lines "
                 "starting with '#' skipped, each word maybe followed by a tab and its clue; or a JSON "
                 "list of {\"answer\": ..., \"clue\": ...} objects")
      ->option_text("FILE");
  app.add_flag("--exhaustive", options.exhaustive,
               "run every trial, as arrowgrid does, and print the trials count (default: skip what cannot "
               "beat the best found so far; same answer, much sooner)");
  app.add_option("--time-limit", options.timeLimitSeconds,
                 "stop after SECONDS with the best found so far, which is then not proven best (default: "
                 "10, none with --exhaustive); 'none' proves the best whatever it takes")
      ->option_text("SECONDS")
      ->transform(secondsAbove0OrNone());
  app.add_option("--node-limit", options.nodeLimit,
                 "stop after about N evaluations with the best found within them, the same on every "
                 "machine, at any load and for any -j (default: none; then no default time limit)")
      ->option_text("N")
      ->transform(wholeNumberFrom(1, MAX_NODE_LIMIT));
  app.add_option("-j,--jobs", options.jobs,
                 "search with N threads, 1 to " + std::to_string(MAX_JOBS) +
                     ", at most the processors available (default: all of them); the answer does not "
                     "depend on N")
      ->option_text("N")
      ->transform(wholeNumberFrom(1, MAX_JOBS));
  app.add_option_function<std::string>(
         "--frame", [&options](const std::string& value) { parseFrame(value, options.frame); },
         "only grids at most COLS cells wide and ROWS high, arrow cells and blocks included, each "
         "side 3 to 999 (default: any size); when not every word fits, as many as fit, and the "
         "words left out are named")
      ->option_text("COLSxROWS")
      ->check(frameSides());
  app.add_option("--candidates", options.candidates,
                 "give the N best different grids found, 1 to " + std::to_string(MAX_CANDIDATES) +
                     ", best first (default 1): the first is the answer, the others the best the quick "
                     "first search met; the files of grid N are numbered N")
      ->option_text("N")
      ->transform(wholeNumberFrom(1, MAX_CANDIDATES));
  app.add_option("--json", options.jsonFile,
                 "also write the result as JSON to FILE ('-': to standard output, instead of the text)")
      ->option_text("FILE");
  app.add_flag("-q,--quiet", options.quiet,
               "no progress line (it is shown only when standard error is a terminal)");
  app.add_option("--pdf", options.pdfPrefix,
                 "write the puzzle to PREFIX-grille.pdf and its solution to PREFIX-solution.pdf")
      ->option_text("PREFIX");
  app.add_option("--svg", options.svgPrefix, "the same as SVG (in millimetres)")->option_text("PREFIX");
  app.add_option("--png", options.pngPrefix, "the same as PNG")->option_text("PREFIX");
  app.add_option("--ipuz", options.ipuzFile,
                 "write the puzzle, its solution and its clues to FILE in the ipuz format that puzzle "
                 "players open")
      ->option_text("FILE");
  app.add_option("--html", options.htmlFile,
                 "write the puzzle to FILE as one web page that plays it in any browser, offline")
      ->option_text("FILE");
  addPrintOptions(app, options.print, "--pdf, --svg, --png, --ipuz or --html");
  app.add_option("--min-clue-size", options.print.minClueSizePt,
                 "set no clue smaller than PT points, in its cell or in the list under the grid: a clue "
                 "that does not fit its cell at that size is listed (default 5; 7 or 8 for children); only "
                 "with --pdf, --svg or --png")
      ->option_text("PT")
      ->check(clueSizeFloor());
  addStandardFlags(app, flags);
  app.add_option("words", options.words);
}

// The refusals that depend on several options; "" when there are none.
std::string conflictOf(const CLI::App& app, const SolveOptions& options) {
  const std::string printOption = firstGiven(app, PRINT_OPTION_NAMES);
  if (!printOption.empty() && firstGiven(app, {"--pdf", "--svg", "--png", "--ipuz", "--html"}).empty()) {
    return printOption + ": needs --pdf, --svg, --png, --ipuz or --html";
  }
  if (app.count("--min-clue-size") > 0 && firstGiven(app, {"--pdf", "--svg", "--png"}).empty()) {
    return "--min-clue-size: needs --pdf, --svg or --png";
  }
  if (options.exhaustive && options.nodeLimit > 0) {
    return "--node-limit: not with --exhaustive, which runs every trial";
  }
  if (options.wordsFromFile && !options.words.empty()) {
    return "give the words either as arguments or with --words, not both";
  }
  for (const std::string& word : options.words) {
    if (word == "-") return "'-' is not a word; use '--words -' to read the words from standard input";
  }
  return {};
}

}  // namespace

SolveCommandLine parseSolveCommandLine(int argc, const char* const* argv) {
  SolveCommandLine line;
  CLI::App app;
  StandardFlags flags;
  defineOptions(app, line.options, flags);
  line.action = parseArguments(app, flags, SOLVE_PROGRAM, argc, argv, line.message);
  if (line.action != CommandLineAction::Run) return line;
  line.options.wordsFromFile = app.count("--words") > 0;
  line.options.json = app.count("--json") > 0;
  if (const std::string conflict = conflictOf(app, line.options); !conflict.empty()) {
    line.action = CommandLineAction::Refuse;
    line.message = refusalOf(SOLVE_PROGRAM, conflict);
  }
  return line;
}

std::string solveHelpText() {
  SolveOptions options;
  CLI::App app;
  StandardFlags flags;
  defineOptions(app, options, flags);
  static constexpr std::array<ExitStatusLine, 4> statuses = {{
      {SUCCESS_STATUS, "the answer was printed (proven best, or the best within the limit)"},
      {FAILURE_STATUS, "a run-time failure (a file could not be read or written)"},
      {BAD_COMMAND_LINE_STATUS, "bad command line or bad words"},
      {INTERRUPTED_STATUS, "interrupted by Ctrl+C; the best found so far was printed"},
  }};
  return "Usage: arrowgrid-solve [OPTION]... WORD WORD...\n"
         "  or:  arrowgrid-solve [OPTION]... --words FILE\n"
         "Find the best arrow-word grid for 2 to 50 words: the arrangement that\n"
         "arrowgrid shows last when it shows only new bests, after a complete search\n"
         "of the same words in the same order. Words are folded to capitals without\n"
         "accents (oe and ae ligatures spelt out); letters and the hyphen only.\n"
         "\n" +
         optionsHelp(app) +
         "\n"
         "The grid is printed with arrow cells (→ ↓, ↘ for both), blocks ■ and\n"
         "letters, then the words placed, unwanted neighbourhoods, crossings, surface,\n"
         "the box, the time and whether the answer is proven best. Ctrl+C stops the\n"
         "search and prints the best found so far.\n"
         "\n" +
         exitStatusHelp(statuses);
}

}  // namespace arrowgrid
