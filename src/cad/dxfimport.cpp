// Chaining DXF pieces into the cam contour, and the import commands.
#include "cad/dxfimport.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <set>
#include <sstream>
#include <tuple>
#include <unordered_map>

#include "cam/kamorech.h"
#include "core/codepage.h"
#include "core/numbers.h"

namespace kamo {

namespace {

constexpr Real kTol = 1e-4L;  // mm: end points closer than this meet
constexpr long long kMaxFileBytes = 512LL * 1024 * 1024;

Real Norm2Pi(Real a) {
  a = std::fmod(a, 2 * kPi);
  if (a < 0) a += 2 * kPi;
  return a;
}

ContourPiece Reversed(const ContourPiece& p) { return {p.bx, p.by, p.ax, p.ay, -p.g}; }

std::string Coord(Real x, Real y) {
  NumberStyle ns;
  return "x=" + FormatGeneral(ns, x) + ", y=" + FormatGeneral(ns, y);
}

// The pieces of every drawing entity that can be part of a contour.
void CollectPieces(const DxfReadResult& dxf, std::vector<ContourPiece>& out) {
  auto add = [&](ContourPiece p) {
    if (std::hypot(p.bx - p.ax, p.by - p.ay) > kTol / 10) out.push_back(p);
  };
  for (const DxfEntity& e : dxf.entities) {
    switch (e.type) {
      case DxfEntity::Type::Line:
        add({e.x[0], e.y[0], e.x[1], e.y[1], 0});
        break;
      case DxfEntity::Type::Arc: {
        if (!(e.r > 0)) break;
        Real s = e.sweep == 0 ? 360 : e.sweep;
        Real a1 = e.a1 * kPi / 180;
        Real a2 = a1 + s * kPi / 180;
        Real cx = e.x[0], cy = e.y[0];
        if (std::fabs(s) >= 359.9999L) {
          // A full circle drawn as an arc: two halves.
          Real m = a1 + s * kPi / 360;
          add({cx + e.r * std::cos(a1), cy + e.r * std::sin(a1), cx + e.r * std::cos(m), cy + e.r * std::sin(m), s * kPi / 360});
          add({cx + e.r * std::cos(m), cy + e.r * std::sin(m), cx + e.r * std::cos(a1), cy + e.r * std::sin(a1), s * kPi / 360});
          break;
        }
        add({cx + e.r * std::cos(a1), cy + e.r * std::sin(a1), cx + e.r * std::cos(a2),
             cy + e.r * std::sin(a2), s * kPi / 180});
        break;
      }
      case DxfEntity::Type::Circle:
        if (!(e.r > 0)) break;
        add({e.x[0] + e.r, e.y[0], e.x[0] - e.r, e.y[0], kPi});
        add({e.x[0] - e.r, e.y[0], e.x[0] + e.r, e.y[0], kPi});
        break;
      case DxfEntity::Type::Polyline: {
        size_t n = e.vertices.size();
        if (n < 2) break;
        size_t segs = e.closed ? n : n - 1;
        for (size_t i = 0; i < segs; ++i) {
          const DxfVertex& p = e.vertices[i];
          const DxfVertex& q = e.vertices[(i + 1) % n];
          Real b = std::isfinite(p.bulge) ? p.bulge : 0;
          add({p.x, p.y, q.x, q.y, 4 * std::atan(b)});
        }
        break;
      }
      default:
        break;  // texts, solids, inserts carry no contour
    }
  }
}

// Points along a piece, the end point excluded, arcs in steps of at most 2 degrees.
void Sample(const ContourPiece& p, std::vector<XY>& pts) {
  if (p.g == 0) {
    pts.push_back({p.ax, p.ay});
    return;
  }
  ArcCentre c = GetArcCenter({p.ax, p.ay}, {p.bx, p.by}, p.g);
  if (!c.ok) {
    pts.push_back({p.ax, p.ay});
    return;
  }
  int n = std::max(2, static_cast<int>(std::ceil(std::fabs(p.g) / (2 * kPi / 180))));
  Real a0 = std::atan2(p.ay - c.c.y, p.ax - c.c.x);
  for (int k = 0; k < n; ++k) {
    Real a = a0 + p.g * k / n;
    pts.push_back({c.c.x + c.r * std::cos(a), c.c.y + c.r * std::sin(a)});
  }
}

std::vector<XY> Polygon(const std::vector<ContourPiece>& loop) {
  std::vector<XY> pts;
  for (const ContourPiece& p : loop) Sample(p, pts);
  return pts;
}

Real SignedArea(const std::vector<XY>& pts) {
  Real a = 0;
  for (size_t i = 0; i < pts.size(); ++i) {
    const XY& p = pts[i];
    const XY& q = pts[(i + 1) % pts.size()];
    a += p.x * q.y - q.x * p.y;
  }
  return a / 2;
}

// Winding number of the polygon around (x, y).
int Winding(const std::vector<XY>& pts, Real x, Real y) {
  int w = 0;
  for (size_t i = 0; i < pts.size(); ++i) {
    const XY& p = pts[i];
    const XY& q = pts[(i + 1) % pts.size()];
    Real cross = (q.x - p.x) * (y - p.y) - (x - p.x) * (q.y - p.y);
    if (p.y <= y) {
      if (q.y > y && cross > 0) ++w;
    } else if (q.y <= y && cross < 0) {
      --w;
    }
  }
  return w;
}

struct Loops {
  std::vector<std::vector<ContourPiece>> closed;
  int open = 0;
  XY gap;        // an end of an open chain
  bool branched = false;
};

Loops Chain(const std::vector<ContourPiece>& pieces, std::string& error) {
  Loops result;
  // End points to nodes through a grid of the tolerance.
  const Real cell = 2 * kTol;
  std::unordered_map<std::uint64_t, std::vector<int>> grid;
  std::vector<XY> nodes;
  auto keyOf = [](long long i, long long j) {
    return static_cast<std::uint64_t>(i) * 0x9E3779B97F4A7C15ULL ^ static_cast<std::uint64_t>(j);
  };
  auto node = [&](Real x, Real y) -> int {
    long long i = static_cast<long long>(std::floor(x / cell)), j = static_cast<long long>(std::floor(y / cell));
    for (long long di = -1; di <= 1; ++di)
      for (long long dj = -1; dj <= 1; ++dj) {
        auto it = grid.find(keyOf(i + di, j + dj));
        if (it == grid.end()) continue;
        for (int n : it->second)
          if (std::hypot(nodes[static_cast<size_t>(n)].x - x, nodes[static_cast<size_t>(n)].y - y) <= kTol) return n;
      }
    int n = static_cast<int>(nodes.size());
    nodes.push_back({x, y});
    grid[keyOf(i, j)].push_back(n);
    return n;
  };
  std::vector<int> na(pieces.size()), nb(pieces.size());
  for (size_t k = 0; k < pieces.size(); ++k) {
    const ContourPiece& p = pieces[k];
    for (Real v : {p.ax, p.ay, p.bx, p.by})
      if (!std::isfinite(v) || std::fabs(v) > 1e12L) {
        error = "DXF: Koordinaten au\xE1" "erhalb von 1E12 mm";
        return result;
      }
    na[k] = node(p.ax, p.ay);
    nb[k] = node(p.bx, p.by);
  }
  std::vector<bool> used(pieces.size(), false);
  // A piece drawn twice (an arrow along a contour edge, a copy on another
  // layer) counts once.
  std::set<std::tuple<int, int, long long>> seen;
  for (size_t k = 0; k < pieces.size(); ++k) {
    int a = na[k], b = nb[k];
    Real g = pieces[k].g;
    if (a > b) {
      std::swap(a, b);
      g = -g;
    }
    if (a == b) {
      used[k] = true;  // an arc that ends where it starts is not a full circle here
      continue;
    }
    if (!seen.insert({a, b, std::llround(static_cast<double>(g) * 1e6)}).second) used[k] = true;
  }
  std::vector<std::vector<int>> at(nodes.size());
  for (size_t k = 0; k < pieces.size(); ++k) {
    if (used[k]) continue;
    at[static_cast<size_t>(na[k])].push_back(static_cast<int>(k));
    at[static_cast<size_t>(nb[k])].push_back(static_cast<int>(k));
  }
  // Lines that end in the open (construction and dimension lines touching
  // the contour) are no part of a loop: remove them from their free end on.
  std::vector<int> degree(nodes.size());
  std::vector<int> leaves;
  for (size_t n = 0; n < nodes.size(); ++n) {
    degree[n] = static_cast<int>(at[n].size());
    if (degree[n] == 1) leaves.push_back(static_cast<int>(n));
  }
  if (!leaves.empty()) result.gap = nodes[static_cast<size_t>(leaves.front())];
  while (!leaves.empty()) {
    int n = leaves.back();
    leaves.pop_back();
    for (int k : at[static_cast<size_t>(n)]) {
      size_t u = static_cast<size_t>(k);
      if (used[u]) continue;
      used[u] = true;
      ++result.open;
      for (int m : {na[u], nb[u]}) {
        if (--degree[static_cast<size_t>(m)] == 1) leaves.push_back(m);
      }
    }
  }
  for (size_t n = 0; n < nodes.size(); ++n)
    if (degree[n] > 2) result.branched = true;
  for (size_t s = 0; s < pieces.size(); ++s) {
    if (used[s]) continue;
    used[s] = true;
    std::vector<ContourPiece> chain{pieces[s]};
    int start = na[s], cur = nb[s];
    bool closed = start == cur;
    while (!closed) {
      int next = -1;
      for (int k : at[static_cast<size_t>(cur)])
        if (!used[static_cast<size_t>(k)]) {
          next = k;
          break;
        }
      if (next < 0) break;
      used[static_cast<size_t>(next)] = true;
      size_t u = static_cast<size_t>(next);
      if (na[u] == cur) {
        chain.push_back(pieces[u]);
        cur = nb[u];
      } else {
        chain.push_back(Reversed(pieces[u]));
        cur = na[u];
      }
      closed = cur == start;
    }
    if (closed) {
      result.closed.push_back(std::move(chain));
    } else {
      // Only where pieces branch can a walk end before its start.
      ++result.open;
      result.gap = nodes[static_cast<size_t>(cur)];
    }
  }
  return result;
}

}  // namespace

bool DxfContourLoop(const DxfReadResult& dxf, std::vector<ContourPiece>& loop, std::string& message) {
  std::vector<ContourPiece> pieces;
  CollectPieces(dxf, pieces);
  if (pieces.empty()) {
    message = "DXF: keine Linien, B\x94gen oder Polylinien in der Zeichnung";
    return false;
  }
  std::string error;
  Loops loops = Chain(pieces, error);
  if (!error.empty()) {
    message = error;
    return false;
  }
  struct Candidate {
    size_t index;
    std::vector<XY> poly;
    Real area;
  };
  std::vector<Candidate> around;
  for (size_t i = 0; i < loops.closed.size(); ++i) {
    std::vector<XY> poly = Polygon(loops.closed[i]);
    if (poly.size() < 3) continue;
    if (Winding(poly, 0, 0) != 0) around.push_back({i, poly, std::fabs(SignedArea(poly))});
  }
  if (around.empty()) {
    if (loops.open > 0)
      message = "DXF: keine geschlossene Kontur um den Nullpunkt, die Kontur ist offen bei " +
                Coord(loops.gap.x, loops.gap.y);
    else
      message = "DXF: keine geschlossene Kontur um den Nullpunkt (x=0, y=0)";
    return false;
  }
  std::sort(around.begin(), around.end(), [](const Candidate& a, const Candidate& b) { return a.area > b.area; });
  // Loops inside the outer one (the bore, construction circles) are not the contour.
  const Candidate& outer = around.front();
  for (size_t k = 1; k < around.size(); ++k) {
    bool inside = true;
    for (const XY& p : around[k].poly)
      if (Winding(outer.poly, p.x, p.y) == 0) {
        inside = false;
        break;
      }
    if (!inside) {
      message = "DXF: mehr als eine Kontur um den Nullpunkt (" + std::to_string(around.size()) +
                " Kandidaten), bitte nur die Kontur exportieren";
      return false;
    }
  }
  loop = loops.closed[outer.index];
  if (SignedArea(outer.poly) < 0) {
    std::reverse(loop.begin(), loop.end());
    for (ContourPiece& p : loop) p = Reversed(p);
  }
  // Start at the corner of the smallest polar angle.
  size_t first = 0;
  Real best = 10;
  for (size_t i = 0; i < loop.size(); ++i) {
    Real a = Norm2Pi(std::atan2(loop[i].ay, loop[i].ax));
    if (a < best - 1e-12L) {
      best = a;
      first = i;
    }
  }
  std::rotate(loop.begin(), loop.begin() + static_cast<long>(first), loop.end());
  return true;
}

bool LoopToBasePoints(const std::vector<ContourPiece>& loop, std::vector<ContourPoint>& points,
                      int& count, std::string& message) {
  int n = static_cast<int>(loop.size()) + 1;
  if (n > kMaxBasePoints) {
    message = "DXF: die Kontur hat " + std::to_string(n) + " Punkte, die Punktliste fasst " +
              std::to_string(kMaxBasePoints);
    return false;
  }
  points.assign(kMaxBasePoints + 1, ContourPoint{kNotEntered, kNotEntered, 0});
  for (size_t i = 0; i < loop.size(); ++i) points[i + 1] = {loop[i].ax, loop[i].ay, loop[i].g};
  points[static_cast<size_t>(n)] = {loop.front().ax, loop.front().ay, 0};
  points[0] = {loop.back().ax, loop.back().ay, 0};
  count = n;
  return true;
}

namespace {

// The largest distance at which the ray of angle phi meets the loop; -1 when it misses.
Real RayRadius(const std::vector<ContourPiece>& loop, Real phi) {
  Real ux = std::cos(phi), uy = std::sin(phi);
  Real best = -1;
  for (const ContourPiece& p : loop) {
    if (p.g == 0) {
      Real dx = p.bx - p.ax, dy = p.by - p.ay;
      Real den = ux * dy - uy * dx;
      if (std::fabs(den) < 1e-18L) continue;
      Real t = (p.ax * dy - p.ay * dx) / den;
      Real s = (p.ax * uy - p.ay * ux) / den;
      if (t > 0 && s >= -1e-12L && s <= 1 + 1e-12L) best = std::max(best, t);
      continue;
    }
    ArcCentre c = GetArcCenter({p.ax, p.ay}, {p.bx, p.by}, p.g);
    if (!c.ok) continue;
    Real b = ux * c.c.x + uy * c.c.y;
    Real d = b * b - (c.c.x * c.c.x + c.c.y * c.c.y - c.r * c.r);
    if (d < 0) continue;
    Real a0 = std::atan2(p.ay - c.c.y, p.ax - c.c.x);
    for (Real t : {b + std::sqrt(d), b - std::sqrt(d)}) {
      if (t <= 0) continue;
      Real a = std::atan2(t * uy - c.c.y, t * ux - c.c.x);
      // Is a within the sweep from a0 by g?
      Real rel = p.g > 0 ? Norm2Pi(a - a0) : Norm2Pi(a0 - a);
      if (rel <= std::fabs(p.g) + 1e-12L) best = std::max(best, t);
    }
  }
  return best;
}

}  // namespace

bool LoopToPolarPoints(const std::vector<ContourPiece>& loop, std::vector<PolarPoint>& points,
                       int& count, std::string& message, int samples) {
  samples = std::clamp(samples, 3, kMaxPolar);
  points.assign(kMaxPolar + 1, PolarPoint{});
  bool straight = std::all_of(loop.begin(), loop.end(), [](const ContourPiece& p) { return p.g == 0; });
  if (straight && static_cast<int>(loop.size()) <= kMaxPolar) {
    // The corners themselves, when their angles rise once around the origin.
    std::vector<PolarPoint> c;
    for (const ContourPiece& p : loop) c.push_back({Norm2Pi(std::atan2(p.ay, p.ax)), std::hypot(p.ax, p.ay)});
    bool rising = true;
    for (size_t i = 1; i < c.size(); ++i)
      if (!(c[i].phi > c[i - 1].phi)) rising = false;
    if (rising && c.size() >= 3) {
      for (size_t i = 0; i < c.size(); ++i) points[i + 1] = c[i];
      count = static_cast<int>(c.size());
      return true;
    }
  }
  for (int k = 0; k < samples; ++k) {
    Real phi = 2 * kPi * k / samples;
    Real r = RayRadius(loop, phi);
    if (r < 0) {
      message = "DXF: Strahl vom Nullpunkt trifft die Kontur nicht, Richtung " +
                FormatGeneral(NumberStyle{}, phi * 180 / kPi) + "\xF8";
      return false;
    }
    points[static_cast<size_t>(k + 1)] = {phi, r};
  }
  count = samples;
  return true;
}

bool ImportDxfFile(const std::string& path, int kind, CamProject& project, std::string& message) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    message = "Datei " + Utf8ToCp850(path) + " nicht gefunden oder kein Zugriffsrecht !";
    return false;
  }
  in.seekg(0, std::ios::end);
  std::streamoff size = in.tellg();
  in.seekg(0);
  if (size < 0 || size > kMaxFileBytes) {
    message = "DXF: Datei zu gro\xE1 oder nicht lesbar";
    return false;
  }
  std::string text(static_cast<size_t>(size), '\0');
  in.read(text.data(), size);
  DxfReadResult r = ReadDxf(text);
  if (!r.error.empty()) {
    message = r.error;
    return false;
  }
  if (r.tooManyVertices) {
    message = "Elements > 100000 !";
    return false;
  }
  if (r.badNumberLine > 0) {
    message = "DXF: ung\x81ltige Zahl in Zeile " + std::to_string(r.badNumberLine);
    return false;
  }
  if (!r.sawEof) {
    message = "DXF: Datei unvollst\x84ndig (EOF fehlt)";
    return false;
  }
  std::vector<ContourPiece> loop;
  if (!DxfContourLoop(r, loop, message)) return false;
  if (kind == ctPoints) {
    std::vector<ContourPoint> pts;
    int n = 0;
    if (!LoopToBasePoints(loop, pts, n, message)) return false;
    project.basePoints = std::move(pts);
    project.basePointCount = static_cast<std::uint16_t>(n);
  } else {
    std::vector<PolarPoint> pts;
    int n = 0;
    if (!LoopToPolarPoints(loop, pts, n, message)) return false;
    project.prPoints = std::move(pts);
    project.prCount = n;
  }
  return true;
}

namespace {

bool ChooseAndImport(DxfImportContext& ctx, int kind, CamProject& target) {
  FileDialog d;
  d.caption = "Import DXF";
  d.directory = ctx.directory.empty() ? ctx.settings.cadDir : ctx.directory;
  d.filter = "*.dxf|*.dxf|*.*|*.*";
  auto chosen = ctx.ui.port().openFile(d);
  if (!chosen || chosen->empty()) {
    ctx.flags.abortFlag = true;
    return false;
  }
  std::string message;
  if (!ImportDxfFile(*chosen, kind, target, message)) {
    ctx.ui.showError(message);
    ctx.flags.abortFlag = true;
    return false;
  }
  return true;
}

}  // namespace

bool ImportDxfContour(DxfImportContext& ctx, int kind) {
  if (kind != ctPoints && kind != ctPolarPoints) return false;
  ctx.flags.abortFlag = false;
  ctx.flags.calcError = false;
  if (ctx.saveQuestion && !ctx.saveQuestion()) {
    ctx.flags.abortFlag = true;
    return false;
  }
  // Import into a copy: a failed import leaves the project as it was.
  CamProject copy = ctx.project;
  if (!ChooseAndImport(ctx, kind, copy)) return false;
  copy.curveType = static_cast<std::uint16_t>(kind);
  copy.calc.linearize = true;
  ctx.project = std::move(copy);
  ctx.flags.modified = false;
  return true;
}

bool ImportDxfIntoTable(DxfImportContext& ctx, int kind) {
  if (kind != ctPoints && kind != ctPolarPoints) return false;
  ctx.flags.calcError = false;
  if (ctx.writeProject && !ctx.writeProject()) {
    ctx.flags.abortFlag = false;
    return false;
  }
  CamProject copy = ctx.project;
  if (!ChooseAndImport(ctx, kind, copy)) return false;
  if (kind == ctPoints) {
    ctx.project.basePoints = std::move(copy.basePoints);
    ctx.project.basePointCount = copy.basePointCount;
  } else {
    ctx.project.prPoints = std::move(copy.prPoints);
    ctx.project.prCount = copy.prCount;
  }
  return true;
}

}  // namespace kamo
