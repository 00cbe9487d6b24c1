#!/usr/bin/env bash
# Builds Yawmark and opens it, with the arguments given (a case file to open,
# --version, --help). Without a display it starts its own X server.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh >&2
bash scripts/build.sh >&2 # only the program speaks on standard output
build_dir=${BUILD_DIR:-build}
# The build writes where it put the program.
program=$(cat "$build_dir/yawmark-program")
if [ ! -x "$program" ]; then
    echo "run: the build names $program as the program, but there is none." >&2
    exit 1
fi
# --help and --version answer without a display.
for arg in "$@"; do
    case "$arg" in
    -h | --help | -v | --version) exec "$program" "$@" ;;
    esac
done
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    exec "$program" "$@"
else
    echo "run: no display here; starting the program under Xvfb." >&2
    exec xvfb-run -a -s "-screen 0 1280x1024x24" "$program" "$@"
fi
