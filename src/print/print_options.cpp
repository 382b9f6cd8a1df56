// Parsing of --page, --dpi and --title, shared by both programs.
#include "print/print_options.h"

#include <charconv>
#include <string_view>

namespace arrowgrid {

namespace {

bool readPage(std::string_view value, PageSize& page) {
  if (value == "a4" || value == "A4") {
    page = PageSize::A4;
  } else if (value == "letter") {
    page = PageSize::Letter;
  } else if (value == "a3" || value == "A3") {
    page = PageSize::A3;
  } else {
    return false;
  }
  return true;
}

bool readDpi(std::string_view value, int32_t& dpi) {
  int32_t number = 0;
  const auto [end, failure] = std::from_chars(value.data(), value.data() + value.size(), number);
  if (failure != std::errc() || end != value.data() + value.size()) return false;
  if (number < PRINT_DPI_MIN || number > PRINT_DPI_MAX) return false;
  dpi = number;
  return true;
}

}  // namespace

int32_t takePrintOption(int32_t argc, const char* const* args, int32_t index, PrintOptions& options,
                        std::string& error) {
  const std::string_view arg = args[index];
  static constexpr std::string_view names[] = {"--page", "--dpi", "--title"};
  for (const std::string_view name : names) {
    if (arg.substr(0, name.size()) != name) continue;
    const std::string_view rest = arg.substr(name.size());
    if (!rest.empty() && rest[0] != '=') continue;  // another option that starts alike

    int32_t taken = 1;
    std::string_view value;
    if (!rest.empty()) {
      value = rest.substr(1);
    } else if (index + 1 < argc) {
      value = args[index + 1];
      taken = 2;
    } else {
      error = std::string(name) + " needs a value";
      return 1;
    }

    if (name == "--page") {
      if (!readPage(value, options.page)) {
        error = "--page: unknown page size '" + std::string(value) + "' (a4, letter or a3)";
      }
    } else if (name == "--dpi") {
      if (!readDpi(value, options.dpi)) {
        error = "--dpi: '" + std::string(value) + "' is not a whole number from " +
                std::to_string(PRINT_DPI_MIN) + " to " + std::to_string(PRINT_DPI_MAX);
      }
    } else {
      options.title = std::string(value);
    }
    return taken;
  }
  return 0;
}

const char* printOptionsHelp() {
  return "  --page a4|letter|a3\n"
         "                   page of the PDF (default a4), portrait or landscape,\n"
         "                   whichever gives the larger cells (12 mm at most)\n"
         "  --dpi N          resolution of the PNG, 50 to 600 (default 150)\n"
         "  --title TEXT     a title line above the grid (default none)\n";
}

}  // namespace arrowgrid
