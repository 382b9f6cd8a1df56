// Draws arrowgrid's icon at build time: the best grid of a few words about
// arrow-word grids, found by the search and drawn by the print renderer, as
// a scalable SVG and as square PNGs of the sizes asked for.
//
//   draw_icon OUTPUT_FOLDER SIZE...   writes arrowgrid.svg and arrowgrid-SIZE.png
#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "base/safe_file_write.h"
#include "print/grid_print.h"
#include "search/best_selection.h"
#include "search/candidate_enumeration.h"
#include "search/grid_evaluation.h"
#include "search/search_start.h"

namespace arrowgrid {

namespace {

// Grid, arrow, letter, direction, write: a square grid of eight by eight
// cells with two words down and three across.
constexpr const char* ICON_WORDS[] = {"GRILLE", "FLECHE", "LETTRE", "SENS", "ECRIRE"};

// The PNGs are drawn this many times larger and scaled down, so that the
// thin borders of a small icon come out as soft grey rather than vanish.
constexpr int32_t OVERSAMPLING = 4;
constexpr double MM_PER_INCH = 25.4;

// The arrangement the program shows last when it shows only new bests: the
// first of the search's order that reaches the best score.
Grid bestGrid() {
  auto* search = new ArrangementSearch();
  for (const char* word : ICON_WORDS)
    search->wordList.words[static_cast<size_t>(++search->wordList.wordCount)] = word;
  initSearch(*search);
  Grid best;
  bool first = true;
  do {
    if (evaluateArrangement(*search) != EvaluationOutcome::Accepted) continue;
    const GridEvaluation& evaluation = search->evaluation;
    const ArrangementScore score{search->state.placedCount, evaluation.unwantedNeighbourhoods,
                                 evaluation.crossings, boxSurface(evaluation.grid.box)};
    if (compareWithBest(search->bestScore, score) == ScoreOrder::Better || first) best = evaluation.grid;
    first = false;
  } while (resumeSearchQuiet(*search) == ResumeOutcome::Pushed);
  delete search;
  return best;
}

cairo_status_t readFromFile(void* closure, unsigned char* data, unsigned int length) {
  return std::fread(data, 1, length, static_cast<std::FILE*>(closure)) == length ? CAIRO_STATUS_SUCCESS
                                                                                 : CAIRO_STATUS_READ_ERROR;
}

cairo_status_t writeToFile(void* closure, const unsigned char* data, unsigned int length) {
  return std::fwrite(data, 1, length, static_cast<std::FILE*>(closure)) == length ? CAIRO_STATUS_SUCCESS
                                                                                  : CAIRO_STATUS_WRITE_ERROR;
}

// The renderer's PNG of the grid, read back; null with error set.
cairo_surface_t* drawnPicture(const Grid& grid, int32_t size, const std::string& path, std::string& error) {
  PrintOptions options;
  const PrintLayout layout = layoutPrint(grid.box, PrintFormat::Png, options, PrintTextBlocks{}, error);
  if (!error.empty()) return nullptr;
  options.dpi = static_cast<int32_t>(
      std::ceil(OVERSAMPLING * size * MM_PER_INCH / std::max(layout.widthMm, layout.heightMm)));
  std::FILE* picture = std::tmpfile();
  if (picture == nullptr) {
    error = "cannot create a temporary file";
    return nullptr;
  }
  error = renderGridToStream(grid, GridContent::Solution, PrintFormat::Png, options, picture, path);
  cairo_surface_t* drawn = nullptr;
  if (error.empty()) {
    std::rewind(picture);
    drawn = cairo_image_surface_create_from_png_stream(readFromFile, picture);
    if (cairo_surface_status(drawn) != CAIRO_STATUS_SUCCESS) {
      error = "cannot read back the drawn grid";
      cairo_surface_destroy(drawn);
      drawn = nullptr;
    }
  }
  std::fclose(picture);
  return drawn;
}

// The drawn grid scaled into a size x size square, centred on a
// transparent ground should the grid not be square.
std::string writeSquarePng(const Grid& grid, int32_t size, const std::string& path) {
  std::string error;
  cairo_surface_t* drawn = drawnPicture(grid, size, path, error);
  if (drawn == nullptr) return "cannot write " + path + ": " + error;
  const double width = cairo_image_surface_get_width(drawn), height = cairo_image_surface_get_height(drawn);
  const double scale = size / std::max(width, height);

  cairo_surface_t* icon = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, size, size);
  cairo_t* cr = cairo_create(icon);
  cairo_translate(cr, (size - width * scale) / 2, (size - height * scale) / 2);
  cairo_scale(cr, scale, scale);
  cairo_set_source_surface(cr, drawn, 0, 0);
  cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_GOOD);
  cairo_paint(cr);
  cairo_destroy(cr);
  cairo_surface_destroy(drawn);

  error = writeFileSafely(path, ExistingFile::Replace, [&](std::FILE* file) -> std::string {
    const cairo_status_t status = cairo_surface_write_to_png_stream(icon, writeToFile, file);
    return status == CAIRO_STATUS_SUCCESS ? ""
                                          : "cannot write " + path + ": " + cairo_status_to_string(status);
  });
  cairo_surface_destroy(icon);
  return error;
}

int drawIcon(int argc, char** argv) {
  if (argc < 2) {
    std::fputs("usage: draw_icon OUTPUT_FOLDER SIZE...\n", stderr);
    return 2;
  }
  const std::string folder = argv[1];
  const Grid grid = bestGrid();
  std::string error =
      printGridFile(grid, GridContent::Solution, PrintFormat::Svg, PrintOptions{}, folder + "/arrowgrid.svg");
  for (int i = 2; i < argc && error.empty(); ++i) {
    const int size = std::atoi(argv[i]);
    if (size < 16 || size > 1024) {
      error = std::string("not an icon size: ") + argv[i];
      break;
    }
    error = writeSquarePng(grid, size, folder + "/arrowgrid-" + std::to_string(size) + ".png");
  }
  if (!error.empty()) {
    std::fprintf(stderr, "draw_icon: %s\n", error.c_str());
    return 1;
  }
  return 0;
}

}  // namespace

}  // namespace arrowgrid

int main(int argc, char** argv) { return arrowgrid::drawIcon(argc, argv); }
