// Renders a word list with clues as a printed puzzle and its solution, for
// looking at the clue typesetting by eye: `render_clue_puzzle LIST.tsv PREFIX
// [png|pdf|svg] [seconds]` solves LIST (WORD<TAB>clue lines) and writes
// PREFIX-grille.EXT and PREFIX-solution.EXT.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "print/grid_print.h"
#include "search/proof_search.h"
#include "puzzle/word_input.h"

using namespace arrowgrid;

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: %s LIST.tsv PREFIX [png|pdf|svg] [seconds]\n", argv[0]);
    return 2;
  }
  std::ifstream in(argv[1]);
  std::vector<WordText> texts;
  std::vector<std::string> clues{""};
  for (std::string line; std::getline(in, line);) {
    const size_t tab = line.find('\t');
    texts.push_back({line.substr(0, tab), argv[1]});
    clues.push_back(tab == std::string::npos ? "" : line.substr(tab + 1));
  }
  const WordListInput input = buildWordList(texts);
  if (!input.ok) {
    std::fprintf(stderr, "%s\n", input.error.c_str());
    return 2;
  }
  const std::string format = argc > 3 ? argv[3] : "png";
  const PrintFormat printFormat = format == "pdf"   ? PrintFormat::Pdf
                                  : format == "svg" ? PrintFormat::Svg
                                                    : PrintFormat::Png;
  SolveSettings settings;
  settings.jobs = 2;
  settings.timeLimitSeconds = argc > 4 ? std::atof(argv[4]) : 10;
  SolveControl control;
  const SolveResult result = solveArrangement(input.list, settings, control);

  PuzzleWords words{clues, result.rows};
  PrintOptions options;
  options.title = "Mots fléchés : les animaux";
  options.author = "Grille d'arrowgrid";
  TextSetter setter;
  PageComposition page;
  std::string problem = openTextSetter(options.files, setter);
  if (problem.empty()) problem = composePage(setter, result.evaluation.grid, words, options, page);
  if (!problem.empty()) {
    std::fprintf(stderr, "%s\n", problem.c_str());
    return 1;
  }
  for (const std::string& note : {undrawableCharactersWarning(page), listedCluesSummary(page, options)})
    if (!note.empty()) std::fprintf(stderr, "%s\n", note.c_str());
  for (const GridContent content : {GridContent::Puzzle, GridContent::Solution}) {
    const std::string path = std::string(argv[2]) +
                             (content == GridContent::Puzzle ? "-grille." : "-solution.") +
                             printFormatExtension(printFormat);
    problem = writeComposedPage(page, result.evaluation.grid, content, printFormat, options, path);
    if (!problem.empty()) {
      std::fprintf(stderr, "%s\n", problem.c_str());
      return 1;
    }
  }
  page = PageComposition{};
  closeTextSetter(setter);
  std::printf("%d of %d words placed\n", result.score.wordsPlaced, result.wordCount);
  return 0;
}
