// The beam, then the proof with what time is left, and the choice between
// their answers.
#include "search/solve_strategy.h"

#include <algorithm>
#include <array>
#include <chrono>

#include "search/beam_search.h"
#include "search/best_selection.h"
#include "search/grid_evaluation.h"

namespace arrowgrid {

namespace {

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

BeamResult runBeamFirst(const WordList& words, const SolveSettings& settings, const SolveControl& control,
                        Clock::time_point started) {
  BeamSettings beam;
  beam.threads = std::max(1, settings.jobs);
  beam.frame = settings.frame;
  // The answer may repeat one of them; any with fewer words ranks after all.
  beam.candidates = settings.candidates > 1 ? settings.candidates : 0;
  beam.stop = &control.stopRequested;
  beam.deadline = started;  // no limit: the guaranteed widths, then the proof
  if (settings.timeLimitSeconds > 0) {
    beam.deadline += std::chrono::duration_cast<Clock::duration>(
        std::chrono::duration<double>(std::min(settings.timeLimitSeconds, 1e9) * BEAM_SHARE_OF_TIME_LIMIT));
  } else if (settings.nodeLimit > 0) {
    beam.deadline = Clock::time_point::max();  // the budget alone ends the widths
  }
  if (settings.nodeLimit > 0) {
    beam.evaluationBudget = std::max<int64_t>(
        1, static_cast<int64_t>(static_cast<double>(settings.nodeLimit) * BEAM_SHARE_OF_TIME_LIMIT));
  }
  if (control.onTick) {
    beam.onLevel = [&](const ArrangementScore& best, int64_t evaluations) {
      SolveProgress now;
      now.seconds = secondsSince(started);
      now.evaluations = evaluations;
      now.strategy = SolveStrategy::Beam;
      now.best = best;
      control.onTick(now);
    };
  }
  return runBeamSearch(words, beam);
}

bool beamIsBetter(const BeamResult& beam, const ArrangementScore& other) {
  return beam.found && compareScores(beam.score, other) == ScoreOrder::Better;
}

// The answer becomes the beam's: its rows, and its grid by the reference evaluation.
void takeBeamAnswer(const WordList& words, const BeamResult& beam, SolveResult& result) {
  result.rows = beam.rows;
  PlacementTable table;
  std::copy(beam.rows.begin() + 1, beam.rows.end(), table.rows.begin() + 1);
  buildArrangementGrid(words, table, beam.score.wordsPlaced, result.evaluation);
  result.score = beam.score;
  result.foundBy = SolveStrategy::Beam;
}

// The placements as a set, to tell two arrangements apart whatever the
// order of their rows.
std::vector<std::array<int32_t, 4>> placementSet(const std::vector<Placement>& rows) {
  std::vector<std::array<int32_t, 4>> set;
  for (size_t r = 1; r < rows.size(); ++r) set.push_back({rows[r].wordNumber, rows[r].x, rows[r].y, static_cast<int32_t>(rows[r].direction)});
  std::sort(set.begin(), set.end());
  return set;
}

// The answer, then the beam's grids that place as many words and differ
// from it and from each other, best first, up to settings.candidates.
std::vector<ScoredArrangement> chooseCandidates(const SolveResult& result, const BeamResult& beam,
                                                const SolveSettings& settings) {
  std::vector<ScoredArrangement> chosen{ScoredArrangement{result.score, result.rows}};
  std::vector<std::vector<std::array<int32_t, 4>>> sets{placementSet(result.rows)};
  for (const ScoredArrangement& other : beam.candidates) {
    if (static_cast<int32_t>(chosen.size()) >= settings.candidates) break;
    if (other.score.wordsPlaced != result.score.wordsPlaced) continue;
    auto set = placementSet(other.rows);
    if (std::find(sets.begin(), sets.end(), set) != sets.end()) continue;
    sets.push_back(std::move(set));
    chosen.push_back(other);
  }
  return chosen;
}

// The proof's progress line shows the better of both bests, and the time
// and work from the beam's start.
ProgressTick proofTick(const SolveControl& control, const BeamResult& beam, Clock::time_point started) {
  if (!control.onTick) return nullptr;
  return [&control, &beam, started](const SolveProgress& progress) {
    SolveProgress now = progress;
    now.seconds = secondsSince(started);
    now.evaluations += beam.evaluations;
    if (beamIsBetter(beam, now.best)) now.best = beam.score;
    control.onTick(now);
  };
}

}  // namespace

SolveResult solveWithStrategies(const WordList& words, const SolveSettings& settings,
                                const SolveControl& control) {
  const auto started = Clock::now();
  if (settings.exhaustive) {
    SolveResult result = solveArrangement(words, settings, control);
    // The others, as without --exhaustive: the beam's guaranteed widths.
    BeamResult beam;
    if (settings.candidates > 1) {
      SolveControl quiet;
      SolveSettings guaranteedOnly = settings;
      guaranteedOnly.timeLimitSeconds = 0;
      beam = runBeamFirst(words, guaranteedOnly, quiet, Clock::now());
    }
    result.candidates = chooseCandidates(result, beam, settings);
    return result;
  }
  const BeamResult beam = runBeamFirst(words, settings, control, started);
  // The beam's answer passed the tree-node check: the proof may skip what
  // cannot reach its score.
  SolveSeed seed;
  if (beam.found) seedSolve(seed, beam.score, beam.rows);

  SolveSettings proof = settings;
  if (settings.timeLimitSeconds > 0)
    proof.timeLimitSeconds = std::max(1e-3, settings.timeLimitSeconds - secondsSince(started));
  // What the beam's finished widths spent is the same on every machine; an
  // abandoned width's share depends on where its threads were.
  if (settings.nodeLimit > 0) proof.nodeLimit = std::max<int64_t>(1, settings.nodeLimit - beam.finishedEvaluations);
  SolveResult result = solveArrangement(words, proof, control, seed, proofTick(control, beam, started));
  result.seconds = secondsSince(started);
  result.evaluations += beam.evaluations;
  // A finished proof's answer is the depth-first search's, even where the
  // beam reached the same score.
  if (result.end != SolveEnd::Complete && beamIsBetter(beam, result.score))
    takeBeamAnswer(words, beam, result);
  result.candidates = chooseCandidates(result, beam, settings);
  return result;
}

const char* strategyName(SolveStrategy strategy) {
  switch (strategy) {
    case SolveStrategy::Beam:
      return "beam";
    case SolveStrategy::Proof:
      return "proof";
    case SolveStrategy::Exhaustive:
      return "exhaustive";
  }
  return "proof";
}

}  // namespace arrowgrid
