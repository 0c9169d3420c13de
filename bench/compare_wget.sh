#!/usr/bin/env bash
# Mirrors the benchmark site (1,111 pages, an image each and a shared logo) on 127.0.0.1 with
# `gleaner generate` and with `wget -r -l 3 -p -k`, one after the other on this machine, and prints
# the wall time, pages per second and peak memory of each.
#
#   bench/compare_wget.sh [BUILD [DELAY_MS [CONNECTIONS [LEVELS]]]]
#
# BUILD defaults to build-bench (make bench builds it). DELAY_MS (default 0) is each answer's time
# to the first byte, as from a server far away; CONNECTIONS (default 4) is gleaner's Connections
# setting. wget fetches one file at a time. LEVELS (default 4) sizes the site: 5 makes 11,111
# pages of the same shape, to see how the peak memory grows with the site.
#
# Depths: gleaner counts the home page as level 1, so depth LEVELS reaches the leaves; wget counts
# links followed, so -l LEVELS-1 does.
set -euo pipefail
build=${1:-build-bench}
delay=${2:-0}
connections=${3:-4}
levels=${4:-4}
for program in site_server gleaner; do
  [ -x "$build/bin/$program" ] || { echo "missing $build/bin/$program: run make bench" >&2; exit 1; }
done
command -v wget >/dev/null || { echo "wget is not installed" >&2; exit 1; }

work=$(mktemp -d "${TMPDIR:-/tmp}/gleaner-compare-XXXXXX")
exec 3< <(exec "$build/bin/site_server" 10 "$levels" "$delay" 2>"$work/server.log")
server=$!
trap 'kill "$server" 2>/dev/null || true; wait "$server" 2>/dev/null || true; rm -rf "$work"' EXIT
read -r port <&3
url="http://127.0.0.1:$port/index.htm"

# Runs a command and leaves its wall seconds and peak memory (KB) in $seconds and $peak.
measure() {
  if [ -x /usr/bin/time ]; then
    /usr/bin/time -f "%e %M" -o "$work/time" "$@"
    read -r seconds peak <"$work/time"
  else
    local start
    start=$(date +%s%N)
    "$@"
    seconds=$(awk -v a="$start" -v b="$(date +%s%N)" 'BEGIN { printf "%.2f", (b - a) / 1e9 }')
    peak="?"
  fi
}

report() {  # name pages
  local rate
  rate=$(awk -v p="$2" -v s="$seconds" 'BEGIN { printf "%.0f", (s > 0 ? p / s : 0) }')
  printf '%-8s %5d pages  %7.2f s  %6s pages/s  peak memory %s KB\n' "$1" "$2" "$seconds" "$rate" \
    "$peak"
}

export GLEANER_LIGHT_HOME="$work/home"
gleaner="$build/bin/gleaner"
"$gleaner" settings connections "$connections"
mkdir -p "$work/gleaner"
"$gleaner" new "$work/gleaner/bench.brf" --name "Benchmark site" >/dev/null
"$gleaner" add "$work/gleaner/bench.brf" "$url" --name "Site" --depth "$levels" --images >/dev/null
measure "$gleaner" generate --quiet "$work/gleaner/bench.brf" >/dev/null
# Pages stored: the run's HTML files less the summary page and the site map.
pages=$(($(find "$work/gleaner/0" -name '*.htm' | wc -l) - 2))
report gleaner "$pages"

measure wget --quiet --recursive --level $((levels - 1)) --page-requisites --convert-links -e robots=off \
  --directory-prefix "$work/wget" "$url"
pages=$(find "$work/wget" -name '*.htm' | wc -l)
report wget "$pages"
