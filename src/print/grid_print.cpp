// The grid through cairo: every size is worked out in millimetres, then
// drawn in the units of the target (points, millimetres or pixels). In a
// PNG the cell edges and line widths fall on whole pixels so that borders
// stay crisp instead of smearing across two pixel rows.
#include "print/grid_print.h"

#include <cairo-ft.h>
#include <cairo-pdf.h>
#include <cairo-svg.h>
#include <cairo.h>
#include <fontconfig/fontconfig.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <vector>

#include "search/grid_evaluation.h"

namespace arrowgrid {

namespace {

constexpr double MM_PER_INCH = 25.4;
constexpr double POINTS_PER_MM = 72.0 / MM_PER_INCH;

// Proportions of a cell: light enough a grey to write a clue on.
constexpr double ARROW_CELL_GREY = 0.82;
constexpr double LETTER_SIZE = 0.62;   // font size
constexpr double ARROW_LENGTH = 0.19;  // from base to tip
constexpr double ARROW_HALF_BASE = 0.12;
constexpr double THIN_LINE = 0.02;
constexpr double FRAME_LINE = 0.06;

// The title line: its font size, then the gap down to the grid.
constexpr double TITLE_BLOCK_PER_SIZE = 2.0;
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

// A small filled triangle whose tip touches the middle of the cell's right
// (or bottom) edge: it points at the word's first letter.
void fillArrow(cairo_t* cr, const CellEdges& e, int32_t i, int32_t j, bool right) {
  const double cell = e.xs[i + 1] - e.xs[i];
  const double length = ARROW_LENGTH * cell, halfBase = ARROW_HALF_BASE * cell;
  cairo_set_source_rgb(cr, 0, 0, 0);
  if (right) {
    const double tipX = e.xs[i + 1], middleY = (e.ys[j] + e.ys[j + 1]) / 2;
    cairo_move_to(cr, tipX, middleY);
    cairo_line_to(cr, tipX - length, middleY - halfBase);
    cairo_line_to(cr, tipX - length, middleY + halfBase);
  } else {
    const double tipY = e.ys[j + 1], middleX = (e.xs[i] + e.xs[i + 1]) / 2;
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

void drawPrintedGrid(const Canvas& canvas, const Grid& grid, GridContent content, const PrintLayout& layout) {
  cairo_t* cr = canvas.cr;
  const GridBox& box = grid.box;
  const CellEdges e = cellEdges(canvas, box, layout);
  const double thin = deviceWidth(canvas, THIN_LINE * layout.cellMm);
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
        fillCell(cr, e, i, j, ARROW_CELL_GREY);
        if (code == CELL_BOTH_ARROWS) {
          // The diagonal parts the clue of the word across (upper right
          // half) from the clue of the word down (lower left half).
          cairo_set_source_rgb(cr, 0, 0, 0);
          cairo_set_line_width(cr, thin);
          cairo_move_to(cr, e.xs[i], e.ys[j]);
          cairo_line_to(cr, e.xs[i + 1], e.ys[j + 1]);
          cairo_stroke(cr);
        }
        if (code != CELL_DOWN_ARROW) fillArrow(cr, e, i, j, true);
        if (code != CELL_RIGHT_ARROW) fillArrow(cr, e, i, j, false);
      }
    }
  }

  strokeBorders(canvas, grid, e, thin);

  const double frame = deviceWidth(canvas, FRAME_LINE * layout.cellMm);
  const double offset = lineOffset(canvas, frame);
  cairo_set_line_width(cr, frame);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_MITER);
  cairo_rectangle(cr, e.xs.front() + offset, e.ys.front() + offset, e.xs.back() - e.xs.front(),
                  e.ys.back() - e.ys.front());
  cairo_stroke(cr);
}

void drawTitle(const Canvas& canvas, const PrintLayout& layout, const std::string& title) {
  if (layout.titleSizeMm <= 0) return;
  cairo_t* cr = canvas.cr;
  cairo_set_font_size(cr, layout.titleSizeMm * canvas.scale);
  cairo_text_extents_t extents;
  cairo_text_extents(cr, title.c_str(), &extents);
  cairo_set_source_rgb(cr, 0, 0, 0);
  cairo_move_to(cr, layout.widthMm * canvas.scale / 2 - extents.x_advance / 2,
                layout.titleBaselineMm * canvas.scale);
  cairo_show_text(cr, title.c_str());
}

// The font file itself, not whatever fontconfig would substitute for a
// name: the files then look the same on every machine.
cairo_font_face_t* createLetterFont(std::string& error) {
  if (access(PRINT_FONT_FILE, R_OK) != 0) {
    error = std::string("font not found: ") + PRINT_FONT_FILE + " (Debian package fonts-dejavu-core)";
    return nullptr;
  }
  FcPattern* pattern = FcPatternCreate();
  FcPatternAddString(pattern, FC_FILE, reinterpret_cast<const FcChar8*>(PRINT_FONT_FILE));
  FcPatternAddInteger(pattern, FC_INDEX, 0);
  cairo_font_face_t* face = cairo_ft_font_face_create_for_pattern(pattern);
  FcPatternDestroy(pattern);
  if (cairo_font_face_status(face) != CAIRO_STATUS_SUCCESS) {
    error = std::string("cannot load the font ") + PRINT_FONT_FILE;
    cairo_font_face_destroy(face);
    return nullptr;
  }
  return face;
}

double titleAdvancePerMm(cairo_font_face_t* face, const std::string& title) {
  if (title.empty()) return 0;
  cairo_matrix_t size, identity;
  cairo_matrix_init_scale(&size, 1, 1);
  cairo_matrix_init_identity(&identity);
  cairo_font_options_t* options = cairo_font_options_create();
  cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
  cairo_scaled_font_t* font = cairo_scaled_font_create(face, &size, &identity, options);
  cairo_text_extents_t extents;
  cairo_scaled_font_text_extents(font, title.c_str(), &extents);
  cairo_scaled_font_destroy(font);
  cairo_font_options_destroy(options);
  return extents.x_advance;
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

}  // namespace

void pageSizeMm(PageSize page, double& widthMm, double& heightMm) {
  switch (page) {
    case PageSize::A4:
      widthMm = 210, heightMm = 297;
      return;
    case PageSize::Letter:
      widthMm = 215.9, heightMm = 279.4;
      return;
    case PageSize::A3:
      widthMm = 297, heightMm = 420;
      return;
  }
}

PrintLayout layoutPrint(const GridBox& box, PrintFormat format, const PrintOptions& options,
                        double titleAdvancePerMm, std::string& error) {
  double pageWidth = 0, pageHeight = 0;
  pageSizeMm(options.page, pageWidth, pageHeight);
  const bool titled = titleAdvancePerMm > 0;
  const double titleBlock = titled ? TITLE_BLOCK_PER_SIZE * PRINT_TITLE_SIZE_MM : 0;

  // Portrait or landscape: whichever lets the cells be larger.
  auto cellFor = [&](double width, double height) {
    const double usableWidth = width - 2 * PRINT_PAGE_MARGIN_MM;
    const double usableHeight = height - 2 * PRINT_PAGE_MARGIN_MM - titleBlock;
    return std::min({PRINT_CELL_MAX_MM, usableWidth / box.width, usableHeight / box.height});
  };
  PrintLayout layout;
  const double portraitCell = cellFor(pageWidth, pageHeight);
  const double landscapeCell = cellFor(pageHeight, pageWidth);
  layout.landscape = landscapeCell > portraitCell;
  layout.cellMm = std::max(portraitCell, landscapeCell);
  if (layout.cellMm < PRINT_CELL_MIN_MM) {
    error = "the grid of " + std::to_string(box.width) + " x " + std::to_string(box.height) +
            " cells is too large for one page";
    return layout;
  }
  if (layout.landscape) std::swap(pageWidth, pageHeight);

  const double gridWidth = layout.cellMm * box.width, gridHeight = layout.cellMm * box.height;
  double titleSize = titled ? PRINT_TITLE_SIZE_MM : 0;
  double margin = PRINT_PAGE_MARGIN_MM;
  if (format == PrintFormat::Pdf) {
    layout.widthMm = pageWidth;
    layout.heightMm = pageHeight;
    // A title wider than the page is set smaller rather than cut.
    if (titled) titleSize = std::min(titleSize, (pageWidth - 2 * margin) / titleAdvancePerMm);
  } else {
    margin = PRINT_PICTURE_MARGIN_MM;
    // The picture widens for a title wider than the grid.
    layout.widthMm = std::max(gridWidth, titleSize * titleAdvancePerMm) + 2 * margin;
    layout.heightMm = gridHeight + titleBlock + 2 * margin;
  }
  layout.titleSizeMm = titleSize;
  layout.titleBaselineMm = margin + TITLE_BASELINE_PER_SIZE * titleSize;
  layout.gridLeftMm = (layout.widthMm - gridWidth) / 2;
  layout.gridTopMm = margin + titleBlock;
  return layout;
}

std::string renderGridToStream(const Grid& grid, GridContent content, PrintFormat format,
                               const PrintOptions& options, std::FILE* out, const std::string& name,
                               [[maybe_unused]] const PuzzleWords& words) {
  std::string error;
  cairo_font_face_t* face = createLetterFont(error);
  if (face == nullptr) return "cannot write " + name + ": " + error;
  const PrintLayout layout =
      layoutPrint(grid.box, format, options, titleAdvancePerMm(face, options.title), error);
  if (!error.empty()) {
    cairo_font_face_destroy(face);
    return "cannot write " + name + ": " + error;
  }

  StreamSink sink{out, 0};
  Canvas canvas;
  cairo_surface_t* surface = createSurface(format, layout, options, sink, canvas);
  canvas.cr = cairo_create(surface);
  cairo_set_font_face(canvas.cr, face);
  if (format == PrintFormat::Png) {
    // The page is white; elsewhere it is the paper's own.
    cairo_set_source_rgb(canvas.cr, 1, 1, 1);
    cairo_paint(canvas.cr);
  }
  drawTitle(canvas, layout, options.title);
  drawPrintedGrid(canvas, grid, content, layout);
  cairo_status_t status = cairo_status(canvas.cr);
  cairo_destroy(canvas.cr);

  if (status == CAIRO_STATUS_SUCCESS && format == PrintFormat::Png) {
    status = cairo_surface_write_to_png_stream(surface, writeToSink, &sink);
  }
  cairo_surface_finish(surface);
  if (status == CAIRO_STATUS_SUCCESS) status = cairo_surface_status(surface);
  cairo_surface_destroy(surface);
  cairo_font_face_destroy(face);

  errno = 0;
  if (sink.error == 0 && std::fflush(out) != 0) sink.error = errno != 0 ? errno : EIO;
  if (sink.error != 0) return fileWriteError(name, sink.error);
  if (status != CAIRO_STATUS_SUCCESS) return "cannot write " + name + ": " + cairo_status_to_string(status);
  return "";
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
