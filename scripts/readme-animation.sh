#!/usr/bin/env bash
# The animated GIF of the README (docs/animation.gif): one turn of an example
# cam, written by the batch job that needs no display.
# Usage: scripts/readme-animation.sh [build-dir]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$(realpath "${1:-$root/build/release}")"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cd "$work"
XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" \
  "$build/wkamo" "$root/examples/sine.kmo" --animate 36 --format gif --size 400x400 -o "$root/docs/animation.gif"
gifsicle --info "$root/docs/animation.gif" | head -3
