#!/usr/bin/env bash
# Builds the Debian package, checks it with lintian, installs it, uses what it
# installed (programs, manual pages, desktop entry, icons), removes it and
# checks that nothing of it is left. Installs into this system: CI runs it
# as root on a throwaway machine.
source "$(dirname "$0")/common.sh"
cd "$(dirname "$0")/.."
bash scripts/package.sh

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
fail() { echo "package test: $*" >&2; exit 1; }
# Reads all of its input: with pipefail, grep -q ending a pipe early would
# fail the writer with SIGPIPE.
holds() { grep "$@" >/dev/null; }
# The long options a text names, one a line.
options_of() { grep -oE -- '--[a-z][a-z-]*[a-z]' | sort -u; }

deb=$(ls build-package/packages/arrowgrid_*.deb)
version=$(dpkg-deb -f "$deb" Version)
[ "$(dpkg-parsechangelog -l packaging/changelog -S Version)" = "$version" ] \
  || fail "packaging/changelog has no entry for version $version"

# Errors and warnings fail; the kept informational tags are explained in docs/packaging.md.
lintian --fail-on error,warning --display-info "$deb"

# Whatever happens below, the package does not stay installed.
trap '$sudo apt-get remove --purge -y arrowgrid >/dev/null 2>&1 || true' EXIT
(cd "$(dirname "$deb")" && DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y "./$(basename "$deb")")
mapfile -t files < <(dpkg -L arrowgrid | grep -vx "/.")

for expected in /usr/bin/arrowgrid /usr/share/man/man1/arrowgrid.1.gz \
    /usr/share/applications/arrowgrid.desktop /usr/share/doc/arrowgrid/copyright \
    /usr/share/doc/arrowgrid/changelog.gz; do
  [ -f "$expected" ] || fail "$expected is not installed"
done

[ "$(/usr/bin/arrowgrid --version)" = "arrowgrid $version" ] || fail "arrowgrid --version"

# A whole session of AB, BC, CA in script form, finished from the menu.
session=$(mktemp)
printf '\n\nAB\nBC\nCA\n\nO\n\n\n\nF\n' \
  | env -u DISPLAY -u WAYLAND_DISPLAY /usr/bin/arrowgrid --script > "$session" \
  || fail "the script session did not end with status 0"
[ "$(grep -c $'^\f$' "$session")" -eq 11 ] || fail "the session has not 11 snapshots"
for line in 'Nb mots placés = 3' 'Nb recoupement = 2' ' → B C██' '   → A B██' \
    'La recherche est terminée' 'MENU'; do
  grep -qF -- "$line" "$session" || fail "the session does not show '$line'"
done
rm -f "$session"

if printf '%s\n' "${files[@]}" | holds -x /usr/bin/arrowgrid-solve; then
  /usr/bin/arrowgrid-solve --version | holds -x "arrowgrid-solve $version" || fail "arrowgrid-solve --version"
  answer=$(/usr/bin/arrowgrid-solve --quiet AB BC CA) || fail "arrowgrid-solve AB BC CA did not answer"
  for line in '│ → A B ■   │' 'Words placed: +3 of 3' 'Crossings: +2' 'Proven best: +yes'; do
    holds -E -- "$line" <<< "$answer" || fail "arrowgrid-solve AB BC CA does not print '$line'"
  done
  # The drawings read the font the package depends on.
  drawings=$(mktemp -d)
  /usr/bin/arrowgrid-solve --quiet --pdf "$drawings/ab" --svg "$drawings/ab" --png "$drawings/ab" AB BC CA \
    > /dev/null || fail "arrowgrid-solve could not draw AB BC CA"
  for kind in grille solution; do
    file "$drawings/ab-$kind.pdf" | holds "PDF document" || fail "no ab-$kind.pdf"
    file "$drawings/ab-$kind.svg" | holds "SVG" || fail "no ab-$kind.svg"
    file "$drawings/ab-$kind.png" | holds "PNG image data" || fail "no ab-$kind.png"
  done
  rm -rf "$drawings"
fi

# Every installed manual page reads without a warning.
for page in $(printf '%s\n' "${files[@]}" | grep '^/usr/share/man/man1/.*\.1\.gz$'); do
  warnings=$(MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null)
  [ -z "$warnings" ] || fail "$page: $warnings"
  MANWIDTH=80 man -l "$page" | holds '^NAME' || fail "$page has no NAME section"
  # The page and the program's --help name the same options.
  program=/usr/bin/$(basename "$page" .1.gz)
  described=$(zcat "$page" | sed 's/\\-/-/g' | options_of)
  [ "$described" = "$("$program" --help | options_of)" ] \
    || fail "$page and $program --help differ in options: $(echo $described)"
done

desktop-file-validate /usr/share/applications/arrowgrid.desktop

# The icons, drawn at build time.
for size in 48 256; do
  icon=/usr/share/icons/hicolor/${size}x${size}/apps/arrowgrid.png
  file "$icon" | holds "PNG image data, $size x $size" || fail "$icon is not a ${size}x$size PNG"
done
file /usr/share/icons/hicolor/scalable/apps/arrowgrid.svg | holds "SVG" || fail "no scalable icon"

$sudo apt-get remove --purge -y arrowgrid
! dpkg -s arrowgrid >/dev/null 2>&1 || fail "arrowgrid is still known to dpkg"
# A path left behind must belong to another package (/usr/bin, shared folders).
for path in "${files[@]}"; do
  if [ -e "$path" ] && ! dpkg -S "$path" >/dev/null 2>&1; then
    fail "$path is left after the removal"
  fi
done
echo "package test: $deb installed, used and removed cleanly"
