// Text on the printed page through Pango: the pinned font files, French
// hyphenation from libhyphen, and text fitted into a box. Everything is laid
// out in points with hinting and glyph rounding off, so one layout breaks its
// lines the same way whether it is then drawn into a PDF, an SVG or a PNG.
#pragma once

#include <fontconfig/fontconfig.h>
#include <hyphen.h>
#include <pango/pangocairo.h>

#include <memory>
#include <string>
#include <vector>

#include "print/print_options.h"

namespace arrowgrid {

inline constexpr double CLUE_SIZE_MAX_PT = 7.0;  // a clue never larger: it reads as a clue
inline constexpr double CLUE_SIZE_MIN_PT = 5.0;  // below this a clue is not readable on paper
inline constexpr double CLUE_SIZE_STEP_PT = 0.25;

// The font families the pinned files hold.
inline constexpr const char* LETTER_FAMILY = "DejaVu Sans";          // bold: letters and title
inline constexpr const char* CLUE_FAMILY = "DejaVu Sans Condensed";  // regular and bold

struct GObjectUnref {
  void operator()(void* object) const { g_object_unref(object); }
};
using LayoutHandle = std::unique_ptr<PangoLayout, GObjectUnref>;

struct TextSetter {
  FcConfig* fonts = nullptr;          // only the pinned font files
  PangoFontMap* fontMap = nullptr;    // over fonts
  PangoContext* context = nullptr;    // points, no hinting, French
  HyphenDict* hyphenation = nullptr;  // null: words are never broken
};

// What is wrong with the font file at path ("" when FreeType reads it as
// a scalable font): missing, unreadable, not a font, damaged.
std::string fontFileProblem(const std::string& path);

// Opens the fonts of files and the hyphenation dictionary; returns "" or a
// message naming the file and what is wrong with it. A missing dictionary
// is no error: clues are then broken between words only.
std::string openTextSetter(const PrintFiles& files, TextSetter& setter);
void closeTextSetter(TextSetter& setter);

// The text in family at sizePt, lines broken between words to widthPt
// (unbounded when widthPt <= 0) and centred in that width.
LayoutHandle layText(const TextSetter& setter, const std::string& text, const char* family, bool bold,
                     double sizePt, double widthPt);

// Pango markup (bold runs) in family at sizePt, lines broken between words
// to widthPt and set flush left: a paragraph of running text.
LayoutHandle layParagraph(const TextSetter& setter, const std::string& markup, const char* family,
                          double sizePt, double widthPt);

// The layout's ink-independent box in points: line advances and heights.
struct TextExtent {
  double left = 0, top = 0, width = 0, height = 0;
};
TextExtent textExtent(PangoLayout* layout);

// text with a soft hyphen at every French hyphenation point of its words of
// six letters or more; text itself without a dictionary.
std::string withHyphenationPoints(const TextSetter& setter, const std::string& text);

// Each of texts with its soft hyphens as above, from the dictionary at
// dictionaryPath; the texts as they are when it cannot be read. For pages
// that break clues where print would, without laying them out here.
std::vector<std::string> withHyphenationPoints(const std::string& dictionaryPath,
                                               const std::vector<std::string>& texts);

// The clue at the largest size from maxPt (at most CLUE_SIZE_MAX_PT) down
// to CLUE_SIZE_MIN_PT, in steps of CLUE_SIZE_STEP_PT, whose lines fit the
// box, broken between words and, only when that is not enough, at
// hyphenation points. Null when no size fits.
LayoutHandle fitClue(const TextSetter& setter, const std::string& clue, double widthPt, double heightPt,
                     double maxPt);

// One line at sizePt if it fits widthPt, else the largest size down to
// minPt at which it does, else lines at minPt, at most maxLines of them (the
// last cut short with an ellipsis). chosenPt: the size it is set at.
LayoutHandle fitHeading(const TextSetter& setter, const std::string& text, const char* family, bool bold,
                        double sizePt, double minPt, double widthPt, int maxLines, double& chosenPt);

}  // namespace arrowgrid
