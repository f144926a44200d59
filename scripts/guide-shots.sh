#!/usr/bin/env bash
# The pictures of the user guide (docs/guide/*.png): the dialog tests run
# under a virtual X server and save every dialog they drive.
# Usage: scripts/guide-shots.sh [build-dir]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$(realpath "${1:-$root/build/release}")"
out="$root/docs/guide"
mkdir -p "$out"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cd "$work"
KAMO_SHOTS="$out" QT_QPA_PLATFORM=xcb XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" \
  xvfb-run -a -s "-screen 0 1366x768x24" "$build/tests/qtest_tst_curvedialogs" >/dev/null
KAMO_SHOTS="$out" QT_QPA_PLATFORM=xcb XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" \
  xvfb-run -a -s "-screen 0 1366x768x24" "$build/tests/qtest_tst_tconfig" pagesAndButtons >/dev/null
KAMO_SHOTS="$out" QT_QPA_PLATFORM=xcb XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" \
  xvfb-run -a -s "-screen 0 1366x768x24" "$build/tests/qtest_tst_docu" pictures >/dev/null
KAMO_SHOTS="$out" QT_QPA_PLATFORM=xcb XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" \
  xvfb-run -a -s "-screen 0 1366x768x24" "$build/tests/qtest_tst_help" helpBoxAndPicture catalogueDialog >/dev/null
KAMO_SHOTS="$out" QT_QPA_PLATFORM=xcb XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" \
  xvfb-run -a -s "-screen 0 1366x768x24" "$build/tests/qtest_tst_projectdialogs" >/dev/null
KAMO_SHOTS="$out" QT_QPA_PLATFORM=xcb XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" \
  xvfb-run -a -s "-screen 0 1366x768x24" "$build/tests/qtest_tst_newproject" newThroughEveryStep >/dev/null
KAMO_SHOTS="$out" QT_QPA_PLATFORM=xcb XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" \
  xvfb-run -a -s "-screen 0 1366x768x24" "$build/tests/qtest_tst_pointdialogs" >/dev/null
KAMO_SHOTS="$out" QT_QPA_PLATFORM=xcb XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" \
  xvfb-run -a -s "-screen 0 1366x768x24" "$build/tests/qtest_tst_motiondialog" >/dev/null
KAMO_SHOTS="$out" QT_QPA_PLATFORM=xcb XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" \
  xvfb-run -a -s "-screen 0 1366x768x24" "$build/tests/qtest_tst_animation" singleStepsRunOnAndEscape >/dev/null
ls "$out"
