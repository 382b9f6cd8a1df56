// The clue list set in columns. Each entry is its own layout, so that a
// column break falls between entries and the same breaks serve every format.
#include "print/clue_list.h"

#include <glib.h>

#include <algorithm>
#include <cmath>

#include "print/print_units.h"

namespace arrowgrid {

namespace {

constexpr double COLUMN_GAP_MM = 5;
constexpr double COLUMN_MIN_MM = 40;     // narrower, most clues would take several lines
constexpr double ONE_LINE_SHARE = 0.75;  // of the entries that the column's width holds on one line
constexpr double HEADING_GAP_MM = 1.5;   // above a heading that does not open a column
constexpr double NUMBER_GAP_EM = 0.5;    // between the widest number and its clue

std::string escapedMarkup(const std::string& text) {
  gchar* escaped = g_markup_escape_text(text.c_str(), static_cast<gssize>(text.size()));
  std::string result(escaped);
  g_free(escaped);
  return result;
}

// An entry's text at widthPt (unbounded when 0): the number in bold, a tab
// to the hanging indent, the clue; a word wider than the column breaks
// between characters rather than run off the page.
LayoutHandle layEntry(const TextSetter& setter, const std::string& markup, double sizePt, double widthPt,
                      double indentPt) {
  LayoutHandle layout = layText(setter, "", CLUE_FAMILY, false, sizePt, widthPt);
  pango_layout_set_alignment(layout.get(), PANGO_ALIGN_LEFT);
  if (widthPt > 0) pango_layout_set_wrap(layout.get(), PANGO_WRAP_WORD_CHAR);
  if (indentPt > 0) {
    PangoTabArray* tabs = pango_tab_array_new_with_positions(1, FALSE, PANGO_TAB_LEFT,
                                                             static_cast<int>(std::lround(indentPt * PANGO_SCALE)));
    pango_layout_set_tabs(layout.get(), tabs);
    pango_tab_array_free(tabs);
    pango_layout_set_indent(layout.get(), -static_cast<int>(std::lround(indentPt * PANGO_SCALE)));
  }
  pango_layout_set_markup(layout.get(), markup.c_str(), static_cast<int>(markup.size()));
  // A word broken between characters (a URL) takes no hyphen that is not in it.
  PangoAttrList* attributes = pango_attr_list_copy(pango_layout_get_attributes(layout.get()));
  if (attributes == nullptr) attributes = pango_attr_list_new();
  pango_attr_list_insert(attributes, pango_attr_insert_hyphens_new(FALSE));
  pango_layout_set_attributes(layout.get(), attributes);
  pango_attr_list_unref(attributes);
  return layout;
}

double layoutWidthMm(PangoLayout* layout) { return textExtent(layout).width / POINTS_PER_MM; }
double layoutHeightMm(PangoLayout* layout) { return textExtent(layout).height / POINTS_PER_MM; }

// How far one column from entry `from` goes within heightMm: the entry
// after the last that fits. A heading needs its first entry beside it.
size_t columnEnd(const ClueList& list, size_t from, double heightMm, double& usedMm) {
  usedMm = 0;
  size_t at = from;
  while (at < list.entries.size()) {
    const ClueListEntry& entry = list.entries[at];
    double need = entry.heightMm + (entry.heading && at > from ? HEADING_GAP_MM : 0);
    if (entry.heading && at + 1 < list.entries.size()) need += list.entries[at + 1].heightMm;
    // An entry taller than a whole column still takes one of its own.
    if (usedMm + need > heightMm + 1e-9 && at > from) break;
    usedMm += entry.heightMm + (entry.heading && at > from ? HEADING_GAP_MM : 0);
    ++at;
  }
  return at;
}

// Whether the entries from `from` fit `columns` columns of heightMm.
bool fitsColumns(const ClueList& list, size_t from, int32_t columns, double heightMm) {
  double used = 0;
  for (int32_t c = 0; c < columns && from < list.entries.size(); ++c) {
    const size_t end = columnEnd(list, from, heightMm, used);
    if (used > heightMm + 1e-9) return false;  // one entry taller than the column
    from = end;
  }
  return from >= list.entries.size();
}

// The lowest column height, to a twentieth of a millimetre, at which the
// entries from `from` fit the columns, given that highMm does.
double lowestColumnHeight(const ClueList& list, size_t from, double highMm) {
  double low = 0;
  while (highMm - low > 0.05) {
    const double middle = (low + highMm) / 2;
    (fitsColumns(list, from, list.columns, middle) ? highMm : low) = middle;
  }
  return highMm;
}

}  // namespace

ClueList layClueList(const TextSetter& setter, const std::vector<PrintedClue>& clues, double textWidthMm,
                     double sizePt) {
  ClueList list;
  std::vector<std::string> markups;
  std::vector<bool> headings;
  int32_t widestNumber = 0;
  for (const bool across : {true, false}) {
    bool first = true;
    for (const PrintedClue& clue : clues) {
      if (clue.number == 0 || clue.across != across) continue;
      if (first) {
        markups.push_back(std::string("<b>") + (across ? "Horizontalement" : "Verticalement") + "</b>");
        headings.push_back(true);
        first = false;
      }
      // The word joiner keeps the clue's first word beside its number.
      markups.push_back("<b>" + std::to_string(clue.number) + "</b>\t\u2060" +
                        escapedMarkup(withHyphenationPoints(setter, clue.text)));
      headings.push_back(false);
      widestNumber = std::max(widestNumber, clue.number);
    }
  }
  if (markups.empty()) return list;

  // The hanging indent: the widest number and a gap.
  LayoutHandle number = layEntry(setter, "<b>" + std::string(std::to_string(widestNumber).size(), '0') + "</b>",
                                 sizePt, 0, 0);
  const double indentPt = textExtent(number.get()).width + NUMBER_GAP_EM * sizePt;

  // Columns as wide as most entries need on one line, as many as fit.
  std::vector<double> natural;
  for (size_t k = 0; k < markups.size(); ++k) {
    if (headings[k]) continue;
    LayoutHandle line = layEntry(setter, markups[k], sizePt, 0, indentPt);
    natural.push_back(layoutWidthMm(line.get()));
  }
  std::sort(natural.begin(), natural.end());
  const size_t share = static_cast<size_t>(std::ceil(ONE_LINE_SHARE * static_cast<double>(natural.size()))) - 1;
  const double needMm = std::clamp(natural[std::min(share, natural.size() - 1)], COLUMN_MIN_MM, textWidthMm);
  list.columns = std::max(1, static_cast<int32_t>(std::floor((textWidthMm + COLUMN_GAP_MM) / (needMm + COLUMN_GAP_MM))));
  list.columnMm = (textWidthMm - (list.columns - 1) * COLUMN_GAP_MM) / list.columns;
  list.widthMm = textWidthMm;
  for (size_t k = 0; k < markups.size(); ++k) {
    ClueListEntry entry;
    entry.heading = headings[k];
    entry.text = layEntry(setter, markups[k], sizePt, list.columnMm * POINTS_PER_MM, entry.heading ? 0 : indentPt);
    entry.heightMm = layoutHeightMm(entry.text.get());
    list.entries.push_back(std::move(entry));
  }
  return list;
}

double balancedListHeightMm(const ClueList& list) {
  double total = 0;  // one column holds everything
  for (const ClueListEntry& entry : list.entries) total += entry.heightMm + HEADING_GAP_MM;
  return list.entries.empty() ? 0 : lowestColumnHeight(list, 0, total);
}

void placeClueList(ClueList& list, double firstMm, double pageMm) {
  list.places.assign(list.entries.size(), ClueListPlace{});
  list.blockHeightsMm.clear();
  size_t from = 0;
  for (int32_t block = 0; from < list.entries.size(); ++block) {
    const double available = block == 0 ? firstMm : pageMm;
    if (available <= 0) {
      list.blockHeightsMm.push_back(0);
      continue;
    }
    // The last block's columns balanced: the lowest height that holds the rest.
    const double height =
        fitsColumns(list, from, list.columns, available) ? lowestColumnHeight(list, from, available) : available;
    double blockHeight = 0;
    for (int32_t c = 0; c < list.columns && from < list.entries.size(); ++c) {
      double used = 0;
      const size_t end = columnEnd(list, from, height, used);
      if (block == 0 && used > available + 1e-9) break;  // under the grid, only what fits
      double top = 0;
      for (size_t k = from; k < end; ++k) {
        if (list.entries[k].heading && k > from) top += HEADING_GAP_MM;
        list.places[k] = ClueListPlace{block, c * (list.columnMm + COLUMN_GAP_MM), top};
        top += list.entries[k].heightMm;
      }
      blockHeight = std::max(blockHeight, top);
      from = end;
    }
    list.blockHeightsMm.push_back(blockHeight);
  }
}

}  // namespace arrowgrid
