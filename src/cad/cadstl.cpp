// STL output: side walls of every line, the closed cam solid with its
// triangulated top and bottom, and the cam commands.
#include "cad/cadstl.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <unordered_map>
#include <utility>

#include "cad/cad.h"
#include "core/identity.h"

namespace kamo {

std::string StlNumber(Real x, int decimals) {
  double v = static_cast<double>(x);
  if (!std::isfinite(v) || v == 0) v = 0;
  char buf[64];
  auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific, decimals);
  std::string s(buf, r.ptr);
  for (char& c : s)
    if (c == 'e') c = 'E';
  return s;
}

// ---------------------------------------------------------------- triangulation
// Ear clipping of one polygon with holes bridged into it (the holes are
// joined to the outline by a pair of coincident edges, then ears are cut).

namespace {

struct Node {
  int i;
  double x, y;
  int prev, next;
  bool removed = false;
};

struct Ring {
  std::vector<Node>& n;
  double area(int p, int q, int r) const {
    return (n[q].y - n[p].y) * (n[r].x - n[q].x) - (n[q].x - n[p].x) * (n[r].y - n[q].y);
  }
  bool same(int a, int b) const { return n[a].x == n[b].x && n[a].y == n[b].y; }
};

bool PointInTriangle(double ax, double ay, double bx, double by, double cx, double cy, double px,
                     double py) {
  return (cx - px) * (ay - py) >= (ax - px) * (cy - py) &&
         (ax - px) * (by - py) >= (bx - px) * (ay - py) &&
         (bx - px) * (cy - py) >= (cx - px) * (by - py);
}

int Link(std::vector<Node>& nodes, const std::vector<StlPoint>& pts, int firstIndex) {
  int start = static_cast<int>(nodes.size());
  int count = static_cast<int>(pts.size());
  for (int k = 0; k < count; ++k) {
    Node nd{firstIndex + k, pts[static_cast<size_t>(k)].x, pts[static_cast<size_t>(k)].y,
            start + (k + count - 1) % count, start + (k + 1) % count};
    nodes.push_back(nd);
  }
  return start;
}

bool LocallyInside(const Ring& g, int a, int b) {
  const auto& n = g.n;
  return g.area(n[a].prev, a, n[a].next) < 0
             ? g.area(a, b, n[a].next) >= 0 && g.area(a, n[a].prev, b) >= 0
             : g.area(a, b, n[a].prev) < 0 || g.area(a, n[a].next, b) < 0;
}

// The outline vertex a hole's leftmost vertex can be joined to.
int HoleBridge(Ring& g, int hole, int outer) {
  auto& n = g.n;
  int p = outer, m = -1;
  double hx = n[hole].x, hy = n[hole].y, qx = -INFINITY;
  do {
    int q = n[p].next;
    if (hy <= n[p].y && hy >= n[q].y && n[q].y != n[p].y) {
      double x = n[p].x + (hy - n[p].y) * (n[q].x - n[p].x) / (n[q].y - n[p].y);
      if (x <= hx && x > qx) {
        qx = x;
        m = n[p].x < n[q].x ? p : q;
        if (x == hx) return m;
      }
    }
    p = q;
  } while (p != outer);
  if (m < 0) return -1;
  int stop = m;
  double mx = n[m].x, my = n[m].y, tanMin = INFINITY;
  p = m;
  do {
    if (hx >= n[p].x && n[p].x >= mx && hx != n[p].x &&
        PointInTriangle(hy < my ? hx : qx, hy, mx, my, hy < my ? qx : hx, hy, n[p].x, n[p].y)) {
      double t = std::fabs(hy - n[p].y) / (hx - n[p].x);
      if (LocallyInside(g, p, hole) && (t < tanMin || (t == tanMin && n[p].x > n[m].x))) {
        m = p;
        tanMin = t;
      }
    }
    p = n[p].next;
  } while (p != stop);
  return m;
}

// Joins b's ring into a's by the edges a -> b and b' -> a'.
void Split(std::vector<Node>& n, int a, int b) {
  int a2 = static_cast<int>(n.size());
  n.push_back(n[static_cast<size_t>(a)]);
  int b2 = a2 + 1;
  n.push_back(n[static_cast<size_t>(b)]);
  int an = n[a].next, bp = n[b].prev;
  n[a].next = b;
  n[b].prev = a;
  n[a2].next = an;
  n[an].prev = a2;
  n[b2].next = a2;
  n[a2].prev = b2;
  n[bp].next = b2;
  n[b2].prev = bp;
}

bool IsEar(const Ring& g, int ear) {
  const auto& n = g.n;
  int a = n[ear].prev, b = ear, c = n[ear].next;
  if (g.area(a, b, c) >= 0) return false;
  for (int p = n[c].next; p != a; p = n[p].next) {
    if (g.same(p, a) || g.same(p, b) || g.same(p, c)) continue;
    if (PointInTriangle(n[a].x, n[a].y, n[b].x, n[b].y, n[c].x, n[c].y, n[p].x, n[p].y) &&
        g.area(n[p].prev, p, n[p].next) >= 0)
      return false;
  }
  return true;
}

// How fat a triangle is: its height over its longest edge, times two
// (1 for a right isosceles triangle, 0 for a needle).
double Fatness(const StlPoint& a, const StlPoint& b, const StlPoint& c) {
  double cross = (b.x - a.x) * (c.y - a.y) - (c.x - a.x) * (b.y - a.y);
  double l2 = std::max({(b.x - a.x) * (b.x - a.x) + (b.y - a.y) * (b.y - a.y),
                        (c.x - b.x) * (c.x - b.x) + (c.y - b.y) * (c.y - b.y),
                        (c.x - a.x) * (c.x - a.x) + (c.y - a.y) * (c.y - a.y)});
  return l2 > 0 ? cross / l2 : 0;
}

// Turns inner edges while that makes the thinner of their two triangles
// fatter: ear clipping likes long slivers from one corner to a row of close
// points, the turned edges join near points instead. Each turn raises the
// sorted list of fatnesses, so the loop ends.
void FattenTriangles(const std::vector<StlPoint>& p, std::vector<std::array<int, 3>>& tris) {
  struct Sides {
    int t[2] = {-1, -1};
    bool frozen = false;  // more than two triangles: never turned
  };
  auto key = [](int a, int b) {
    if (a > b) std::swap(a, b);
    return (static_cast<std::uint64_t>(static_cast<std::uint32_t>(a)) << 32) | static_cast<std::uint32_t>(b);
  };
  std::unordered_map<std::uint64_t, Sides> edges;
  edges.reserve(tris.size() * 2);
  auto link = [&](int t, bool on) {
    for (int k = 0; k < 3; ++k) {
      Sides& s = edges[key(tris[static_cast<size_t>(t)][k], tris[static_cast<size_t>(t)][(k + 1) % 3])];
      if (on) {
        if (s.t[0] < 0) s.t[0] = t;
        else if (s.t[1] < 0) s.t[1] = t;
        else s.frozen = true;
      } else {
        if (s.t[0] == t) s.t[0] = -1;
        else if (s.t[1] == t) s.t[1] = -1;
      }
    }
  };
  for (size_t t = 0; t < tris.size(); ++t) link(static_cast<int>(t), true);
  std::vector<std::pair<int, int>> todo;
  for (const auto& t : tris)
    for (int k = 0; k < 3; ++k) todo.emplace_back(t[k], t[(k + 1) % 3]);
  auto P = [&p](int i) -> const StlPoint& { return p[static_cast<size_t>(i)]; };
  // Rotates triangle t so that it runs a -> b -> third; false when a -> b is not one of its edges.
  auto third = [&tris](int t, int a, int b, int& c) {
    const auto& v = tris[static_cast<size_t>(t)];
    for (int k = 0; k < 3; ++k)
      if (v[k] == a && v[(k + 1) % 3] == b) {
        c = v[(k + 2) % 3];
        return true;
      }
    return false;
  };
  size_t limit = 50 * tris.size() + 1000;  // a guard only: the loop ends by itself
  while (!todo.empty() && limit-- > 0) {
    auto [a, b] = todo.back();
    todo.pop_back();
    auto it = edges.find(key(a, b));
    if (it == edges.end() || it->second.frozen || it->second.t[0] < 0 || it->second.t[1] < 0) continue;
    int t1 = it->second.t[0], t2 = it->second.t[1], c = -1, d = -1;
    if (!third(t1, a, b, c)) std::swap(t1, t2);
    if (!third(t1, a, b, c) || !third(t2, b, a, d) || c == d) continue;
    // The turned edge c - d must leave both new triangles counter-clockwise.
    double before = std::min(Fatness(P(a), P(b), P(c)), Fatness(P(b), P(a), P(d)));
    double after = std::min(Fatness(P(c), P(a), P(d)), Fatness(P(d), P(b), P(c)));
    if (!(after > before * (1 + 1e-9) + 1e-15)) continue;
    // c and d joined elsewhere already (the two sides of a hole's bridge).
    auto cd = edges.find(key(c, d));
    if (cd != edges.end() && (cd->second.frozen || cd->second.t[0] >= 0 || cd->second.t[1] >= 0)) continue;
    link(t1, false);
    link(t2, false);
    tris[static_cast<size_t>(t1)] = {c, a, d};
    tris[static_cast<size_t>(t2)] = {d, b, c};
    link(t1, true);
    link(t2, true);
    todo.insert(todo.end(), {{a, d}, {d, b}, {b, c}, {c, a}});
  }
}

}  // namespace

std::vector<std::array<int, 3>> TriangulateRegion(const std::vector<StlPoint>& outer,
                                                  const std::vector<std::vector<StlPoint>>& holes) {
  std::vector<std::array<int, 3>> tris;
  if (outer.size() < 3) return tris;
  std::vector<Node> nodes;
  nodes.reserve(outer.size() * 2 + 16);
  int start = Link(nodes, outer, 0);
  int base = static_cast<int>(outer.size());
  std::vector<int> holeStarts;
  for (const auto& h : holes) {
    if (h.size() >= 3) {
      int s = Link(nodes, h, base);
      int left = s;
      for (int k = s; k < s + static_cast<int>(h.size()); ++k)
        if (nodes[k].x < nodes[left].x || (nodes[k].x == nodes[left].x && nodes[k].y < nodes[left].y))
          left = k;
      holeStarts.push_back(left);
    }
    base += static_cast<int>(h.size());
  }
  Ring g{nodes};
  std::sort(holeStarts.begin(), holeStarts.end(),
            [&nodes](int a, int b) { return nodes[a].x < nodes[b].x; });
  for (int h : holeStarts) {
    int bridge = HoleBridge(g, h, start);
    if (bridge < 0) continue;
    Split(nodes, bridge, h);
  }
  int remaining = 0;
  for (int p = start;;) {
    ++remaining;
    p = nodes[p].next;
    if (p == start) break;
  }
  int ear = start, stop = start;
  auto remove = [&nodes](int p) {
    nodes[nodes[p].prev].next = nodes[p].next;
    nodes[nodes[p].next].prev = nodes[p].prev;
    nodes[p].removed = true;
  };
  while (remaining > 2) {
    int prev = nodes[ear].prev, next = nodes[ear].next;
    if (IsEar(g, ear)) {
      tris.push_back({nodes[prev].i, nodes[ear].i, nodes[next].i});
      remove(ear);
      --remaining;
      ear = nodes[next].next;
      stop = ear;
      continue;
    }
    ear = next;
    if (ear == stop) {
      // No ear left: the rest is degenerate or self-touching. Cut the
      // flattest convex corner so that the outline stays connected.
      int best = -1;
      double bestArea = INFINITY;
      int p = ear;
      do {
        double a = -g.area(nodes[p].prev, p, nodes[p].next);
        if (a >= 0 && a < bestArea) {
          bestArea = a;
          best = p;
        }
        p = nodes[p].next;
      } while (p != ear);
      if (best < 0) break;
      if (bestArea > 0)
        tris.push_back({nodes[nodes[best].prev].i, nodes[best].i, nodes[nodes[best].next].i});
      ear = nodes[best].next;
      remove(best);
      --remaining;
      stop = ear;
    }
  }
  std::vector<StlPoint> all = outer;
  for (const auto& h : holes) all.insert(all.end(), h.begin(), h.end());
  FattenTriangles(all, tris);
  return tris;
}

// ---------------------------------------------------------------- writer

StlWriter::StlWriter(CadWriterContext ctx) : ctx_(std::move(ctx)) {
  ascii_ = ctx_.settings && ctx_.settings->stlType == 1;
}

void StlWriter::facet(const V3& n, const V3& a, const V3& b, const V3& c) {
  ++facetCount_;
  if (ascii_) {
    // The closed solid keeps every bit of its vertices, so that it stays closed.
    int d = ctx_.closedSolid ? 8 : 2;
    auto vec = [d](const V3& v) {
      return StlNumber(v[0], d) + " " + StlNumber(v[1], d) + " " + StlNumber(v[2], d);
    };
    body_ += "  facet normal " + vec(n) + "\r\n    outer loop\r\n";
    for (const V3* v : {&a, &b, &c}) body_ += "      vertex " + vec(*v) + "\r\n";
    body_ += "    endloop\r\n  endfacet\r\n";
    return;
  }
  char rec[50];
  const V3* parts[4] = {&n, &a, &b, &c};
  for (int k = 0; k < 4; ++k) std::memcpy(rec + 12 * k, parts[k]->data(), 12);
  rec[48] = rec[49] = 'X';
  body_.append(rec, sizeof rec);
}

bool AskExtrusionHeight(const CadWriterContext& ctx, Real& height, bool& cancelled) {
  Real h = height;
  if (!ctx.batch && !ctx.ui->inputLength("H\x94he", h, 0, 1000)) {
    ctx.ui->flags().abortFlag = false;
    cancelled = true;
    h = height;
  }
  height = h;
  if (!(h > 0)) {
    ctx.ui->showError("STL: H\x94he 0 ergibt keine Fl\x84" "chen");
    return false;
  }
  return true;
}

bool StlWriter::ExtrusionHeight(Real& height, bool& cancelled) {
  // The walls need a height: the prompt is always asked, and 0 is refused.
  return AskExtrusionHeight(ctx_, height, cancelled);
}

void StlWriter::Line(Real x1, Real y1, Real x2, Real y2) {
  if (ctx_.closedSolid) {
    lines_.push_back({x1, y1, x2, y2});
    return;
  }
  Real L = std::sqrt((x2 - x1) * (x2 - x1) + (y2 - y1) * (y2 - y1));
  // Rounding leftovers of segmented arcs are no walls.
  Real scale = std::max({Real(1), std::fabs(x1), std::fabs(y1), std::fabs(x2), std::fabs(y2)});
  if (!(L > 1e-9L * scale) || !std::isfinite(L)) return;
  auto f = [](Real v) { return static_cast<float>(v); };
  // A wall thinner than the file can tell apart would only be a sliver.
  if (f(x1) == f(x2) && f(y1) == f(y2)) return;
  // The wall faces to the right of the line: out of the material of a
  // counter-clockwise outline and of a clockwise bore, as in the closed solid.
  V3 n{f((y2 - y1) / L), f((x1 - x2) / L), 0};
  V3 p10{f(x1), f(y1), f(z0_)}, p11{f(x1), f(y1), f(z1_)};
  V3 p20{f(x2), f(y2), f(z0_)}, p21{f(x2), f(y2), f(z1_)};
  facet(n, p10, p20, p11);
  facet(n, p20, p21, p11);
}

namespace {

double SignedArea(const std::vector<StlPoint>& p) {
  double a = 0;
  for (size_t i = 0, j = p.size() - 1; i < p.size(); j = i++) a += p[j].x * p[i].y - p[i].x * p[j].y;
  return a / 2;
}

bool Inside(const std::vector<StlPoint>& poly, StlPoint q) {
  bool in = false;
  for (size_t i = 0, j = poly.size() - 1; i < poly.size(); j = i++) {
    const StlPoint& a = poly[i];
    const StlPoint& b = poly[j];
    if ((a.y > q.y) != (b.y > q.y) && q.x < (b.x - a.x) * (q.y - a.y) / (b.y - a.y) + a.x) in = !in;
  }
  return in;
}

// A point whose distance from its neighbours' chord is below this share of the
// longest of the three edges (and below the coordinates' resolution) counts as on it.
constexpr double kFlatTriangle = 1e-4;

// Whether b lies on the line from a to c as far as the file can tell: a cap
// triangle a, b, c would be a needle (tol: the coordinates' resolution).
bool OnChord(StlPoint a, StlPoint b, StlPoint c, double tol) {
  double cross = (b.x - a.x) * (c.y - a.y) - (c.x - a.x) * (b.y - a.y);
  double longest = std::max({std::hypot(b.x - a.x, b.y - a.y), std::hypot(c.x - b.x, c.y - b.y),
                             std::hypot(c.x - a.x, c.y - a.y)});
  if (!(longest > 0)) return true;
  double height = std::fabs(cross) / longest;
  return height <= tol && height <= kFlatTriangle * longest;
}

// Leaves out the points of a ring that lie on the chord of their neighbours
// (collinear points of straight sides), so that walls and caps share the
// points that remain and no cap triangle is a needle.
void DropPointsOnChords(std::vector<StlPoint>& ring, double tol) {
  for (bool dropped = true; dropped && ring.size() > 3;) {
    dropped = false;
    std::vector<StlPoint> kept;
    kept.reserve(ring.size());
    for (size_t i = 0; i < ring.size(); ++i) {
      StlPoint a = kept.empty() ? ring.back() : kept.back();
      StlPoint c = i + 1 < ring.size() || kept.empty() ? ring[(i + 1) % ring.size()] : kept.front();
      if (ring.size() - (i + 1 - kept.size()) >= 3 && OnChord(a, ring[i], c, tol)) {
        dropped = true;
        continue;
      }
      kept.push_back(ring[i]);
    }
    ring = std::move(kept);
  }
}

}  // namespace

// The lines are joined into closed rings (in drawing order, ends within a
// small tolerance); open chains cannot bound material and are left out.
void StlWriter::closedSolid() {
  double lo = INFINITY, hi = -INFINITY;
  for (const auto& l : lines_)
    for (Real v : l) {
      lo = std::min(lo, static_cast<double>(v));
      hi = std::max(hi, static_cast<double>(v));
    }
  double tol = 1e-6 * std::max(1.0, hi - lo);
  auto near = [tol](StlPoint a, StlPoint b) {
    return std::fabs(a.x - b.x) <= tol && std::fabs(a.y - b.y) <= tol;
  };
  auto pt = [](Real x, Real y) {
    return StlPoint{static_cast<float>(x), static_cast<float>(y)};
  };
  std::vector<std::vector<StlPoint>> chains;
  for (const auto& l : lines_) {
    StlPoint a = pt(l[0], l[1]), b = pt(l[2], l[3]);
    // Edges shorter than the tolerance would give walls without a direction.
    if (near(a, b)) continue;
    if (!chains.empty() && near(chains.back().back(), a)) {
      chains.back().push_back(b);
    } else {
      chains.push_back({a, b});
    }
  }
  // Chains that continue one another out of drawing order.
  for (bool joined = true; joined;) {
    joined = false;
    for (size_t i = 0; i < chains.size() && !joined; ++i) {
      if (chains[i].empty() || near(chains[i].front(), chains[i].back())) continue;
      for (size_t j = 0; j < chains.size(); ++j) {
        if (i == j || chains[j].empty() || !near(chains[i].back(), chains[j].front())) continue;
        chains[i].insert(chains[i].end(), chains[j].begin() + 1, chains[j].end());
        chains[j].clear();
        joined = true;
        break;
      }
    }
  }
  std::vector<std::vector<StlPoint>> rings;
  for (auto& c : chains) {
    if (c.size() < 4 || !near(c.front(), c.back())) continue;
    c.pop_back();
    DropPointsOnChords(c, tol);
    if (c.size() < 3 || std::fabs(SignedArea(c)) <= tol * tol) continue;
    rings.push_back(std::move(c));
  }
  // Nesting depth decides: even depth bounds material from outside, odd depth is a hole.
  size_t n = rings.size();
  std::vector<int> depth(n, 0);
  for (size_t i = 0; i < n; ++i)
    for (size_t j = 0; j < n; ++j)
      if (i != j && Inside(rings[j], rings[i][0])) ++depth[i];
  for (size_t i = 0; i < n; ++i) {
    bool ccw = SignedArea(rings[i]) > 0;
    bool hole = depth[i] % 2 == 1;
    if (ccw == hole) std::reverse(rings[i].begin(), rings[i].end());
  }
  float z0 = static_cast<float>(z0_), z1 = static_cast<float>(z1_);
  // Walls face out of the material: to the right of the ring direction.
  for (const auto& r : rings) {
    for (size_t k = 0; k < r.size(); ++k) {
      StlPoint a = r[k], b = r[(k + 1) % r.size()];
      double dx = b.x - a.x, dy = b.y - a.y, L = std::hypot(dx, dy);
      if (!(L > 0)) continue;
      V3 nrm{static_cast<float>(dy / L), static_cast<float>(-dx / L), 0};
      V3 a0{static_cast<float>(a.x), static_cast<float>(a.y), z0};
      V3 a1{a0[0], a0[1], z1};
      V3 b0{static_cast<float>(b.x), static_cast<float>(b.y), z0};
      V3 b1{b0[0], b0[1], z1};
      facet(nrm, a0, b0, a1);
      facet(nrm, b0, b1, a1);
    }
  }
  for (size_t i = 0; i < n; ++i) {
    if (depth[i] % 2 == 1) continue;
    std::vector<std::vector<StlPoint>> holes;
    for (size_t j = 0; j < n; ++j)
      if (depth[j] == depth[i] + 1 && Inside(rings[i], rings[j][0])) holes.push_back(rings[j]);
    std::vector<StlPoint> all = rings[i];
    for (const auto& h : holes) all.insert(all.end(), h.begin(), h.end());
    for (const auto& t : TriangulateRegion(rings[i], holes)) {
      auto v = [&all](int k, float z) {
        const StlPoint& p = all[static_cast<size_t>(k)];
        return V3{static_cast<float>(p.x), static_cast<float>(p.y), z};
      };
      facet({0, 0, 1}, v(t[0], z1), v(t[1], z1), v(t[2], z1));
      facet({0, 0, -1}, v(t[0], z0), v(t[2], z0), v(t[1], z0));
    }
  }
}

bool StlWriter::Close(bool aborted) {
  if (aborted || !ctx_.ui) return false;
  if (ctx_.closedSolid) closedSolid();
  std::string out;
  if (ascii_) {
    out = std::string("solid ") + kStlSolidName + "\r\n" + body_ + "endsolid " + kStlSolidName + "\r\n";
  } else {
    std::string header = std::string(kStlHeaderText) + " - " + kProductName + " V" + kProgramVersion +
                         " cam disc";
    header.resize(80, ' ');
    out = header;
    std::uint32_t count = static_cast<std::uint32_t>(facetCount_);
    char c[4];
    for (int k = 0; k < 4; ++k) c[k] = static_cast<char>((count >> (8 * k)) & 0xFF);
    out.append(c, 4);
    out += body_;
  }
  body_.clear();
  lines_.clear();
  return WriteCadFile(*ctx_.ui, ctx_.fileName, out);
}

// ---------------------------------------------------------------- cam commands

bool StlCam(CadOutput& cad, CamProject& p, bool closed) { return CamBodyOutput(cad, p, kCadStl, closed, true); }

bool CamBodyOutput(CadOutput& cad, CamProject& p, int code, bool closed, bool withBore) {
  CadEnvironment& env = cad.environment();
  Flags& flags = *env.flags;
  const Real width = p.body.width;
  // (A width of 0 or less is the height prompt's "STL: Höhe 0 ...".)
  if (!(std::isfinite(width) && width <= kMaxCoordinate)) {
    env.ui->showError("STL: Breite oder Bohrung ung\x81ltig (nicht endlich, negativ oder > 1E12 mm)");
    flags.abortFlag = true;
    return false;
  }
  cad.setStlClosedSolid(closed);
  env.productName = p.drawing.zeichname;
  cad.CadOpen(code, "KAMO");
  cad.setStlClosedSolid(false);
  if (flags.abortFlag || !cad.open()) return false;
  const CamResults& r = p.results;
  cad.CadLayer(0);
  cad.CadWindow(r.xMin - 0.05 * r.xSize, r.yMin - 0.05 * r.ySize, r.xMax + 0.05 * r.xSize,
                r.yMax + 0.05 * r.ySize, p.body.width);
  cad.CadTables(2);
  cad.CadBeginBlocks();
  cad.CadEndSection();
  cad.CadBeginEntities();
  Real bore = p.body.bore;
  if (!flags.abortFlag && !env.batch && withBore) {
    Real d = bore;
    // A cancelled prompt keeps the stored bore.
    if (env.ui->inputLength("Bohrungsdurchmesser", d, 0, 1000)) {
      p.body.bore = d;
      bore = d;
    } else {
      flags.abortFlag = false;
    }
  }
  // A body that cannot exist is refused rather than written inside out or
  // with infinite vertices.
  if (!flags.abortFlag && withBore && !(std::isfinite(bore) && bore >= 0 && bore <= kMaxCoordinate)) {
    env.ui->showError("STL: Breite oder Bohrung ung\x81ltig (nicht endlich, negativ oder > 1E12 mm)");
    flags.abortFlag = true;
  }
  if (!flags.abortFlag && withBore && bore > 0 && !(bore < 2 * r.rMin)) {
    env.ui->showError("STL: Bohrung >= kleinster Durchmesser der Kurvenscheibe");
    flags.abortFlag = true;
  }
  // Without a bore the file gets a small one; the project keeps its 0.
  if (bore == 0) bore = std::min<Real>(0.01L * r.xSize, r.rMin);
  if (!flags.abortFlag) {
    int n = ClosedContourCount(p);
    // The walls face to the right of their lines: the contour runs
    // counter-clockwise (a clockwise one backwards, each arc with the point
    // it starts from), the bore clockwise.
    Real area = 0;
    for (int i = 1; i <= n; ++i) {
      const ContourPoint& a = p.basePoints[static_cast<size_t>(i)];
      const ContourPoint& b = p.basePoints[static_cast<size_t>(i < n ? i + 1 : 1)];
      area += a.x * b.y - b.x * a.y;
    }
    cad.CadLayer(5);
    cad.CadBeginPolyline(1);
    for (int k = 1; k <= n; ++k) {
      if (area >= 0) {
        const ContourPoint& q = p.basePoints[static_cast<size_t>(k)];
        cad.CadVertex(q.x, q.y, q.phi);
      } else {
        const ContourPoint& q = p.basePoints[static_cast<size_t>(n + 1 - k)];
        const ContourPoint& arc = p.basePoints[static_cast<size_t>(k < n ? n - k : n)];
        cad.CadVertex(q.x, q.y, -arc.phi);
      }
    }
    cad.CadEndPolyline();
    if (withBore && bore > 0) cad.CadHoleCircle(0, 0, bore / 2);
  }
  cad.CadEndSection();
  return cad.CadClose() && !flags.abortFlag;
}

}  // namespace kamo
