#!/bin/sh
# gleaner-light on an X server of its own with a fresh settings home: the first start opens the
# sample briefs; a new brief is made through the keyboard (Alt+F, N, a file name, Enter); Alt+F, X
# ends the program. The new brief must be readable, and the settings must remember the open briefs.
# usage: xvfb_start_test.sh GLEANER_LIGHT GLEANER; exits 77 (skipped) without xvfb-run or xdotool.
set -eu

# A bounded poll: wait_for DESCRIPTION COMMAND...
wait_for() {
  what=$1
  shift
  tries=0
  until "$@" >/dev/null 2>&1; do
    tries=$((tries + 1))
    [ "$tries" -lt 300 ] || { echo "timed out waiting for $what"; return 1; }
    sleep 0.1
  done
}

# The user's part, on the X server that xvfb-run started: --on-display PROGRAM BRIEF
if [ "${1:-}" = --on-display ]; then
  "$2" &
  pid=$!
  wait_for "the main window" xdotool search --onlyvisible --name '^Gleaner-Light$'
  window=$(xdotool search --onlyvisible --name '^Gleaner-Light$' | head -n 1)
  wait_for "the first start" grep -q '^First Start=No' "$GLEANER_LIGHT_HOME/registry.ini"
  xdotool windowfocus --sync "$window" key alt+f n
  wait_for "the save dialog" xdotool search --onlyvisible --name '^Save As$'
  xdotool type --delay 20 "$3"
  xdotool key Return
  wait_for "the new brief file" test -s "$3"
  xdotool windowfocus --sync "$window" key alt+f x
  wait_for "the program to end" sh -c "! kill -0 $pid"
  wait "$pid"
  exit
fi

for tool in xvfb-run xdotool; do
  command -v "$tool" >/dev/null 2>&1 || { echo "skipped: $tool is not installed"; exit 77; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/home"
export GLEANER_LIGHT_HOME="$work/home" GLEANER_LIGHT_TIME_SCALE=0.01 QT_QPA_PLATFORM=xcb
unset WAYLAND_DISPLAY
brief="$work/made by keyboard.brf"
xvfb-run -a -s "-screen 0 1280x800x24" "$0" --on-display "$1" "$brief"

"$2" show "$brief"
open_briefs=$(grep '^Open Briefs=' "$GLEANER_LIGHT_HOME/registry.ini")
for name in Leisure.brf Sports.brf News.brf Gov.brf "made by keyboard.brf"; do
  case "$open_briefs" in
    *"$name"*) ;;
    *) echo "Open Briefs lacks $name: $open_briefs"; exit 1 ;;
  esac
done
