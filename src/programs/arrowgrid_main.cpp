// arrowgrid: arranges a list of words into an arrow-word grid.
#include "programs/form_choice.h"

int main(int argc, char** argv) { return arrowgrid::runWithBestForm(argc, argv); }
