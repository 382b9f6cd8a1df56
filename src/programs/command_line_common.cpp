// The command-line pieces both programs share, on CLI11.
#include "programs/command_line_common.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <map>

#include "base/exit_status.h"
#include "base/message_text.h"

namespace arrowgrid {

namespace {

constexpr size_t HELP_WIDTH = 79;
// Names longer than this start their description on the next line, so that
// one long name does not push every description to the right.
constexpr size_t HELP_NAME_WIDTH_MAX = 22;

// Characters, not bytes: the help may hold accented letters.
size_t displayWidth(std::string_view text) {
  return static_cast<size_t>(std::count_if(
      text.begin(), text.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

// "-j, --jobs N", or "    --words FILE" beside options with a short name.
std::string nameColumnOf(const CLI::Option& option) {
  std::string names = option.get_snames().empty() ? "    " : "-" + option.get_snames().front() + ", ";
  names += "--" + option.get_lnames().front();
  if (!option.get_option_text().empty()) names += " " + option.get_option_text();
  return names;
}

// text's words in lines of at most HELP_WIDTH columns, each after indent
// columns; the first line continues what is already written.
std::string wrapped(std::string_view text, size_t indent, size_t firstColumn) {
  std::string out;
  size_t column = firstColumn;
  bool lineStarted = false;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find(' ', start);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view word = text.substr(start, end - start);
    start = end + 1;
    if (word.empty()) continue;
    if (lineStarted && column + 1 + displayWidth(word) > HELP_WIDTH) {
      out += "\n" + std::string(indent, ' ');
      column = indent;
      lineStarted = false;
    }
    if (lineStarted) {
      out += ' ';
      ++column;
    }
    out += word;
    column += displayWidth(word);
    lineStarted = true;
  }
  return out + "\n";
}

// The sentence a CLI11 refusal is turned into, in the programs' own wording.
std::string reasonOf(const CLI::App& app, const CLI::ParseError& error) {
  const std::string what = error.what();
  if (dynamic_cast<const CLI::ArgumentMismatch*>(&error) != nullptr) {
    // "--dpi: 1 required INT missing" or "quiet was given a disallowed flag override"
    const size_t colon = what.find(": ");
    if (colon != std::string::npos && what.ends_with(" missing")) {
      return what.substr(0, colon) + ": needs a value";
    }
    const size_t space = what.find(' ');
    if (what.find("flag override") != std::string::npos && space != std::string::npos) {
      const std::string name = what.substr(0, space);
      const CLI::Option* option = app.get_option_no_throw("--" + name);
      return (option != nullptr ? "--" + name : name) + ": takes no value";
    }
  }
  if (dynamic_cast<const CLI::ExcludesError*>(&error) != nullptr) {
    // "--window excludes --script"
    const size_t space = what.find(" excludes ");
    if (space != std::string::npos) {
      return what.substr(0, space) + ": cannot be given with " + what.substr(space + 10);
    }
  }
  return what;  // a validator's refusal: "--dpi: '9000' is not ..."
}

}  // namespace

void prepareCommandLine(CLI::App& app) {
  app.set_help_flag();  // ours, so that help is printed and written like the rest
  app.allow_extras();   // unknown options are named by parseArguments, in our wording
  // GNU ways: the last of a repeated option wins; a flag takes no value.
  app.option_defaults()->multi_option_policy(CLI::MultiOptionPolicy::TakeLast)->disable_flag_override();
}

void addStandardFlags(CLI::App& app, StandardFlags& flags) {
  app.add_flag("-h,--help", flags.help, "display this help and exit");
  app.add_flag("--version", flags.version, "output version information and exit");
}

void addPrintOptions(CLI::App& app, PrintOptions& print, std::string_view onlyWith) {
  const std::string needs = "; only with " + std::string(onlyWith);
  static const std::map<std::string, PageSize> pages = {
      {"a4", PageSize::A4}, {"letter", PageSize::Letter}, {"a3", PageSize::A3}};
  app.add_option("--page", print.page,
                 "page of the PDF (default a4), portrait or landscape, whichever gives the larger cells "
                 "(12 mm at most, 16 mm with clues)" +
                     needs)
      ->option_text("a4|letter|a3")
      ->transform(explained(CLI::CheckedTransformer(pages, CLI::ignore_case), "is not a4, letter or a3"));
  app.add_option("--dpi", print.dpi,
                 "resolution of the PNG, " + std::to_string(PRINT_DPI_MIN) + " to " +
                     std::to_string(PRINT_DPI_MAX) + " (default " + std::to_string(PRINT_DPI_DEFAULT) + ")" +
                     needs)
      ->option_text("N")
      ->transform(wholeNumberFrom(PRINT_DPI_MIN, PRINT_DPI_MAX));
  app.add_option("--title", print.title,
                 "a title line above the grid, at most " + std::to_string(PRINT_TITLE_MAX_CHARACTERS) +
                     " characters of UTF-8 (default none)" + needs)
      ->option_text("TEXT")
      ->check(CLI::Validator([](std::string& title) { return titleProblem(title); }, ""));
  app.add_option(
         "--author", print.author,
         "the author, under the title, in the PDF's metadata, the ipuz file and the page (default none)" + needs)
      ->option_text("TEXT")
      ->check(CLI::Validator([](std::string& author) { return titleProblem(author); }, ""));
  app.add_option("--copyright", print.copyright, "the copyright notice, likewise (default none)" + needs)
      ->option_text("TEXT")
      ->check(CLI::Validator([](std::string& copyright) { return titleProblem(copyright); }, ""));
  static const std::map<std::string, ClueLayout> layouts = {{"cells", ClueLayout::InCells},
                                                            {"list", ClueLayout::List}};
  app.add_option("--clue-layout", print.clueLayout,
                 "cells: each clue in its clue cell, a clue too long for it listed under the grid; "
                 "list: numbers in the cells and every clue listed under the grid (default cells)" +
                     needs)
      ->option_text("cells|list")
      ->transform(explained(CLI::CheckedTransformer(layouts), "is not cells or list"));
}

CLI::Validator explained(const CLI::Validator& check, const std::string& why) {
  return CLI::Validator(
      [check, why](std::string& value) -> std::string {
        const std::string given = value;
        if (check(value).empty()) return {};
        return "'" + given + "' " + why;
      },
      "");
}

CLI::Validator wholeNumberFrom(int64_t min, int64_t max) {
  const CLI::Validator range = CLI::Range(min, max);
  return CLI::Validator(
      [range, min, max](std::string& value) -> std::string {
        if (!value.empty() && value.find_first_not_of("0123456789") == std::string::npos) {
          std::string decimal = value.substr(std::min(value.find_first_not_of('0'), value.size() - 1));
          if (range(decimal).empty()) {
            value = decimal;  // without leading zeros, which CLI11 would read as octal
            return {};
          }
        }
        return "'" + value + "' is not a whole number from " + std::to_string(min) + " to " +
               std::to_string(max);
      },
      "");
}

CommandLineAction parseArguments(CLI::App& app, const StandardFlags& flags, std::string_view program,
                                 int argc, const char* const* argv, std::string& message) {
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& error) {
    message = refusalOf(program, reasonOf(app, error));
    return CommandLineAction::Refuse;
  }
  if (flags.help) return CommandLineAction::ShowHelp;
  if (flags.version) return CommandLineAction::ShowVersion;
  // What CLI11 leaves over is the options it does not know (the words went
  // to the program's positional option) and the `--` that ended the options.
  for (const std::string& extra : app.remaining()) {
    if (extra == "--") continue;
    message = refusalOf(program, extra.substr(0, extra.find('=')) + ": unknown option");
    return CommandLineAction::Refuse;
  }
  return CommandLineAction::Run;
}

std::string refusalOf(std::string_view program, std::string_view why) {
  const std::string name(program);
  return name + ": " + std::string(why) + "\nTry '" + name + " --help' for more information.";
}

std::string firstGiven(const CLI::App& app, std::initializer_list<const char*> names) {
  for (const CLI::Option* option : app.parse_order()) {
    for (const char* name : names) {
      if (option->check_lname(std::string(name).substr(2))) return name;
    }
  }
  return {};
}

std::string optionsHelp(const CLI::App& app) {
  const std::vector<const CLI::Option*> options =
      app.get_options([](const CLI::Option* option) { return option->nonpositional(); });
  size_t nameWidth = 0;
  for (const CLI::Option* option : options) {
    const size_t width = displayWidth(nameColumnOf(*option));
    if (width <= HELP_NAME_WIDTH_MAX) nameWidth = std::max(nameWidth, width);
  }
  const size_t indent = 2 + nameWidth + 2;
  std::string out;
  for (const CLI::Option* option : options) {
    const std::string names = "  " + nameColumnOf(*option);
    out += names;
    if (displayWidth(names) + 2 > indent) {
      out += "\n" + std::string(indent, ' ');
    } else {
      out += std::string(indent - displayWidth(names), ' ');
    }
    out += wrapped(option->get_description(), indent, indent);
  }
  return out;
}

std::string exitStatusHelp(std::span<const ExitStatusLine> lines) {
  size_t width = 0;
  for (const ExitStatusLine& line : lines) width = std::max(width, std::to_string(line.status).size());
  std::string out = "Exit status:\n";
  for (const ExitStatusLine& line : lines) {
    const std::string status = std::to_string(line.status);
    out += "  " + status + std::string(width - status.size() + 2, ' ');
    out += wrapped(line.meaning, width + 4, width + 4);
  }
  return out;
}

int statusWithoutRunning(CommandLineAction action, std::string_view program, std::string (*helpText)(),
                         const std::string& message) {
  switch (action) {
    case CommandLineAction::ShowHelp:
      return writeStandardOutput(program, helpText()) ? SUCCESS_STATUS : FAILURE_STATUS;
    case CommandLineAction::ShowVersion:
      return writeStandardOutput(program, std::string(program) + " " + std::string(PROGRAM_VERSION) + "\n")
                 ? SUCCESS_STATUS
                 : FAILURE_STATUS;
    case CommandLineAction::Refuse:
      std::fprintf(stderr, "%s\n", messageText(message, true).c_str());  // values are echoed in it
      return BAD_COMMAND_LINE_STATUS;
    case CommandLineAction::Run:
      break;
  }
  return SUCCESS_STATUS;
}

bool writeStandardOutput(std::string_view program, std::string_view text) {
  errno = 0;
  const bool written = std::fwrite(text.data(), 1, text.size(), stdout) == text.size();
  if (written && std::fflush(stdout) == 0 && !std::ferror(stdout)) return true;
  const int reason = errno;
  std::fprintf(stderr, "%.*s: write error%s%s\n", static_cast<int>(program.size()), program.data(),
               reason != 0 ? ": " : "", reason != 0 ? std::strerror(reason) : "");
  return false;
}

}  // namespace arrowgrid
