#!/usr/bin/env python3
"""Draws the shipped help pictures (data/*.plt) in the HP-GL/2 subset of the
help picture player: PU, PD, PA, SP, CI, SI, DI, LB, AA, PE, CS.
Run from the repository root: python3 scripts/help-pictures.py
Every picture is 160 x 120 mm (6400 x 4800 plotter units, 40 per mm) with
its frame, so that any renderer shows it at the same scale."""
import math
import os

UNIT = 40  # plotter units per mm
OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "data")


def enc(v):
    """One HP-GL/2 encoded number, eight-bit mode."""
    n = -2 * v + 1 if v < 0 else 2 * v
    out = bytearray()
    while True:
        d, n = n % 64, n // 64
        if n == 0:
            out.append(d + 191)
            return bytes(out)
        out.append(d + 63)


class Plot:
    def __init__(self, title):
        self.b = bytearray(b"IN;CS3;SP7;")
        self.frame()
        self.label(4, 113, title, 0.30, 0.42)

    def raw(self, s):
        self.b += s.encode("latin-1") if isinstance(s, str) else s

    def pen(self, n):
        self.raw("SP%d;" % n)

    @staticmethod
    def u(v):
        return int(round(v * UNIT))

    def polyline(self, pts, close=False):
        if close:
            pts = list(pts) + [pts[0]]
        x0, y0 = pts[0]
        self.raw("PU%d,%d;PD" % (self.u(x0), self.u(y0)))
        self.raw(",".join("%d,%d" % (self.u(x), self.u(y)) for x, y in pts[1:]) + ";PU;")

    def encoded(self, pts, close=False):
        """The same polyline as an encoded polyline (PE), relative pairs."""
        if close:
            pts = list(pts) + [pts[0]]
        x0, y0 = self.u(pts[0][0]), self.u(pts[0][1])
        self.raw("PU%d,%d;PE" % (x0, y0))
        cx, cy = x0, y0
        for x, y in pts[1:]:
            nx, ny = self.u(x), self.u(y)
            self.raw(enc(nx - cx) + enc(ny - cy))
            cx, cy = nx, ny
        self.raw(";PU;")

    def line(self, x1, y1, x2, y2):
        self.polyline([(x1, y1), (x2, y2)])

    def circle(self, x, y, r):
        self.raw("PU%d,%d;CI%d;PU;" % (self.u(x), self.u(y), self.u(r)))

    def arc(self, xc, yc, r, a1, sweep):
        x = xc + r * math.cos(math.radians(a1))
        y = yc + r * math.sin(math.radians(a1))
        self.raw("PU%d,%d;PD;AA%d,%d,%g;PU;" % (self.u(x), self.u(y), self.u(xc), self.u(yc), sweep))

    def arc_through(self, p1, p2, sweep):
        """The arc from p1 to p2 that turns through sweep degrees (counter-clockwise when positive)."""
        (x1, y1), (x2, y2) = p1, p2
        c = math.hypot(x2 - x1, y2 - y1)
        half = math.radians(sweep) / 2
        r = c / (2 * math.sin(abs(half)))
        mx, my = (x1 + x2) / 2, (y1 + y2) / 2
        nx, ny = -(y2 - y1) / c, (x2 - x1) / c  # left of p1 -> p2
        k = r * math.cos(half) * (1 if sweep > 0 else -1)
        xc, yc = mx + nx * k, my + ny * k
        self.raw("PU%d,%d;PD;AA%d,%d,%g;PU;" % (self.u(x1), self.u(y1), self.u(xc), self.u(yc), sweep))

    def label(self, x, y, text, w=0.2, h=0.28, run=1, rise=0):
        # Umlauts by the rule of character set 3: the letter, then "}".
        for a, b in (("ä", "a}"), ("ö", "o}"), ("ü", "u}"), ("Ä", "A}"), ("Ö", "O}"), ("Ü", "U}")):
            text = text.replace(a, b)
        self.raw("PU%d,%d;SI%g,%g;DI%d,%d;LB" % (self.u(x), self.u(y), w, h, run, rise))
        self.raw(text.encode("cp850") + b"\x03")  # labels are CP850 text

    def frame(self):
        self.polyline([(0, 0), (160, 0), (160, 120), (0, 120)], close=True)
        self.line(0, 110, 160, 110)

    def cross(self, x, y, s=6):
        self.pen(7)
        self.line(x - s, y, x + s, y)
        self.line(x, y - s, x, y + s)

    def text_block(self, x, y, lines):
        self.pen(7)
        for i, l in enumerate(lines):
            self.label(x, y - 6 * i, l, 0.17, 0.25)

    def save(self, name):
        self.raw("PU0,0;SP0;")
        with open(os.path.join(OUT, name + ".plt"), "wb") as f:
            f.write(bytes(self.b) + b"\r\n")


CX, CY = 55.0, 46.0  # centre of the cam


def contour(r, n=240):
    return [(CX + r(2 * math.pi * i / n) * math.cos(2 * math.pi * i / n),
             CY + r(2 * math.pi * i / n) * math.sin(2 * math.pi * i / n)) for i in range(n)]


def follower(p, r_top, round_face=True, d=8.0, length=22.0):
    """The follower standing on the cam at phi = 90 degrees."""
    p.pen(3)
    y0 = CY + r_top
    if round_face:
        p.arc(CX, y0 + d / 2, d / 2, 180, 180)
        p.polyline([(CX - d / 2, y0 + d / 2), (CX - d / 2, y0 + length), (CX + d / 2, y0 + length),
                    (CX + d / 2, y0 + d / 2)])
    else:
        p.polyline([(CX - 2.5 * d, y0), (CX + 2.5 * d, y0), (CX + 2.5 * d, y0 + 2), (CX + d / 2, y0 + 2),
                    (CX + d / 2, y0 + length), (CX - d / 2, y0 + length), (CX - d / 2, y0 + 2),
                    (CX - 2.5 * d, y0 + 2)], close=True)
    # The guide.
    p.pen(7)
    p.line(CX - d / 2 - 2, y0 + length - 12, CX - d / 2 - 2, y0 + length - 4)
    p.line(CX + d / 2 + 2, y0 + length - 12, CX + d / 2 + 2, y0 + length - 4)


def radius_mark(p, phi_deg, r, text):
    p.pen(4)
    a = math.radians(phi_deg)
    p.line(CX, CY, CX + r * math.cos(a), CY + r * math.sin(a))
    p.label(CX + 0.55 * r * math.cos(a) + 1, CY + 0.55 * r * math.sin(a) + 1, text)


def cam_picture(name, title, r, lines, marks=(), base=None, encoded=False, rtop=None, face=True):
    p = Plot(title)
    p.cross(CX, CY)
    if base:
        p.pen(6)
        p.circle(CX, CY, base)
    p.pen(2)
    (p.encoded if encoded else p.polyline)(contour(r), close=True)
    for phi, rr, t in marks:
        radius_mark(p, phi, rr, t)
    follower(p, rtop if rtop is not None else r(math.pi / 2), face)
    p.text_block(108, 100, lines)
    return p


def main():
    # Start picture: cam, follower and the program name.
    p = Plot("KAMO  Kurvenscheiben mit Stößel")
    r = lambda t: 28 + 10 * math.sin(t / 2) ** 2 * (1 if t < math.pi else 1)
    p.cross(CX, CY)
    p.pen(2)
    p.encoded(contour(lambda t: 24 + 14 * math.sin(min(t, 2 * math.pi * 0.75) * 2 / 3) ** 2), close=True)
    p.pen(6)
    p.circle(CX, CY, 8)
    follower(p, 24 + 14 * math.sin(math.pi / 2 * 2 / 3) ** 2)
    p.pen(4)
    p.arc(CX, CY, 44, 20, 120)
    # The arrow head of the turning sense (counter-clockwise).
    end = math.radians(140)
    ex, ey = CX + 44 * math.cos(end), CY + 44 * math.sin(end)
    tx, ty = -math.sin(end), math.cos(end)
    nx, ny = math.cos(end), math.sin(end)
    p.polyline([(ex - 4 * tx + 2 * nx, ey - 4 * ty + 2 * ny), (ex, ey), (ex - 4 * tx - 2 * nx, ey - 4 * ty - 2 * ny)])
    p.label(CX + 44 * math.cos(math.radians(60)) + 2, CY + 44 * math.sin(math.radians(60)) + 2, "n")
    p.text_block(108, 100, ["Kontur r(phi)", "Hub s, v, a", "Zeichnung, CAD", "",
                            "Bilder zu jedem", "Kurventyp:", "Hilfe > Hilfebild"])
    p.save("start")

    p = Plot("Kein Hilfebild vorhanden")
    p.pen(7)
    p.line(40, 30, 120, 90)
    p.line(40, 90, 120, 30)
    p.text_block(20, 100, ["Zu diesem Thema gibt es kein Bild."])
    p.save("null")

    cam_picture("formel", "Typ 1: Formel-Abschnitte rw = f(x)",
                lambda t: 30 + (8 * (t / math.pi) if t < math.pi else 8 * (2 - t / math.pi)),
                ["Abschnitt 1: 0..180 Grad", "  30+8*x/PI", "Abschnitt 2: 180..360", "  30+8*(2-x/PI)",
                 "x in Bogenmaß"], marks=[(0, 30, "30"), (180, 38, "38")], base=30).save("formel")
    a, b = 40.0, 30.0
    cam_picture("ellipse", "Typ 2: Ellipse",
                lambda t: math.sqrt(1 / ((math.cos(t) / a) ** 2 + (math.sin(t) / b) ** 2)),
                ["a: Halblänge (phi = 0)", "b: Halblänge (90 Grad)", "Hub = a - b", "Grundkreis = b"],
                marks=[(0, a, "a"), (270, b, "b")], base=b).save("ellipse")
    cam_picture("sinus", "Typ 3: Sinus rw = rw0 + A*sin(N*phi)",
                lambda t: 32 + 6 * math.sin(3 * t),
                ["rw0: Basis-Wälzkreis", "A: Amplitude", "N: Wellen je Umdrehung", "Hub = 2*A",
                 "Bild: N = 3"], marks=[(30, 38, "rw0+A")], base=32).save("sinus")
    phil = 220.0

    def linsin(t):
        d = math.degrees(t)
        if d <= phil:
            return 26 + 12 * d / phil
        return 32 + 6 * math.cos(math.pi * (d - phil) / (360 - phil))
    cam_picture("sinlin", "Typ 4: Sinus-Linear", linsin,
                ["0 .. phi lin: linear", "phi lin .. 360: sinus", "rw0 - A bis rw0 + A",
                 "Bild: phi lin = 220"], marks=[(phil, linsin(math.radians(phil)), "phi lin")]).save("sinlin")

    # Coordinate points joined by lines and arcs.
    p = Plot("Typ 5: Koordinatenpunkte x, y, phi")
    p.cross(CX, CY)
    pts = [(CX + 30, CY), (CX + 30, CY + 20), (CX - 10, CY + 36), (CX - 34, CY), (CX, CY - 34)]
    p.pen(2)
    p.encoded(pts[:3])
    p.arc_through(pts[2], pts[3], 60)
    p.polyline([pts[3], pts[4], pts[0]])
    p.pen(1)
    for i, (x, y) in enumerate(pts):
        p.circle(x, y, 1.2)
        p.label(x + 2, y + 2, "P%d" % (i + 1))
    follower(p, 32, True)
    p.text_block(108, 100, ["x, y: mm zur Achse", "phi = 0: Gerade", "phi <> 0: Bogen",
                            "bis zum nächsten", "Punkt; höchstens", "2000 Punkte"])
    p.save("koord")

    p = Plot("Typ 6: Polygon")
    p.cross(CX, CY)
    z, di = 6, 64.0
    rr = di / 2 / math.cos(math.pi / z)
    p.pen(2)
    p.polyline([(CX + rr * math.cos(2 * math.pi * k / z), CY + rr * math.sin(2 * math.pi * k / z))
                for k in range(z)], close=True)
    p.pen(6)
    p.circle(CX, CY, di / 2)
    p.circle(CX, CY, rr)
    radius_mark(p, 30, di / 2, "Di/2")
    radius_mark(p, 0, rr, "De/2")
    p.text_block(108, 100, ["z: Anzahl Ecken", "Di: Schlüsselweite", "De: Eckweite", "De = Di/cos(180/z)",
                            "Bild: z = 6"])
    p.save("polygon")

    cam_picture("polynom", "Typ 7: Polynomfunktion",
                lambda t: 28 + 4 * t - 0.6366 * t * t,
                ["r = c1 + c2*phi + c3*phi²...", "phi in Bogenmaß", "höchstens 50 Koeffizienten",
                 "r(0) = r(2 pi) wählen"], base=28).save("polynom")

    # Fit points with a closed spline through them.
    p = Plot("Typ 8: Ausgleichspunkte -> Spline")
    p.cross(CX, CY)
    fr = lambda t: 30 + 6 * math.sin(t) + 3 * math.cos(2 * t)
    p.pen(2)
    p.polyline(contour(fr), close=True)
    p.pen(4)
    for k in range(8):
        t = 2 * math.pi * k / 8
        p.circle(CX + fr(t) * math.cos(t), CY + fr(t) * math.sin(t), 1.2)
    follower(p, fr(math.pi / 2))
    p.text_block(108, 100, ["bis 50 Punkte phi, r", "Polynom oder", "geschlossener Spline",
                            "Auflösung Spline:", "Punkte je Intervall"])
    p.save("ausgl")

    d, e = 60.0, 8.0
    p = Plot("Typ 9: Exzenter")
    p.cross(CX, CY)
    p.pen(2)
    p.circle(CX, CY + e, d / 2)
    p.pen(7)
    p.line(CX - 3, CY + e, CX + 3, CY + e)
    p.line(CX, CY + e - 3, CX, CY + e + 3)
    p.pen(4)
    p.line(CX + 5, CY, CX + 5, CY + e)
    p.label(CX + 7, CY + 2, "e")
    p.line(CX - d / 2, CY + e, CX + d / 2, CY + e)
    p.label(CX - d / 4, CY + e + 2, "d")
    follower(p, e + d / 2)
    p.text_block(108, 100, ["d: Durchmesser", "e: Exzentrizität", "Hub = 2*e", "rmin = d/2 - e",
                            "harmonische Bewegung"])
    p.save("exzenter")

    p = Plot("Typ 10: Polarpunkte -> Polylinie")
    p.cross(CX, CY)
    pr = lambda t: 30 + 8 * math.sin(t / 2) ** 2
    pts = [(CX + pr(2 * math.pi * k / 24) * math.cos(2 * math.pi * k / 24),
            CY + pr(2 * math.pi * k / 24) * math.sin(2 * math.pi * k / 24)) for k in range(24)]
    p.pen(2)
    p.encoded(pts, close=True)
    p.pen(4)
    for x, y in pts[::3]:
        p.circle(x, y, 1.0)
    follower(p, pr(math.pi / 2))
    p.text_block(108, 100, ["bis 1000 Punkte phi, r", "phi aufsteigend", "Geraden zwischen",
                            "den Punkten"])
    p.save("polar")

    db, sh, w = 56.0, 12.0, 180.0

    def sinq(t):
        deg = math.degrees(t)
        return db / 2 + (sh * math.sin(math.radians(180 / w * deg)) ** 2 if deg <= w else 0)
    p = cam_picture("sinquad", "Typ 11: r = db/2 + sh*sin²(180/w*phi)", sinq,
                    ["db: Grundkreis-Durchm.", "sh: Hub", "w: Arbeitswinkel", "danach Rast",
                     "Bild: w = 180 Grad"], marks=[(90, db / 2 + sh, "db/2+sh")], base=db / 2)
    p.save("sinquad")

    # The follower: round and flat faces.
    p = Plot("Stößel: Kontaktfläche rund und eben")
    p.pen(2)
    p.arc(40, 10, 30, 30, 120)
    p.arc(115, 10, 30, 30, 120)
    p.pen(3)
    p.arc(40, 44, 4, 180, 180)
    p.polyline([(36, 44), (36, 80), (44, 80), (44, 44)])
    p.polyline([(100, 40), (130, 40), (130, 42), (119, 42), (119, 80), (111, 80), (111, 42), (100, 42)],
               close=True)
    p.pen(4)
    p.line(36, 86, 44, 86)
    p.label(37, 88, "d")
    p.line(48, 40, 48, 80)
    p.label(50, 60, "l")
    p.text_block(4, 100, ["rund: Spitze oder Rolle, r = d/2", "eben: Flachstößel, Pressungswinkel 0"])
    p.text_block(60, 30, ["m: Masse", "F = m * a"])
    p.save("stoessel")


if __name__ == "__main__":
    main()
