// Parsing arrowgrid-solve's options.
#include "programs/solve_command_line.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

namespace arrowgrid {

namespace {

enum class OptionId { Words, Exhaustive, TimeLimit, Jobs, Json, Quiet, Help, Version, Pdf, Svg, Png };

struct OptionEntry {
  OptionId id;
  std::string_view longName;  // without the dashes
  char shortName;             // 0: none
  bool takesValue;
};

constexpr OptionEntry OPTIONS[] = {
    {OptionId::Words, "words", 0, true},
    {OptionId::Exhaustive, "exhaustive", 0, false},
    {OptionId::TimeLimit, "time-limit", 0, true},
    {OptionId::Jobs, "jobs", 'j', true},
    {OptionId::Json, "json", 0, true},
    {OptionId::Quiet, "quiet", 'q', false},
    {OptionId::Help, "help", 'h', false},
    {OptionId::Version, "version", 0, false},
    {OptionId::Pdf, "pdf", 0, true},
    {OptionId::Svg, "svg", 0, true},
    {OptionId::Png, "png", 0, true},
};

SolveCommandLine refuse(const std::string& why) {
  SolveCommandLine line;
  line.action = SolveAction::Refuse;
  line.message = std::string(SOLVE_PROGRAM) + ": " + why + "\nTry '" + std::string(SOLVE_PROGRAM) +
                 " --help' for more information.";
  return line;
}

bool parseSeconds(const std::string& text, double& seconds) {
  if (text.empty()) return false;
  char* end = nullptr;
  const double value = std::strtod(text.c_str(), &end);
  if (end != text.c_str() + text.size() || !std::isfinite(value) || value <= 0) return false;
  seconds = value;
  return true;
}

bool parseJobs(const std::string& text, int32_t& jobs) {
  int32_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || value < 1 || value > MAX_JOBS) return false;
  jobs = value;
  return true;
}

// Applies one option; an error message when its value is refused.
std::string applyOption(OptionId id, const std::string& value, SolveCommandLine& line) {
  SolveOptions& options = line.options;
  switch (id) {
    case OptionId::Words:
      if (value.empty()) return "option '--words' requires a file name ('-' for standard input)";
      options.wordsFromFile = true;
      options.wordsFile = value;
      return {};
    case OptionId::Exhaustive:
      options.exhaustive = true;
      return {};
    case OptionId::TimeLimit:
      if (!parseSeconds(value, options.timeLimitSeconds)) {
        return "invalid time limit '" + value + "': a number of seconds above 0 is needed";
      }
      return {};
    case OptionId::Jobs:
      if (!parseJobs(value, options.jobs)) {
        return "invalid number of jobs '" + value + "': a whole number from 1 to " +
               std::to_string(MAX_JOBS) + " is needed";
      }
      return {};
    case OptionId::Json:
      if (value.empty()) return "option '--json' requires a file name ('-' for standard output)";
      options.json = true;
      options.jsonFile = value;
      return {};
    case OptionId::Quiet:
      options.quiet = true;
      return {};
    case OptionId::Help:
      line.action = SolveAction::ShowHelp;
      return {};
    case OptionId::Version:
      line.action = SolveAction::ShowVersion;
      return {};
    case OptionId::Pdf:
    case OptionId::Svg:
    case OptionId::Png: {
      const char* name = id == OptionId::Pdf ? "--pdf" : (id == OptionId::Svg ? "--svg" : "--png");
      if (value.empty()) return std::string("option '") + name + "' requires a file name prefix";
      (id == OptionId::Pdf ? options.pdfPrefix
                           : (id == OptionId::Svg ? options.svgPrefix : options.pngPrefix)) = value;
      return {};
    }
  }
  return {};
}

}  // namespace

SolveCommandLine parseSolveCommandLine(int argc, const char* const* argv) {
  SolveCommandLine line;
  bool optionsEnded = false;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i] != nullptr ? argv[i] : "";
    if (optionsEnded || arg.empty() || arg[0] != '-') {
      line.options.words.push_back(arg);
      continue;
    }
    if (arg == "--") {
      optionsEnded = true;
      continue;
    }
    if (arg == "-") return refuse("'-' is not a word; use '--words -' to read the words from standard input");
    if (std::string error; const int32_t taken = takePrintOption(argc, argv, i, line.options.print, error)) {
      if (!error.empty()) return refuse(error);
      i += taken - 1;
      continue;
    }

    // --name, --name=value, -x, or -x value / -xVALUE.
    const OptionEntry* entry = nullptr;
    std::string value;
    bool valueAttached = false;
    std::string shownName;
    if (arg.starts_with("--")) {
      const size_t equals = arg.find('=');
      const std::string name = arg.substr(2, equals == std::string::npos ? std::string::npos : equals - 2);
      for (const OptionEntry& option : OPTIONS) {
        if (option.longName == name) entry = &option;
      }
      if (entry == nullptr) return refuse("unrecognized option '--" + name + "'");
      shownName = "--" + name;
      if (equals != std::string::npos) {
        if (!entry->takesValue) return refuse("option '" + shownName + "' doesn't allow an argument");
        value = arg.substr(equals + 1);
        valueAttached = true;
      }
    } else {
      for (const OptionEntry& option : OPTIONS) {
        if (option.shortName != 0 && option.shortName == arg[1]) entry = &option;
      }
      if (entry == nullptr) return refuse("invalid option -- '" + arg.substr(1, 1) + "'");
      shownName = arg.substr(0, 2);
      if (arg.size() > 2) {
        if (!entry->takesValue) return refuse("invalid option -- '" + arg.substr(1) + "'");
        value = arg.substr(2);
        valueAttached = true;
      }
    }
    if (entry->takesValue && !valueAttached) {
      if (i + 1 >= argc || argv[i + 1] == nullptr)
        return refuse("option '" + shownName + "' requires an argument");
      value = argv[++i];
    }
    const std::string error = applyOption(entry->id, value, line);
    if (!error.empty()) return refuse(error);
    if (line.action != SolveAction::Run) return line;
  }
  const SolveOptions& given = line.options;
  const bool printing = !given.pdfPrefix.empty() || !given.svgPrefix.empty() || !given.pngPrefix.empty();
  const PrintOptions defaults;
  if (!printing &&
      (given.print.page != defaults.page || given.print.dpi != defaults.dpi || !given.print.title.empty())) {
    return refuse("--page, --dpi and --title go with --pdf, --svg or --png");
  }
  if (line.options.wordsFromFile && !line.options.words.empty()) {
    return refuse("give the words either as arguments or with --words, not both");
  }
  return line;
}

std::string solveHelpText() {
  return std::string(
             "Usage: arrowgrid-solve [OPTION]... WORD WORD...\n"
             "  or:  arrowgrid-solve [OPTION]... --words FILE\n"
             "Find the best arrow-word grid for 2 to 50 words: the arrangement that\n"
             "arrowgrid shows last when it shows only new bests, after a complete search\n"
             "of the same words in the same order. Words are folded to capitals without\n"
             "accents (oe and ae ligatures spelt out); letters and the hyphen only.\n"
             "\n"
             "  --words FILE          read the words from FILE, one a line ('-': standard\n"
             "                        input); blank lines and lines starting with '#' are\n"
             "                        skipped\n"
             "  --exhaustive          run every trial, as arrowgrid does, and print the\n"
             "                        trials count (default: skip what cannot beat the\n"
             "                        best found so far; same answer, much sooner)\n"
             "  --time-limit SECONDS  stop after SECONDS with the best found so far, which\n"
             "                        is then not proven best (default: no limit)\n"
             "  -j, --jobs N          search with N threads, 1 to 256 (default: the\n"
             "                        processors available); the answer does not depend\n"
             "                        on N\n"
             "  --json FILE           also write the result as JSON to FILE ('-': to\n"
             "                        standard output, instead of the text)\n"
             "  -q, --quiet           no progress line (it is shown only when standard\n"
             "                        error is a terminal)\n"
             "  --pdf PREFIX          write the puzzle to PREFIX-grille.pdf and its solution\n"
             "                        to PREFIX-solution.pdf\n"
             "  --svg PREFIX          the same as SVG (in millimetres)\n"
             "  --png PREFIX          the same as PNG\n") +
         printOptionsHelp() +
         std::string(
             "  -h, --help            display this help and exit\n"
             "      --version         output version information and exit\n"
             "\n"
             "The grid is printed with arrow cells (→ ↓, ↘ for both), blocks ■ and\n"
             "letters, then the words placed, unwanted neighbourhoods, crossings, surface,\n"
             "the box, the time and whether the answer is proven best. Ctrl+C stops the\n"
             "search and prints the best found so far.\n"
             "\n"
             "Exit status:\n"
             "  0    the answer was printed (proven best, or the best within the limit)\n"
             "  1    a run-time failure (a file could not be read or written)\n"
             "  2    bad command line or bad words\n"
             "  130  interrupted by Ctrl+C; the best found so far was printed\n");
}

}  // namespace arrowgrid
