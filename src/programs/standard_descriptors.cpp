// Closed standard descriptors replaced by /dev/null at start.
#include "programs/standard_descriptors.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace arrowgrid {

void holdStandardDescriptors() {
  for (int descriptor = STDIN_FILENO; descriptor <= STDERR_FILENO; ++descriptor) {
    if (fcntl(descriptor, F_GETFD) != -1 || errno != EBADF) continue;
    // open takes the lowest free number, which is this one.
    const int opened = open("/dev/null", descriptor == STDIN_FILENO ? O_WRONLY : O_RDONLY);
    if (opened != -1 && opened != descriptor) close(opened);
  }
}

}  // namespace arrowgrid
