// Recording and playing of the display list, its text form, and the window/viewport transform.
#include "display/displaylist.h"

#include <charconv>
#include <cmath>

namespace kamo {

namespace {
// A value as the list keeps it: rounding noise of a millimetre value is 0.
// What is no number (or none in double precision) stays so, and the record
// that carries it is left out (see keepIfFinite).
double Clean(Real x) {
  if (std::fabs(x) < 1e-12L) return 0;
  return static_cast<double>(x);
}

std::string RealText(double x) {
  char buf[64];
  auto r = std::to_chars(buf, buf + sizeof buf, x, std::chars_format::general, 8);
  return std::string(buf, r.ptr);
}

std::string IntText(double x) { return std::to_string(static_cast<long long>(x)); }
}  // namespace

std::string DisplayReal(Real x) { return RealText(Clean(x)); }

int DisplayFieldCount(DisplayCode code) {
  switch (code) {
    case DisplayCode::MoveTo:
    case DisplayCode::LineTo:
    case DisplayCode::Text: return 2;
    case DisplayCode::Circle: return 3;
    case DisplayCode::Line:
    case DisplayCode::TextStyle: return 4;
    case DisplayCode::Arc:
    case DisplayCode::Solid:
    case DisplayCode::Window: return 8;
    case DisplayCode::Colour:
    case DisplayCode::LineStyle:
    case DisplayCode::LineWidth:
    case DisplayCode::Sleep: return 1;
  }
  return 0;
}

std::string DisplayItemText(const DisplayItem& item, std::string_view text) {
  std::string r = std::to_string(static_cast<int>(item.code));
  int n = DisplayFieldCount(item.code);
  for (int i = 0; i < n; ++i) {
    r += ';';
    // Integers: the colour, styles, pause, the viewport of a window and the kind of a text style.
    bool whole = n == 1 || (item.code == DisplayCode::Window && i < 4) ||
                 (item.code == DisplayCode::TextStyle && i == 2);
    r += whole ? IntText(item.v[i]) : RealText(item.v[i]);
  }
  if (item.code == DisplayCode::Text) {
    r += ';';
    r += text;
  }
  return r;
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

std::string_view DisplayList::textOf(const DisplayItem& item) const {
  return item.code == DisplayCode::Text && item.text < texts_.size() ? std::string_view(texts_[item.text])
                                                                     : std::string_view();
}

std::vector<std::string> DisplayList::records() const {
  std::vector<std::string> r;
  r.reserve(items_.size());
  for (const DisplayItem& i : items_) r.push_back(DisplayItemText(i, textOf(i)));
  return r;
}

void DisplayList::Clear() {
  items_.clear();
  texts_.clear();
  penLost_ = false;
  colour_ = -1;
  lineStyle_ = 99;
  lineWidth_ = 1;
}

DisplayItem& DisplayList::add(DisplayCode code) {
  DisplayItem& i = items_.emplace_back();
  i.code = code;
  return i;
}

bool DisplayList::keepIfFinite() {
  const DisplayItem& i = items_.back();
  int n = DisplayFieldCount(i.code);
  for (int k = 0; k < n; ++k) {
    if (std::isfinite(i.v[k])) continue;
    if (i.code == DisplayCode::Text) texts_.pop_back();
    items_.pop_back();
    return false;
  }
  return true;
}

long PlayDisplayList(const DisplayList& list, DisplayBackend& backend, bool* stopped) {
  long n = 0;
  if (stopped) *stopped = false;
  for (const DisplayItem& i : list.items()) {
    ++n;
    if (!backend.Record(i, list.textOf(i))) {
      if (stopped) *stopped = true;
      break;
    }
  }
  return n;
}

bool DisplayList::SetWindow(bool aspect, bool margin, Real vpx0, Real vpy0, Real vpx1, Real vpy1,
                            Real wx0, Real wy0, Real wx1, Real wy1) {
  if (wx0 == wx1 || wy0 == wy1) return false;
  for (Real w : {wx0, wy0, wx1, wy1})
    if (!std::isfinite(static_cast<double>(w))) return false;
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
  DisplayItem& i = add(DisplayCode::Window);
  double* f = i.v;
  f[0] = static_cast<double>(v.vx0);
  f[1] = static_cast<double>(v.vy0);
  f[2] = static_cast<double>(v.vx1);
  f[3] = static_cast<double>(v.vy1);
  f[4] = Clean(wx0);
  f[5] = Clean(wy0);
  f[6] = Clean(wx1);
  f[7] = Clean(wy1);
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

void DisplayList::MoveTo(Real x, Real y) {
  double* v = add(DisplayCode::MoveTo).v;
  v[0] = Clean(x), v[1] = Clean(y);
  // Where the pen went is unknown: the next line starts afresh.
  penLost_ = !keepIfFinite();
}
void DisplayList::LineTo(Real x, Real y) {
  double* v = add(penLost_ ? DisplayCode::MoveTo : DisplayCode::LineTo).v;
  v[0] = Clean(x), v[1] = Clean(y);
  if (keepIfFinite()) penLost_ = false;
}
void DisplayList::line(Real x1, Real y1, Real x2, Real y2) {
  double* v = add(DisplayCode::Line).v;
  v[0] = Clean(x1), v[1] = Clean(y1), v[2] = Clean(x2), v[3] = Clean(y2);
  keepIfFinite();
}
void DisplayList::circle(Real x, Real y, Real r) {
  double* v = add(DisplayCode::Circle).v;
  v[0] = Clean(x), v[1] = Clean(y), v[2] = Clean(r);
  keepIfFinite();
}

void DisplayList::Arc(Real xc, Real yc, Real a1, Real a2, Real r, Real sweep) {
  if (sweep < 0) std::swap(a1, a2);
  Real p1 = DegToRad(a1), p2 = DegToRad(a2);
  Real xs = xc + r * std::cos(p1), ys = yc + r * std::sin(p1);
  Real xe = xc + r * std::cos(p2), ye = yc + r * std::sin(p2);
  if (std::fabs(sweep) >= 4) {
    double* v = add(DisplayCode::Arc).v;
    v[0] = Clean(xc - r), v[1] = Clean(yc - r), v[2] = Clean(xc + r), v[3] = Clean(yc + r);
    v[4] = Clean(xs), v[5] = Clean(ys), v[6] = Clean(xe), v[7] = Clean(ye);
    keepIfFinite();
  } else {
    line(xs, ys, xe, ye);
  }
}

void DisplayList::OutTextXY(std::string_view text, Real x, Real y) {
  DisplayItem& i = add(DisplayCode::Text);
  i.v[0] = Clean(x), i.v[1] = Clean(y);
  i.text = static_cast<std::uint32_t>(texts_.size());
  texts_.emplace_back(text);
  keepIfFinite();
}

void DisplayList::Solid(Real x1, Real y1, Real x2, Real y2, Real x3, Real y3, Real x4, Real y4) {
  double* v = add(DisplayCode::Solid).v;
  v[0] = Clean(x1), v[1] = Clean(y1), v[2] = Clean(x2), v[3] = Clean(y2);
  v[4] = Clean(x3), v[5] = Clean(y3), v[6] = Clean(x4), v[7] = Clean(y4);
  keepIfFinite();
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
  add(DisplayCode::Colour).v[0] = c;
}

void DisplayList::SetLineStyle(int n) {
  if (n == lineStyle_) return;
  lineStyle_ = n;
  add(DisplayCode::LineStyle).v[0] = n;
}

void DisplayList::SetLineWidth(int n) {
  if (n == lineWidth_) return;
  lineWidth_ = n;
  add(DisplayCode::LineWidth).v[0] = n;
}

void DisplayList::SetTextStyle(int kind, Real height, Real width, Real angle) {
  double* v = add(DisplayCode::TextStyle).v;
  v[0] = Clean(height), v[1] = Clean(width), v[2] = kind, v[3] = Clean(angle);
  keepIfFinite();
}

void DisplayList::SleepMs(int ms) { add(DisplayCode::Sleep).v[0] = ms; }

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
