#!/usr/bin/env bash
# Fresh machine to running program: installs the packages, builds, and runs
# wkamo on a bundled example project.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh release
example=examples/ellipse.kmo
if [ -f "$example" ]; then
  exec build/release/wkamo "$example" "$@"
fi
exec build/release/wkamo /?
