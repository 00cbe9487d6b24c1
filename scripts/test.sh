#!/usr/bin/env bash
# Builds Yawmark and runs every test. Needs no display: the window tests run on
# Qt's offscreen platform.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh
ctest --test-dir build --output-on-failure -j2
