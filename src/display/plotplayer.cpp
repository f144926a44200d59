// The help picture player.
#include "display/plotplayer.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

#include "core/numbers.h"
#include "display/displaylist.h"

namespace kamo {

void DisplayListCanvas::setColour(int colour) { list_.SetColor(colour); }
void DisplayListCanvas::line(Real x1, Real y1, Real x2, Real y2) { list_.line(x1, y1, x2, y2); }
void DisplayListCanvas::circle(Real x, Real y, Real r) { list_.circle(x, y, r); }
void DisplayListCanvas::arc(Real xc, Real yc, Real a1, Real a2, Real r, Real sweep) {
  list_.Arc(xc, yc, a1, a2, r, sweep);
}
void DisplayListCanvas::label(std::string_view text, Real x, Real y, Real height, Real width, Real angle) {
  list_.SetTextStyle(2, height, width, angle);
  list_.OutTextXY(text, x, y);
}

int PlotPenColour(int pen) {
  static const int kColours[7] = {12, 14, 10, 11, 9, 13, 15};
  return pen >= 1 && pen <= 7 ? kColours[pen - 1] : pen;
}

namespace {

constexpr Real kPlotterUnit = 0.025L;  // mm per plotter unit
constexpr Real kCoordinateLimit = 1073741824.0L;  // 2^30 plotter units, the HP-GL/2 range
constexpr size_t kParameterMax = 64;
constexpr int kEtx = 3;
constexpr Real kDeg = 57.295779513082320876798154814105170332L;

Real Limited(Real v) { return std::clamp(v, -kCoordinateLimit, kCoordinateLimit); }

// A direction in degrees, 0 <= a < 360.
Real Direction(Real dx, Real dy) {
  if (dx == 0 && dy == 0) return 0;
  Real a = std::atan2(dy, dx) * kDeg;
  if (a < 0) a += 360;
  if (a >= 360) a -= 360;
  return a;
}

class Player {
 public:
  Player(std::string_view bytes, PlotCanvas& canvas, PlotState& st,
         const std::function<std::string(std::string_view)>& toDisplay)
      : b_(bytes), canvas_(canvas), st_(st), toDisplay_(toDisplay) {}

  void run(const std::function<bool()>& stop) {
    st_.placed = false;
    st_.x = st_.y = 0;
    while (true) {
      if (stop && stop()) return;
      int c1 = nextSkippingBlanks(true);
      if (c1 < 0) return;
      if (!IsLetter(c1)) continue;  // stray characters between commands
      int c2 = nextSkippingBlanks(false);
      if (c2 < 0) return;
      std::string cmd{Upper(c1), Upper(c2)};
      if (!execute(cmd)) return;
    }
  }

 private:
  static bool IsLetter(int c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
  static char Upper(int c) { return static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c); }
  static bool IsBlank(int c) { return c == '\r' || c == '\n' || c == ' '; }

  int next() { return p_ < b_.size() ? static_cast<unsigned char>(b_[p_++]) : -1; }
  int nextSkippingBlanks(bool skipSemicolons) {
    int c;
    do c = next();
    while (c >= 0 && (IsBlank(c) || (skipSemicolons && c == ';')));
    return c;
  }

  // The parameters up to ";"; nullopt when the file ends first.
  std::optional<std::vector<std::string>> parameters() {
    std::vector<std::string> params(1);
    while (true) {
      int c = next();
      if (c < 0) return std::nullopt;
      if (c == ';') return params;
      if (IsBlank(c) || c == 'P' || c == 'A' || c == 'p' || c == 'a') continue;
      if (c == ',') {
        params.emplace_back();
        continue;
      }
      if (params.back().size() < kParameterMax) params.back() += static_cast<char>(c);
    }
  }
  static Real Number(const std::string& s) { return s.empty() ? 0 : ParseReal(s); }

  void colour() { canvas_.setColour(PlotPenColour(st_.pen)); }

  void moveTo(Real x, Real y) {
    if (st_.penDown && st_.placed) {
      colour();
      canvas_.line(st_.x, st_.y, x, y);
    }
    st_.x = x;
    st_.y = y;
    st_.placed = true;
  }

  void pairs(const std::vector<std::string>& p) {
    // A lone x before the ";" (as in "PU;") is dropped.
    for (size_t i = 0; i + 1 < p.size(); i += 2)
      moveTo(Limited(Number(p[i])) * kPlotterUnit, Limited(Number(p[i + 1])) * kPlotterUnit);
  }

  static int PenNumber(Real v) { return static_cast<int>(std::clamp<Real>(std::trunc(v), 0, 1000)); }

  bool execute(const std::string& cmd) {
    if (cmd == "LB") return labelCommand();
    if (cmd == "PE") return encodedPolyline();
    auto got = parameters();
    if (!got) return false;  // the file ended inside the command
    const std::vector<std::string>& p = *got;
    bool none = p.size() == 1 && p[0].empty();
    if (cmd == "PU") {
      st_.penDown = false;
      pairs(p);
    } else if (cmd == "PD") {
      st_.penDown = true;
      pairs(p);
    } else if (cmd == "PA") {
      pairs(p);
    } else if (cmd == "SP") {
      st_.pen = p[0].empty() ? 1 : PenNumber(Number(p[0]));
    } else if (cmd == "CI") {
      Real r = std::fabs(Limited(Number(p[0])) * kPlotterUnit);
      if (r > 0) {
        colour();
        canvas_.circle(st_.x, st_.y, r);
      }
    } else if (cmd == "SI") {
      if (none || p.size() < 2) {
        st_.sizeSet = false;
      } else {
        st_.sizeSet = true;
        st_.charWidth = std::clamp<Real>(Number(p[0]), -1000, 1000);
        st_.charHeight = std::clamp<Real>(Number(p[1]), -1000, 1000);
      }
    } else if (cmd == "DI") {
      st_.direction = none || p.size() < 2 ? 0 : Direction(Number(p[0]), Number(p[1]));
    } else if (cmd == "AA") {
      if (p.size() >= 3) arcAbsolute(Limited(Number(p[0])) * kPlotterUnit, Limited(Number(p[1])) * kPlotterUnit,
                                     std::clamp<Real>(Number(p[2]), -3600, 3600));
    } else if (cmd == "CS") {
      st_.charSet = PenNumber(Number(p[0]));
    } else if (cmd == "IN") {
      st_ = PlotState{};
    }
    return true;
  }

  void arcAbsolute(Real xc, Real yc, Real sweep) {
    // Without a position there is no arc; a sweep of 0 draws nothing.
    if (!st_.placed || sweep == 0) return;
    Real dx = st_.x - xc, dy = st_.y - yc;
    Real r = std::hypot(dx, dy);
    if (r == 0) return;
    Real a1 = Direction(dx, dy);
    Real t = sweep / kDeg;
    Real ex = xc + dx * std::cos(t) - dy * std::sin(t);
    Real ey = yc + dx * std::sin(t) + dy * std::cos(t);
    if (st_.penDown) {
      colour();
      if (std::fabs(sweep) >= 360) {
        canvas_.circle(xc, yc, r);
      } else {
        canvas_.arc(xc, yc, a1, Direction(ex - xc, ey - yc), r, sweep);
      }
    }
    st_.x = ex;
    st_.y = ey;
  }

  bool labelCommand() {
    std::string text;
    while (true) {
      int c = next();
      if (c < 0) return false;
      if (c == kEtx) break;
      if (c == '\r' || c == '\n') continue;
      if (st_.charSet == 3 && c == '}') {
        // Set 3: "}" makes the letter before it an umlaut (CP850).
        if (!text.empty()) {
          char& last = text.back();
          switch (last) {
            case 'A': last = '\x8E'; break;
            case 'O': last = '\x99'; break;
            case 'U': last = '\x9A'; break;
            case 'a': last = '\x84'; break;
            case 'o': last = '\x94'; break;
            case 'u': last = '\x81'; break;
            default: break;
          }
        }
        continue;
      }
      if (text.size() < kPlotLabelMax) text += static_cast<char>(c);
    }
    Real w = st_.sizeSet ? st_.charWidth : kPlotCharWidth;
    Real h = st_.sizeSet ? st_.charHeight : kPlotCharHeight;
    colour();
    canvas_.label(toDisplay_ ? toDisplay_(text) : text, st_.x, st_.y, h * 10, w * 10, st_.direction);
    return true;
  }

  // One encoded number whose first character is c; nullopt at ";" or the end.
  std::optional<long long> encodedNumber(int c, bool sevenBit, bool& ended) {
    unsigned long long value = 0, scale = 1;
    int digits = 0;
    const int base = sevenBit ? 32 : 64;
    while (true) {
      if (c < 0 || c == ';') {
        ended = true;
        return std::nullopt;
      }
      int digit = -1;
      bool last = false;
      if (sevenBit) {
        if (c >= 63 && c <= 94) digit = c - 63;
        else if (c >= 95 && c <= 126) digit = c - 95, last = true;
      } else {
        if (c >= 63 && c <= 126) digit = c - 63;
        else if (c >= 191 && c <= 254) digit = c - 191, last = true;
      }
      if (digit >= 0) {
        // Beyond ten digits the number is out of any range: its value saturates.
        if (digits < 10) value += static_cast<unsigned long long>(digit) * scale;
        scale *= digits < 10 ? base : 1;
        ++digits;
        if (last) break;
      }
      c = next();
    }
    long long magnitude = static_cast<long long>(value >> 1);
    return (value & 1) ? -magnitude : magnitude;
  }

  bool encodedPolyline() {
    st_.penDown = true;
    bool sevenBit = false, upNext = false, absoluteNext = false;
    int fraction = 0;
    while (true) {
      int c = next();
      if (c < 0) return false;
      if (c == ';') break;
      bool ended = false;
      if (c == '7') {
        sevenBit = true;
      } else if (c == ':') {
        auto pen = encodedNumber(next(), sevenBit, ended);
        if (pen) st_.pen = PenNumber(static_cast<Real>(*pen));
      } else if (c == '<') {
        upNext = true;
      } else if (c == '=') {
        absoluteNext = true;
      } else if (c == '>') {
        auto bits = encodedNumber(next(), sevenBit, ended);
        if (bits) fraction = static_cast<int>(std::clamp<long long>(*bits, 0, 26));
      } else if (c >= 63) {
        auto dx = encodedNumber(c, sevenBit, ended);
        if (ended) break;
        auto dy = encodedNumber(next(), sevenBit, ended);
        if (ended) break;
        Real scale = kPlotterUnit / static_cast<Real>(1LL << fraction);
        Real x = Limited(static_cast<Real>(*dx)) * scale, y = Limited(static_cast<Real>(*dy)) * scale;
        if (!absoluteNext) {
          // Relative pairs add up: the position stays within the absolute range.
          constexpr Real kLimit = kCoordinateLimit * kPlotterUnit;
          x = std::clamp(x + (st_.placed ? st_.x : 0), -kLimit, kLimit);
          y = std::clamp(y + (st_.placed ? st_.y : 0), -kLimit, kLimit);
        }
        st_.penDown = !upNext;
        moveTo(x, y);
        st_.penDown = true;
        upNext = absoluteNext = false;
      }
      if (ended) break;
    }
    st_.penDown = true;
    return true;
  }

  std::string_view b_;
  size_t p_ = 0;
  PlotCanvas& canvas_;
  PlotState& st_;
  const std::function<std::string(std::string_view)>& toDisplay_;
};

}  // namespace

void PlayPlot(std::string_view bytes, PlotCanvas& canvas, PlotState& state,
              const std::function<std::string(std::string_view)>& toDisplay,
              const std::function<bool()>& stop) {
  Player(bytes, canvas, state, toDisplay).run(stop);
}

}  // namespace kamo
