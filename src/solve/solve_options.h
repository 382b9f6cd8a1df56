// What arrowgrid-solve's command line asks of a run.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "print/print_options.h"
#include "search/arrangement_grid.h"
#include "search/processor_count.h"

namespace arrowgrid {

inline constexpr std::string_view SOLVE_PROGRAM = "arrowgrid-solve";
inline constexpr std::string_view SOLVE_VERSION = ARROWGRID_VERSION;
inline constexpr int32_t MAX_JOBS = MAX_SEARCH_THREADS;
// The largest --node-limit: far beyond any search a person waits for.
inline constexpr int64_t MAX_NODE_LIMIT = 1'000'000'000'000'000;
// A person at a terminal gets an answer within this long unless they ask
// for a proof; --exhaustive, which counts every trial, has no default limit.
inline constexpr double DEFAULT_TIME_LIMIT_SECONDS = 10;

struct SolveOptions {
  std::vector<std::string> words;  // the words given as arguments
  bool wordsFromFile = false;      // --words given
  std::string wordsFile;           // "-": standard input
  bool exhaustive = false;
  double timeLimitSeconds = -1;  // 0: no limit (--time-limit none); below 0: not given
  int32_t jobs = 0;              // 0: the processors available
  int64_t nodeLimit = 0;         // --node-limit: evaluations allowed; 0: none
  bool json = false;             // --json given
  std::string jsonFile;          // "-": standard output, instead of the text
  bool quiet = false;
  std::string pdfPrefix;  // --pdf PREFIX: PREFIX-grille.pdf and PREFIX-solution.pdf
  std::string svgPrefix;  // likewise for --svg and --png; empty: not written
  std::string pngPrefix;
  std::string ipuzFile;  // --ipuz FILE: the puzzle for players' programs; empty: not written
  std::string htmlFile;  // --html FILE: the page that plays the puzzle in a browser; empty: not written
  PrintOptions print;    // --page, --dpi, --title, --author, --copyright, --clue-layout
  GridFrame frame;       // --frame COLSxROWS; 0 x 0: none
  int32_t candidates = 1;  // --candidates N: grids to choose from, 1..MAX_CANDIDATES
};

}  // namespace arrowgrid
