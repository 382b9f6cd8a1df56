// The files one run of arrowgrid-solve reads and writes, and the check, made
// before the search, that no output is the word list or another output.
#pragma once

#include <string>
#include <vector>

#include "print/grid_print.h"
#include "solve/solve_options.h"

namespace arrowgrid {

struct RunFile {
  std::string option;  // the option that names it: "--words", "--json", "--pdf"...
  std::string path;    // as given, or as made from a prefix; "-": standard input or output
};

// The word file (when --words is given) first, then every file written.
std::vector<RunFile> runFiles(const SolveOptions& options);

// "" or, for the first two that are one file, "OPTION PATH: the same file as
// OPTION PATH" (the later one first). Compared as files: by device and inode
// when the file exists, else by its folder's and its name, so that
// "./x.json", "sub/../x.json" and a link to x.json are x.json. Streams
// (pipes, devices) and "-" are not compared, except the word list read from
// a standard input that is a file.
std::string sameFileProblem(const std::vector<RunFile>& files);

// PREFIX-grille.EXT or PREFIX-solution.EXT, the files of --pdf, --svg, --png.
std::string printFilePath(const std::string& prefix, PrintFormat format, GridContent content);

// The names of grid `number` of --candidates (1 = the answer, today's
// names): PREFIX-N as the prefix of its print files, and the ipuz FILE with
// -N before its extension (puzzle.ipuz, puzzle-2.ipuz; notes, notes-2).
std::string candidatePrefix(const std::string& prefix, int32_t number);
std::string candidateFile(const std::string& file, int32_t number);

}  // namespace arrowgrid
