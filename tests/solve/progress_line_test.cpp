// The progress line: what it says, at most ten rewrites a second, and
// nothing left of it once wiped.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "solve/progress_line.h"

namespace arrowgrid {
namespace {

std::string contents(std::FILE* file) {
  std::string text;
  std::rewind(file);
  for (int c; (c = std::fgetc(file)) != EOF;) text += static_cast<char>(c);
  return text;
}

TEST(ProgressLine, RewritesInPlaceAtMostTenTimesASecondThenWipes) {
  std::FILE* file = std::tmpfile();
  ASSERT_NE(file, nullptr);
  ProgressLine line;
  line.out = file;
  SolveProgress progress;
  progress.best = ArrangementScore{7, 0, 9, 120};
  progress.seconds = 0.5;
  progress.evaluations = 1'500'000;
  showProgress(line, progress);
  const std::string first =
      "\rproof 0.5 s  3.00 M eval/s  best: 7 words, 0 unwanted, 9 crossings, surface 120";
  EXPECT_EQ(contents(file), first);

  progress.seconds = 0.55;  // too soon: not shown
  showProgress(line, progress);
  progress.seconds = 1.5;
  progress.evaluations = 2'500'000;
  progress.best = ArrangementScore{8, 0, 8, 99};
  progress.strategy = SolveStrategy::Beam;
  showProgress(line, progress);
  // The shorter line is padded over the longer one.
  const std::string second =
      "\rbeam 1.5 s  1.00 M eval/s  best: 8 words, 0 unwanted, 8 crossings, surface 99  ";
  EXPECT_EQ(contents(file), first + second);

  wipeProgress(line);
  EXPECT_EQ(contents(file), first + second + "\r" + std::string(first.size() - 3, ' ') + "\r");
  std::fclose(file);
}

TEST(ProgressLine, ExhaustiveSearchShowsTrialsPerSecond) {
  SolveProgress progress;
  progress.strategy = SolveStrategy::Exhaustive;
  progress.seconds = 2;
  progress.evaluations = 10;
  progress.trials = 500'000'000;
  progress.best = ArrangementScore{8, 0, 8, 126};
  std::FILE* file = std::tmpfile();
  ASSERT_NE(file, nullptr);
  ProgressLine line;
  line.out = file;
  showProgress(line, progress);
  EXPECT_EQ(contents(file),
            "\rexhaustive 2.0 s  250.00 M trials/s  best: 8 words, 0 unwanted, 8 crossings, surface 126");
  std::fclose(file);
}

}  // namespace
}  // namespace arrowgrid
