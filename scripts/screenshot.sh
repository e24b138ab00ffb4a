#!/usr/bin/env bash
# Usage: scripts/screenshot.sh OUT.png
#
# Takes a picture of the window as it starts in the example station: the built window
# (build/release/src/app/uvlamp, see scripts/run.sh) runs in a fresh copy of examples/ on a
# virtual 1280x800 screen, the picture is taken once the window is on the screen and has had a
# moment to draw, then the window is ended. Nothing can be clicked from outside, so the picture
# shows the start: the example station's files listed, no lamps loaded yet.
#
# Installs xvfb, xauth, imagemagick and x11-utils when they are missing (Debian 12).
set -euo pipefail

if [ $# -ne 1 ]; then
    echo "usage: $0 OUT.png" >&2
    exit 2
fi
out=$(realpath -m -- "$1")
cd "$(dirname "$0")/.."
app=$PWD/build/release/src/app/uvlamp
if [ ! -x "$app" ]; then
    echo "$app is not built; build it with scripts/run.sh or" \
        "'cmake --preset release && cmake --build --preset release --target uvlamp'." >&2
    exit 1
fi
scripts/install-deps.sh xvfb xauth imagemagick x11-utils

work=$(mktemp -d "${TMPDIR:-/tmp}/uvlamp-screenshot.XXXXXX")
trap 'rm -rf "$work"' EXIT
cp -r examples/. "$work/station"
mkdir -m 700 "$work/runtime"

# Runs on the virtual screen (given as text: xvfb-run's shell drops exported functions): starts
# the window, waits until its top-level window is viewable (at most 30 s), lets it draw, takes
# the picture of that window and ends the program.
shoot='
    app=$1 station=$2 out=$3
    cd "$station"
    "$app" &
    pid=$! window=""
    for _ in $(seq 300); do
        kill -0 "$pid" 2>/dev/null || { echo "the window ended before it was shown" >&2; exit 1; }
        for id in $(xwininfo -root -children | awk "/\(\"uvlamp\" \"uvlamp\"\)/ {print \$1}"); do
            if xwininfo -id "$id" | grep -q "Map State: IsViewable"; then
                window=$id
            fi
        done
        [ -n "$window" ] && break
        sleep 0.1
    done
    status=0
    if [ -z "$window" ]; then
        echo "the window did not appear within 30 s" >&2
        status=1
    else
        sleep 2
        import -window "$window" "$out" || status=1
    fi
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    exit "$status"
'
XDG_RUNTIME_DIR=$work/runtime xvfb-run -a -s "-screen 0 1280x800x24" \
    bash -c "$shoot" shoot "$app" "$work/station" "$out"
echo "Screenshot written to $out"
