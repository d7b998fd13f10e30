#!/usr/bin/env bash
# Starts Vantorel on the X display given (run under xvfb-run), sees the splash and then the main window,
# adds two generated clips through the open dialog, converts them with the real evc, checks the outputs
# with ffprobe and the log lines, closes the window. Screenshots go to the artefact folder.
# Usage: end_to_end.sh <application folder> <artefact folder> <source folder>
set -euo pipefail
appSource=$1
artefacts=$2
sourceDir=$3

fail() { echo "FAIL: $*" >&2; shot "failure" || true; exit 1; }
skip() { echo "SKIPPED: $*" >&2; exit 77; }
shot() { import -window root "$artefacts/$1.png"; echo "screenshot: $artefacts/$1.png"; }
# Waits up to $1 tenths of a second for the command after it to succeed.
waitFor() {
    local tenths=$1
    shift
    for ((i = 0; i < tenths; i++)); do
        if "$@" >/dev/null 2>&1; then return 0; fi
        sleep 0.1
    done
    return 1
}

rm -rf "$artefacts"
mkdir -p "$artefacts"
work=$(mktemp -d)
appPid=""
cleanup() {
    if [ -n "$appPid" ] && kill -0 "$appPid" 2>/dev/null; then kill "$appPid" 2>/dev/null || true; fi
    cp -f "$work/app/log.txt" "$artefacts/log.txt" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

# A private copy of the application folder, home folder and PATH: the test writes nothing of the user's,
# and the "open the output folder" step reaches a recorder instead of a file manager.
cp -R "$appSource" "$work/app"
rm -f "$work/app/log.txt"
rm -rf "$work/app/Config"
mkdir -p "$work/app/Config" "$work/home" "$work/clips" "$work/fakebin"
cat >"$work/fakebin/xdg-open" <<FAKE
#!/bin/sh
echo "\$@" >>"$work/opened.txt"
FAKE
chmod +x "$work/fakebin/xdg-open"
export HOME="$work/home" PATH="$work/fakebin:$PATH" XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$work/runtime"

for name in first second; do
    ffmpeg -v error -f lavfi -i "testsrc=size=320x240:rate=25:duration=3" -f lavfi \
        -i "sine=frequency=440:duration=3" -c:v libx264 -pix_fmt yuv420p -c:a aac -shortest \
        "$work/clips/$name.mp4"
done

windowSize() { xdotool getwindowgeometry "$1" | awk '/Geometry/ {print $2}'; }
findSplash() { xwininfo -root -tree | grep -E '^ +0x[0-9a-f]+ .*: \(.*\) +480x300\+' | head -1 | awk '{print $1}' || true; }
splashUp() { test -n "$(findSplash)"; }
dialogUp() { test "$(xdotool search --onlyvisible --name '.' 2>/dev/null | wc -l)" -gt 1; }

"$work/app/vantorel" >"$artefacts/vantorel.out" 2>&1 &
appPid=$!

# The splash comes first, the picture's size, centred.
waitFor 100 splashUp || fail "no splash appeared"
shot "1-splash"
mainId=""
findMain() {
    for id in $(xdotool search --onlyvisible --name '^Vantorel$' 2>/dev/null); do
        if [ "$(windowSize "$id")" = "719x511" ]; then mainId=$id; return 0; fi
    done
    return 1
}
if findMain; then fail "the main window showed while the splash was up"; fi
waitFor 100 findMain || fail "no main window of 719x511 named Vantorel"
[ -z "$(findSplash)" ] || fail "the splash is still up beside the main window"
sleep 0.5
shot "2-main-window"

# Clicks at a point of the main window's client area.
click() { xdotool mousemove --window "$mainId" "$1" "$2" click 1; }

if grep -q "not built yet" < <("$work/app/evc" 2>&1 || true); then
    skip "build/bin/evc is still the placeholder: start, splash and main window checked; adding and converting wait for the encoder"
fi
if [ ! -f "$sourceDir/Code/Unit_CommonLib_Source.cpp" ] || [ ! -f "$sourceDir/Code/Unit_Converting.h" ]; then
    skip "the source list or the conversion engine is not in this build yet: start, splash and main window checked"
fi

# Add Files, then type the folder and the two names into the open dialog.
click 630 351
waitFor 50 dialogUp || fail "no open dialog"
sleep 1
shot "3-open-dialog"
xdotool type --delay 20 "$work/clips/"
xdotool key Return
sleep 0.7
xdotool type --delay 20 '"first.mp4" "second.mp4"'
xdotool key Return
sleep 2
shot "4-two-files-added"

# Convert, and wait for both outputs and the end of the batch.
click 630 468
outputs="$HOME/vantorel"
batchDone() {
    [ "$(ls "$outputs"/*.rm 2>/dev/null | wc -l)" -eq 2 ] && [ -s "$work/opened.txt" ] && ! pgrep -x evc >/dev/null
}
sleep 3
shot "5-converting"
waitFor 900 batchDone || fail "the batch did not finish with two outputs (see log.txt)"
sleep 0.5
shot "6-done"

for name in first second; do
    out="$outputs/$name.rm"
    [ -s "$out" ] || fail "$out missing"
    codecs=$(ffprobe -v error -show_entries stream=codec_name -of csv=p=0 "$out" | sort | tr '\n' ' ')
    echo "$name.rm: $codecs"
    [[ "$codecs" == *rv20* ]] || fail "$out carries no RealVideo 2 stream ($codecs)"
    [[ "$codecs" == *ac3* ]] || fail "$out carries no AC-3 stream ($codecs)"
    duration=$(ffprobe -v error -show_entries format=duration -of csv=p=0 "$out")
    awk -v d="$duration" 'BEGIN { exit !(d > 2.5 && d < 3.6) }' || fail "$out lasts $duration s, not about 3"
done
log="$work/app/log.txt"
[ "$(grep -c 'parameter: ' "$log")" -eq 2 ] || fail "the log does not hold two command lines"
grep -q "first.mp4" "$log" && grep -q "second.mp4" "$log" || fail "the log does not name both sources"
grep -q "$outputs" "$work/opened.txt" || fail "the output folder was not opened after the batch"

# Close: no question, the program ends.
click 663 21
waitFor 50 bash -c "! kill -0 $appPid" || fail "the program did not end after its close button"
wait "$appPid" || fail "the program ended with a failure code"
appPid=""
echo "PASS: splash, main window, two files added and converted, outputs checked, closed"
