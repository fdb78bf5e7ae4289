#!/usr/bin/env bash
# Runs the real program with an empty command line on a virtual X server, finds its window
# by its title, and saves screenshots at the design size and at a larger size.
# Usage: window_on_x_server.sh PROGRAM OUTPUT_FOLDER
set -euo pipefail
program=$1
out=$2
mkdir -p "$out"
rm -f "$out"/window-*.png

if [ -z "${STEPWELL_ON_X:-}" ]; then
    for tool in xvfb-run xdotool import identify; do
        command -v "$tool" >/dev/null || { echo "missing $tool"; exit 77; }
    done
    export STEPWELL_ON_X=1
    exec xvfb-run -a -s "-screen 0 1024x768x24 -dpi 96" "$0" "$@"
fi

# A window of our own on the X server, whatever the test runner's environment says.
unset QT_QPA_PLATFORM
work=$(mktemp -d)
trap 'kill "$pid" 2>/dev/null || true; rm -rf "$work"' EXIT
cd "$work"
touch page.html other.html notes.txt
mkdir sub
"$program" >"$out/program-output.txt" 2>&1 &
pid=$!

window=""
for _ in $(seq 100); do
    window=$(xdotool search --name '^Stepwell 0\.3$' 2>/dev/null | head -n1 || true)
    [ -n "$window" ] && break
    kill -0 "$pid" 2>/dev/null || { echo "the program ended:"; cat "$out/program-output.txt"; exit 1; }
    sleep 0.1
done
[ -n "$window" ] || { echo "no window titled 'Stepwell 0.3'"; exit 1; }
sleep 1

shoot() {
    import -window "$window" "$out/window-$1.png"
    local size
    size=$(identify -format '%wx%h' "$out/window-$1.png")
    echo "window-$1.png: $size"
    [ "$size" = "$2" ] || { echo "expected $2"; exit 1; }
}
# No window manager runs, so the client area is the whole window: 3780 x 3000 twips.
shoot design 252x200
xdotool windowsize "$window" 480 360
sleep 1
shoot large 480x360
kill "$pid"
wait "$pid" 2>/dev/null || true
