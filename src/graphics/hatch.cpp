// Hatching: boundary collection with arcs, even-odd filling.
#include "graphics/hatch.h"

#include <algorithm>
#include <cmath>

#include "cam/kamorech.h"

namespace kamo {

void Hatch::HatchBegin() {
  pendingArcAngle_ = 0;
  count_ = 0;
  pool_.clear();
}

void Hatch::add(Real x, Real y) {
  if (count_ < kPoolSize) {
    pool_.push_back({x, y});
  } else {
    messages_.add("Schraffurfehler");
  }
  if (count_ < 32000) ++count_;
}

void Hatch::HatchPoint(Real x, Real y, Real arcAngle) {
  if (count_ >= 1 && !pool_.empty() && pendingArcAngle_ != 0) {
    XY p = pool_.back();
    ArcCentre c = GetArcCenter(p, {x, y}, pendingArcAngle_);
    if (c.ok) {
      Real deg = std::fabs(pendingArcAngle_) * 180 / kPi;
      long n = std::max(3L, std::lround(static_cast<double>(deg / 10)));
      for (long k = 0; k <= n; ++k) {
        Real a = c.start + static_cast<Real>(k) * pendingArcAngle_ / static_cast<Real>(n);
        add(c.c.x + c.r * std::cos(a), c.c.y + c.r * std::sin(a));
      }
    } else {
      add(x, y);
    }
  } else {
    add(x, y);
  }
  pendingArcAngle_ = arcAngle;
}

void Hatch::HatchPointMapped(const FrameMap& map, Real x, Real y, Real arcAngle) {
  HatchPoint(map.X(x), map.Y(y), arcAngle);
}

void Hatch::HatchFill(int count, Real spacing, Real angle) {
  int n = count == 0 ? count_ : count;
  cad_.CadSaveLayer();
  if (n > kPoolSize || n > static_cast<int>(pool_.size())) {
    messages_.add("Fatal  : n schraff !");
    return;
  }
  if (n < 2) {
    cad_.CadRestoreLayer();
    return;
  }
  std::vector<XY> p(pool_.begin(), pool_.begin() + n);
  if (p.back().x != p.front().x || p.back().y != p.front().y) {
    // The closing point needs its own place in the pool.
    if (n + 1 > kPoolSize) {
      messages_.add("Fatal  : n schraff !");
      return;
    }
    p.push_back(p.front());
  }
  Real phi = angle * kPi / 180;
  Real m = std::tan(phi);
  cad_.CadLayer(5);
  cad_.CadBeginPolyline(0);
  for (const XY& q : p) cad_.CadVertex(q.x, q.y, 0);
  cad_.CadEndPolyline();
  Real cmin = 0, cmax = 0;
  for (size_t i = 0; i < p.size(); ++i) {
    Real c = p[i].y - m * p[i].x;
    if (i == 0 || c < cmin) cmin = c;
    if (i == 0 || c > cmax) cmax = c;
  }
  if (phi == 0) {
    cad_.CadRestoreLayer();
    return;
  }
  Real step = spacing != 0 ? spacing / std::cos(phi) : (cmax - cmin) / 10;
  step = std::fabs(step);
  if (!(step > 0) || !std::isfinite(step) || !std::isfinite(cmin) || !std::isfinite(cmax) ||
      (cmax - cmin) / step > 1e6L) {
    cad_.CadRestoreLayer();
    return;
  }
  Real dirA = std::fmod(phi, 2 * kPi);
  if (dirA < 0) dirA += 2 * kPi;
  Real dirB = std::fmod(dirA + kPi, 2 * kPi);
  cad_.CadLayer(3);
  // The hatch lines y = m x + w that can cut each edge lie in a band of w;
  // the band is widened by far more than the rounding of the cut below, so
  // that an edge outside it is one the cut would not count either.
  const Real wMax = std::max(std::fabs(cmin), std::fabs(cmax)) + step;
  std::vector<Real> bandLo(p.size()), bandHi(p.size());
  for (size_t i = 1; i < p.size(); ++i) {
    const XY& a = p[i - 1];
    const XY& b = p[i];
    Real lo = 0, hi = 0, size = wMax;
    if (std::fabs(b.x - a.x) < 1e-6L) {
      const Real u = m * a.x;
      lo = std::min(a.y, b.y) - u;
      hi = std::max(a.y, b.y) - u;
      size += std::fabs(a.y) + std::fabs(b.y) + std::fabs(u);
    } else {
      const Real s = (b.y - a.y) / (b.x - a.x);
      const Real k = a.y - s * a.x;
      const Real wa = k - (m - s) * a.x, wb = k - (m - s) * b.x;
      lo = std::min(wa, wb);
      hi = std::max(wa, wb);
      size += std::fabs(k) + std::fabs(m - s) * (std::fabs(a.x) + std::fabs(b.x));
    }
    bandLo[i] = lo - 1e-12L * size;
    bandHi[i] = hi + 1e-12L * size;
  }
  std::vector<XY> cuts;
  Real w = cmin;
  do {
    w += step;
    cuts.clear();
    for (size_t i = 1; i < p.size(); ++i) {
      if (w < bandLo[i] || w > bandHi[i]) continue;
      const XY& a = p[i - 1];
      const XY& b = p[i];
      XY cut;
      bool counts = false;
      if (std::fabs(b.x - a.x) < 1e-6L) {
        cut = {a.x, m * a.x + w};
        counts = (a.y < cut.y && cut.y < b.y) || (b.y < cut.y && cut.y < a.y);
      } else {
        Real s = (b.y - a.y) / (b.x - a.x);
        Real k = a.y - s * a.x;
        if (s != m) {
          cut.x = (k - w) / (m - s);
          cut.y = s * cut.x + k;
          counts = (a.x < cut.x && cut.x < b.x) || (b.x < cut.x && cut.x < a.x);
        }
      }
      if (!counts) continue;
      if (static_cast<int>(cuts.size()) >= kMaxCuts) {
        messages_.add("Fatal  : schraff schnittp");
        flags_.abortFlag = true;
        return;
      }
      cuts.push_back(cut);
    }
    if (cuts.size() >= 2) {
      XY ref = *std::min_element(cuts.begin(), cuts.end(), [](const XY& u, const XY& v) { return u.x < v.x; });
      std::sort(cuts.begin(), cuts.end(), [&](const XY& u, const XY& v) {
        return std::hypot(u.x - ref.x, u.y - ref.y) < std::hypot(v.x - ref.x, v.y - ref.y);
      });
      for (size_t i = 0; i + 1 < cuts.size(); i += 2) {
        const XY& a = cuts[i];
        const XY& b = cuts[i + 1];
        if (a.x == b.x && a.y == b.y) continue;
        Real d = std::atan2(b.y - a.y, b.x - a.x);
        if (d < 0) d += 2 * kPi;
        auto near = [](Real u, Real v) {
          Real e = std::fabs(u - v);
          return e < 1e-5L || std::fabs(e - 2 * kPi) < 1e-5L;
        };
        if (near(d, dirA) || near(d, dirB)) cad_.CadLine(a.x, a.y, b.x, b.y);
      }
    }
  } while (w < cmax);
  cad_.CadRestoreLayer();
}

void Hatch::HatchFillMapped(const FrameMap& map, int count, Real spacing, Real angle) {
  HatchFill(count, spacing / (map.xmax - map.xmin) * map.W, angle);
}

void Hatch::HatchRect(Real x1, Real y1, Real x2, Real y2, Real spacing, Real angle) {
  HatchBegin();
  add(x1, y1);
  add(x2, y1);
  add(x2, y2);
  add(x1, y2);
  if (spacing == 0) spacing = std::round(std::max(std::fabs(x2 - x1), std::fabs(y2 - y1)) / 8);
  HatchFill(4, spacing, angle);
}

}  // namespace kamo
