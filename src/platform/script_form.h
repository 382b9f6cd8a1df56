// The console in script form: each line of standard input is typed as its
// characters followed by Enter, and each time the program starts waiting for
// a typed line the text layer is written to standard output as a snapshot.
// Scripts, tests and benchmarks drive the program this way.
#pragma once

#include <cstdio>

#include "platform/key_script.h"
#include "screen/console.h"

namespace arrowgrid {

inline constexpr int SCRIPT_INPUT_ENDED_STATUS = 3;

struct ScriptForm {
  KeyScript script;           // keys of the current input line not yet queued
  std::FILE* input = stdin;   // typed lines
  std::FILE* output = stdout; // snapshots
};

void attachScriptForm(Console& console, ScriptForm& form);

// The snapshot: the 25 rows as UTF-8, trailing blanks removed, each ended by
// a line feed, then a line holding only a form feed.
void writeSnapshot(const Console& console, std::FILE* output);

}  // namespace arrowgrid
