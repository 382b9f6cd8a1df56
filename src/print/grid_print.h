// The print-ready picture of an evaluated grid, as PDF, SVG or PNG: the
// puzzle (no letters) or its solution, drawn the way printed arrow-word
// grids are, meaning exactly what the screen's drawing shows.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "base/safe_file_write.h"
#include "print/page_composition.h"

namespace arrowgrid {

// The layout renderGridToStream gives grid with words, the text around it
// measured: where each cell is drawn. Sets error as the drawing would.
PrintLayout puzzleLayout(const Grid& grid, const PuzzleWords& words, PrintFormat format,
                         const PrintOptions& options, std::string& error);

// "" when the fonts printing needs can be read, else what is wrong with
// which file: a program checks this before it spends time on a search.
std::string printFilesProblem(const PrintOptions& options);

// Draws grid, composed as page, into out as format; name is the file the
// messages name. Returns "" or a message.
std::string drawComposedPage(const PageComposition& page, const Grid& grid, GridContent content,
                             PrintFormat format, const PrintOptions& options, std::FILE* out,
                             const std::string& name);

// The same written to path, through a temporary file renamed when
// complete: a program composes a grid's page once and writes each of its
// files from it. Returns "" or a message naming path.
std::string writeComposedPage(const PageComposition& page, const Grid& grid, GridContent content,
                              PrintFormat format, const PrintOptions& options, const std::string& path,
                              ExistingFile existing = ExistingFile::Replace);

// Draws the grid into out as format, composing its page for this one
// drawing; name is the file the messages name. Returns "" or a message.
std::string renderGridToStream(const Grid& grid, GridContent content, PrintFormat format,
                               const PrintOptions& options, std::FILE* out, const std::string& name,
                               const PuzzleWords& words = {});

// The grid written to path, its page composed for this one file, through
// a temporary file renamed when complete. Returns "" or a message naming path.
std::string printGridFile(const Grid& grid, GridContent content, PrintFormat format,
                          const PrintOptions& options, const std::string& path,
                          ExistingFile existing = ExistingFile::Replace, const PuzzleWords& words = {});

// "pdf", "svg" or "png".
const char* printFormatExtension(PrintFormat format);

}  // namespace arrowgrid
