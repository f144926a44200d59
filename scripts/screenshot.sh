#!/usr/bin/env bash
# Screenshot of the main window showing the A3 sheet of an example project,
# taken under a virtual X server; also prints the start-up and repaint times.
# Usage: scripts/screenshot.sh [build-dir] [example.kmo] [out.png]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$(realpath "${1:-$root/build/release}")"
example="$(realpath "${2:-$root/examples/ellipse.kmo}")"
out="$(realpath -m "${3:-$root/docs/screenshot.png}")"
mkdir -p "$(dirname "$out")"
# A fresh working and configuration folder: neither the user's settings nor
# their recent-file list are read or written.
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cd "$work"
# View > Quick 4 (output kind 10) is the A3 sheet.
KAMO_GRAB="$out" KAMO_GRAB_ENTRY=mi_viewQuick4 KAMO_GRAB_SIZE=1280x800 \
  XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" \
  xvfb-run -a -s "-screen 0 1280x1024x24" "$build/wkamo" "$example"
echo "written: $out"
