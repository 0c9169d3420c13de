#!/usr/bin/env bash
# `make screenshots`: the desktop program on an X server of its own, photographed for docs/: the
# main window with a sample brief open, the web entry setup dialog, the brief setup dialog's
# archived runs, and the progress window during a run of the bundled sample site, which a
# loopback server hands out slowly enough to catch the run in the middle.
#
# usage: screenshots.sh [BUILD] [OUTPUT]

set -euo pipefail

# Waits for a condition with a bounded poll: wait_for DESCRIPTION COMMAND...
wait_for() {
  local what=$1 tries=0
  shift
  until "$@" >/dev/null 2>&1; do
    tries=$((tries + 1))
    [ "$tries" -lt 300 ] || { echo "timed out waiting for $what" >&2; return 1; }
    sleep 0.1
  done
}

# The newest visible window with exactly this title.
window_named() {
  xdotool search --onlyvisible --name "^$1\$" | tail -n 1
}

# Photographs the window with this title once it shows: shoot TITLE FILE
shoot() {
  wait_for "the window $1" window_named "$1"
  sleep 0.5  # let it paint
  import -window "$(window_named "$1")" "$2"
  echo "wrote $2"
}

# The user's part, on the X server that xvfb-run started.
if [ "${1:-}" = --on-display ]; then
  program=$2 out=$3 slow=$4
  shift 4
  "$program" "$@" &
  pid=$!
  wait_for "the main window" window_named Gleaner-Light
  main=$(window_named Gleaner-Light)
  # Tile the two briefs and select the first entry of the one in front.
  xdotool windowfocus --sync "$main" key alt+w t
  sleep 0.3
  xdotool key Down
  shoot Gleaner-Light "$out/main-window.png"

  xdotool key Return
  shoot "Web Page Setup" "$out/entry-setup.png"
  xdotool key Escape

  xdotool windowfocus --sync "$main" key alt+f b
  wait_for "the brief setup" window_named "Brief Setup"
  xdotool key ctrl+Tab
  sleep 0.3
  xdotool mousemove --window "$(window_named "Brief Setup")" 100 103 click 1  # the newest run
  shoot "Brief Setup" "$out/brief-setup.png"
  xdotool key Escape

  touch "$slow"
  xdotool windowfocus --sync "$main" key F9
  wait_for "the run's first pages" window_named "Creating Brief"
  sleep 3
  shoot "Creating Brief" "$out/progress.png"
  rm -f "$slow"
  wait_for "the end of the run" window_named "Brief Ready"
  xdotool windowfocus --sync "$(window_named "Brief Ready")" key Escape
  xdotool windowfocus --sync "$main" key alt+f x
  wait_for "the program to end" sh -c "! kill -0 $pid"
  wait "$pid"
  exit
fi

build=$(cd "${1:-build}" && pwd)
mkdir -p "${2:-docs}"
out=$(cd "${2:-docs}" && pwd)
for tool in xvfb-run xdotool import python3; do
  command -v "$tool" >/dev/null 2>&1 || { echo "$tool is needed (make deps)" >&2; exit 1; }
done

work=$(mktemp -d)
server=
trap '[ -z "$server" ] || kill "$server"; rm -rf "$work"' EXIT
export GLEANER_LIGHT_HOME="$work/home" QT_QPA_PLATFORM=xcb
unset WAYLAND_DISPLAY
gleaner="$build/bin/gleaner"

# The sample site over HTTP on 127.0.0.1. While the file "slow" exists every answer waits a moment
# and then comes in four pieces, so the progress bar has something to show.
site="$(cd "$(dirname "$0")/../resources/sample-site" && pwd)"
python3 - "$site" "$work/slow" >"$work/port" <<'EOF' &
import functools, http.server, os, sys, time

root, slow = sys.argv[1], sys.argv[2]

class Handler(http.server.SimpleHTTPRequestHandler):
    def do_GET(self):
        if os.path.exists(slow):
            time.sleep(0.3)
        super().do_GET()

    def copyfile(self, source, outputfile):
        if not os.path.exists(slow):
            return super().copyfile(source, outputfile)
        data = source.read()
        step = max(1, len(data) // 4 + 1)
        for at in range(0, len(data), step):
            outputfile.write(data[at:at + step])
            outputfile.flush()
            time.sleep(0.2)

    def log_message(self, *args):
        pass

server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), functools.partial(Handler, directory=root))
print(server.server_address[1], flush=True)
server.serve_forever()
EOF
server=$!
wait_for "the sample site's server" test -s "$work/port"
site_url="http://127.0.0.1:$(cat "$work/port")"

# Settings that exist make this a later start: only the briefs named below open. The brief has
# two archived runs, made by the command line.
"$gleaner" settings retries 3 >/dev/null
brief="$work/Walks.brf"
"$gleaner" new "$brief" --name "Harbour Town Walks" >/dev/null
"$gleaner" edit "$brief" --comments "The walking club's pages, for reading on the way." >/dev/null
"$gleaner" add "$brief" "$site_url/index.htm" --name "Walking Club" --depth 3 --images >/dev/null
"$gleaner" add "$brief" "$site_url/walks/index.htm" --name "Walks" --depth 2 --images >/dev/null
"$gleaner" add "$brief" "$site_url/gallery.htm" --name "Gallery" --images >/dev/null
"$gleaner" add "$brief" "$site_url/about.htm" --name "About the Club" --inactive >/dev/null
"$gleaner" generate -q "$brief" >/dev/null
sleep 1  # two stamps, not one twice
"$gleaner" generate -q "$brief" >/dev/null

xvfb-run -a -s "-screen 0 1280x800x24" "$0" --on-display "$build/bin/gleaner-light" "$out" \
  "$work/slow" "$build/bin/briefs/News.brf" "$brief"
