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
// existing file at path is an error and stays untouched. Returns "" or a
// message naming path; on failure the temporary file is removed.
std::string writeFileSafely(const std::string& path, ExistingFile existing,
                            const std::function<std::string(std::FILE*)>& produce);

// "cannot write PATH: REASON", the form of every file error.
std::string fileWriteError(const std::string& path, int errorNumber);

}  // namespace arrowgrid
