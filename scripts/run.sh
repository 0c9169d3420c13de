#!/usr/bin/env bash
# `make run`: the program's main job on the bundled samples.
set -euo pipefail
build=${1:-build}
"$build/bin/gleaner" --version
for brief in Leisure Sports News Gov; do
  echo
  "$build/bin/gleaner" show "$build/bin/briefs/$brief.brf"
done

# Generate the bundled sample site into an archive folder beside a brief under the build folder.
# The brief's entry is the site's local address, so the run spiders through its local links; no
# network is needed. Settings come from a private store, so the user's proxy or browser settings
# play no part.
work="$build/sample-run"
rm -rf "$work"
mkdir -p "$work"
work="$(cd "$work" && pwd)"
site="$(cd "$(dirname "$0")/../resources/sample-site" && pwd)"
export GLEANER_LIGHT_HOME="$work/settings"
gleaner="$build/bin/gleaner"
echo
echo "== Generating the sample site $site"
"$gleaner" new "$work/sample.brf" --name "Sample site" >/dev/null
"$gleaner" add "$work/sample.brf" "file://$site/index.htm" --name "Harbour Town Walking Club" \
  --depth 4 --images --other-files >/dev/null
"$gleaner" generate "$work/sample.brf" | tee "$work/generate.log"
echo
echo "== Archived runs of $work/sample.brf"
"$gleaner" archives "$work/sample.brf"
echo
echo "Summary page: $(tail -n 1 "$work/generate.log")"
