// The console's meeting points: presenting, change counts and the end of
// the program.
#include "support/console_session.h"

namespace arrowgrid {
using namespace test_support;
namespace {

using ConsolePresent = ConsoleSessionTest;

struct PresentRecord {
  int32_t presents = 0;
  uint8_t pixelSeen = 99;  // pixel (0, 0) as the form found it
  bool paints = false;     // the form shows pixels, so it paints them first
};

void recordPresent(void* context, Console& c) {
  auto& r = *static_cast<PresentRecord*>(context);
  ++r.presents;
  if (r.paints) paintPicture(c);
  r.pixelSeen = c.surface.pixels[0][0];
}

TEST_F(ConsolePresent, PresentsOnlyWhenAskedAndPaintsOnlyForAFormThatShowsPixels) {
  PresentRecord record;
  console->platform.context = &record;
  console->platform.present = recordPresent;
  print("\xE2\x96\x88");
  serviceDisplay(*console);
  EXPECT_EQ(record.presents, 0);
  console->platform.refreshWanted = true;
  serviceDisplay(*console);
  EXPECT_EQ(record.presents, 1);
  EXPECT_FALSE(console->platform.refreshWanted);
  // A text-only form: not a pixel painted, the glyph still waits.
  EXPECT_EQ(record.pixelSeen, COLOR_BACKGROUND);
  EXPECT_EQ(console->text.pendingCount, 1);

  record.paints = true;
  console->platform.refreshWanted = true;
  serviceDisplay(*console);
  EXPECT_EQ(record.pixelSeen, COLOR_FOREGROUND);
  EXPECT_EQ(console->text.pendingCount, 0);
}

TEST_F(ConsolePresent, EndProgramHandsTheStatusToThePlatform) {
  try {
    endProgram(*console, 0);
    FAIL() << "endProgram returned";
  } catch (const ProgramEnded& ended) {
    EXPECT_EQ(ended.status, 0);
  }
  EXPECT_THROW(endProgram(*console, 3), ProgramEnded);
}

TEST_F(ConsolePresent, ChangeCountsFollowEveryChange) {
  const uint64_t before = console->text.changeCount;
  locateCursor(*console, 30, 1);
  EXPECT_EQ(console->text.changeCount, before);
  locateCursor(*console, 3, 1);
  EXPECT_GT(console->text.changeCount, before);
  const uint64_t afterLocate = console->text.changeCount;
  print("x");
  EXPECT_GT(console->text.changeCount, afterLocate);
  const uint64_t pixelsBefore = console->surface.changeCount;
  drawLine(*console, 0, 0, 5, 5);
  EXPECT_GT(console->surface.changeCount, pixelsBefore);
}

}  // namespace
}  // namespace arrowgrid
