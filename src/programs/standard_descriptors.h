// Descriptors 0, 1 and 2 held open from the start, so that no file the
// program opens takes one of their numbers and receives what is meant for
// standard output or standard error.
#pragma once

namespace arrowgrid {

// Opens each closed one of 0, 1 and 2 on /dev/null, in the direction it is
// not used in (standard input write-only, the outputs read-only), so that
// using it still fails as on a closed descriptor and is reported as such.
void holdStandardDescriptors();

}  // namespace arrowgrid
