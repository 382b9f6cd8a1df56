// Text from outside (words, file names, option values) made safe to echo in
// a message: nothing in it can move the cursor, start a terminal sequence or
// reverse the direction of the text around it.
#pragma once

#include <string>
#include <string_view>

namespace arrowgrid {

// text with each C0 and C1 control, DEL, each bidirectional control (the
// embeddings, overrides and isolates, and the invisible direction marks)
// and each byte that is not valid UTF-8 written as an escape: \xHH for a
// byte or an ASCII control, \uHHHH for the other characters. Anything else
// is kept as it is. With keepLineEnds, for a whole message of several
// lines, '\n' stays.
std::string messageText(std::string_view text, bool keepLineEnds = false);

// Whether a character is written as an escape by messageText.
bool isEscapedInMessages(char32_t c);

}  // namespace arrowgrid
