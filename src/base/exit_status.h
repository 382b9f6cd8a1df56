// The program's exit statuses, as --help and the README list them.
#pragma once

namespace arrowgrid {

inline constexpr int FINISHED_STATUS = 0;          // finished from the menu
inline constexpr int FORM_UNAVAILABLE_STATUS = 1;  // the chosen form could not start
inline constexpr int BAD_COMMAND_LINE_STATUS = 2;
inline constexpr int SCRIPT_INPUT_ENDED_STATUS = 3;  // script form: input ended at a prompt
inline constexpr int OUTPUT_FAILED_STATUS = 4;       // script form: a snapshot could not be written
inline constexpr int WINDOW_LOST_STATUS = 5;         // the window or its display went away

}  // namespace arrowgrid
