// Both command lines on any arguments (the input split at its zero bytes;
// the first byte picks the program): no fault, a refusal always in the one
// form, and what is accepted always within its ranges. The title check on
// the whole input agrees with a count of the UTF-8 lead bytes.
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz_check.h"
#include "programs/command_line.h"
#include "programs/solve_command_line.h"

using namespace arrowgrid;

namespace {

bool refusalInForm(const std::string& message, const std::string& program) {
  const std::string hint = "\nTry '" + program + " --help' for more information.";
  return message.starts_with(program + ": ") && message.ends_with(hint) &&
         message.size() > program.size() + 2 + hint.size();
}

bool printOptionsInRange(const PrintOptions& print) {
  return print.dpi >= PRINT_DPI_MIN && print.dpi <= PRINT_DPI_MAX && titleProblem(print.title).empty();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  const std::string title = titleProblem(input);
  if (title.empty()) {
    size_t characters = 0;
    for (const char c : input) characters += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    FUZZ_CHECK(characters <= PRINT_TITLE_MAX_CHARACTERS);
  }
  if (size == 0) return 0;

  std::vector<std::string> arguments{"program"};
  for (size_t start = 1; start <= size;) {
    size_t end = input.find('\0', start);
    if (end == std::string::npos) end = size;
    arguments.push_back(input.substr(start, end - start));
    start = end + 1;
  }
  std::vector<const char*> argv;
  for (const std::string& argument : arguments) argv.push_back(argument.c_str());
  const int argc = static_cast<int>(argv.size());

  if (data[0] % 2 == 0) {
    const CommandLine line = parseCommandLine(argc, argv.data());
    if (line.action == CommandLineAction::Refuse) FUZZ_CHECK(refusalInForm(line.message, "arrowgrid"));
    if (line.action == CommandLineAction::Run) {
      FUZZ_CHECK(printOptionsInRange(line.options.print));
      const PrintOptions defaults;
      if (line.options.print.dpi != defaults.dpi || !line.options.print.title.empty()) {
        FUZZ_CHECK(!line.options.exportDirectory.empty());
      }
    }
  } else {
    const SolveCommandLine line = parseSolveCommandLine(argc, argv.data());
    if (line.action == CommandLineAction::Refuse) FUZZ_CHECK(refusalInForm(line.message, "arrowgrid-solve"));
    if (line.action == CommandLineAction::Run) {
      const SolveOptions& options = line.options;
      FUZZ_CHECK(printOptionsInRange(options.print));
      FUZZ_CHECK(options.jobs >= 0 && options.jobs <= MAX_JOBS);
      // -1 when not given (the default limit applies), 0 for none, else seconds.
      FUZZ_CHECK(std::isfinite(options.timeLimitSeconds) &&
                 (options.timeLimitSeconds >= 0 || options.timeLimitSeconds == -1));
      FUZZ_CHECK(!(options.wordsFromFile && !options.words.empty()));
      for (const std::string& word : options.words) FUZZ_CHECK(word != "-");
    }
  }
  return 0;
}
