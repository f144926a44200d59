#!/bin/sh
# Writes the reference pictures of the picture tests anew, after a change
# that alters a drawing on purpose. Look at tests/render/data/*.png before committing.
# Usage: scripts/bless-pictures.sh [BUILD_DIR]   (default build/release)
set -e
build=${1:-build/release}
cd "$(dirname "$0")/.."
KAMO_BLESS=1 QT_QPA_PLATFORM=offscreen "$build/tests/test_render" --gtest_filter='ReferencePictures.*'
ls -l tests/render/data/*.png
