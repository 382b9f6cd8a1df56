// The window's title, the whole-factor placement of the picture, and the
// conversion of palette indices into texture rows of any pitch.
#include "platform/window_picture.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

namespace arrowgrid {
namespace {

TEST(WindowPicture, TitleIsTheFileNameWithoutDirectoryAndExtension) {
  EXPECT_EQ(windowTitleOf("arrowgrid"), "arrowgrid");
  EXPECT_EQ(windowTitleOf("./build/arrowgrid"), "arrowgrid");
  EXPECT_EQ(windowTitleOf("/usr/local/bin/arrowgrid"), "arrowgrid");
  EXPECT_EQ(windowTitleOf("C:arrowgrid.exe"), "C:arrowgrid");
  EXPECT_EQ(windowTitleOf("/opt/v1.2/mots.croises.exe"), "mots.croises");
  EXPECT_EQ(windowTitleOf("/opt/v1.2/grille"), "grille");
}

TEST(WindowPicture, ExactClientAreaShowsThePictureUnscaled) {
  EXPECT_EQ(pictureRectIn(640, 350), (PictureRect{0, 0, 1}));
}

TEST(WindowPicture, LargerClientAreaScalesByTheLargestWholeFactorCentred) {
  EXPECT_EQ(pictureRectIn(1280, 700), (PictureRect{0, 0, 2}));
  EXPECT_EQ(pictureRectIn(1300, 760), (PictureRect{10, 30, 2}));
  // A maximised window on a 1920x1080 desktop: height limits it to 3.
  EXPECT_EQ(pictureRectIn(1920, 1050), (PictureRect{0, 0, 3}));
  EXPECT_EQ(pictureRectIn(1920, 1049), (PictureRect{320, 174, 2}));
  // Wide but not tall enough for 2: still 1, centred.
  EXPECT_EQ(pictureRectIn(1366, 699), (PictureRect{363, 174, 1}));
}

TEST(WindowPicture, SmallerClientAreaKeepsFactorOneAndCentresTheCrop) {
  EXPECT_EQ(pictureRectIn(600, 300), (PictureRect{-20, -25, 1}));
}

TEST(WindowPicture, ConvertsIndicesThroughThePaletteRespectingPitch) {
  auto pixels = std::make_unique<PixelRows>();
  (*pixels)[0][0] = COLOR_FOREGROUND;
  (*pixels)[0][639] = 4;
  (*pixels)[349][1] = COLOR_FOREGROUND;
  constexpr int32_t pitch = SURFACE_WIDTH * 4 + 12;  // padded rows
  std::vector<unsigned char> texture(static_cast<size_t>(pitch) * SURFACE_HEIGHT, 0xEE);
  convertToArgb(*pixels, 0, SURFACE_HEIGHT, texture.data(), pitch);
  auto at = [&](int32_t x, int32_t y) {
    uint32_t word;
    std::memcpy(&word, texture.data() + static_cast<size_t>(y) * pitch + x * 4, 4);
    return word;
  };
  EXPECT_EQ(at(0, 0), 0xFFFFFFFFu);    // 15 white
  EXPECT_EQ(at(1, 0), 0xFF000000u);    // 0 black
  EXPECT_EQ(at(639, 0), 0xFFAA0000u);  // 4 red
  EXPECT_EQ(at(1, 349), 0xFFFFFFFFu);
  EXPECT_EQ(at(0, 349), 0xFF000000u);
  // The padding at the end of each row is left alone.
  EXPECT_EQ(texture[static_cast<size_t>(pitch) - 1], 0xEE);
  EXPECT_EQ(texture[static_cast<size_t>(pitch) * 200 + SURFACE_WIDTH * 4], 0xEE);
}

TEST(WindowPicture, ConvertsABandOfRowsOnly) {
  auto pixels = std::make_unique<PixelRows>();
  (*pixels)[20][3] = COLOR_FOREGROUND;
  constexpr int32_t pitch = SURFACE_WIDTH * 4;
  std::vector<unsigned char> band(static_cast<size_t>(pitch) * 3, 0xEE);
  convertToArgb(*pixels, 19, 2, band.data(), pitch);
  uint32_t word;
  std::memcpy(&word, band.data() + pitch + 3 * 4, 4);  // row 20 is the band's second row
  EXPECT_EQ(word, 0xFFFFFFFFu);
  std::memcpy(&word, band.data(), 4);
  EXPECT_EQ(word, 0xFF000000u);
  EXPECT_EQ(band[static_cast<size_t>(pitch) * 2], 0xEE);  // nothing past the band
}

TEST(WindowPicture, ChangedRowsSpanTheFirstToTheLastDifference) {
  auto before = std::make_unique<PixelRows>();
  auto after = std::make_unique<PixelRows>();
  EXPECT_EQ(changedRows(*before, *after).count, 0);
  (*after)[280][639] = COLOR_FOREGROUND;
  EXPECT_EQ(changedRows(*before, *after).first, 280);
  EXPECT_EQ(changedRows(*before, *after).count, 1);
  (*after)[0][0] = COLOR_FOREGROUND;
  (*after)[349][5] = COLOR_FOREGROUND;
  EXPECT_EQ(changedRows(*before, *after).first, 0);
  EXPECT_EQ(changedRows(*before, *after).count, 350);
}

}  // namespace
}  // namespace arrowgrid
