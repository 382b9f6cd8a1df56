// The print options as both programs read them from their command lines.
#include "print/print_options.h"

#include <gtest/gtest.h>

#include <vector>

namespace arrowgrid {
namespace {

struct Reading {
  int32_t taken;
  std::string error;
};

Reading take(std::vector<const char*> args, PrintOptions& options) {
  std::string error;
  const int32_t taken = takePrintOption(static_cast<int32_t>(args.size()), args.data(), 0, options, error);
  return {taken, error};
}

TEST(PrintOptions, EachOptionWithItsValueApartOrJoined) {
  PrintOptions options;
  EXPECT_EQ(options.page, PageSize::A4);
  EXPECT_EQ(options.dpi, 150);
  EXPECT_EQ(take({"--page", "letter", "--dpi"}, options).taken, 2);
  EXPECT_EQ(options.page, PageSize::Letter);
  EXPECT_EQ(take({"--page=a3"}, options).taken, 1);
  EXPECT_EQ(options.page, PageSize::A3);
  EXPECT_EQ(take({"--dpi", "300"}, options).taken, 2);
  EXPECT_EQ(options.dpi, 300);
  EXPECT_EQ(take({"--title=Grille n° 3"}, options).taken, 1);
  EXPECT_EQ(options.title, "Grille n° 3");
  EXPECT_EQ(take({"--title", "--dpi"}, options).taken, 2);  // a title may look like an option
  EXPECT_EQ(options.title, "--dpi");
  // Not print options: left to the program's own parsing.
  EXPECT_EQ(take({"--pages", "a4"}, options).taken, 0);
  EXPECT_EQ(take({"--export", "out"}, options).taken, 0);
}

TEST(PrintOptions, BadValuesAreNamedAndChangeNothing) {
  PrintOptions options;
  EXPECT_EQ(take({"--page", "a5"}, options).error, "--page: unknown page size 'a5' (a4, letter or a3)");
  for (const char* dpi : {"49", "601", "15O", "", "-150"}) {
    const Reading reading = take({"--dpi", dpi}, options);
    EXPECT_EQ(reading.taken, 2);
    EXPECT_EQ(reading.error, std::string("--dpi: '") + dpi + "' is not a whole number from 50 to 600");
  }
  EXPECT_EQ(take({"--title"}, options).error, "--title needs a value");
  EXPECT_EQ(options.page, PageSize::A4);
  EXPECT_EQ(options.dpi, 150);
  EXPECT_EQ(options.title, "");
}

}  // namespace
}  // namespace arrowgrid
