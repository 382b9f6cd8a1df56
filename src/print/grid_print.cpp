// The grid through cairo: every size is worked out in millimetres, then
// drawn in the units of the target (points, millimetres or pixels). In a
// PNG the cell edges and line widths fall on whole pixels so that borders
// stay crisp instead of smearing across two pixel rows. Text (title, author
// line, clues and their list) is laid out once, in points, through Pango,
// and the same layouts are drawn into every format.
#include "print/grid_print.h"

#include <cairo-pdf.h>
#include <cairo-svg.h>
#include <cairo.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <vector>

#include "print/page_composition.h"
#include "print/print_units.h"
#include "puzzle/clue_cell_colour.h"
#include "search/grid_evaluation.h"

namespace arrowgrid {

namespace {

constexpr double CLUE_CELL_GREY = CLUE_CELL_GREY_LEVEL / 255.0;

// Proportions of a cell.
constexpr double LETTER_SIZE = 0.62;   // font size
constexpr double ARROW_LENGTH = 0.19;  // from base to tip
constexpr double ARROW_HALF_BASE = 0.12;
// Outside a clue cell, into the letter's cell: smaller, clear of the letter.
constexpr double OUTER_ARROW_LENGTH = 0.12;
constexpr double OUTER_ARROW_HALF_BASE = 0.08;
constexpr double THIN_LINE = 0.02;
constexpr double FRAME_LINE = 0.06;

// The title's first baseline, below the top of its block.
constexpr double TITLE_BASELINE_PER_SIZE = 0.95;

struct Canvas {
  cairo_t* cr = nullptr;
  double scale = 1;     // device units per millimetre
  bool raster = false;  // PNG: edges and widths on whole pixels
};

double deviceEdge(const Canvas& canvas, double mm) {
  const double units = mm * canvas.scale;
  return canvas.raster ? std::round(units) : units;
}

double deviceWidth(const Canvas& canvas, double mm) {
  const double units = mm * canvas.scale;
  return canvas.raster ? std::max(1.0, std::round(units)) : units;
}

// A line of this width along an edge: on whole pixels an odd width is
// centred on a pixel's middle, so it covers whole pixels only.
double lineOffset(const Canvas& canvas, double width) {
  return canvas.raster && std::fmod(width, 2.0) == 1.0 ? 0.5 : 0.0;
}

struct CellEdges {
  std::vector<double> xs, ys;  // device positions of the edges, width + 1 and height + 1
};

CellEdges cellEdges(const Canvas& canvas, const GridBox& box, const PrintLayout& layout) {
  CellEdges edges;
  for (int32_t i = 0; i <= box.width; ++i)
    edges.xs.push_back(deviceEdge(canvas, layout.gridLeftMm + i * layout.cellMm));
  for (int32_t j = 0; j <= box.height; ++j)
    edges.ys.push_back(deviceEdge(canvas, layout.gridTopMm + j * layout.cellMm));
  return edges;
}

int32_t cellCode(const Grid& grid, int32_t i, int32_t j) {
  return gridCell(grid, grid.box.xMin + i, grid.box.yMin + j);
}

void fillCell(cairo_t* cr, const CellEdges& e, int32_t i, int32_t j, double grey) {
  cairo_set_source_rgb(cr, grey, grey, grey);
  cairo_rectangle(cr, e.xs[i], e.ys[j], e.xs[i + 1] - e.xs[i], e.ys[j + 1] - e.ys[j]);
  cairo_fill(cr);
}

// A small filled triangle pointing at the word's first letter: inside the
// clue cell, its tip on the middle of the right (or bottom) edge; or, when
// the cell holds text, outside it, its base on that edge, beside the text
// it belongs to: the across arrow of a divided cell level with the middle
// of the upper half.
void fillArrow(cairo_t* cr, const CellEdges& e, int32_t i, int32_t j, bool right, bool outside,
               bool upperHalf = false) {
  const double cell = e.xs[i + 1] - e.xs[i];
  const double length = (outside ? OUTER_ARROW_LENGTH : ARROW_LENGTH) * cell;
  const double halfBase = (outside ? OUTER_ARROW_HALF_BASE : ARROW_HALF_BASE) * cell;
  const double tipShift = outside ? length : 0;
  cairo_set_source_rgb(cr, 0, 0, 0);
  if (right) {
    const double tipX = e.xs[i + 1] + tipShift,
                 middleY = e.ys[j] + (e.ys[j + 1] - e.ys[j]) * (upperHalf ? 0.25 : 0.5);
    cairo_move_to(cr, tipX, middleY);
    cairo_line_to(cr, tipX - length, middleY - halfBase);
    cairo_line_to(cr, tipX - length, middleY + halfBase);
  } else {
    const double tipY = e.ys[j + 1] + tipShift, middleX = (e.xs[i] + e.xs[i + 1]) / 2;
    cairo_move_to(cr, middleX, tipY);
    cairo_line_to(cr, middleX - halfBase, tipY - length);
    cairo_line_to(cr, middleX + halfBase, tipY - length);
  }
  cairo_close_path(cr);
  cairo_fill(cr);
}

// The letter's ink centred in its cell, whatever its own shape.
void showLetter(cairo_t* cr, const CellEdges& e, int32_t i, int32_t j, int32_t code) {
  const char text[2] = {static_cast<char>(code), '\0'};
  cairo_text_extents_t ink;
  cairo_text_extents(cr, text, &ink);
  const double centreX = (e.xs[i] + e.xs[i + 1]) / 2, centreY = (e.ys[j] + e.ys[j + 1]) / 2;
  cairo_set_source_rgb(cr, 0, 0, 0);
  cairo_move_to(cr, centreX - ink.x_bearing - ink.width / 2, centreY - ink.y_bearing - ink.height / 2);
  cairo_show_text(cr, text);
}

// Every edge of a non-empty cell, each drawn once, runs along a line joined
// into one stroke so that no seam shows where two borders meet.
void strokeBorders(const Canvas& canvas, const Grid& grid, const CellEdges& e, double width) {
  cairo_t* cr = canvas.cr;
  const GridBox& box = grid.box;
  const double offset = lineOffset(canvas, width);
  auto bordered = [&](int32_t i, int32_t j) {
    return i >= 0 && j >= 0 && i < box.width && j < box.height && cellCode(grid, i, j) != CELL_EMPTY;
  };
  for (int32_t j = 0; j <= box.height; ++j) {
    for (int32_t i = 0; i < box.width; ++i) {
      if (!bordered(i, j - 1) && !bordered(i, j)) continue;
      const int32_t start = i;
      while (i + 1 < box.width && (bordered(i + 1, j - 1) || bordered(i + 1, j))) ++i;
      cairo_move_to(cr, e.xs[start], e.ys[j] + offset);
      cairo_line_to(cr, e.xs[i + 1], e.ys[j] + offset);
    }
  }
  for (int32_t i = 0; i <= box.width; ++i) {
    for (int32_t j = 0; j < box.height; ++j) {
      if (!bordered(i - 1, j) && !bordered(i, j)) continue;
      const int32_t start = j;
      while (j + 1 < box.height && (bordered(i - 1, j + 1) || bordered(i, j + 1))) ++j;
      cairo_move_to(cr, e.xs[i] + offset, e.ys[start]);
      cairo_line_to(cr, e.xs[i] + offset, e.ys[j + 1]);
    }
  }
  cairo_set_source_rgb(cr, 0, 0, 0);
  cairo_set_line_width(cr, width);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_SQUARE);
  cairo_stroke(cr);
}

// layout drawn with the top-left corner of its logical box at (xMm, yMm).
void showText(const Canvas& canvas, PangoLayout* layout, double xMm, double yMm) {
  cairo_t* cr = canvas.cr;
  const TextExtent extent = textExtent(layout);
  cairo_save(cr);
  cairo_translate(cr, xMm * canvas.scale, yMm * canvas.scale);
  cairo_scale(cr, canvas.scale / POINTS_PER_MM, canvas.scale / POINTS_PER_MM);
  cairo_set_source_rgb(cr, 0, 0, 0);
  cairo_move_to(cr, -extent.left, -extent.top);
  pango_cairo_show_layout(cr, layout);
  cairo_restore(cr);
}

// layout centred in a box given in millimetres.
void showTextCentred(const Canvas& canvas, PangoLayout* layout, double leftMm, double topMm, double widthMm,
                     double heightMm) {
  const TextExtent extent = textExtent(layout);
  showText(canvas, layout, leftMm + (widthMm - extent.width / POINTS_PER_MM) / 2,
           topMm + (heightMm - extent.height / POINTS_PER_MM) / 2);
}

void drawClues(const Canvas& canvas, const PageComposition& page, const CellEdges& e, double cellMm) {
  for (const PrintedClue& clue : page.clues) {
    const ClueBox box = clueBox(clue, cellMm);
    showTextCentred(canvas, clue.layout.get(), e.xs[clue.i] / canvas.scale + box.left,
                    e.ys[clue.j] / canvas.scale + box.top, box.width, box.height);
  }
}

void drawPrintedGrid(const Canvas& canvas, const Grid& grid, GridContent content, const PrintLayout& layout,
                     const PageComposition& page) {
  cairo_t* cr = canvas.cr;
  const GridBox& box = grid.box;
  const CellEdges e = cellEdges(canvas, box, layout);
  const double thin = deviceWidth(canvas, THIN_LINE * layout.cellMm);
  const bool withClues = !page.clues.empty();
  cairo_set_font_size(cr, LETTER_SIZE * layout.cellMm * canvas.scale);

  for (int32_t i = 0; i < box.width; ++i) {
    for (int32_t j = 0; j < box.height; ++j) {
      const int32_t code = cellCode(grid, i, j);
      if (code == CELL_EMPTY) continue;
      if (code == CELL_BLOCK) {
        fillCell(cr, e, i, j, 0.0);
      } else if (isLetterCode(code)) {
        fillCell(cr, e, i, j, 1.0);
        if (content == GridContent::Solution) showLetter(cr, e, i, j, code);
      } else {
        fillCell(cr, e, i, j, CLUE_CELL_GREY);
        if (code == CELL_BOTH_ARROWS) {
          // The line parts the clue of the word across (upper half, or
          // upper right with no clue written) from that of the word down.
          cairo_set_source_rgb(cr, 0, 0, 0);
          cairo_set_line_width(cr, thin);
          const double middleY = (e.ys[j] + e.ys[j + 1]) / 2 + lineOffset(canvas, thin);
          cairo_move_to(cr, e.xs[i], withClues ? middleY : e.ys[j]);
          cairo_line_to(cr, e.xs[i + 1], withClues ? middleY : e.ys[j + 1]);
          cairo_stroke(cr);
        }
        if (withClues) continue;  // arrows once every cell is filled: they reach into the next
        if (code != CELL_DOWN_ARROW) fillArrow(cr, e, i, j, true, false);
        if (code != CELL_RIGHT_ARROW) fillArrow(cr, e, i, j, false, false);
      }
    }
  }
  if (withClues) {
    for (int32_t i = 0; i < box.width; ++i) {
      for (int32_t j = 0; j < box.height; ++j) {
        const int32_t code = cellCode(grid, i, j);
        if (code == CELL_RIGHT_ARROW || code == CELL_BOTH_ARROWS)
          fillArrow(cr, e, i, j, true, true, code == CELL_BOTH_ARROWS);
        if (code == CELL_DOWN_ARROW || code == CELL_BOTH_ARROWS) fillArrow(cr, e, i, j, false, true);
      }
    }
    drawClues(canvas, page, e, layout.cellMm);
  }

  strokeBorders(canvas, grid, e, thin);

  const double frame = deviceWidth(canvas, FRAME_LINE * layout.cellMm);
  const double offset = lineOffset(canvas, frame);
  cairo_set_source_rgb(cr, 0, 0, 0);
  cairo_set_line_width(cr, frame);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_MITER);
  cairo_rectangle(cr, e.xs.front() + offset, e.ys.front() + offset, e.xs.back() - e.xs.front(),
                  e.ys.back() - e.ys.front());
  cairo_stroke(cr);
}

// The title centred over the page, its first baseline where the title line
// always stood; the author line under it; the clue list under the grid.
void drawPageText(const Canvas& canvas, const PrintLayout& layout, const PageComposition& page) {
  double topMm = layout.headingTopMm;
  auto centredX = [&](PangoLayout* text) {
    return (layout.widthMm - textExtent(text).width / POINTS_PER_MM) / 2;
  };
  if (page.title) {
    const double baselineMm =
        static_cast<double>(pango_layout_get_baseline(page.title.get())) / PANGO_SCALE / POINTS_PER_MM;
    topMm += TITLE_BASELINE_PER_SIZE * page.titleSizeMm - baselineMm;
    showText(canvas, page.title.get(), centredX(page.title.get()), topMm);
    topMm += textExtent(page.title.get()).height / POINTS_PER_MM;
  }
  if (page.byline) showText(canvas, page.byline.get(), centredX(page.byline.get()), topMm);
}

// The entries of one block of the clue list, at its top.
void drawListBlock(const Canvas& canvas, const PrintLayout& layout, const ClueList& list, int32_t block) {
  for (size_t k = 0; k < list.entries.size(); ++k) {
    const ClueListPlace& place = list.places[k];
    if (place.block != block) continue;
    showText(canvas, list.entries[k].text.get(), layout.listLeftMm + place.leftMm,
             layout.listBlockTopsMm[static_cast<size_t>(block)] + place.topMm);
  }
}

struct StreamSink {
  std::FILE* file = nullptr;
  int error = 0;  // errno of the first failed write
};

cairo_status_t writeToSink(void* closure, const unsigned char* data, unsigned int length) {
  auto* sink = static_cast<StreamSink*>(closure);
  errno = 0;
  if (length > 0 && std::fwrite(data, 1, length, sink->file) != length) {
    if (sink->error == 0) sink->error = errno != 0 ? errno : EIO;
    return CAIRO_STATUS_WRITE_ERROR;
  }
  return CAIRO_STATUS_SUCCESS;
}

cairo_surface_t* createSurface(PrintFormat format, const PrintLayout& layout, const PrintOptions& options,
                               StreamSink& sink, Canvas& canvas) {
  switch (format) {
    case PrintFormat::Pdf: {
      canvas.scale = POINTS_PER_MM;
      cairo_surface_t* surface = cairo_pdf_surface_create_for_stream(
          writeToSink, &sink, layout.widthMm * POINTS_PER_MM, layout.heightMm * POINTS_PER_MM);
      cairo_pdf_surface_set_metadata(surface, CAIRO_PDF_METADATA_CREATOR, "arrowgrid");
      if (!options.title.empty())
        cairo_pdf_surface_set_metadata(surface, CAIRO_PDF_METADATA_TITLE, options.title.c_str());
      if (!options.author.empty())
        cairo_pdf_surface_set_metadata(surface, CAIRO_PDF_METADATA_AUTHOR, options.author.c_str());
      // cairo writes no rights field: the notice goes where readers show it.
      if (!options.copyright.empty())
        cairo_pdf_surface_set_metadata(surface, CAIRO_PDF_METADATA_SUBJECT, options.copyright.c_str());
      return surface;
    }
    case PrintFormat::Svg: {
      // One user unit is one millimetre, and the size is written in mm.
      canvas.scale = 1;
      cairo_surface_t* surface =
          cairo_svg_surface_create_for_stream(writeToSink, &sink, layout.widthMm, layout.heightMm);
      cairo_svg_surface_set_document_unit(surface, CAIRO_SVG_UNIT_MM);
      return surface;
    }
    case PrintFormat::Png:
      canvas.scale = options.dpi / MM_PER_INCH;
      canvas.raster = true;
      return cairo_image_surface_create(CAIRO_FORMAT_RGB24,
                                        static_cast<int>(std::ceil(layout.widthMm * canvas.scale)),
                                        static_cast<int>(std::ceil(layout.heightMm * canvas.scale)));
  }
  return nullptr;
}

// One composition for a one-off drawing, with its own text setter.
struct OneOffPage {
  TextSetter setter;
  PageComposition page;
  ~OneOffPage() {
    page = PageComposition{};
    closeTextSetter(setter);
  }
};

std::string composeOneOff(const Grid& grid, const PuzzleWords& words, const PrintOptions& options,
                          OneOffPage& oneOff) {
  std::string error = openTextSetter(options.files, oneOff.setter);
  if (error.empty()) error = composePage(oneOff.setter, grid, words, options, oneOff.page);
  return error;
}

}  // namespace

PrintLayout puzzleLayout(const Grid& grid, const PuzzleWords& words, PrintFormat format,
                         const PrintOptions& options, std::string& error) {
  OneOffPage oneOff;
  error = composeOneOff(grid, words, options, oneOff);
  return error.empty() ? placeComposition(oneOff.page, format, options) : PrintLayout{};
}

std::string printFilesProblem(const PrintOptions& options) {
  TextSetter setter;
  const std::string problem = openTextSetter(options.files, setter);
  closeTextSetter(setter);
  return problem;
}

std::string drawComposedPage(const PageComposition& page, const Grid& grid, GridContent content,
                             PrintFormat format, const PrintOptions& options, std::FILE* out,
                             const std::string& name) {
  const PrintLayout layout = placeComposition(page, format, options);
  StreamSink sink{out, 0};
  Canvas canvas;
  cairo_surface_t* surface = createSurface(format, layout, options, sink, canvas);
  canvas.cr = cairo_create(surface);
  cairo_set_font_face(canvas.cr, page.setter->letterFace);
  if (format == PrintFormat::Png) {
    // The page is white; elsewhere it is the paper's own.
    cairo_set_source_rgb(canvas.cr, 1, 1, 1);
    cairo_paint(canvas.cr);
  }
  drawPageText(canvas, layout, page);
  drawPrintedGrid(canvas, grid, content, layout, page);
  for (size_t block = 0; block < layout.listBlockTopsMm.size(); ++block) {
    // In a PDF each block after the first is a page of its own.
    if (block > 0 && format == PrintFormat::Pdf) cairo_show_page(canvas.cr);
    drawListBlock(canvas, layout, page.list, static_cast<int32_t>(block));
  }
  cairo_status_t status = cairo_status(canvas.cr);
  cairo_destroy(canvas.cr);

  if (status == CAIRO_STATUS_SUCCESS && format == PrintFormat::Png) {
    status = cairo_surface_write_to_png_stream(surface, writeToSink, &sink);
  }
  cairo_surface_finish(surface);
  if (status == CAIRO_STATUS_SUCCESS) status = cairo_surface_status(surface);
  cairo_surface_destroy(surface);

  errno = 0;
  if (sink.error == 0 && std::fflush(out) != 0) sink.error = errno != 0 ? errno : EIO;
  if (sink.error != 0) return fileWriteError(name, sink.error);
  if (status != CAIRO_STATUS_SUCCESS) return "cannot write " + name + ": " + cairo_status_to_string(status);
  return "";
}

std::string writeComposedPage(const PageComposition& page, const Grid& grid, GridContent content,
                              PrintFormat format, const PrintOptions& options, const std::string& path,
                              ExistingFile existing) {
  return writeFileSafely(path, existing, [&](std::FILE* file) {
    return drawComposedPage(page, grid, content, format, options, file, path);
  });
}

std::string renderGridToStream(const Grid& grid, GridContent content, PrintFormat format,
                               const PrintOptions& options, std::FILE* out, const std::string& name,
                               const PuzzleWords& words) {
  OneOffPage oneOff;
  if (const std::string error = composeOneOff(grid, words, options, oneOff); !error.empty())
    return "cannot write " + name + ": " + error;
  return drawComposedPage(oneOff.page, grid, content, format, options, out, name);
}

std::string printGridFile(const Grid& grid, GridContent content, PrintFormat format,
                          const PrintOptions& options, const std::string& path, ExistingFile existing,
                          const PuzzleWords& words) {
  return writeFileSafely(path, existing, [&](std::FILE* file) {
    return renderGridToStream(grid, content, format, options, file, path, words);
  });
}

const char* printFormatExtension(PrintFormat format) {
  switch (format) {
    case PrintFormat::Pdf:
      return "pdf";
    case PrintFormat::Svg:
      return "svg";
    case PrintFormat::Png:
      return "png";
  }
  return "";
}

}  // namespace arrowgrid
