#!/usr/bin/env bash
# tarvik-check.exe under Wine against the Linux tarvik-check on the same files: the same totals,
# problem lines (their paths but the file names aside: Linux and Wine give the folders other
# letters), verdicts and statuses; paths typed the Windows way; Ctrl+C during a read that hangs.
#   same_as_linux.sh LINUX_CHECK WINE_RUN PREFIX CHECK_EXE FAULTY_MOUNT
set -uo pipefail
# Masks are arguments, not patterns for the shell.
set -f
linux=$(realpath "$1") wine_run=$(realpath "$2") prefix=$3 exe=$(realpath "$4") faulty_mount=$5
failures=0
fail() {
  echo "FAILED: $*"
  failures=$((failures + 1))
}
windows() { "$wine_run" "$prefix" "$exe" "$@" 2>/dev/null | tr -d '\r'; }
# The problem lines with each path cut to its file name, then the summary but the time.
outcome() { sed -E 's#"[^"]*\\([^\\"]*)"#"\1"#; /^Время/d'; }
wine_path() { echo "Z:${1//\//\\}"; }
[ -x "$linux" ] || { echo "SKIPPED: $linux not built (the default preset)"; exit 0; }

tree=$(mktemp -d)
mount_pid=
cleanup() {
  [ -n "$mount_pid" ] && kill "$mount_pid" 2>/dev/null
  rm -rf "$tree" "$tree-devices" "$sums"
}
trap cleanup EXIT
mkdir -p "$tree/Папка/Вложенная" "$tree/sub"
printf 'a' >"$tree/корень.txt"
head -c 100000 /dev/zero >"$tree/Папка/файл.bin"
head -c 40000 /dev/zero >"$tree/Папка/Вложенная/глубоко.dat"
: >"$tree/sub/пусто.txt"
sums=$(mktemp -d)
mkdir "$tree-devices"
for name in aux CON NUL.txt com1.log; do echo x >"$tree-devices/$name"; done
up=$(realpath --relative-to="$sums" "$tree/Папка")
(cd "$tree/Папка" && sha256sum файл.bin | sed "s#  #  $up/#") >"$sums/up.sums"
# Links: one to a file is a file; one to a folder, or up the tree, is not walked into.
mkdir "$tree/links"
ln -s ../Папка "$tree/links/папка"
ln -s .. "$tree/links/вверх"
ln -s ../корень.txt "$tree/links/корень.txt"

# Each row: what it shows; the Linux arguments; the Windows arguments (the working directory is
# the tree's sub folder for both).
rows=(
  "a walk of every folder|-r --no-history $tree|-r --no-history $(wine_path "$tree")"
  "a mask|-r --no-history -m *.bin;*.dat $tree|-r --no-history -m *.bin;*.dat $(wine_path "$tree")"
  "links to a folder and a file|-r --no-history $tree/links|-r --no-history $(wine_path "$tree")\\links"
  "a relative path|--no-history ../Папка|--no-history ..\\Папка"
  "a path that does not exist|--no-history $tree/nothing|--no-history $(wine_path "$tree")\\nothing"
  "a block size that is none|-b 1000 $tree|-b 1000 $(wine_path "$tree")"
  "files named like devices|--no-history $tree/../$(basename "$tree")-devices|--no-history $(wine_path "$tree")-devices"
  "a checksum file written|--no-history --sums=$sums/linux.sums $tree/Папка|--no-history --sums=$(wine_path "$sums")\\windows.sums $(wine_path "$tree")\\Папка"
  "the checksum file it wrote verified|--no-history --verify=$sums/linux.sums $tree/Папка|--no-history --verify=$(wine_path "$sums")\\windows.sums $(wine_path "$tree")\\Папка"
  "a checksum file naming files through ..|--no-history --verify=$sums/up.sums $tree/Папка|--no-history --verify=$(wine_path "$sums")\\up.sums $(wine_path "$tree")\\Папка"
)
for row in "${rows[@]}"; do
  IFS='|' read -r what linux_args windows_args <<<"$row"
  expected=$(cd "$tree/sub" && IFS=' ' && $linux $linux_args 2>/dev/null | outcome; echo "status ${PIPESTATUS[0]}")
  actual=$(cd "$tree/sub" && IFS=' ' && windows $windows_args | outcome; echo "status ${PIPESTATUS[0]}")
  [ "$expected" = "$actual" ] || fail "$what: Linux gave [$expected], Windows [$actual]"
  [ "${expected##*status }" != 127 ] || fail "$what: the Linux check did not start"
done

[ "$("$linux" --help)" = "$(windows --help)" ] || fail "--help differs"

if [ -x "$faulty_mount" ] && listing=$(mktemp) && { "$faulty_mount" >"$listing" 2>/dev/null & } &&
  mount_pid=$! && for _ in $(seq 100); do [ -s "$listing" ] && break; sleep 0.05; done &&
  medium=$(head -n 1 "$listing") && rm -f "$listing" && [ -n "$medium" ]; then
  expected=$("$linux" --no-history -m 'GOOD.BIN;BAD.BIN' "$medium" | outcome; echo "status ${PIPESTATUS[0]}")
  actual=$(windows --no-history -m 'GOOD.BIN;BAD.BIN' "$(wine_path "$medium")" | outcome
    echo "status ${PIPESTATUS[0]}")
  [ "$expected" = "$actual" ] || fail "a damaged medium: Linux gave [$expected], Windows [$actual]"

  # Ctrl+C while a read hangs: the run ends at once, with its lines and status 130.
  errors=$(mktemp)
  "$wine_run" "$prefix" "$exe" --no-history -m HANG.BIN "$(wine_path "$medium")" >/dev/null \
    2>"$errors" &
  check=$!
  sleep 1.2
  start=$(date +%s%N)
  kill -INT "$check"
  wait "$check"
  status=$?
  took=$((($(date +%s%N) - start) / 1000000))
  [ "$status" = 130 ] || fail "Ctrl+C during a hung read: status $status, not 130"
  [ "$took" -lt 1000 ] || fail "Ctrl+C during a hung read: the run took $took ms to end"
  grep -q 'stopped by SIGINT (Ctrl+C) while reading' "$errors" ||
    fail "Ctrl+C during a hung read: no line says the check was stopped"
  rm -f "$errors"
else
  echo "the damaged medium is not tested: tarvik-faulty-mount cannot mount here"
fi
[ "$failures" = 0 ] && echo "tarvik-check.exe gives what tarvik-check gives"
exit $((failures > 0))
