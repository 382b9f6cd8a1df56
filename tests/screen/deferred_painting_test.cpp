// Pixels painted only when read: the same random prints, lines, scrolls and
// clears, painted after every step on one console and only at checkpoints on
// the other, give the same picture; and a report leaves the pixels alone
// until something reads them.
#include <gtest/gtest.h>

#include <memory>
#include <random>

#include "interaction/arrangement_report.h"
#include "support/console_session.h"
#include "support/hand_grid.h"

namespace arrowgrid {
using namespace test_support;
namespace {

struct TwoConsoles {
  ConsoleSession eager, lazy;
};

// One random step: mostly prints and lines over a few rows, so that glyphs
// and lines keep landing on each other; a few line ends that scroll, rare clears.
void randomStep(Console& console, std::mt19937& random, bool clears) {
  auto pick = [&](int32_t low, int32_t high) {
    return std::uniform_int_distribution<int32_t>(low, high)(random);
  };
  const int32_t kind = pick(0, 99);
  if (kind < 45) {
    locateCursor(console, pick(20, 25), pick(1, 80));
    // Few distinct codes, so that a cell is often reprinted with what it shows.
    const uint8_t codes[] = {' ', 'A', 219, 25, 26};
    ByteString text(static_cast<size_t>(pick(1, 3)), '\0');
    for (char& c : text) c = static_cast<char>(codes[pick(0, 4)]);
    printText(console, text, PrintEnding::NoEnding);
  } else if (kind < 90) {
    // Logical rows 17..23 are text rows 20..25 and just below; some lines run off the surface.
    const auto x = [&] { return static_cast<float>(pick(-4, 84)) / 2; };
    const auto y = [&] { return static_cast<float>(pick(34, 46)) / 2; };
    drawLine(console, x(), y(), x(), y());
  } else if (kind < 99) {
    locateCursor(console, 25, pick(1, 80));
    printLineEnd(console);  // scrolls every line and glyph up a row
  } else if (clears) {
    clearScreen(console);
  }
}

TEST(DeferredPainting, PaintingOnlyWhenReadGivesThePictureOfPaintingAtEveryStep) {
  for (const uint32_t seed : {1u, 2u, 3u}) {
    TwoConsoles consoles;
    std::mt19937 eagerRandom(seed), lazyRandom(seed);
    // The last stretches have no clear and run past the backlog's capacity
    // between two reads, so that it must paint to make room.
    for (int32_t checkpoint = 0; checkpoint < 4; ++checkpoint) {
      const bool clears = checkpoint < 2;
      for (int32_t step = 0; step < 3 * SURFACE_BACKLOG_CAPACITY / 2; ++step) {
        randomStep(*consoles.eager.console, eagerRandom, clears);
        paintPicture(*consoles.eager.console);
        randomStep(*consoles.lazy.console, lazyRandom, clears);
      }
      paintPicture(*consoles.lazy.console);
      ASSERT_EQ(consoles.lazy.console->text.cells, consoles.eager.console->text.cells) << "seed " << seed;
      ASSERT_TRUE(consoles.lazy.console->surface.pixels == consoles.eager.console->surface.pixels)
          << "seed " << seed << ", checkpoint " << checkpoint;
    }
  }
}

TEST(DeferredPainting, AReportPaintsNoPixelUntilOneIsRead) {
  ConsoleSession session;
  const DisplaySettings settings;  // no pause
  for (int64_t trial = 1; trial <= 3; ++trial) {
    showArrangementReport(*session.console, {2, 0, 1, 20}, leEnGrid(), trial, settings);
  }
  auto blank = std::make_unique<PixelRows>();
  EXPECT_TRUE(session.console->surface.pixels == *blank);
  EXPECT_GT(session.console->surface.backlogCount, 0);

  // Read: the last report is there, its glyphs and its lines.
  EXPECT_TRUE(glyphShownAt(*session.console, 4, 2, CELL_RIGHT_ARROW));
  EXPECT_EQ(pixelAt(*session.console, 0, 28), COLOR_FOREGROUND);  // the frame's top left corner
  EXPECT_EQ(session.console->surface.backlogCount, 0);
}

}  // namespace
}  // namespace arrowgrid
