# Builds the puzzle page's template at build time: the page's HTML with its
# style sheet and script put inline, and the Content-Security-Policy hashes
# of both, written as a byte array into a generated source file. The files
# stay real HTML, CSS and JavaScript in the project; no hand-written C++
# string holds them.
# Usage: cmake -DHTML=... -DCSS=... -DJS=... -DOUTPUT=... -P embed_page_assets.cmake

# Base64 of the SHA-256 of text: the form a CSP hash source takes.
function(sha256_base64 text out)
  string(SHA256 hex "${text}")
  set(alphabet "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/")
  set(result "")
  # 32 bytes: ten groups of three bytes, then two bytes and one '='.
  foreach(group RANGE 0 10)
    math(EXPR start "${group} * 6")
    if(group LESS 10)
      string(SUBSTRING "${hex}" ${start} 6 chunk)
      set(sextets 4)
    else()
      string(SUBSTRING "${hex}" ${start} 4 chunk)
      set(chunk "${chunk}00")
      set(sextets 3)
    endif()
    math(EXPR value "0x${chunk}")
    foreach(shift 18 12 6 0)
      if(sextets GREATER 0)
        math(EXPR index "(${value} >> ${shift}) & 63")
        string(SUBSTRING "${alphabet}" ${index} 1 letter)
        string(APPEND result "${letter}")
        math(EXPR sextets "${sextets} - 1")
      endif()
    endforeach()
  endforeach()
  set(${out} "${result}=" PARENT_SCOPE)
endfunction()

file(READ "${HTML}" page)
file(READ "${CSS}" style)
file(READ "${JS}" script)
foreach(part style script)
  # The program fills the page at run time at markers %%NAME%%: none may
  # come from the inlined files.
  if("${${part}}" MATCHES "%%")
    message(FATAL_ERROR "${part} of the puzzle page holds '%%', which marks the page's fields")
  endif()
endforeach()
if("${script}" MATCHES "</script" OR "${style}" MATCHES "</style")
  message(FATAL_ERROR "the puzzle page's script or style sheet would end its own element")
endif()
sha256_base64("${style}" style_hash)
sha256_base64("${script}" script_hash)
foreach(marker STYLE_HASH SCRIPT_HASH STYLE SCRIPT)
  string(FIND "${page}" "@${marker}@" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "${HTML} has no @${marker}@")
  endif()
endforeach()
# Hashes first: the inlined text must not be searched for markers.
string(REPLACE "@STYLE_HASH@" "sha256-${style_hash}" page "${page}")
string(REPLACE "@SCRIPT_HASH@" "sha256-${script_hash}" page "${page}")
string(REPLACE "@STYLE@" "${style}" page "${page}")
string(REPLACE "@SCRIPT@" "${script}" page "${page}")

file(WRITE "${OUTPUT}.page" "${page}")
file(READ "${OUTPUT}.page" bytes HEX)
file(REMOVE "${OUTPUT}.page")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "'\\\\x\\1'," bytes "${bytes}")
string(REGEX REPLACE "((('\\\\x..',){16}))" "\\1\n  " bytes "${bytes}")
file(WRITE "${OUTPUT}.new" "// Generated from src/page/assets by embed_page_assets.cmake: do not edit.
#include \"page/page_template.h\"

namespace arrowgrid {

namespace {
const char BYTES[] = {
  ${bytes}
};
}  // namespace

const std::string_view PAGE_TEMPLATE{BYTES, sizeof BYTES};

}  // namespace arrowgrid
")
# Rewritten only when it changes, so an unchanged page compiles nothing.
file(COPY_FILE "${OUTPUT}.new" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.new")
