#!/usr/bin/env bash
# Checks the README's run command as a user meets it, so that it cannot break
# unseen: `scripts/run.sh --version` answers without a display, and
# `scripts/run.sh` opens the main window, on a display and without one, and
# keeps running until the window is closed. Uses its own X server, window
# manager and home folder, so nothing of the user's is read or written.
set -euo pipefail
cd "$(dirname "$0")/.."

fail() {
    echo "check-run: $*" >&2
    exit 1
}

scratch=$(mktemp -d)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$scratch"
}
trap cleanup EXIT
export HOME=$scratch XDG_CONFIG_HOME=$scratch/config XDG_DATA_HOME=$scratch/data
export XDG_RUNTIME_DIR=$scratch/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"

# 1. --version, with no display at all.
version=$(env -u DISPLAY -u WAYLAND_DISPLAY bash scripts/run.sh --version) ||
    fail "'scripts/run.sh --version' failed"
expected="Yawmark $(sed -n 's/^project(Yawmark VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)"
[ "$version" = "$expected" ] || fail "'scripts/run.sh --version' printed \"$version\", not \"$expected\""

# 2. On a display: the window shows, and closing it ends the program with status 0.
display=
for n in $(seq 90 140); do
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] || { display=:$n; break; }
done
[ -n "$display" ] || fail "no free display number for an X server"
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >"$scratch/xvfb.log" 2>&1 &
pids+=($!)
export DISPLAY=$display
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
xdpyinfo >/dev/null 2>&1 || fail "the X server did not start"
openbox >"$scratch/openbox.log" 2>&1 &
pids+=($!)
# Alt+F4 below is the window manager's: wait until openbox has taken the screen.
for _ in $(seq 100); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
    sleep 0.1
done
xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' ||
    { cat "$scratch/openbox.log" >&2; fail "the window manager (openbox) did not start"; }

bash scripts/run.sh >"$scratch/run.log" 2>&1 &
run=$!
window=$(timeout 60 xdotool search --sync --onlyvisible --name '^Yawmark' | head -n 1) || true
if [ -z "$window" ]; then
    kill "$run" 2>/dev/null || true
    cat "$scratch/run.log" >&2
    fail "'scripts/run.sh' showed no window titled Yawmark within a minute"
fi
kill -0 "$run" 2>/dev/null || fail "'scripts/run.sh' ended while its window was open"
# The splash comes up a moment after the main window and takes the focus, so
# the first Alt+F4 may close the splash: ask again until the program ends.
ended=
for _ in $(seq 15); do
    xdotool windowactivate --sync "$window" 2>/dev/null || true
    xdotool key --clearmodifiers alt+F4
    if timeout 2 tail --pid="$run" -f /dev/null; then ended=1; break; fi
done
if [ -z "$ended" ]; then
    for w in $(xdotool search --onlyvisible --name . 2>/dev/null); do
        echo "check-run: window still open: \"$(xdotool getwindowname "$w")\"" >&2
    done
    cat "$scratch/run.log" >&2
    fail "the program did not end when its window was closed"
fi
status=0
wait "$run" || status=$?
[ "$status" -eq 0 ] || { cat "$scratch/run.log" >&2; fail "the program ended with status $status"; }

# 3. Without a display the script starts its own X server; the program keeps running there.
env -u DISPLAY -u WAYLAND_DISPLAY bash scripts/run.sh >"$scratch/run-xvfb.log" 2>&1 &
run=$!
program=$(cat "${BUILD_DIR:-build}/yawmark-program")
# run.sh became xvfb-run, whose child the program is: only that one is ended
# here, never a window the user has open.
started=
for _ in $(seq 100); do
    kill -0 "$run" 2>/dev/null || break
    started=$(pgrep -P "$run" -f -x "$program") && break
    sleep 0.2
done
[ -n "$started" ] || { cat "$scratch/run-xvfb.log" >&2; fail "'scripts/run.sh' without a display did not start the program"; }
sleep 2
kill -0 "$started" 2>/dev/null || { cat "$scratch/run-xvfb.log" >&2; fail "the program under Xvfb ended by itself"; }
kill "$started"
wait "$run" 2>/dev/null || true
echo "check-run: scripts/run.sh opens the window (on a display and under Xvfb) and answers --version"
