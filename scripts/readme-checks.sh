#!/usr/bin/env bash
# The pictures of the README's section on the engineering checks: the
# "Pruefung" report of examples/points.kmo in the window's text viewer (its Qt
# test under a virtual X server) and the pressure-angle diagram of the same cam
# (the batch job, painted offscreen).
# Usage: scripts/readme-checks.sh [build-dir]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$(realpath "${1:-$root/build/release}")"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cd "$work"
KAMO_SHOTS="$work" QT_QPA_PLATFORM=xcb XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" \
  xvfb-run -a -s "-screen 0 1280x1024x24" "$build/tests/qtest_tst_checkdata" reportInTheViewer >/dev/null
cp "$work/pruefung.png" "$root/docs/pruefung.png"
XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" \
  "$build/wkamo" "$root/examples/points.kmo" --diagram 6 --format png -o "$root/docs/druckwinkel.png"
ls -l "$root/docs/pruefung.png" "$root/docs/druckwinkel.png"
