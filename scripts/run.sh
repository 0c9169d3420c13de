#!/usr/bin/env bash
# `make run`: the program's main job on the bundled samples.
set -euo pipefail
build=${1:-build}
"$build/bin/gleaner" --version
for brief in Leisure Sports News Gov; do
  echo
  "$build/bin/gleaner" show "$build/bin/briefs/$brief.brf"
done
