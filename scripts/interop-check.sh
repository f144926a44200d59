#!/usr/bin/env bash
# Opens the files of every example where engineers open them: FreeCAD and
# LibreCAD (installed from Debian when missing). Not part of CI: it needs the
# two programs (about 1 GB) and takes a few minutes.
#
#   scripts/interop-check.sh [BUILD_DIR]     (default build/release)
#
# For each example in examples/:
#   FreeCAD  - the DXF contour (/CAD1:6), the IGES contour (/CAD2:6) and the
#              STEP contour (/CAD7:6) each join into one closed wire that
#              bounds a face, of the same area in all three; the DXF's layers
#              are read; the STEP of the geometry sheet (/CAD7:1) holds the
#              bore circle; the closed STL (--solid --format stl) and, when
#              the build writes it, the STEP solid (--solid --format stp) are
#              valid solids of the cam's volume.
#   LibreCAD - dxf2pdf turns the A4 form sheet (--sheet 5) and the A3 sheet
#              (--sheet 10) into PDF pages of A4 and A3, and draws the sheet's
#              texts (umlauts, degree and square signs) exactly as from a
#              UTF-8 copy of the same drawing: LibreCAD draws texts as strokes,
#              so the pages are compared as pictures (pdftotext finds no text).
# Prints one line per check and "interop-check: N failed" at the end; exits 1
# when anything failed.
set -uo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
build=${1:-build/release}
wkamo="$root/$build/wkamo"
if [ ! -x "$wkamo" ]; then
  echo "interop-check: $wkamo not found (scripts/build.sh release)" >&2
  exit 2
fi

need=()
command -v freecadcmd >/dev/null || need+=(freecad)
command -v librecad >/dev/null || need+=(librecad)
command -v pdftoppm >/dev/null || need+=(poppler-utils)
command -v python3 >/dev/null || need+=(python3)
if [ ${#need[@]} -gt 0 ]; then
  sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  echo "Installing: ${need[*]}"
  $sudo apt-get update -q
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q "${need[@]}" || exit 2
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/kamo-interop.XXXXXX")
trap 'rm -rf "$work"' EXIT
failed=0
fail() { echo "FAIL $*"; failed=$((failed + 1)); }

# ---------------------------------------------------------------- the files
examples=()
for kmo in "$root"/examples/*.kmo; do
  name=$(basename "$kmo" .kmo)
  examples+=("$name")
  d="$work/$name"
  mkdir -p "$d"
  run() {
    if ! (cd "$d" && "$wkamo" "$kmo" "$@" >>"$d/wkamo.log" 2>&1); then
      fail "$name: wkamo $* ($(tail -1 "$d/wkamo.log"))"
      return 1
    fi
  }
  run /CAD1:6 -o contour.dxf
  run /CAD2:6 -o contour.igs
  run /CAD7:6 -o contour.stp
  run /CAD7:1 -o sheet1.stp
  run --solid --format stl -o solid.stl
  run --solid --format stp -o solid.stp
  run /I -o printout.txt
  run --sheet 5 --format dxf -o sheet5.dxf
  run --sheet 10 --format dxf -o sheet10.dxf
done

# ---------------------------------------------------------------- FreeCAD
cat >"$work/freecad_check.py" <<'EOF'
import math
import os
import sys

import FreeCAD
import Import
import Mesh
import Part

work = os.environ["KAMO_INTEROP_WORK"]
names = os.environ["KAMO_INTEROP_EXAMPLES"].split()
# FreeCAD writes its progress to stdout without line ends: results go to a file of their own.
results = open(os.path.join(work, "freecad.results"), "w", buffering=1)


def print(line):
    results.write(line + "\n")


def closed_face(edges):
    """The face bounded by edges that join into one closed wire, or a reason."""
    if not edges:
        return None, "no edges"
    groups = Part.sortEdges(edges)
    if len(groups) != 1:
        return None, "%d separate chains" % len(groups)
    wire = Part.Wire(groups[0])
    if not wire.isClosed():
        return None, "wire not closed"
    face = Part.Face(wire)
    if not face.isValid():
        return None, "face not valid"
    return face, None


def shape_edges(path):
    return Part.read(path).Edges


def dxf_edges(path):
    doc = FreeCAD.newDocument("dxf")
    Import.readDXF(path, doc.Name, True)
    edges = []
    for o in doc.Objects:
        if hasattr(o, "Shape"):
            edges += o.Shape.Edges
    FreeCAD.closeDocument(doc.Name)
    return edges


for n in names:
    d = os.path.join(work, n)
    areas = {}
    for kind, reader in (("dxf", dxf_edges), ("igs", shape_edges), ("stp", shape_edges)):
        path = os.path.join(d, "contour." + kind)
        try:
            face, why = closed_face(reader(path))
        except Exception as exc:
            face, why = None, "unreadable: %s" % exc
        if face is None:
            print("FAIL %s: %s contour: %s" % (n, kind, why))
        else:
            areas[kind] = face.Area
            print("OK %s: %s contour closed, area %.4f" % (n, kind, face.Area))
    if len(areas) == 3:
        lo, hi = min(areas.values()), max(areas.values())
        if hi - lo > 1e-3 * hi:
            print("FAIL %s: contour areas differ %r" % (n, areas))
    area = areas.get("stp") or areas.get("dxf")
    # The geometry sheet's STEP brings the bore.
    try:
        circles = [e for e in shape_edges(os.path.join(d, "sheet1.stp"))
                   if isinstance(e.Curve, Part.Circle) and abs(e.Curve.Center.Length) < 1e-6]
        print(("OK %s: sheet 1 STEP has the bore circle" if circles else
               "FAIL %s: sheet 1 STEP has no circle around the centre") % n)
    except Exception as exc:
        print("FAIL %s: sheet 1 STEP unreadable: %s" % (n, exc))
    # The solids: as wide and with the bore the printout states.
    sizes = {}
    with open(os.path.join(d, "printout.txt"), encoding="utf-8") as f:
        for row in f:
            cells = row.rstrip("\r\n").split("\t")
            if len(cells) == 4 and cells[0] in ("Breite", "Bohrungsdurchmesser"):
                sizes[cells[0]] = float(cells[3])
    width = sizes.get("Breite", 0.0)
    bore = math.pi * (sizes.get("Bohrungsdurchmesser", 0.0) / 2) ** 2
    if not (width > 0 and bore > 0):
        area = None  # no size to compare the volume with
        print("FAIL %s: printout without width or bore %r" % (n, sizes))
    stl = os.path.join(d, "solid.stl")
    m = Mesh.Mesh(stl)
    problems = []
    if not m.isSolid():
        problems.append("not solid")
    if m.hasNonManifolds():
        problems.append("non-manifold")
    if m.hasSelfIntersections():
        problems.append("self-intersections")
    small = sum(1 for f in m.Facets if f.Area < 1e-6)
    if small:
        problems.append("%d facets under 1e-6 mm2" % small)
    if area:
        want = (area - bore) * width
        if abs(m.Volume - want) > 2e-3 * want:
            problems.append("volume %.3f, want %.3f" % (m.Volume, want))
    print(("FAIL %s: STL solid: %s" % (n, ", ".join(problems))) if problems else
          ("OK %s: STL solid, volume %.3f" % (n, m.Volume)))
    solid = os.path.join(d, "solid.stp")
    if os.path.exists(solid):
        s = Part.read(solid)
        ok = s.isValid() and len(s.Solids) == 1
        if ok and area:
            want = (area - bore) * width
            ok = abs(s.Volume - want) <= 2e-3 * want
        print(("OK %s: STEP solid, volume %.3f" % (n, s.Volume)) if ok else
              ("FAIL %s: STEP solid: valid %s, %d solids, volume %.3f" % (n, s.isValid(), len(s.Solids), s.Volume)))
    else:
        print("SKIP %s: no STEP solid from this build" % n)
EOF
echo "FreeCAD ($(dpkg-query -W -f='${Version}' freecad 2>/dev/null)) ..."
KAMO_INTEROP_WORK="$work" KAMO_INTEROP_EXAMPLES="${examples[*]}" \
  timeout 1800 freecadcmd "$work/freecad_check.py" >"$work/freecad.log" 2>&1
touch "$work/freecad.results"
cat "$work/freecad.results"
failed=$((failed + $(grep -c '^FAIL ' "$work/freecad.results")))
# Six results per example: three contours, the bore, the STL solid and the STEP solid.
done_count=$(grep -c -E '^(OK|SKIP) ' "$work/freecad.results")
if [ "$done_count" -lt $((6 * ${#examples[@]})) ]; then
  fail "FreeCAD: $done_count results for ${#examples[@]} examples ($(tail -c 300 "$work/freecad.log" | tr '\n' ' '))"
fi
# The DXF readers of FreeCAD need a handle on every layer record.
layer_fail=$(grep -c "Failed to read layer" "$work/freecad.log")
if [ "$layer_fail" -gt 0 ]; then fail "FreeCAD: $layer_fail layers not read"; else echo "OK FreeCAD read every layer"; fi

# ---------------------------------------------------------------- LibreCAD
# The UTF-8 twin of a sheet: the same drawing as a newer release whose texts
# are UTF-8, which LibreCAD surely reads right.
cat >"$work/utf8_twin.py" <<'EOF'
import sys

src, dst = sys.argv[1], sys.argv[2]
data = open(src, "rb").read().split(b"\r\n")
page = "cp1252"
for i in range(0, len(data) - 1, 2):
    if data[i] == b"  9" and data[i + 1] == b"$DWGCODEPAGE":
        page = "cp850" if data[i + 3] == b"DOS850" else "cp1252"
out = []
for i in range(0, len(data) - 1, 2):
    code, value = data[i], data[i + 1]
    if code.strip() == b"1":
        value = b"AC1021" if value == b"AC1009" else value.decode(page).encode("utf-8")
    out += [code, value]
if len(data) % 2:
    out.append(data[-1])
open(dst, "wb").write(b"\r\n".join(out))
EOF
echo "LibreCAD ($(dpkg-query -W -f='${Version}' librecad 2>/dev/null)) ..."
mkdir -p "$work/lc" "$work/lc/pdf"
for n in "${examples[@]}"; do
  for k in 5 10; do
    cp "$work/$n/sheet$k.dxf" "$work/lc/${n}_$k.dxf"
    python3 "$work/utf8_twin.py" "$work/lc/${n}_$k.dxf" "$work/lc/${n}_${k}_utf8.dxf"
  done
done
(cd "$work/lc" && QT_QPA_PLATFORM=offscreen timeout 1800 librecad dxf2pdf -t "$work/lc/pdf" ./*.dxf \
  >"$work/librecad.log" 2>&1)
for n in "${examples[@]}"; do
  for k in 5 10; do
    pdf="$work/lc/pdf/${n}_$k.pdf"
    twin="$work/lc/pdf/${n}_${k}_utf8.pdf"
    if [ ! -s "$pdf" ] || [ ! -s "$twin" ]; then
      fail "$n sheet $k: LibreCAD wrote no PDF"
      continue
    fi
    size=$(pdfinfo "$pdf" | sed -n 's/^Page size: *//p')
    want=$([ "$k" = 5 ] && echo "(A4)" || echo "(A3)")
    case "$size" in
      *"$want"*) ;;
      *) fail "$n sheet $k: page $size, want $want"; continue ;;
    esac
    pdftoppm -r 100 -png "$pdf" "$work/lc/page_${n}_$k"
    pdftoppm -r 100 -png "$twin" "$work/lc/twin_${n}_$k"
    if cmp -s "$work/lc/page_${n}_$k-1.png" "$work/lc/twin_${n}_$k-1.png"; then
      echo "OK $n sheet $k: LibreCAD page $size, texts as from UTF-8"
    else
      fail "$n sheet $k: LibreCAD draws the texts differently from the UTF-8 copy"
    fi
  done
done

echo "interop-check: $failed failed"
[ "$failed" -eq 0 ]
