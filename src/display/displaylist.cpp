// Recording of the display list and the window/viewport transform.
#include "display/displaylist.h"

#include <charconv>
#include <cmath>

namespace kamo {

std::string DisplayReal(Real x) {
  if (!std::isfinite(x)) x = 0;
  if (std::fabs(x) < 1e-12L) x = 0;  // rounding noise of a millimetre value
  char buf[64];
  auto r = std::to_chars(buf, buf + sizeof buf, static_cast<double>(x), std::chars_format::general, 8);
  return std::string(buf, r.ptr);
}

DisplayRecord ParseDisplayRecord(std::string_view record) {
  DisplayRecord r;
  size_t semi = record.find(';');
  std::string_view code = record.substr(0, semi);
  int c = 0;
  auto res = std::from_chars(code.data(), code.data() + code.size(), c);
  if (res.ec != std::errc() || res.ptr != code.data() + code.size() || c < 1 || c > 13) return r;
  r.code = c;
  if (semi == std::string_view::npos) return r;
  std::string_view rest = record.substr(semi + 1);
  int n = 0;
  while (true) {
    // The text of record 6 is the rest after the second field, semicolons included.
    if (c == static_cast<int>(DisplayCode::Text) && n == 2) {
      r.fields.emplace_back(rest);
      break;
    }
    size_t p = rest.find(';');
    r.fields.emplace_back(rest.substr(0, p));
    ++n;
    if (p == std::string_view::npos) break;
    rest = rest.substr(p + 1);
  }
  return r;
}

bool ViewTransform::rescale() {
  if (wx0 == wx1 || wy0 == wy1 || vx1 == vx0 || vy1 == vy0) return false;
  Real vw = static_cast<Real>(vx1 - vx0), vh = static_cast<Real>(vy1 - vy0);
  ex0 = wx0 + (zx0 - vx0) / vw * (wx1 - wx0);
  ex1 = wx0 + (zx1 - vx0) / vw * (wx1 - wx0);
  ey0 = wy0 + (zy0 - vy0) / vh * (wy1 - wy0);
  ey1 = wy0 + (zy1 - vy0) / vh * (wy1 - wy0);
  if (ex1 == ex0 || ey1 == ey0) return false;
  sx = vw / (ex1 - ex0);
  sy = vh / (ey1 - ey0);
  if (isotropic && resY > 0) {
    Real k = 0.75L * resX / resY;
    if (sx >= k * sy)
      sx = k * sy;
    else
      sy = sx / k;
  }
  return true;
}

long ViewTransform::X(Real x) const { return std::lround(static_cast<double>((x - ex0) * sx)) + vx0; }
long ViewTransform::Y(Real y) const { return vy1 - std::lround(static_cast<double>((y - ey0) * sy)); }
long ViewTransform::LengthX(Real w) const { return std::lround(static_cast<double>(w * sx)); }
long ViewTransform::LengthY(Real h) const { return std::lround(static_cast<double>(h * sy)); }

void DisplayList::Clear() {
  records_.clear();
  colour_ = -1;
  lineStyle_ = 99;
  lineWidth_ = 1;
}

void DisplayList::add(DisplayCode code, std::initializer_list<Real> values) {
  std::string r = std::to_string(static_cast<int>(code));
  for (Real v : values) {
    r += ';';
    r += DisplayReal(v);
  }
  records_.push_back(std::move(r));
}

bool DisplayList::SetWindow(bool aspect, bool margin, Real vpx0, Real vpy0, Real vpx1, Real vpy1,
                            Real wx0, Real wy0, Real wx1, Real wy1) {
  if (wx0 == wx1 || wy0 == wy1) return false;
  ViewTransform& v = view_;
  v.vx0 = std::lround(static_cast<double>(vpx0 * v.resX));
  v.vx1 = std::lround(static_cast<double>(vpx1 * v.resX));
  v.vy0 = std::lround(static_cast<double>((1 - vpy1) * v.resY));
  v.vy1 = std::lround(static_cast<double>((1 - vpy0) * v.resY));
  if (margin) {
    ++v.vx0;
    --v.vx1;
    ++v.vy0;
    --v.vy1;
  }
  v.wx0 = wx0;
  v.wy0 = wy0;
  v.wx1 = wx1;
  v.wy1 = wy1;
  v.isotropic = aspect;
  v.zx0 = v.vx0;
  v.zx1 = v.vx1;
  v.zy0 = v.vy0;
  v.zy1 = v.vy1;
  v.rescale();
  std::string r = "10;" + std::to_string(v.vx0) + ";" + std::to_string(v.vy0) + ";" +
                  std::to_string(v.vx1) + ";" + std::to_string(v.vy1);
  for (Real w : {wx0, wy0, wx1, wy1}) r += ";" + DisplayReal(w);
  records_.push_back(std::move(r));
  return true;
}

bool DisplayList::Header(Real x0, Real y0, Real x1, Real y1) {
  if (!SetWindow(true, true, 0, 0, 1, 1, x0, y0, x1, y1)) return false;
  SetLineStyle(0);
  SaveLimit();
  return true;
}

void DisplayList::SaveLimit() {
  saved_[0] = view_.wx0;
  saved_[1] = view_.wy0;
  saved_[2] = view_.wx1;
  saved_[3] = view_.wy1;
}

bool DisplayList::RestoreLimit() {
  return SetWindow(true, true, 0, 0, 1, 1, saved_[0], saved_[1], saved_[2], saved_[3]);
}

void DisplayList::MoveTo(Real x, Real y) { add(DisplayCode::MoveTo, {x, y}); }
void DisplayList::LineTo(Real x, Real y) { add(DisplayCode::LineTo, {x, y}); }
void DisplayList::line(Real x1, Real y1, Real x2, Real y2) { add(DisplayCode::Line, {x1, y1, x2, y2}); }
void DisplayList::circle(Real x, Real y, Real r) { add(DisplayCode::Circle, {x, y, r}); }

void DisplayList::Arc(Real xc, Real yc, Real a1, Real a2, Real r, Real sweep) {
  if (sweep < 0) std::swap(a1, a2);
  Real p1 = a1 * kPi / 180, p2 = a2 * kPi / 180;
  Real xs = xc + r * std::cos(p1), ys = yc + r * std::sin(p1);
  Real xe = xc + r * std::cos(p2), ye = yc + r * std::sin(p2);
  if (std::fabs(sweep) >= 4) {
    add(DisplayCode::Arc, {xc - r, yc - r, xc + r, yc + r, xs, ys, xe, ye});
  } else {
    line(xs, ys, xe, ye);
  }
}

void DisplayList::OutTextXY(std::string_view text, Real x, Real y) {
  std::string r = "6;" + DisplayReal(x) + ";" + DisplayReal(y) + ";";
  r += text;
  records_.push_back(std::move(r));
}

void DisplayList::Solid(Real x1, Real y1, Real x2, Real y2, Real x3, Real y3, Real x4, Real y4) {
  add(DisplayCode::Solid, {x1, y1, x2, y2, x3, y3, x4, y4});
}

void DisplayList::Rectangle(Real x1, Real y1, Real x2, Real y2) {
  line(x1, y1, x2, y1);
  line(x2, y1, x2, y2);
  line(x2, y2, x1, y2);
  line(x1, y2, x1, y1);
}

void DisplayList::SetColor(int c) {
  if (c < 0 || c > colourCount || c == colour_) return;
  colour_ = c;
  records_.push_back("8;" + std::to_string(c));
}

void DisplayList::SetLineStyle(int n) {
  if (n == lineStyle_) return;
  lineStyle_ = n;
  records_.push_back("11;" + std::to_string(n));
}

void DisplayList::SetLineWidth(int n) {
  if (n == lineWidth_) return;
  lineWidth_ = n;
  records_.push_back("12;" + std::to_string(n));
}

void DisplayList::SetTextStyle(int kind, Real height, Real width, Real angle) {
  records_.push_back("9;" + DisplayReal(height) + ";" + DisplayReal(width) + ";" +
                     std::to_string(kind) + ";" + DisplayReal(angle));
}

void DisplayList::SleepMs(int ms) { records_.push_back("13;" + std::to_string(ms)); }

int CadColourToPalette(int n) {
  if (n > 16) n &= 15;
  switch (n) {
    case 0: return 0;
    case 1: return 12;
    case 2: return 14;
    case 3: return 10;
    case 4: return 11;
    case 5: return 9;
    case 6: return 13;
    case 7: return 15;
    case 16: return 16;
    default: return n >= 8 && n <= 15 ? n - 7 : 0;
  }
}

void DisplayList::SetCadColor(int n) { SetColor(CadColourToPalette(n)); }

int LineStyleOfName(std::string_view name) {
  if (name == "DOTTED" || name == "PUNKT") return 1;
  if (name == "CENTER" || name == "DASHDOT" || name == "STRICHPUNKT") return 2;
  if (name == "DASHED" || name == "HIDDEN" || name == "VERDECKT") return 3;
  return 0;
}

}  // namespace kamo
