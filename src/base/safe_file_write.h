// Writing a file so that no half-written file is ever left under its name:
// the bytes go to a temporary file in the same folder, renamed when complete.
#pragma once

#include <cstdio>
#include <functional>
#include <string>

namespace arrowgrid {

enum class ExistingFile { Replace, Keep };

// Produces the content through produce (which returns "" or a message) into
// a temporary file beside path, then renames it to path; with Keep an
// existing file at path is an error and stays untouched, with Replace the
// file replaced gives its permissions to the new one. The folder is synced
// after the rename. Returns "" or a message naming path; on failure the
// temporary file is removed. With Replace, a device or a pipe at path
// (/dev/null, a FIFO) is written into, never replaced.
std::string writeFileSafely(const std::string& path, ExistingFile existing,
                            const std::function<std::string(std::FILE*)>& produce);
// The same for a text made beforehand.
std::string writeTextSafely(const std::string& path, ExistingFile existing, const std::string& text);

// The hidden name of the temporary file for the file `name` (no folder),
// written by process processId at its attempt-th try:
// ".NAME.PID-ATTEMPT.tmp", NAME cut short so that it stays within NAME_MAX.
std::string temporaryFileName(const std::string& name, long processId, int attempt);
// Whether candidate is such a temporary name for `name`, of any process and attempt.
bool isTemporaryFileNameOf(const std::string& candidate, const std::string& name);

// "cannot write PATH: REASON", the form of every file error.
std::string fileWriteError(const std::string& path, int errorNumber);

// A signal that ends the process mid-write would leave the temporary file
// behind, hidden beside the file it was to become. Each file not yet under
// its name is held here until renamed or removed: holdUnfinishedFile gives
// the slot (-1 when none is free or the path too long), releaseUnfinishedFile
// lets it go without touching the file.
int holdUnfinishedFile(const std::string& path);
// The same in two steps, for a file made by an exclusive create that may
// find another's file: the slot claimed before the create, marked made
// right after it succeeds, so that a signal between the two finds it.
int claimUnfinishedFile(const std::string& path);
void markUnfinishedFileMade(int slot);
void releaseUnfinishedFile(int slot);

// Removes every file held; async-signal-safe, for handlers of signals that
// end the process.
void removeUnfinishedFiles();

// SIGINT, SIGTERM, SIGHUP and SIGQUIT, unless ignored, remove the files held
// and then end the process as they would have.
void removeUnfinishedFilesOnSignals();

}  // namespace arrowgrid
