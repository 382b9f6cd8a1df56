// The console in script form: each line of standard input is typed as its
// characters followed by Enter, and each time the program starts waiting for
// a typed line the text layer is written to standard output as a snapshot.
// Scripts, tests and benchmarks drive the program this way.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

#include "base/exit_status.h"
#include "platform/key_script.h"
#include "screen/console.h"

namespace arrowgrid {

// Bytes of an input line that are typed; the rest of a longer line is read
// and discarded. Four times the longest field, so that even a field of
// three-byte UTF-8 characters after some blanks is typed whole.
inline constexpr size_t SCRIPT_LINE_MAX = 16384;

struct ScriptForm {
  KeyScript script;              // keys of the current input line not yet queued
  std::FILE* input = stdin;      // typed lines
  std::FILE* output = stdout;    // snapshots
  std::FILE* messages = stderr;  // why the program ended, when not from its menu
  // Ends the process with status; std::_Exit when null. Must not return
  // (a fuzzing harness unwinds with an exception of its own).
  void (*end)(int status) = nullptr;
};

void attachScriptForm(Console& console, ScriptForm& form);

// Watches standard output on a thread of its own: when it is a pipe whose
// reader goes away, the program ends then, not at its next snapshot after
// a search of hours. It ends as a write into that pipe would: by SIGPIPE,
// or, with SIGPIPE ignored, with a message and OUTPUT_FAILED_STATUS.
void endWhenOutputReaderGoes(ScriptForm& form);

// The snapshot: the 25 rows as UTF-8, trailing blanks removed, each ended by
// a line feed, then a line holding only a form feed. False when it could not
// be written whole.
bool writeSnapshot(const Console& console, std::FILE* output);

// Reads one line without its line feed, keeping its first `limit` bytes and
// discarding the rest as it streams past. False at the end of the input
// with nothing read (a last line without a line feed still counts).
bool readScriptLine(std::FILE* input, std::string& line, size_t limit = SCRIPT_LINE_MAX);

}  // namespace arrowgrid
