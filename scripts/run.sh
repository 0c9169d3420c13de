#!/usr/bin/env bash
# `make run`: the program's main job on the bundled samples.
set -euo pipefail
build=${1:-build}
"$build/bin/gleaner" --version
