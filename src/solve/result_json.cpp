// Writing the answer as JSON with nlohmann-json, fields in a fixed order.
#include "solve/result_json.h"

#include <nlohmann/json.hpp>

#include "search/grid_evaluation.h"
#include "solve/solve_options.h"
#include "search/solve_strategy.h"

namespace arrowgrid {

namespace {

using Json = nlohmann::ordered_json;

const char* endName(SolveEnd end) {
  switch (end) {
    case SolveEnd::Complete:
      return "complete";
    case SolveEnd::TimeLimit:
      return "time-limit";
    case SolveEnd::NodeLimit:
      return "node-limit";
    case SolveEnd::Interrupted:
      return "interrupted";
  }
  return "complete";
}

Json boxJson(const GridBox& box) {
  return Json{{"xMin", box.xMin}, {"xMax", box.xMax},   {"yMin", box.yMin},
              {"yMax", box.yMax}, {"width", box.width}, {"height", box.height}};
}

Json clueJson(const std::vector<std::string>& clues, int32_t wordNumber) {
  const auto word = static_cast<size_t>(wordNumber);
  if (word >= clues.size() || clues[word].empty()) return nullptr;
  return clues[word];
}

using Rows = std::vector<Placement>;  // rows 1..n of a grid; [0] unused

Json placementsJson(const Rows& rows, const WordList& words, const std::vector<std::string>& clues) {
  Json placements = Json::array();
  for (size_t r = 1; r < rows.size(); ++r) {
    const Placement& row = rows[r];
    Json crossing = nullptr;
    if (r > 1) {
      crossing = Json{{"row", row.crossedRow},
                      {"word", rows[static_cast<size_t>(row.crossedRow)].wordNumber},
                      {"letter", row.letterPos},
                      {"crossedLetter", row.crossedPos}};
    }
    placements.push_back(Json{{"row", r},
                              {"word", row.wordNumber},
                              {"text", words.words[static_cast<size_t>(row.wordNumber)]},
                              {"arrow", Json{{"x", row.x}, {"y", row.y}}},
                              {"direction", row.direction == DIR_HORIZONTAL ? "right" : "down"},
                              {"crossing", crossing},
                              {"clue", clueJson(clues, row.wordNumber)}});
  }
  return placements;
}

// The clues an arrow cell holds: the word to the right first, as printed.
Json cellCluesJson(const Rows& rows, const std::vector<std::string>& clues, int32_t x, int32_t y) {
  Json held = Json::array();
  for (const Direction direction : {DIR_HORIZONTAL, DIR_VERTICAL}) {
    for (size_t r = 1; r < rows.size(); ++r) {
      const Placement& row = rows[r];
      if (row.x != x || row.y != y || row.direction != direction) continue;
      held.push_back(Json{{"row", r},
                          {"direction", direction == DIR_HORIZONTAL ? "right" : "down"},
                          {"clue", clueJson(clues, row.wordNumber)}});
    }
  }
  return held;
}

Json cellsJson(const Grid& grid, const Rows& placed, const std::vector<std::string>& clues) {
  Json rows = Json::array();
  for (int32_t y = grid.box.yMin; y <= grid.box.yMax; ++y) {
    Json cells = Json::array();
    for (int32_t x = grid.box.xMin; x <= grid.box.xMax; ++x) {
      const int32_t code = gridCell(grid, x, y);
      Json cell{{"kind", cellKindName(code)}};
      if (isLetterCode(code)) cell["letter"] = std::string(1, static_cast<char>(code));
      if (code == CELL_DOWN_ARROW || code == CELL_RIGHT_ARROW || code == CELL_BOTH_ARROWS)
        cell["clues"] = cellCluesJson(placed, clues, x, y);
      cells.push_back(std::move(cell));
    }
    rows.push_back(std::move(cells));
  }
  return rows;
}

Json countsJson(const ArrangementScore& score) {
  return Json{{"wordsPlaced", score.wordsPlaced},
              {"unwantedNeighbourhoods", score.unwantedNeighbourhoods},
              {"crossings", score.crossings},
              {"surface", score.surface}};
}

// The words of the list that no row places.
Json leftOutJson(const Rows& rows, const WordList& words) {
  std::vector<bool> placed(static_cast<size_t>(words.wordCount) + 1, false);
  for (size_t r = 1; r < rows.size(); ++r) placed[static_cast<size_t>(rows[r].wordNumber)] = true;
  Json left = Json::array();
  for (int32_t w = 1; w <= words.wordCount; ++w)
    if (!placed[static_cast<size_t>(w)]) left.push_back(words.words[static_cast<size_t>(w)]);
  return left;
}

// The grids after the answer, each with its rank, placements, box, cells and counts.
Json candidatesJson(const SolveResult& result, const WordList& words, const std::vector<std::string>& clues) {
  Json candidates = Json::array();
  for (size_t i = 1; i < result.candidates.size(); ++i) {
    const ScoredArrangement& candidate = result.candidates[i];
    PlacementTable table;
    std::copy(candidate.rows.begin() + 1, candidate.rows.end(), table.rows.begin() + 1);
    GridEvaluation evaluation;
    buildArrangementGrid(words, table, candidate.score.wordsPlaced, evaluation);
    candidates.push_back(Json{{"rank", i + 1},
                              {"placements", placementsJson(candidate.rows, words, clues)},
                              {"box", boxJson(evaluation.grid.box)},
                              {"cells", cellsJson(evaluation.grid, candidate.rows, clues)},
                              {"counts", countsJson(candidate.score)}});
  }
  return candidates;
}

}  // namespace

const char* cellKindName(int32_t code) {
  switch (code) {
    case CELL_EMPTY:
      return "empty";
    case CELL_DOWN_ARROW:
      return "down-arrow";
    case CELL_RIGHT_ARROW:
      return "right-arrow";
    case CELL_BOTH_ARROWS:
      return "both-arrows";
    case CELL_BLOCK:
      return "block";
    default:
      return "letter";
  }
}

std::string resultJsonText(const SolveResult& result, const WordList& words,
                           const std::vector<std::string>& clues, const GridFrame& frame) {
  Json document;
  document["program"] = SOLVE_PROGRAM;
  document["version"] = SOLVE_VERSION;
  Json wordTexts = Json::array();
  for (int32_t w = 1; w <= words.wordCount; ++w) wordTexts.push_back(words.words[static_cast<size_t>(w)]);
  document["words"] = wordTexts;
  document["placements"] = placementsJson(result.rows, words, clues);
  document["box"] = boxJson(result.evaluation.grid.box);
  document["cells"] = cellsJson(result.evaluation.grid, result.rows, clues);
  document["counts"] = countsJson(result.score);
  document["frame"] = frame.columns > 0 ? Json{{"columns", frame.columns}, {"rows", frame.rows}} : Json(nullptr);
  document["leftOut"] = leftOutJson(result.rows, words);
  if (result.foundBy == SolveStrategy::Exhaustive) document["trials"] = result.trials;
  document["elapsedSeconds"] = result.seconds;
  document["strategy"] = strategyName(result.foundBy);
  document["proven"] = result.end == SolveEnd::Complete;
  document["stopped"] = endName(result.end);
  document["candidates"] = candidatesJson(result, words, clues);
  return document.dump(2) + "\n";
}

}  // namespace arrowgrid
