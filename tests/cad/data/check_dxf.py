"""Reads DXF files with ezdxf, audits them and prints what it found, one JSON
object per file: audit errors, the contour polylines with their bulges, arcs,
circles, texts and inserts in world coordinates."""
import json
import sys

import ezdxf


def main(paths):
    for path in paths:
        out = {"file": path, "errors": [], "polylines": [], "arcs": [], "circles": [],
               "texts": [], "inserts": [], "lines": 0, "solids": 0}
        try:
            doc = ezdxf.readfile(path)
            auditor = doc.audit()
            out["errors"] = [str(e.message) for e in auditor.errors]
            for e in doc.modelspace():
                t = e.dxftype()
                if t == "POLYLINE":
                    out["polylines"].append({
                        "closed": bool(e.is_closed),
                        "layer": e.dxf.layer,
                        "vertices": [[v.dxf.location.x, v.dxf.location.y, v.dxf.bulge]
                                     for v in e.vertices]})
                elif t == "LWPOLYLINE":
                    out["polylines"].append({
                        "closed": bool(e.closed), "layer": e.dxf.layer,
                        "vertices": [[x, y, b] for x, y, _s, _e, b in e.get_points()]})
                elif t == "ARC":
                    c = e.construction_tool()
                    out["arcs"].append([c.center.x, c.center.y, c.radius,
                                        c.start_point.x, c.start_point.y,
                                        c.end_point.x, c.end_point.y])
                elif t == "CIRCLE":
                    out["circles"].append([e.dxf.center.x, e.dxf.center.y, e.dxf.radius])
                elif t == "TEXT":
                    out["texts"].append(e.dxf.text)
                elif t == "INSERT":
                    out["inserts"].append(e.dxf.name)
                elif t == "LINE":
                    out["lines"] += 1
                elif t == "SOLID":
                    out["solids"] += 1
        except Exception as exc:  # a file ezdxf cannot read at all
            out["errors"].append("unreadable: %s" % exc)
        print(json.dumps(out, ensure_ascii=True))


if __name__ == "__main__":
    main(sys.argv[1:])
