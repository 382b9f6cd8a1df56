# Shared by run.sh and test.sh: installs the Debian packages that are missing.
set -euo pipefail

# The Debian package: dpkg-shlibdeps and dpkg-buildflags (dpkg-dev), file for
# CPack; the installed package's checks (man, desktop-file-validate, lintian).
PACKAGE_PACKAGES=(dpkg-dev file man-db desktop-file-utils lintian)

install_missing() {
  local missing=()
  for package in "$@"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' \
      || missing+=("$package")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get update
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
}

BUILD_PACKAGES=(cmake ninja-build g++ pkg-config libsdl2-dev libx11-dev libgtest-dev libcairo2-dev libpango1.0-dev libhyphen-dev hyphen-fr fonts-dejavu-core fonts-dejavu-extra nlohmann-json3-dev libcli11-dev)
