// The exit statuses of both programs, as their --help texts and manual
// pages list them. Each program uses the ones its help names.
#pragma once

namespace arrowgrid {

// arrowgrid: finished from the menu; arrowgrid-solve: answer printed.
inline constexpr int SUCCESS_STATUS = 0;
// arrowgrid: the chosen form could not start; arrowgrid-solve: a file could
// not be read or written, or the search could not run.
inline constexpr int FAILURE_STATUS = 1;
inline constexpr int FORM_UNAVAILABLE_STATUS = FAILURE_STATUS;
inline constexpr int BAD_COMMAND_LINE_STATUS = 2;    // also arrowgrid-solve's bad words
inline constexpr int SCRIPT_INPUT_ENDED_STATUS = 3;  // script form: input ended at a prompt
inline constexpr int OUTPUT_FAILED_STATUS = 4;       // script form: a snapshot could not be written
inline constexpr int WINDOW_LOST_STATUS = 5;         // the window or its display went away
inline constexpr int INTERRUPTED_STATUS = 130;       // arrowgrid-solve: Ctrl+C; the best so far was printed

}  // namespace arrowgrid
