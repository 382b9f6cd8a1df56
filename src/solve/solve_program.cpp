// The flow of arrowgrid-solve. Nothing is written before the command line
// and the words are known good; the answer is written once, at the end.
#include "solve/solve_program.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <new>
#include <system_error>
#include <thread>
#include <vector>

#include "base/exit_status.h"
#include "base/message_text.h"
#include "base/safe_file_write.h"
#include "page/puzzle_page.h"
#include "print/grid_print.h"
#include "print/text_setting.h"
#include "puzzle/ipuz_writer.h"
#include "puzzle/word_file.h"
#include "solve/progress_line.h"
#include "solve/result_json.h"
#include "solve/run_files.h"
#include "solve/solve_report.h"
#include "search/grid_evaluation.h"
#include "search/processor_count.h"
#include "search/proof_search.h"
#include "search/search_start.h"
#include "search/solve_strategy.h"

namespace arrowgrid {

namespace {

// The one place a signal handler can reach: the stop flag of the search in
// progress (a lock-free atomic, so setting it from the handler is safe).
std::atomic<bool>* interruptFlag = nullptr;

extern "C" void onInterrupt(int) {
  if (interruptFlag != nullptr) interruptFlag->store(true);
}

// Ctrl+C stops the search once; a second one ends the process at once.
// Before and after the search it ends the process, with any file being
// written removed (see removeUnfinishedFilesOnSignals).
// Started with SIGINT ignored (a background job of a script), it stays
// ignored, as the other signals do.
void catchInterrupt(std::atomic<bool>& flag, struct sigaction& previous) {
  sigaction(SIGINT, nullptr, &previous);
  if (previous.sa_handler == SIG_IGN) return;
  interruptFlag = &flag;
  struct sigaction action {};
  action.sa_handler = onInterrupt;
  action.sa_flags = SA_RESETHAND;
  sigemptyset(&action.sa_mask);
  sigaction(SIGINT, &action, &previous);
}

void releaseInterrupt(const struct sigaction& previous) {
  sigaction(SIGINT, &previous, nullptr);
  interruptFlag = nullptr;
}

// Every message may echo a word or a file name: escaped whole.
void tell(const std::string& message) {
  std::fprintf(stderr, "%.*s: %s\n", static_cast<int>(SOLVE_PROGRAM.size()), SOLVE_PROGRAM.data(),
               messageText(message).c_str());
}

int fail(const std::string& message, int status) {
  tell(message);
  return status;
}

// The words of the command line or of the words file: 0, or the exit
// status with a message when the file cannot be read (FAILURE_STATUS) or
// holds a line or an item that is refused (BAD_COMMAND_LINE_STATUS).
int gatherWords(const SolveOptions& options, std::vector<WordText>& words, std::string& error) {
  if (!options.wordsFromFile) {
    for (size_t i = 0; i < options.words.size(); ++i) {
      words.push_back(WordText{options.words[i], "argument " + std::to_string(i + 1)});
    }
    return 0;
  }
  // '-' is standard input, as in most programs; arrowgrid --clues reads
  // a file of that name.
  WordFileText file = options.wordsFile == "-" ? readWordDescriptor(STDIN_FILENO, "standard input")
                                               : readWordFile(options.wordsFile);
  if (!file.ok) {
    error = file.error;
    return file.unreadable ? FAILURE_STATUS : BAD_COMMAND_LINE_STATUS;
  }
  for (const std::string& warning : file.warnings) {
    std::fprintf(stderr, "%.*s: warning: %s\n", static_cast<int>(SOLVE_PROGRAM.size()), SOLVE_PROGRAM.data(),
                 messageText(warning).c_str());
  }
  words = std::move(file.words);
  return 0;
}

// The print files asked for: each prefix with its format.
struct PrintRequest {
  const std::string* prefix;
  PrintFormat format;
};

std::vector<PrintRequest> printRequests(const SolveOptions& options) {
  std::vector<PrintRequest> requests;
  if (!options.pdfPrefix.empty()) requests.push_back({&options.pdfPrefix, PrintFormat::Pdf});
  if (!options.svgPrefix.empty()) requests.push_back({&options.svgPrefix, PrintFormat::Svg});
  if (!options.pngPrefix.empty()) requests.push_back({&options.pngPrefix, PrintFormat::Png});
  return requests;
}

std::string printPath(const PrintRequest& request, GridContent content) {
  return printFilePath(*request.prefix, request.format, content);
}

std::string folderOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
}

// A folder that cannot take the files is told before the search, not after
// hours of it; the files themselves are written, whole or not at all, at the end.
std::string checkPrintFolders(const SolveOptions& options) {
  std::vector<std::string> paths;
  for (const PrintRequest& request : printRequests(options))
    paths.push_back(printPath(request, GridContent::Puzzle));
  if (!options.ipuzFile.empty()) paths.push_back(options.ipuzFile);
  if (!options.htmlFile.empty()) paths.push_back(options.htmlFile);
  for (const std::string& path : paths) {
    const std::string folder = folderOf(path);
    if (access(folder.c_str(), W_OK | X_OK) != 0) {
      return "cannot write " + path + ": " + folder + ": " + std::strerror(errno);
    }
  }
  return {};
}

// Where the JSON goes. A pipe or a device is written as it is, once the
// answer is known (opening a pipe waits for its reader); anything else is a
// file replaced whole, so that a failure leaves the one before untouched.
// The links of /dev and /proc are never replaced: /dev/stdout or
// /dev/fd/N name whatever the descriptor is, a file too, and are added to.
enum class JsonTarget { None, StandardOutput, Stream, File };

JsonTarget jsonTarget(const SolveOptions& options) {
  if (!options.json) return JsonTarget::None;
  if (options.jsonFile == "-") return JsonTarget::StandardOutput;
  struct stat info {};
  if (stat(options.jsonFile.c_str(), &info) == 0 && (S_ISFIFO(info.st_mode) || S_ISCHR(info.st_mode)))
    return JsonTarget::Stream;
  const bool inDevOrProc = options.jsonFile.starts_with("/dev/") || options.jsonFile.starts_with("/proc/");
  if (inDevOrProc && lstat(options.jsonFile.c_str(), &info) == 0 && S_ISLNK(info.st_mode))
    return JsonTarget::Stream;
  return JsonTarget::File;
}

// Told before the search, as for the print files.
std::string checkJsonTarget(const SolveOptions& options, JsonTarget target) {
  if (target != JsonTarget::File) return {};
  struct stat info {};
  if (stat(options.jsonFile.c_str(), &info) == 0 && S_ISDIR(info.st_mode))
    return options.jsonFile + ": " + std::strerror(EISDIR);
  if (access(folderOf(options.jsonFile).c_str(), W_OK | X_OK) != 0)
    return options.jsonFile + ": " + std::strerror(errno);
  return {};
}

bool writeAll(std::FILE* out, const std::string& text) {
  return std::fwrite(text.data(), 1, text.size(), out) == text.size() && std::fflush(out) == 0;
}

// "" or the message of a failure.
std::string writeJson(const std::string& path, JsonTarget target, const std::string& text) {
  if (target == JsonTarget::File) {
    return writeFileSafely(path, ExistingFile::Replace, [&](std::FILE* out) {
      return writeAll(out, text) ? std::string() : fileWriteError(path, errno);
    });
  }
  std::FILE* out = stdout;
  if (target == JsonTarget::Stream) {
    const int descriptor = open(path.c_str(), O_WRONLY | O_APPEND | O_NOCTTY | O_CLOEXEC);
    out = descriptor < 0 ? nullptr : fdopen(descriptor, "w");
    if (out == nullptr) {
      const int failure = errno;
      if (descriptor >= 0) close(descriptor);
      return path + ": " + std::strerror(failure);
    }
  }
  bool written = writeAll(out, text);
  int failure = errno;
  if (out != stdout && std::fclose(out) != 0 && written) written = false, failure = errno;
  if (written) return {};
  return (target == JsonTarget::StandardOutput ? std::string("standard output") : path) + ": " +
         std::strerror(failure);
}

// A node limit replaces the default time limit: its answer must not depend
// on the machine.
SolveSettings solveSettings(const SolveOptions& options, int32_t processors) {
  SolveSettings settings;
  settings.exhaustive = options.exhaustive;
  settings.jobs = searchThreadsFor(options.jobs, processors);
  settings.nodeLimit = options.nodeLimit;
  settings.timeLimitSeconds = options.timeLimitSeconds >= 0                 ? options.timeLimitSeconds
                              : options.exhaustive || options.nodeLimit > 0 ? 0
                                                                            : DEFAULT_TIME_LIMIT_SECONDS;
  settings.frame = options.frame;
  settings.candidates = options.candidates;
  return settings;
}

// Threads beyond the processors would only wait for one, with their tables.
void noteFewerThreads(const SolveOptions& options, const SolveSettings& settings) {
  if (options.jobs <= settings.jobs) return;
  std::fprintf(stderr, "%.*s: warning: -j %d: %d processors available, so %d threads\n",
               static_cast<int>(SOLVE_PROGRAM.size()), SOLVE_PROGRAM.data(), options.jobs, settings.jobs,
               settings.jobs);
}

// "" or why the frame cannot hold even the first grid of every search:
// word 1 alone, across.
std::string frameProblem(const SolveOptions& options, const WordList& words) {
  if (wordOneFitsFrame(words, options.frame)) return {};
  const ByteString& first = words.words[1];
  return "--frame " + std::to_string(options.frame.columns) + "x" + std::to_string(options.frame.rows) +
         ": every grid starts with the first word, " + first + ", across, which takes " +
         std::to_string(textLength(first) + 2) + " columns and 3 rows";
}

// The words the frame left out, said on standard error.
void tellLeftOut(const SolveOptions& options, const SolveResult& result, const WordList& words) {
  if (options.frame.columns == 0 || result.score.wordsPlaced == words.wordCount) return;
  std::vector<bool> placed(static_cast<size_t>(words.wordCount) + 1, false);
  for (size_t r = 1; r < result.rows.size(); ++r) placed[static_cast<size_t>(result.rows[r].wordNumber)] = true;
  std::string names;
  for (int32_t w = 1; w <= words.wordCount; ++w) {
    if (placed[static_cast<size_t>(w)]) continue;
    names += (names.empty() ? "" : ", ") + std::string(words.words[static_cast<size_t>(w)]);
  }
  tell("the frame " + std::to_string(options.frame.columns) + " x " + std::to_string(options.frame.rows) +
           " holds " + std::to_string(result.score.wordsPlaced) + " of the " + std::to_string(words.wordCount) +
           " words; left out: " + names);
}

// The grid of each grid to choose from; [0] the answer's.
std::vector<GridEvaluation> candidateGrids(const SolveResult& result, const WordList& words) {
  std::vector<GridEvaluation> grids{result.evaluation};
  for (size_t i = 1; i < result.candidates.size(); ++i) {
    const ScoredArrangement& candidate = result.candidates[i];
    PlacementTable table;
    std::copy(candidate.rows.begin() + 1, candidate.rows.end(), table.rows.begin() + 1);
    grids.emplace_back();
    buildArrangementGrid(words, table, candidate.score.wordsPlaced, grids.back());
  }
  return grids;
}

// The text for people: the answer's grid and summary; with several grids,
// each under its heading, the others with their counts.
std::string reportText(const SolveResult& result, const SolveSettings& settings,
                       const std::vector<GridEvaluation>& grids) {
  if (grids.size() <= 1) return gridText(result.evaluation.grid) + summaryText(result, settings);
  const auto count = static_cast<int32_t>(grids.size());
  std::string text = candidateHeading(1, count) + gridText(grids[0].grid) + summaryText(result, settings);
  for (int32_t i = 1; i < count; ++i) {
    const auto n = static_cast<size_t>(i);
    text += '\n';
    text += candidateHeading(i + 1, count);
    text += gridText(grids[n].grid);
    text += countsText(result.candidates[n].score, grids[n].grid.box, result.wordCount);
  }
  return text;
}

// "" or why an output cannot be written, said before the search. A damaged
// font is said here, not after the search as a failure to draw the files;
// the fonts opened into setter serve every file.
std::string outputsProblem(const SolveOptions& options, JsonTarget json, TextSetter& setter) {
  if (std::string problem = checkPrintFolders(options); !problem.empty()) return problem;
  if (!printRequests(options).empty()) {
    if (std::string problem = openTextSetter(options.print.files, setter); !problem.empty()) return problem;
  }
  return checkJsonTarget(options, json);
}

// The search with its progress line and Ctrl+C caught: "" or the message
// of a failure to run it.
std::string searchWords(const SolveOptions& options, const WordList& words, const SolveSettings& settings,
                        SolveResult& result) {
  SolveControl control;
  ProgressLine progress;
  if (!options.quiet && isatty(STDERR_FILENO)) progress.out = stderr;
  control.onTick = [&](const SolveProgress& now) { showProgress(progress, now); };
  struct sigaction outsideSearch {};
  catchInterrupt(control.stopRequested, outsideSearch);
  std::string failure;
  try {
    result = solveWithStrategies(words, settings, control);
  } catch (const std::system_error& error) {
    failure = std::string("cannot start the search threads: ") + error.what();
  } catch (const std::bad_alloc&) {
    failure = "out of memory";
  } catch (const std::exception& error) {
    failure = std::string("internal error in the search: ") + error.what();
  }
  releaseInterrupt(outsideSearch);
  wipeProgress(progress);
  return failure;
}

// The grid and the counts on standard output, unless the JSON goes there,
// and the JSON: false when one failed, said.
bool writeReportAndJson(const SolveOptions& options, JsonTarget json, const SolveResult& result,
                        const SolveSettings& settings, const std::vector<GridEvaluation>& grids,
                        const WordList& words, const std::vector<std::string>& clues) {
  bool written = true;
  if (json != JsonTarget::StandardOutput) {
    if (!writeAll(stdout, reportText(result, settings, grids))) {
      written = false;
      fail(std::string("standard output: ") + std::strerror(errno), FAILURE_STATUS);
    }
  }
  if (json != JsonTarget::None) {
    const std::string problem = writeJson(options.jsonFile, json, resultJsonText(result, words, clues, options.frame));
    if (!problem.empty()) {
      written = false;
      fail(problem, FAILURE_STATUS);
    }
  }
  return written;
}

// The print files asked for of grid `number` (1: the answer), its page
// composed once and drawn in every format: false when one failed, said.
bool writePrintFiles(const SolveOptions& options, int32_t number, const Grid& grid,
                     const std::vector<Placement>& rows, const std::vector<std::string>& clues,
                     const TextSetter& setter) {
  const std::vector<PrintRequest> requests = printRequests(options);
  if (requests.empty()) return true;
  PageComposition page;
  if (const std::string problem = composePage(setter, grid, PuzzleWords{clues, rows}, options.print, page);
      !problem.empty()) {
    fail("cannot print the grid: " + problem, FAILURE_STATUS);
    return false;
  }
  // The answer's notes only, once whatever the number of files drawn: the
  // other grids are there to be looked at.
  const std::string warning = number == 1 ? undrawableCharactersWarning(page) : "";
  const std::string summary = number == 1 ? listedCluesSummary(page, options.print) : "";
  for (const std::string& note : {warning.empty() ? warning : "warning: " + warning, summary}) {
    if (!note.empty())
      std::fprintf(stderr, "%.*s: %s\n", static_cast<int>(SOLVE_PROGRAM.size()), SOLVE_PROGRAM.data(),
                   messageText(note).c_str());
  }
  bool written = true;
  for (const PrintRequest& request : requests) {
    for (const GridContent content : {GridContent::Puzzle, GridContent::Solution}) {
      const std::string path = printFilePath(candidatePrefix(*request.prefix, number), request.format, content);
      const std::string problem = writeComposedPage(page, grid, content, request.format, options.print, path);
      if (!problem.empty()) {
        written = false;
        fail(problem, FAILURE_STATUS);
      }
    }
  }
  return written;
}

// The ipuz file, the page and the print files asked for, of grid `number`
// (1: the answer; the page is the answer's only) with its rows: false when
// one failed, said.
bool writePuzzleFiles(const SolveOptions& options, int32_t number, const Grid& grid,
                      const std::vector<Placement>& rows, const WordList& words,
                      const std::vector<std::string>& clues, const TextSetter& setter) {
  bool written = true;
  const IpuzPuzzle puzzle{grid, rows, words, clues, options.print.title, options.print.author,
                          options.print.copyright};
  if (!options.ipuzFile.empty()) {
    if (const std::string problem = writeIpuzFile(puzzle, candidateFile(options.ipuzFile, number));
        !problem.empty()) {
      written = false;
      fail(problem, FAILURE_STATUS);
    }
  }
  if (!options.htmlFile.empty() && number == 1) {
    const std::vector<std::string> broken = withHyphenationPoints(options.print.files.hyphenation, clues);
    if (const std::string problem = writePuzzlePage(PuzzlePage{puzzle, broken}, options.htmlFile);
        !problem.empty()) {
      written = false;
      fail(problem, FAILURE_STATUS);
    }
  }
  return writePrintFiles(options, number, grid, rows, clues, setter) && written;
}

int solveAndWrite(const SolveOptions& options, const WordList& words, const std::vector<std::string>& clues) {
  const SolveSettings settings = solveSettings(options, availableProcessors());
  const JsonTarget json = jsonTarget(options);
  TextSetter setter;
  struct SetterCloser {
    TextSetter& setter;
    ~SetterCloser() { closeTextSetter(setter); }
  } closer{setter};
  if (const std::string problem = outputsProblem(options, json, setter); !problem.empty())
    return fail(problem, FAILURE_STATUS);

  noteFewerThreads(options, settings);
  if (const std::string problem = frameProblem(options, words); !problem.empty())
    return fail(problem, BAD_COMMAND_LINE_STATUS);

  SolveResult result;
  if (const std::string failure = searchWords(options, words, settings, result); !failure.empty())
    return fail(failure, FAILURE_STATUS);
  tellLeftOut(options, result, words);

  // Every output is tried, whatever failed before it.
  const std::vector<GridEvaluation> grids = candidateGrids(result, words);
  const bool reported = writeReportAndJson(options, json, result, settings, grids, words, clues);
  bool filesWritten = true;
  for (size_t i = 0; i < grids.size(); ++i) {
    const std::vector<Placement>& rows = i == 0 ? result.rows : result.candidates[i].rows;
    filesWritten =
        writePuzzleFiles(options, static_cast<int32_t>(i + 1), grids[i].grid, rows, words, clues, setter) && filesWritten;
  }
  if (!reported || !filesWritten) return FAILURE_STATUS;
  return result.end == SolveEnd::Interrupted ? INTERRUPTED_STATUS : SUCCESS_STATUS;
}

}  // namespace

int runSolveProgram(const SolveOptions& options) {
  removeUnfinishedFilesOnSignals();
  // Before the words are read: an output over the list would replace it.
  if (const std::string problem = sameFileProblem(runFiles(options)); !problem.empty())
    return fail(problem, BAD_COMMAND_LINE_STATUS);
  try {
    std::vector<WordText> texts;
    std::string error;
    if (const int status = gatherWords(options, texts, error); status != 0) return fail(error, status);
    const WordListInput input = buildWordList(texts);
    if (!input.ok) return fail(input.error, BAD_COMMAND_LINE_STATUS);
    return solveAndWrite(options, input.list, input.clues);
  } catch (const std::bad_alloc&) {
    return fail("out of memory", FAILURE_STATUS);
  }
}

}  // namespace arrowgrid
