#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Runs the real program with an empty command line on a virtual X server under the Openbox
# window manager, finds its window by its title, and saves screenshots at the design size,
# widened, and back at the design size, which must look exactly as at the start. Then, by
# keyboard and mouse: the file list showing another folder, a conversion's note, and a big
# conversion stopped by Escape. Then a command-line run's question dialog, with its frame.
# Usage: window_on_x_server.sh PROGRAM OUTPUT_FOLDER
set -euo pipefail
program=$1
out=$2
mkdir -p "$out"
rm -f "$out"/window-*.png "$out"/dialog-*.png

if [ -z "${STEPWELL_ON_X:-}" ]; then
    for tool in xvfb-run xdotool xprop xwininfo import identify compare openbox; do
        command -v "$tool" >/dev/null || { echo "missing $tool"; exit 77; }
    done
    export STEPWELL_ON_X=1
    exec xvfb-run -a -s "-screen 0 1024x768x24 -dpi 96" "$0" "$@"
fi

# A window of our own on the X server, whatever the test runner's environment says.
unset QT_QPA_PLATFORM
work=$(mktemp -d)
pid="" wm=""
trap 'kill $pid $wm 2>/dev/null || true; rm -rf "$work"' EXIT
cd "$work"
printf '<ul>\n  <li>x</li>\n</ul>\n' >page.html
touch other.html notes.txt
# Enough folders for a vertical scroll bar in the folder list, and a name too long for it.
mkdir sub drafts images old other scripts "a folder whose name is far too long for the list"
touch other/elsewhere.html

# Waits up to ten seconds for the command to succeed.
wait_for() {
    for _ in $(seq 100); do
        "$@" && return 0
        sleep 0.1
    done
    return 1
}

# Openbox gives up at once when it cannot reach the server, which now and then does not take
# clients the moment xvfb-run starts this script: it is started again until it runs.
managed_by_openbox() {
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id" && return 0
    if ! kill -0 "$wm" 2>/dev/null; then
        HOME="$work" openbox --sm-disable >"$out/openbox-output.txt" 2>&1 &
        wm=$!
    fi
    return 1
}
wait_for managed_by_openbox ||
    { echo "openbox did not start:"; cat "$out/openbox-output.txt"; exit 1; }

"$program" >"$out/program-output.txt" 2>&1 &
pid=$!
title="Stepwell $("$program" --version | sed -n '1s/^stepwell //p')"
find_window() {
    window=$(xdotool search --name "^${title//./\\.}\$" 2>/dev/null | head -n1 || true)
    [ -n "$window" ] && return 0
    kill -0 "$pid" 2>/dev/null || { echo "the program ended:"; cat "$out/program-output.txt"; exit 1; }
    return 1
}
wait_for find_window || { echo "no window titled '$title'"; exit 1; }
# Framed by the window manager: it says how thick the frame is.
wait_for sh -c "xprop -id $window _NET_FRAME_EXTENTS | grep -q =" ||
    { echo "openbox did not frame the window"; exit 1; }
echo "frame (left, right, top, bottom): $(xprop -id "$window" _NET_FRAME_EXTENTS | cut -d= -f2)"

# Saves the window's client area as window-NAME.png once it has SIZE and has stopped
# changing (two shots in a row alike).
shoot() {
    local file="$out/window-$1.png" previous="$out/previous.png"
    rm -f "$previous"
    for _ in $(seq 100); do
        import -window "$window" "$file"
        if [ "$(identify -format '%wx%h' "$file")" = "$2" ] && [ -f "$previous" ] &&
            [ "$(compare -metric AE "$file" "$previous" null: 2>&1 || true)" = 0 ]; then
            rm -f "$previous"
            echo "window-$1.png: $2"
            return 0
        fi
        mv "$file" "$previous"
        sleep 0.1
    done
    echo "window-$1.png: not at $2 or still changing"
    exit 1
}

# The client area at the design size: 3780 x 3000 twips, 15 twips a pixel.
shoot design 252x200
xdotool windowsize "$window" 480 360
shoot large 480x360
xdotool windowsize "$window" 252 200
shoot back 252x200

# Back at the starting size every control is where it started. Each control's design place
# in pixels (the drive list's drop-down and the label below the client area aside):
controls="Dir1:8,32,113,160 File1:128,32,121,145 cmdCVT:128,8,73,17 txtEXT:128,176,121,18
          Check1:208,8,44,17 Drive1:8,8,113,20"
moved=""
for control in $controls; do
    IFS=, read -r x y w h <<<"${control#*:}"
    crop="${w}x${h}+${x}+${y}"
    differing=$(compare -metric AE "$out/window-design.png[$crop]" "$out/window-back.png[$crop]" \
        null: 2>&1 || true)
    echo "${control%%:*} at $crop: $differing pixels differ"
    [ "$differing" = 0 ] || moved="$moved ${control%%:*}"
done
whole=$(compare -metric AE "$out/window-design.png" "$out/window-back.png" null: 2>&1 || true)
echo "whole window: $whole pixels differ"
[ -z "$moved" ] && [ "$whole" = 0 ] || { echo "not back at the starting layout:$moved"; exit 1; }

# The screen around the window, with the notes and tooltips that float beside it, as
# screen-NAME.png.
shoot_screen() {
    local geometry x y
    geometry=$(xwininfo -id "$window")
    x=$(grep 'Absolute upper-left X' <<<"$geometry" | cut -d: -f2)
    y=$(grep 'Absolute upper-left Y' <<<"$geometry" | cut -d: -f2)
    import -window root -crop "520x300+$((x - 10))+$((y - 30))" +repage "$out/screen-$1.png"
    echo "screen-$1.png"
}
# Clicks at a point of the window's client area; keys go to the window.
click_at() { xdotool mousemove --window "$window" "$1" "$2" click 1; }
xdotool windowactivate --sync "$window"

# A folder part in the pattern box moves the file list to another folder: the list says so,
# by its look and its tooltip, until it is back at the folder list's folder.
click_at 188 185
xdotool key ctrl+a type 'other/*'
shoot other-folder 252x200
file_list=121x140+128+32
differing=$(compare -metric AE "$out/window-design.png[$file_list]" \
    "$out/window-other-folder.png[$file_list]" null: 2>&1 || true)
echo "file list showing another folder: $differing pixels differ"
[ "$differing" -gt 1000 ] || { echo "the file list does not show that its folder differs"; exit 1; }
xdotool mousemove --window "$window" 188 120
sleep 1.5
shoot_screen other-folder-tooltip
click_at 188 185
xdotool key ctrl+a type "$work/*.html"
shoot same-folder 252x200
differing=$(compare -metric AE "$out/window-design.png[$file_list]" \
    "$out/window-same-folder.png[$file_list]" null: 2>&1 || true)
[ "$differing" = 0 ] || { echo "the file list keeps its mark in its own folder"; exit 1; }

# Enter in the file list converts the selected file, and a note says what was written.
click_at 160 53
xdotool key Return
wait_for test -s page.html.ident ||
    { echo "Enter did not convert page.html:"; ls -A; shoot_screen failed; exit 1; }
sleep 0.3
shoot_screen converted

# A big page converts on a thread of its own: the window shows how far it got, and Escape
# stops it, removes the temporary file and leaves the page and its (missing) output alone.
# (yes ends by SIGPIPE once head has its share.)
{ yes '    <li><a href="#">item</a></li>' || true; } | head -c 100M >big.html
big_sum=$(md5sum <big.html)
click_at 188 185
xdotool key ctrl+a type 'big.html'
click_at 160 39
xdotool key Return
wait_for sh -c 'ls -A | grep -q "^.stepwell-"' ||
    { echo "the big conversion did not start:"; ls -A; shoot_screen failed; exit 1; }
shoot_screen converting
xdotool key Escape
wait_for sh -c '! ls -A | grep -q "^.stepwell-"' || { echo "the temporary file stayed"; exit 1; }
[ ! -e big.html.ident ] || { echo "the conversion was not stopped (or ended before Escape)"; exit 1; }
[ "$(md5sum <big.html)" = "$big_sum" ] || { echo "big.html changed"; exit 1; }
sleep 0.3
shoot_screen stopped
echo "a big conversion stopped by Escape; big.html unchanged, no temporary file"
rm -f big.html

# A command-line run asks in a dialog of its own, with the window's icon, and a title bar
# that offers no resizing or maximising. (Openbox keeps its minimise button on every dialog,
# whatever the program asks for.)
icon=$(xprop -id "$window" _NET_WM_ICON | md5sum)
kill "$pid"
wait "$pid" 2>/dev/null || true
: >page.html.ident
"$program" page.html >"$out/dialog-output.txt" 2>&1 &
pid=$!
find_dialog() {
    dialog=$(xdotool search --onlyvisible --name '^Stepwell$' 2>/dev/null | head -n1 || true)
    [ -n "$dialog" ] && xprop -id "$dialog" _NET_WM_ALLOWED_ACTIONS | grep -q =
}
wait_for find_dialog || { echo "no dialog titled 'Stepwell':"; cat "$out/dialog-output.txt"; exit 1; }
allowed=$(xprop -id "$dialog" _NET_WM_ALLOWED_ACTIONS | cut -d= -f2)
echo "dialog allows:$allowed"
case $allowed in *MAXIMIZE* | *RESIZE*) echo "the dialog can be resized or maximised"; exit 1 ;; esac
[ "$(xprop -id "$dialog" _NET_WM_ICON | md5sum)" = "$icon" ] ||
    { echo "the dialog's icon is not the window's"; exit 1; }
# The dialog with the frame the window manager gives it.
wait_for sh -c "xprop -id $dialog _NET_FRAME_EXTENTS | grep -q ="
IFS=', ' read -r left right top bottom <<<"$(xprop -id "$dialog" _NET_FRAME_EXTENTS | cut -d= -f2)"
geometry=$(xwininfo -id "$dialog")
field() { grep "$1" <<<"$geometry" | cut -d: -f2; }
x=$(field 'Absolute upper-left X') y=$(field 'Absolute upper-left Y')
width=$(field 'Width') height=$(field 'Height')
import -window root -crop \
    "$((width + left + right))x$((height + top + bottom))+$((x - left))+$((y - top))" \
    +repage "$out/dialog-question.png"
echo "dialog-question.png: $(identify -format '%wx%h' "$out/dialog-question.png")"
# Escape answers No: the run ends, and the existing output stays as it was.
xdotool windowfocus --sync "$dialog" key Escape
wait_for sh -c "! kill -0 $pid 2>/dev/null" || { echo "the run did not end after the answer"; exit 1; }
wait "$pid" || { echo "the run failed:"; cat "$out/dialog-output.txt"; exit 1; }
[ ! -s page.html.ident ] || { echo "page.html.ident was overwritten"; exit 1; }
