#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing need, skipping those present.
# Sourced by scripts/run and scripts/test.
set -euo pipefail

# What building and testing need; callers may ask for more (scripts/run adds a virtual display).
tarvik_packages=(
  build-essential cmake ninja-build pkg-config
  googletest libgtest-dev libgmock-dev
  qt6-base-dev libgl-dev libmount-dev libblkid-dev fonts-dejavu-core
  libfuse3-dev fuse3
  libsmbclient-dev samba
  libssl-dev
  libsqlite3-dev
  liburing-dev
  locales
  dpkg-dev help2man librsvg2-bin lintian desktop-file-utils appstream
  g++-mingw-w64-x86-64-posix wine wine64
)

tarvik_missing_packages() {
  local pkg
  for pkg in "${tarvik_packages[@]}" "$@"; do
    dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' || echo "$pkg"
  done
}

tarvik_install_deps() {
  local missing
  missing=$(tarvik_missing_packages "$@")
  [ -z "$missing" ] && return 0
  local sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  echo "Installing: $missing" >&2
  # Wait for another apt/dpkg run to release its lock instead of failing.
  local apt=(env DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=600 -y -q)
  $sudo "${apt[@]}" update
  # shellcheck disable=SC2086
  $sudo "${apt[@]}" install --no-install-recommends $missing
}
