#!/usr/bin/env bash
# Writes every output of the examples into one folder, so that two builds can
# be compared file by file (before and after a change of the output layer):
#   scripts/output-compare.sh write WKAMO OUTDIR [EXAMPLE...]
#                                                   every sheet and diagram in every
#                                                   format, every /CADi:j, the solid
#                                                   (of every example, or of those named)
#   scripts/output-compare.sh compare DIR1 DIR2     lists the files that differ or
#                                                   exist in one folder only; exit 1
#                                                   when any does
# Each file is named example_job_kind.format; the exit code and the error
# stream of every run land in OUTDIR/runs.txt, which is compared as well.
# The runs work in /tmp/kamo-output-compare, so only one writes at a time.
set -uo pipefail
cd "$(dirname "$0")/.."
mode=${1:-}
case "$mode" in
  write)
    wkamo=$(realpath "${2:?wkamo binary}")
    out=$(realpath -m "${3:?output folder}")
    mkdir -p "$out"
    : >"$out/runs.txt"
    # The outputs name the project's folder, their own path (the STEP header)
    # and the date: one fixed folder for the project and the files, one clock,
    # so that two runs can be compared byte by byte. Each file is written in
    # "$work/out" and then moved to OUTDIR.
    work=/tmp/kamo-output-compare
    rm -rf "$work"
    mkdir -p "$work/out"
    trap 'rm -rf "$work"' EXIT
    clock=()
    if command -v faketime >/dev/null; then
      clock=(faketime -f '2026-01-02 03:04:05')
    else
      echo "output-compare: faketime is missing (scripts/install-deps.sh): dates will differ" >&2
    fi
    # No configuration of the user: the defaults apply.
    export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_DATA_HOME="$work/home/.local/share"
    mkdir -p "$XDG_CONFIG_HOME" "$XDG_DATA_HOME"
    run() {  # name, arguments...
      local name=$1
      shift
      local rc
      (cd "$work" && "${clock[@]}" "$wkamo" "$@" >"$work/stdout" 2>"$work/stderr")
      rc=$?
      find "$work/out" -mindepth 1 -maxdepth 1 -exec mv -f {} "$out/" \;
      printf '%s\t%s\t%s\n' "$name" "$rc" "$(tr '\n' ' ' <"$work/stderr" | sed "s#$work#WORK#g")" \
        >>"$out/runs.txt"
    }
    formats="dxf txt igs stp stl pdf svg png"
    shift 3
    examples=("$@")
    [ ${#examples[@]} -gt 0 ] || examples=(examples/*.kmo)
    for ex in "${examples[@]}"; do
      stem=$(basename "$ex" .kmo)
      cp "$ex" "$work/$stem.kmo"
      for k in 1 2 3 4 5 6 7 8 9 10; do
        for f in $formats; do
          run "${stem}_sheet${k}.$f" "$stem.kmo" --sheet "$k" --format "$f" -o "$work/out/${stem}_sheet${k}.$f"
        done
      done
      for k in 1 2 3 4 5; do
        for f in $formats; do
          run "${stem}_diagram${k}.$f" "$stem.kmo" --diagram "$k" --format "$f" -o "$work/out/${stem}_diagram${k}.$f"
        done
      done
      for i in 1 2 5 6 7; do
        for j in 1 2 3 4 5 6 7 8 9; do
          run "${stem}_cad${i}_${j}" "$stem.kmo" "/CAD$i:$j" -o "$work/out/${stem}_cad${i}_${j}.cad"
        done
      done
      run "${stem}_solid.stl" "$stem.kmo" --solid --format stl -o "$work/out/${stem}_solid.stl"
      rm -f "$work/$stem.kmo"
    done
    "$wkamo" /? >"$out/help.txt" 2>&1
    ;;
  compare)
    a=${2:?first folder}
    b=${3:?second folder}
    status=0
    while IFS= read -r name; do
      if [ ! -e "$a/$name" ]; then echo "only in $b: $name"; status=1
      elif [ ! -e "$b/$name" ]; then echo "only in $a: $name"; status=1
      elif ! cmp -s "$a/$name" "$b/$name"; then echo "differs: $name"; status=1
      fi
    done < <( (cd "$a" && ls; cd "$b" && ls) | sort -u)
    exit $status
    ;;
  *)
    sed -n '2,12p' "$0" >&2
    exit 2 ;;
esac
