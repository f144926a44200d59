// Any bytes through the help picture player, onto the display list. Every
// number it hands on must be finite, and the position it keeps as well.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/codepage.h"
#include "display/displaylist.h"
#include "display/plotplayer.h"

namespace {
class Checked : public kamo::PlotCanvas {
 public:
  explicit Checked(kamo::DisplayList& l) : list_(l) {}
  static void Finite(std::initializer_list<kamo::Real> v) {
    for (kamo::Real x : v)
      if (!std::isfinite(x)) __builtin_trap();
  }
  void setColour(int c) override { list_.setColour(c); }
  void line(kamo::Real a, kamo::Real b, kamo::Real c, kamo::Real d) override {
    Finite({a, b, c, d});
    list_.line(a, b, c, d);
  }
  void circle(kamo::Real x, kamo::Real y, kamo::Real r) override {
    Finite({x, y, r});
    if (r <= 0) __builtin_trap();
    list_.circle(x, y, r);
  }
  void arc(kamo::Real xc, kamo::Real yc, kamo::Real a1, kamo::Real a2, kamo::Real r, kamo::Real s) override {
    Finite({xc, yc, a1, a2, r, s});
    if (s == 0 || std::fabs(s) >= 360) __builtin_trap();
    list_.arc(xc, yc, a1, a2, r, s);
  }
  void label(std::string_view t, kamo::Real x, kamo::Real y, kamo::Real h, kamo::Real w, kamo::Real a) override {
    Finite({x, y, h, w, a});
    list_.label(t, x, y, h, w, a);
  }

 private:
  kamo::DisplayListCanvas list_;
};
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  kamo::DisplayList list;
  list.Header(0, 0, 160, 120);
  Checked canvas(list);
  kamo::PlotState state;
  for (int round = 0; round < 2; ++round) {  // the state lives on into the next picture
    kamo::PlayPlot(bytes, canvas, state, [](std::string_view s) { return kamo::Cp850ToUtf8(s); });
    Checked::Finite({state.x, state.y, state.charWidth, state.charHeight, state.direction});
  }
  return 0;
}
