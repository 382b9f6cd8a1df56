// The whole program in script form on any byte stream: typed lines in,
// snapshots out, to the end of the input, the menu's F or a cap on the
// search's trials that keeps every input fast.
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

#include "fuzz_check.h"
#include "interaction/program_driver.h"
#include "platform/script_form.h"

using namespace arrowgrid;

namespace {

// About 100 trials pass between two pictures.
constexpr int32_t PICTURES_PER_INPUT = 3000;

struct ScriptEnded {
  int status;
};
struct TrialCapReached {};

int32_t picturesLeft = 0;  // of the input being run

void endByException(int status) { throw ScriptEnded{status}; }

// Stands in for the picture: the search asks for one every hundred trials
// or so while refreshWanted stays raised.
void countPicture(void*, Console& console) {
  console.platform.refreshWanted.store(true, std::memory_order_relaxed);
  if (--picturesLeft <= 0) throw TrialCapReached{};
}

std::FILE* nowhere() {
  static std::FILE* file = std::fopen("/dev/null", "w");
  return file;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  std::string input(reinterpret_cast<const char*>(data), size);
  auto program = std::make_unique<Program>();
  ScriptForm form;
  form.input = fmemopen(input.data(), input.size(), "r");
  FUZZ_CHECK(form.input != nullptr);
  form.output = nowhere();
  form.messages = nowhere();
  form.end = endByException;
  attachScriptForm(program->console, form);
  program->console.platform.present = countPicture;
  program->console.platform.refreshWanted.store(true);
  picturesLeft = PICTURES_PER_INPUT;
  try {
    runProgram(*program);
  } catch (const ScriptEnded& ended) {
    FUZZ_CHECK(ended.status == SUCCESS_STATUS || ended.status == SCRIPT_INPUT_ENDED_STATUS);
  } catch (const TrialCapReached&) {
  }
  std::fclose(form.input);
  return 0;
}
