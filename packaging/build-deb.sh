#!/usr/bin/env bash
# Builds the Debian package as a distribution would: a Release build of the
# two programs (no tests, no benchmarks) with Debian's usual compiler and
# linker flags from dpkg-buildflags, all hardening on (fortified functions,
# stack protector, full RELRO, immediate binding), made into a package by
# `cpack -G DEB`, stripped. Builds into build-deb/ (or $BUILD_DIR) and prints
# the path of the package on its last line.
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${BUILD_DIR:-build-deb}

export DEB_BUILD_MAINT_OPTIONS=hardening=+all
# CMake does not read CPPFLAGS: the preprocessor's flags go with the compiler's.
cxxflags="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)"
ldflags=$(dpkg-buildflags --get LDFLAGS)

cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DYAWMARK_BUILD_TESTS=OFF -DYAWMARK_BUILD_BENCH=OFF \
    -DCMAKE_CXX_FLAGS="$cxxflags" -DCMAKE_EXE_LINKER_FLAGS="$ldflags" >/dev/null
cmake --build "$build_dir"
rm -f "$build_dir"/yawmark_*.deb
(cd "$build_dir" && cpack -G DEB >/dev/null)
packages=("$build_dir"/yawmark_*.deb)
[ -f "${packages[0]}" ] || { echo "build-deb: cpack made no package in $build_dir" >&2; exit 1; }
echo "${packages[0]}"
