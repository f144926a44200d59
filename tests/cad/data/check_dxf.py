"""Checks DXF files written by KAMO with ezdxf, a reader we did not write.

Usage: check_dxf.py MANIFEST.json. The manifest lists the files and what
each must hold; prints "OK <file>" or "FAIL <file>: <reasons>" per file."""
import json
import math
import sys

import ezdxf

TOL = 1e-4


def close(a, b):
    return abs(a - b) <= TOL


def check(entry):
    path = entry["file"]
    fails = []
    try:
        doc = ezdxf.readfile(path)
    except Exception as exc:
        return ["unreadable: %s" % exc]
    if doc.dxfversion != "AC1009":
        fails.append("release %s" % doc.dxfversion)
    want_cp = entry.get("codepage")
    if want_cp and doc.header.get("$DWGCODEPAGE") != want_cp:
        fails.append("code page %s, want %s" % (doc.header.get("$DWGCODEPAGE"), want_cp))
    auditor = doc.audit()
    fails += ["audit: %s" % e.message for e in auditor.errors]
    msp = doc.modelspace()
    polylines = [e for e in msp if e.dxftype() in ("POLYLINE", "LWPOLYLINE")]
    want = entry.get("polyline")
    if want is not None:
        if len(polylines) < 1:
            fails.append("no polyline")
        else:
            p = polylines[0]
            verts = [(v.dxf.location.x, v.dxf.location.y, v.dxf.bulge) for v in p.vertices]
            if not p.is_closed:
                fails.append("polyline not closed")
            # A closed polyline that repeats its first vertex has a closing edge of length 0.
            if len(verts) > 2 and math.hypot(verts[0][0] - verts[-1][0], verts[0][1] - verts[-1][1]) <= 1e-6:
                fails.append("closing vertex repeats the first")
            if len(verts) != len(want):
                fails.append("%d vertices, want %d" % (len(verts), len(want)))
            else:
                for i, (v, w) in enumerate(zip(verts, want)):
                    if not (close(v[0], w[0]) and close(v[1], w[1]) and close(v[2], w[2])):
                        fails.append("vertex %d %s, want %s" % (i, v, w))
                        break
    if entry.get("nopolyline") and polylines:
        fails.append("unexpected polyline")
    arcs = [e for e in msp if e.dxftype() == "ARC"]
    for i, w in enumerate(entry.get("arcs", [])):
        if i >= len(arcs):
            fails.append("arc %d missing" % i)
            continue
        a = arcs[i]
        c = a.ocs().to_wcs(a.dxf.center)
        s, e = a.start_point, a.end_point
        got = [c.x, c.y, a.dxf.radius, s.x, s.y, e.x, e.y]
        if not all(close(g, x) for g, x in zip(got, w)):
            fails.append("arc %d %s, want %s" % (i, got, w))
    # Texts of the drawing and of its block definitions.
    texts = [e.dxf.text for e in msp if e.dxftype() == "TEXT"]
    texts += [e.dxf.text for b in doc.blocks for e in b if e.dxftype() == "TEXT"]
    for t in entry.get("texts", []):
        if t not in texts:
            fails.append("text %r missing (have %r)" % (t, texts[:8]))
    # Texts kept in the DOS code page: their bytes, as the file holds them.
    oem = [t.encode(doc.encoding, errors="surrogateescape").decode("cp850") for t in texts]
    for t in entry.get("oemtexts", []):
        if t not in oem:
            fails.append("DOS text %r missing (have %r)" % (t, oem[:8]))
    inserts = [e.dxf.name for e in msp if e.dxftype() == "INSERT"]
    for b in entry.get("inserts", []):
        if b not in inserts:
            fails.append("insert %s missing" % b)
        elif b not in doc.blocks:
            fails.append("block %s undefined" % b)
    lines = [e for e in msp if e.dxftype() == "LINE"]
    # Horizontal lines on a layer at a height, over an x range.
    for w in entry.get("hlines", []):
        hits = [e for e in lines if e.dxf.layer == w["layer"] and close(e.dxf.start.y, w["y"])
                and close(e.dxf.end.y, w["y"]) and close(min(e.dxf.start.x, e.dxf.end.x), w["x0"])
                and close(max(e.dxf.start.x, e.dxf.end.x), w["x1"])]
        if not hits:
            fails.append("no line on layer %s at y %s" % (w["layer"], w["y"]))
    # A curve: the lines of a layer inside a box, their lowest and highest
    # points, and the x where the highest is reached.
    for w in entry.get("curves", []):
        x0, y0, x1, y1 = w["box"]
        pts = []
        for e in lines:
            if e.dxf.layer != w["layer"]:
                continue
            ends = [(e.dxf.start.x, e.dxf.start.y), (e.dxf.end.x, e.dxf.end.y)]
            if all(x0 - TOL <= x <= x1 + TOL and y0 - TOL <= y <= y1 + TOL for x, y in ends):
                pts += ends
        if len(pts) < 2 * w.get("minLines", 1):
            fails.append("curve on layer %s: %d points" % (w["layer"], len(pts)))
            continue
        low = min(y for _, y in pts)
        high = max(y for _, y in pts)
        tol = w.get("tol", TOL)
        if abs(low - w["ymin"]) > tol or abs(high - w["ymax"]) > tol:
            fails.append("curve on layer %s from y %.6f to %.6f, want %.6f to %.6f"
                         % (w["layer"], low, high, w["ymin"], w["ymax"]))
        if "xAtYmax" in w and not any(abs(x - w["xAtYmax"]) <= tol for x, y in pts if abs(y - high) <= tol):
            fails.append("curve on layer %s: highest at x %s, want %.6f"
                         % (w["layer"], [x for x, y in pts if abs(y - high) <= tol][:4], w["xAtYmax"]))
    n_lines = len(lines)
    if n_lines < entry.get("minLines", 0):
        fails.append("%d lines, want at least %d" % (n_lines, entry["minLines"]))
    n_circles = sum(1 for e in msp if e.dxftype() == "CIRCLE")
    if n_circles < entry.get("minCircles", 0):
        fails.append("%d circles" % n_circles)
    return fails


def main(manifest):
    with open(manifest, encoding="utf-8") as f:
        entries = json.load(f)
    for entry in entries:
        fails = check(entry)
        if fails:
            print("FAIL %s: %s" % (entry["file"], "; ".join(fails)))
        else:
            print("OK %s" % entry["file"])


if __name__ == "__main__":
    main(sys.argv[1])
