#!/usr/bin/env bash
# Builds Yawmark and runs every test. Needs no display: the window tests run on
# Qt's offscreen platform, and the check of the run command starts its own X
# server (scripts/check-run.sh). The window tests run twice: with the fonts
# installed, then with the DejaVu fonts alone (tests/fonts/dejavu-only.conf).
#
# Then the packaging check: when lintian is installed (scripts/setup.sh
# installs it), the Debian package is built into build-deb/ as a distribution
# would build it and lintian checks it; any error or warning but the
# maintainer's mail host fails the run (packaging/check-deb.sh).
# SKIP_PACKAGE=1 leaves the packaging check out.
#
# Then the whole suite again, built with AddressSanitizer and
# UndefinedBehaviorSanitizer into build-asan/ (without the benchmarks); any
# report fails the run. SKIP_SANITIZE=1 leaves that part out.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh
ctest --test-dir build --output-on-failure -j2
# The window tests again with the DejaVu fonts alone: Nimbus (fonts-urw-base35)
# and Liberation hidden, the classic faces fall back to DejaVu, and no label
# may be cut off there either (tests/fonts/dejavu-only.conf).
FONTCONFIG_FILE="$PWD/tests/fonts/dejavu-only.conf" ctest --test-dir build -R '^tst_' --output-on-failure -j2
python3 scripts/check-docs.py  # README.md and the man pages say what the programs do
# The README's run command, as a user meets it (scripts/run.sh).
bash scripts/check-run.sh

if [ "${SKIP_PACKAGE:-0}" = 1 ]; then
    echo "test: the packaging check is skipped (SKIP_PACKAGE=1)"
elif ! command -v lintian >/dev/null; then
    echo "test: lintian is not installed, so the packaging check is skipped"
else
    bash packaging/check-deb.sh
fi

[ "${SKIP_SANITIZE:-0}" = 1 ] && exit 0
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DYAWMARK_SANITIZE=ON -DYAWMARK_BUILD_BENCH=OFF >/dev/null
cmake --build build-asan -j2
# Every finding aborts its test, leaks included (checked at exit); nothing is
# suppressed.
export ASAN_OPTIONS="abort_on_error=1:detect_leaks=1:strict_string_checks=1:detect_stack_use_after_return=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
ctest --test-dir build-asan --output-on-failure -j2 --timeout 900
