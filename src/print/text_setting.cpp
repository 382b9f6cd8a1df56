// Pango over a fontconfig configuration that holds only the pinned files:
// no other font on the machine can stand in for them. Hyphenation points
// come from libhyphen's French patterns as soft hyphens, which Pango breaks
// at (drawing the hyphen) and hides elsewhere.
#include "print/text_setting.h"

#include <fcntl.h>
#include <ft2build.h>
#include <pango/pangofc-fontmap.h>
#include <unistd.h>
#include FT_FREETYPE_H

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace arrowgrid {

namespace {

constexpr const char* SOFT_HYPHEN = "\xC2\xAD";
constexpr int32_t HYPHENATED_LETTERS_MIN = 6;
constexpr int32_t HYPHEN_EDGE_MIN = 2;  // letters kept together at either end of a word
constexpr double FIT_SLACK_PT = 1e-6;

std::string freeTypeProblem(FT_Error error) {
  switch (error) {
    case FT_Err_Unknown_File_Format:
      return "not a font FreeType can read (cut short, or not a font file at all)";
    case FT_Err_Invalid_File_Format:
    case FT_Err_Invalid_Table:
    case FT_Err_Invalid_Offset:
    case FT_Err_Table_Missing:
    case FT_Err_Invalid_Glyph_Index:
    case FT_Err_Invalid_Outline:
    case FT_Err_Invalid_Composite:
    case FT_Err_Invalid_Glyph_Format:
    case FT_Err_Invalid_Opcode:
    case FT_Err_Invalid_Stream_Operation:
    case FT_Err_Invalid_Stream_Read:
    case FT_Err_Invalid_Stream_Seek:
    case FT_Err_Invalid_Stream_Skip:
    case FT_Err_Invalid_Frame_Operation:
    case FT_Err_Invalid_Frame_Read:
      return "the font file is damaged (FreeType error " + std::to_string(error) + ")";
    case FT_Err_Out_Of_Memory:
      return "out of memory while reading it";
    default:
      return "FreeType cannot read it (error " + std::to_string(error) + ")";
  }
}

// A font whose tables open can still fail at its first glyph: draw a few.
std::string glyphProblem(FT_Face face) {
  if (!FT_IS_SCALABLE(face)) return "not a scalable font";
  if (FT_Error error = FT_Set_Char_Size(face, 0, 12 * 64, 72, 72)) return freeTypeProblem(error);
  for (const FT_ULong letter : {FT_ULong{'A'}, FT_ULong{'g'}, FT_ULong{0xE9}}) {
    const FT_UInt glyph = FT_Get_Char_Index(face, letter);
    if (glyph == 0) return "the font has no letter " + std::string(1, letter < 0x80 ? char(letter) : 'e');
    if (FT_Error error = FT_Load_Glyph(face, glyph, FT_LOAD_NO_HINTING)) return freeTypeProblem(error);
  }
  return "";
}

bool isWordLetter(gunichar c) { return g_unichar_isalpha(c) != 0; }

// The hyphenation points of one word of letters, as character indices after
// which it may be broken.
std::vector<int32_t> hyphenationPoints(HyphenDict* dictionary, const char* word, size_t bytes) {
  std::vector<int32_t> points;
  gchar* lower = g_utf8_strdown(word, static_cast<gssize>(bytes));
  const size_t lowerBytes = std::strlen(lower);
  const glong letters = g_utf8_strlen(word, static_cast<gssize>(bytes));
  // The marks count characters of the lower-case word: only usable when
  // lower-casing kept the count (it does for French letters).
  if (g_utf8_strlen(lower, -1) == letters) {
    std::vector<char> marks(lowerBytes + 5, 0);
    char** replacements = nullptr;
    int* positions = nullptr;
    int* cuts = nullptr;
    if (hnj_hyphen_hyphenate3(dictionary, lower, static_cast<int>(lowerBytes), marks.data(), nullptr,
                              &replacements, &positions, &cuts, HYPHEN_EDGE_MIN, HYPHEN_EDGE_MIN,
                              HYPHEN_EDGE_MIN, HYPHEN_EDGE_MIN) == 0) {
      for (glong k = 0; k + 1 < letters; ++k)
        if (marks[static_cast<size_t>(k)] & 1) points.push_back(static_cast<int32_t>(k));
    }
    // libhyphen may hand back any of the three arrays alone.
    if (replacements != nullptr) {
      for (size_t k = 0; k < lowerBytes; ++k) std::free(replacements[k]);
      std::free(replacements);
    }
    std::free(positions);
    std::free(cuts);
  }
  g_free(lower);
  return points;
}

bool fitsBox(PangoLayout* layout, double widthPt, double heightPt) {
  const TextExtent extent = textExtent(layout);
  return extent.left >= -FIT_SLACK_PT && extent.left + extent.width <= widthPt + FIT_SLACK_PT &&
         extent.height <= heightPt + FIT_SLACK_PT;
}

}  // namespace

std::string fontFileProblem(const std::string& path) {
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return std::strerror(errno);
  close(fd);
  FT_Library library = nullptr;
  if (FT_Init_FreeType(&library) != 0) return "FreeType cannot start";
  FT_Face face = nullptr;
  std::string problem;
  if (FT_Error error = FT_New_Face(library, path.c_str(), 0, &face)) {
    problem = freeTypeProblem(error);
  } else {
    problem = glyphProblem(face);
    FT_Done_Face(face);
  }
  FT_Done_FreeType(library);
  return problem;
}

std::string openTextSetter(const PrintFiles& files, TextSetter& setter) {
  const std::string* fonts[] = {&files.letterFont, &files.clueFont, &files.clueBoldFont};
  for (const std::string* font : fonts) {
    const std::string problem = fontFileProblem(*font);
    if (!problem.empty()) return "font " + *font + ": " + problem;
  }
  setter.fonts = FcConfigCreate();
  for (const std::string* font : fonts) {
    if (!FcConfigAppFontAddFile(setter.fonts, reinterpret_cast<const FcChar8*>(font->c_str()))) {
      closeTextSetter(setter);
      return "font " + *font + ": fontconfig cannot read it";
    }
  }
  setter.fontMap = pango_cairo_font_map_new_for_font_type(CAIRO_FONT_TYPE_FT);
  pango_fc_font_map_set_config(PANGO_FC_FONT_MAP(setter.fontMap), setter.fonts);
  setter.context = pango_font_map_create_context(setter.fontMap);
  pango_cairo_context_set_resolution(setter.context, 72);
  cairo_font_options_t* options = cairo_font_options_create();
  cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
  cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
  pango_cairo_context_set_font_options(setter.context, options);
  cairo_font_options_destroy(options);
  pango_context_set_round_glyph_positions(setter.context, FALSE);
  pango_context_set_language(setter.context, pango_language_from_string("fr"));
  if (access(files.hyphenation.c_str(), R_OK) == 0)
    setter.hyphenation = hnj_hyphen_load(files.hyphenation.c_str());
  return "";
}

void closeTextSetter(TextSetter& setter) {
  if (setter.context != nullptr) g_object_unref(setter.context);
  if (setter.fontMap != nullptr) g_object_unref(setter.fontMap);
  if (setter.fonts != nullptr) FcConfigDestroy(setter.fonts);
  if (setter.hyphenation != nullptr) hnj_hyphen_free(setter.hyphenation);
  setter = TextSetter{};
}

LayoutHandle layText(const TextSetter& setter, const std::string& text, const char* family, bool bold,
                     double sizePt, double widthPt) {
  LayoutHandle layout(pango_layout_new(setter.context));
  PangoFontDescription* font = pango_font_description_new();
  pango_font_description_set_family(font, family);
  pango_font_description_set_weight(font, bold ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
  pango_font_description_set_absolute_size(font, sizePt * PANGO_SCALE);
  pango_layout_set_font_description(layout.get(), font);
  pango_font_description_free(font);
  if (widthPt > 0) {
    pango_layout_set_width(layout.get(), static_cast<int>(std::floor(widthPt * PANGO_SCALE)));
    pango_layout_set_wrap(layout.get(), PANGO_WRAP_WORD);
  }
  pango_layout_set_alignment(layout.get(), PANGO_ALIGN_CENTER);
  pango_layout_set_text(layout.get(), text.c_str(), static_cast<int>(text.size()));
  return layout;
}

LayoutHandle layParagraph(const TextSetter& setter, const std::string& markup, const char* family,
                          double sizePt, double widthPt) {
  LayoutHandle layout = layText(setter, "", family, false, sizePt, widthPt);
  pango_layout_set_alignment(layout.get(), PANGO_ALIGN_LEFT);
  pango_layout_set_markup(layout.get(), markup.c_str(), static_cast<int>(markup.size()));
  return layout;
}

TextExtent textExtent(PangoLayout* layout) {
  PangoRectangle logical;
  pango_layout_get_extents(layout, nullptr, &logical);
  return {static_cast<double>(logical.x) / PANGO_SCALE, static_cast<double>(logical.y) / PANGO_SCALE,
          static_cast<double>(logical.width) / PANGO_SCALE,
          static_cast<double>(logical.height) / PANGO_SCALE};
}

std::string withHyphenationPoints(const TextSetter& setter, const std::string& text) {
  if (setter.hyphenation == nullptr) return text;
  std::string result;
  const char* const end = text.data() + text.size();
  const char* at = text.data();
  while (at < end) {
    const char* wordStart = at;
    int32_t letters = 0;
    while (at < end && isWordLetter(g_utf8_get_char(at))) {
      at = g_utf8_next_char(at);
      ++letters;
    }
    if (letters >= HYPHENATED_LETTERS_MIN) {
      const std::vector<int32_t> points =
          hyphenationPoints(setter.hyphenation, wordStart, static_cast<size_t>(at - wordStart));
      const char* letter = wordStart;
      size_t next = 0;
      for (int32_t k = 0; k < letters; ++k) {
        const char* after = g_utf8_next_char(letter);
        result.append(letter, after);
        if (next < points.size() && points[next] == k) {
          result += SOFT_HYPHEN;
          ++next;
        }
        letter = after;
      }
    } else {
      result.append(wordStart, at);
    }
    if (at < end && at == wordStart) {  // not a letter: copied as it is
      const char* after = g_utf8_next_char(at);
      result.append(at, after);
      at = after;
    }
  }
  return result;
}

std::vector<std::string> withHyphenationPoints(const std::string& dictionaryPath,
                                               const std::vector<std::string>& texts) {
  TextSetter setter;
  if (access(dictionaryPath.c_str(), R_OK) == 0) setter.hyphenation = hnj_hyphen_load(dictionaryPath.c_str());
  std::vector<std::string> broken;
  broken.reserve(texts.size());
  for (const std::string& text : texts) broken.push_back(withHyphenationPoints(setter, text));
  closeTextSetter(setter);
  return broken;
}

LayoutHandle fitClue(const TextSetter& setter, const std::string& clue, double widthPt, double heightPt,
                     double maxPt) {
  if (widthPt <= 0 || heightPt <= 0) return nullptr;
  const std::string hyphenated = withHyphenationPoints(setter, clue);
  const double top = std::floor(std::min(maxPt, CLUE_SIZE_MAX_PT) / CLUE_SIZE_STEP_PT) * CLUE_SIZE_STEP_PT;
  for (double size = top; size >= CLUE_SIZE_MIN_PT - FIT_SLACK_PT; size -= CLUE_SIZE_STEP_PT) {
    LayoutHandle whole = layText(setter, clue, CLUE_FAMILY, false, size, widthPt);
    if (fitsBox(whole.get(), widthPt, heightPt)) return whole;
    if (hyphenated == clue) continue;
    LayoutHandle broken = layText(setter, hyphenated, CLUE_FAMILY, false, size, widthPt);
    if (fitsBox(broken.get(), widthPt, heightPt)) return broken;
  }
  return nullptr;
}

LayoutHandle fitHeading(const TextSetter& setter, const std::string& text, const char* family, bool bold,
                        double sizePt, double minPt, double widthPt, int maxLines, double& chosenPt) {
  for (chosenPt = sizePt; chosenPt >= minPt - FIT_SLACK_PT; chosenPt -= CLUE_SIZE_STEP_PT) {
    LayoutHandle line = layText(setter, text, family, bold, chosenPt, widthPt);
    if (pango_layout_get_line_count(line.get()) == 1 && fitsBox(line.get(), widthPt, HUGE_VAL)) return line;
  }
  chosenPt = minPt;
  LayoutHandle lines = layText(setter, text, family, bold, minPt, widthPt);
  pango_layout_set_wrap(lines.get(), PANGO_WRAP_WORD_CHAR);
  pango_layout_set_height(lines.get(), -maxLines);
  pango_layout_set_ellipsize(lines.get(), PANGO_ELLIPSIZE_END);
  return lines;
}

}  // namespace arrowgrid
