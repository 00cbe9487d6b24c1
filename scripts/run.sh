#!/usr/bin/env bash
# Builds Yawmark and opens it. Without a display it starts its own X server.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    exec build/app/yawmark "$@"
else
    echo "run: no display here; starting the program under Xvfb." >&2
    exec xvfb-run -a -s "-screen 0 1280x1024x24" build/app/yawmark "$@"
fi
