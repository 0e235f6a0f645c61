#!/usr/bin/env bash
# The check with fingerprints against the tools that read and hash the same file: a file on
# /dev/shm (1 GiB unless given in MiB), in one run, side by side: dd bs=16384, openssl dgst
# -sha256, sha256sum, tarvik-check -b 16384 without fingerprints and history (--no-history),
# with --sums, and recording into a history of its own (fingerprints and comparison included).
# Prints the median seconds of three rounds for each, and the ratios they are held to.
#
#   bench/sums_bench.sh [MiB] [build directory, build/default by default]
set -euo pipefail
mib=${1:-1024}
check=${2:-build/default}/src/cli/tarvik-check
dir=$(mktemp -d /dev/shm/tarvik-sums.XXXXXX)
trap 'rm -rf "$dir"' EXIT
mkdir "$dir/tree"
file=$dir/tree/DATA.BIN
head -c $((mib << 20)) /dev/urandom >"$file"

export XDG_DATA_HOME=$dir/data
names=(dd openssl sha256sum check check_sums check_history)
commands=(
  "dd if=$file of=/dev/null bs=16384 status=none"
  "openssl dgst -sha256 $file"
  "sha256sum $file"
  "$check -q -b 16384 --no-verify --no-history $dir/tree"
  "$check -q -b 16384 --no-verify --no-history --sums=$dir/sums $dir/tree"
  "$check -q -b 16384 --no-verify $dir/tree"
)
declare -A seconds
for round in 1 2 3; do
  for i in "${!names[@]}"; do
    start=$(date +%s%N)
    ${commands[$i]} >/dev/null
    seconds[${names[$i]}]+="$(( $(date +%s%N) - start )) "
  done
done
# The sums file names the file as sha256sum does.
(cd "$dir/tree" && sha256sum --quiet -c "$dir/sums")

declare -A median
for name in "${names[@]}"; do
  median[$name]=$(tr ' ' '\n' <<<"${seconds[$name]}" | grep . | sort -n | sed -n 2p)
  printf '%-11s %7.3f s\n' "$name" "$(bc -l <<<"${median[$name]} / 10^9")"
done
ratio() { printf '%-58s %6.2f (%s)\n' "$1" "$(bc -l <<<"$2")" "$3"; }
ratio "sha256sum time / check --sums time" "${median[sha256sum]} / ${median[check_sums]}" \
  "target >= 4"
ratio "check --sums time / openssl dgst -sha256 time" \
  "${median[check_sums]} / ${median[openssl]}" "target <= 1.25"
ratio "check speed / dd speed, without fingerprints" "${median[dd]} / ${median[check]}" \
  "target >= 0.95"
ratio "check recording the history / openssl dgst -sha256 time" \
  "${median[check_history]} / ${median[openssl]}" "target <= 1.25"
