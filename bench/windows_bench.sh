#!/usr/bin/env bash
# tarvik-check.exe under Wine against the Linux tarvik-check, in one run, side by side, on the
# same files: one file on /dev/shm (1 GiB unless given in MiB) and the tree of /usr/share/doc,
# which Wine shows as Z:\usr\share\doc. Prints the median seconds of three rounds for each, the
# ratios they are held to, and whether both checks gave the same totals.
#
#   bench/windows_bench.sh [MiB]
set -euo pipefail
cd "$(dirname "$0")/.."
mib=${1:-1024}
linux=build/default/src/cli/tarvik-check
windows=build/windows/src/cli/tarvik-check.exe
wine_run() { scripts/wine-run "$PWD/build/windows/wine" "$@"; }
dir=$(mktemp -d /dev/shm/tarvik-windows.XXXXXX)
trap 'rm -rf "$dir"' EXIT
mkdir "$dir/tree"
head -c $((mib << 20)) /dev/urandom >"$dir/tree/DATA.BIN"
wine_dir="Z:${dir//\//\\}\\tree"

names=(linux_file wine_file linux_doc wine_doc)
declare -A out seconds
run() {
  local name=$1
  shift
  local start
  start=$(date +%s%N)
  out[$name]=$("$@" | tr -d "\r" | tail -3 | head -1)
  seconds[$name]+="$(($(date +%s%N) - start)) "
}
for round in 1 2 3; do
  run linux_file "$linux" -b 32768 --no-history --no-verify "$dir/tree"
  run wine_file wine_run "$windows" -b 32768 --no-history --no-verify "$wine_dir"
  run linux_doc "$linux" -r --no-history --no-verify /usr/share/doc
  run wine_doc wine_run "$windows" -r --no-history --no-verify 'Z:\usr\share\doc'
done

declare -A median
for name in "${names[@]}"; do
  median[$name]=$(tr ' ' '\n' <<<"${seconds[$name]}" | grep . | sort -n | sed -n 2p)
  printf '%-11s %7.3f s  %s\n' "$name" "$(bc -l <<<"${median[$name]} / 10^9")" "${out[$name]}"
done
ratio() { printf '%-50s %6.2f (%s)\n' "$1" "$(bc -l <<<"$2")" "$3"; }
ratio "wine speed / linux speed, one big file" "${median[linux_file]} / ${median[wine_file]}" \
  "target >= 0.8"
ratio "wine time / linux time, /usr/share/doc" "${median[wine_doc]} / ${median[linux_doc]}" \
  "target <= 2"
[ "${out[linux_doc]}" = "${out[wine_doc]}" ] && echo "same totals" || echo "totals differ"
