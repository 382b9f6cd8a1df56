// arrowgrid: arranges a list of words into an arrow-word grid.
#include "programs/form_choice.h"
#include "programs/standard_descriptors.h"

int main(int argc, char** argv) {
  arrowgrid::holdStandardDescriptors();
  return arrowgrid::runWithBestForm(argc, argv);
}
