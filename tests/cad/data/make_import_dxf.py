"""Writes the DXF drawings of the import tests with ezdxf into a folder.

The contour (a slot of two lines and two half circles around the origin):
(30,-20) line (30,20) arc ccw around (0,20) to (-30,20) line (-30,-20)
arc ccw around (0,-20) to (30,-20)."""
import os
import sys

import ezdxf

A, B, C, D = (30, -20), (30, 20), (-30, 20), (-30, -20)


def extras(msp):
    # What a real drawing holds besides the contour: a bore, a text, a mark.
    msp.add_circle((0, 0), 5, dxfattribs={"layer": "BORE"})
    msp.add_text("Nocken \u00fc", dxfattribs={"height": 3.5, "insert": (0, -60)})


def save(doc, folder, name):
    doc.saveas(os.path.join(folder, name))


def main(folder):
    # R12, lines and arcs, drawn in the direction of the contour.
    doc = ezdxf.new("R12")
    msp = doc.modelspace()
    msp.add_line(A, B)
    msp.add_arc((0, 20), 30, 0, 180)
    msp.add_line(C, D)
    msp.add_arc((0, -20), 30, 180, 360)
    extras(msp)
    save(doc, folder, "r12_lines_arcs.dxf")
    # R12, the lines drawn the other way round, one arc mirrored (extrusion -Z).
    doc = ezdxf.new("R12")
    msp = doc.modelspace()
    msp.add_line(B, A)
    msp.add_arc((0, 20), 30, 0, 180)
    msp.add_line(D, C)
    # Seen from -Z the centre (0,-20) is at OCS (0,-20)->x mirrored: (0,-20);
    # the lower half 180..360 in WCS is 180..360 mirrored: 180-360..180-180.
    msp.add_arc((0, -20), 30, 180, 360, dxfattribs={"extrusion": (0, 0, -1)})
    save(doc, folder, "r12_reversed_mirrored.dxf")
    # R12 POLYLINE, clockwise travel (negative bulges).
    doc = ezdxf.new("R12")
    msp = doc.modelspace()
    msp.add_polyline2d([(B[0], B[1], 0, 0, 0), (A[0], A[1], 0, 0, -1), (D[0], D[1], 0, 0, 0),
                        (C[0], C[1], 0, 0, -1)], format="xyseb", close=True)
    extras(msp)
    save(doc, folder, "r12_polyline_cw.dxf")
    # R2010 LWPOLYLINE, counter-clockwise, closed by its flag.
    doc = ezdxf.new("R2010")
    msp = doc.modelspace()
    msp.add_lwpolyline([(A[0], A[1], 0), (B[0], B[1], 1), (C[0], C[1], 0), (D[0], D[1], 1)],
                       format="xyb", close=True)
    extras(msp)
    save(doc, folder, "r2010_lwpolyline_ccw.dxf")
    # R2010 LWPOLYLINE, clockwise.
    doc = ezdxf.new("R2010")
    msp = doc.modelspace()
    msp.add_lwpolyline([(B[0], B[1], 0), (A[0], A[1], -1), (D[0], D[1], 0), (C[0], C[1], -1)],
                       format="xyb", close=True)
    save(doc, folder, "r2010_lwpolyline_cw.dxf")
    # An open contour: the last line is missing.
    doc = ezdxf.new("R2010")
    msp = doc.modelspace()
    msp.add_line(A, B)
    msp.add_arc((0, 20), 30, 0, 180)
    msp.add_arc((0, -20), 30, 180, 360)
    save(doc, folder, "open.dxf")
    # Two crossing contours around the origin.
    doc = ezdxf.new("R2010")
    msp = doc.modelspace()
    msp.add_lwpolyline([(-10, -40), (10, -40), (10, 40), (-10, 40)], close=True)
    msp.add_lwpolyline([(-40, -10), (40, -10), (40, 10), (-40, 10)], close=True)
    save(doc, folder, "two.dxf")
    # Only texts.
    doc = ezdxf.new("R2010")
    doc.modelspace().add_text("leer")
    save(doc, folder, "empty.dxf")
    # A square polygon of 8 corners for the polar points.
    doc = ezdxf.new("R2010")
    import math
    pts = [(40 * math.cos(math.radians(45 * k)), 40 * math.sin(math.radians(45 * k))) for k in range(8)]
    doc.modelspace().add_lwpolyline(pts, close=True)
    save(doc, folder, "octagon.dxf")


if __name__ == "__main__":
    main(sys.argv[1])
