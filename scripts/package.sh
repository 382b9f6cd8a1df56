#!/usr/bin/env bash
# Builds the Debian package build-package/packages/arrowgrid_VERSION_ARCH.deb:
# a Release build with Debian's hardening flags, then cpack.
source "$(dirname "$0")/common.sh"
cd "$(dirname "$0")/.."
install_missing "${BUILD_PACKAGES[@]}" "${PACKAGE_PACKAGES[@]}"

export DEB_BUILD_MAINT_OPTIONS=hardening=+all
# The project's own optimisation stays; only the hardening is taken from Debian.
# The programs and their files are built here, so cpack need not build the tests.
cmake -S . -B build-package -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CPPFLAGS)" \
  -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)" \
  -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON >/dev/null
cmake --build build-package -j"$(nproc 2>/dev/null || echo 2)" --target arrowgrid_package_files
rm -rf build-package/packages
(cd build-package && cpack -G DEB -B packages)
ls build-package/packages/arrowgrid_*.deb
