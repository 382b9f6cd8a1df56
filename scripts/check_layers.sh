#!/usr/bin/env bash
# Checks that every include between the folders of src/ points down the
# order written in docs/layers.md: a folder may include itself and the
# folders below it, never one above it nor one the order does not know.
# Usage: check_layers.sh [SRC_FOLDER]   (default: the src/ beside this script)
# Exit status: 0 when every include is in order, 1 when one is not (each
# listed as FILE:LINE: the include and why), 2 when SRC_FOLDER is missing.
set -u

# Bottom to top; keep in step with docs/layers.md.
ORDER=(base search puzzle page screen display print platform interaction solve programs)

src=${1:-"$(dirname "$0")/../src"}
if [[ ! -d $src ]]; then
  echo "check_layers.sh: $src: no such folder" >&2
  exit 2
fi

declare -A rank
for i in "${!ORDER[@]}"; do
  rank[${ORDER[$i]}]=$i
done

status=0
while IFS= read -r -d '' file; do
  relative=${file#"$src"/}
  folder=${relative%%/*}
  if [[ $relative != */* || -z ${rank[$folder]+set} ]]; then
    echo "$file: not in a folder of the order" >&2
    status=1
    continue
  fi
  line=0
  while IFS= read -r text || [[ -n $text ]]; do
    line=$((line + 1))
    [[ $text =~ ^[[:space:]]*#[[:space:]]*include[[:space:]]*\"([^/\"]+)/ ]] || continue
    target=${BASH_REMATCH[1]}
    if [[ -z ${rank[$target]+set} ]]; then
      echo "$file:$line: ${text#"${text%%[![:space:]]*}"}: folder '$target' is not in the order" >&2
      status=1
    elif ((rank[$target] > rank[$folder])); then
      echo "$file:$line: ${text#"${text%%[![:space:]]*}"}: $folder may not include $target, which sits above it" >&2
      status=1
    fi
  done <"$file"
done < <(find "$src" -type f \( -name '*.h' -o -name '*.cpp' -o -name '*.inl' \) -print0 | sort -z)

exit $status
