// The motion laws as formula pieces and in closed form.
#include "cam/motionlaw.h"

#include <cmath>
#include <functional>

#include "cam/mathpars.h"
#include "core/fields.h"
#include "core/geometry.h"
#include "core/numstyle.h"
#include "core/strings.h"

namespace kamo {

namespace {

// The peak acceleration of the two piecewise laws (t and y normalised).
const Real kTrapA = 8 * kPi / (2 + kPi);            // 4.8881...
const Real kSineA = 4 * kPi * kPi / (4 + kPi);      // 5.5280...

// One piece of a law over [t0, t1]: its y(t) as formula text in a given
// argument text, and in closed form. A mirrored piece is 1 - f(1 - t) of the
// piece f, which the symmetric laws use for their second half.
struct Piece {
  Real t0, t1;
  std::function<std::string(const std::string&)> text;
  std::function<LawValue(Real)> eval;
  bool mirrored = false;
};

// The quarter sine that starts both piecewise laws: a = A·sin(4πt).
Piece StartPiece(Real A, Real t1) {
  Real c1 = A / (4 * kPi), c2 = A / (16 * kPi * kPi);
  return {0, t1,
          [=](const std::string& t) { return FormulaNumber(c1) + "*" + t + "-" + FormulaNumber(c2) + "*SIN(4*PI*" + t + ")"; },
          [=](Real t) {
            Real w = 4 * kPi * t;
            return LawValue{c1 * t - c2 * std::sin(w), c1 * (1 - std::cos(w)), A * std::sin(w),
                            4 * kPi * A * std::cos(w)};
          }};
}
Piece Mirror(Piece p) {
  Real t0 = 1 - p.t1, t1 = 1 - p.t0;
  p.t0 = t0;
  p.t1 = t1;
  p.mirrored = true;
  return p;
}

std::vector<Piece> PiecesOf(MotionLaw law) {
  switch (law) {
    case MotionLaw::Dwell:
      return {{0, 1, [](const std::string&) { return std::string("0"); },
               [](Real) { return LawValue{}; }}};
    case MotionLaw::Linear:
      return {{0, 1, [](const std::string& t) { return t; },
               [](Real t) { return LawValue{t, 1, 0, 0}; }}};
    case MotionLaw::Harmonic:
      return {{0, 1, [](const std::string& t) { return "(1-COS(PI*" + t + "))/2"; },
               [](Real t) {
                 Real w = kPi * t;
                 return LawValue{(1 - std::cos(w)) / 2, kPi / 2 * std::sin(w), kPi * kPi / 2 * std::cos(w),
                                 -kPi * kPi * kPi / 2 * std::sin(w)};
               }}};
    case MotionLaw::Cycloidal:
      return {{0, 1, [](const std::string& t) { return t + "-SIN(2*PI*" + t + ")/(2*PI)"; },
               [](Real t) {
                 Real w = kTwoPi * t;
                 return LawValue{t - std::sin(w) / kTwoPi, 1 - std::cos(w), kTwoPi * std::sin(w),
                                 kTwoPi * kTwoPi * std::cos(w)};
               }}};
    case MotionLaw::Poly345:
      return {{0, 1, [](const std::string& t) { return "SQR(" + t + ")*" + t + "*(10-" + t + "*(15-6*" + t + "))"; },
               [](Real t) {
                 Real t2 = t * t;
                 return LawValue{t2 * t * (10 - t * (15 - 6 * t)), t2 * (30 - t * (60 - 30 * t)),
                                 t * (60 - t * (180 - 120 * t)), 60 - t * (360 - 360 * t)};
               }}};
    case MotionLaw::Poly4567:
      return {{0, 1,
               [](const std::string& t) {
                 return "SQR(SQR(" + t + "))*(35-" + t + "*(84-" + t + "*(70-20*" + t + ")))";
               },
               [](Real t) {
                 Real t2 = t * t, t3 = t2 * t;
                 return LawValue{t2 * t2 * (35 - t * (84 - t * (70 - 20 * t))),
                                 t3 * (140 - t * (420 - t * (420 - 140 * t))),
                                 t2 * (420 - t * (1680 - t * (2100 - 840 * t))),
                                 t * (840 - t * (5040 - t * (8400 - 4200 * t)))};
               }}};
    case MotionLaw::ModTrap: {
      // Acceleration: quarter sine up to A over 1/8, constant A to 3/8, a
      // half sine through 0 at 1/2 to -A at 5/8, then the mirror image.
      const Real A = kTrapA;
      Piece p1 = StartPiece(A, 0.125L);
      Real v1 = A / (4 * kPi), y1 = A * (1 / (32 * kPi) - 1 / (16 * kPi * kPi));
      Piece p2{0.125L, 0.375L,
               [=](const std::string& t) {
                 return FormulaNumber(y1) + "+(" + t + "-0.125)*(" + FormulaNumber(v1) + "+" + FormulaNumber(A / 2) + "*(" + t + "-0.125))";
               },
               [=](Real t) {
                 Real w = t - 0.125L;
                 return LawValue{y1 + w * (v1 + A / 2 * w), v1 + A * w, A, 0};
               }};
      Real cm = A / 4 + A / (4 * kPi), c2 = A / (16 * kPi * kPi);
      Piece p3{0.375L, 0.625L,
               [=](const std::string& t) {
                 return "0.5+" + FormulaNumber(cm) + "*(" + t + "-0.5)+" + FormulaNumber(c2) + "*SIN(4*PI*(" + t + "-0.5))";
               },
               [=](Real t) {
                 Real u = t - 0.5L, w = 4 * kPi * u;
                 return LawValue{0.5L + cm * u + c2 * std::sin(w), cm + A / (4 * kPi) * std::cos(w),
                                 -A * std::sin(w), -4 * kPi * A * std::cos(w)};
               }};
      return {p1, p2, p3, Mirror(p2), Mirror(p1)};
    }
    case MotionLaw::ModSine: {
      // Acceleration: quarter sine up to A over 1/8, then a sine of three
      // times the period through 0 at 1/2 down to -A at 7/8, then the mirror.
      const Real A = kSineA;
      Piece p1 = StartPiece(A, 0.125L);
      Real k = 4 * kPi / 3, c = A / (4 * kPi), d = 9 * A / (16 * kPi * kPi);
      Piece p2{0.125L, 0.875L,
               [=](const std::string& t) {
                 return "0.5+" + FormulaNumber(c) + "*(" + t + "-0.5)+" + FormulaNumber(d) + "*SIN(4*PI/3*(" + t + "-0.5))";
               },
               [=](Real t) {
                 Real u = t - 0.5L, w = k * u;
                 return LawValue{0.5L + c * u + d * std::sin(w), c + d * k * std::cos(w),
                                 -d * k * k * std::sin(w), -d * k * k * k * std::cos(w)};
               }};
      return {p1, p2, Mirror(p1)};
    }
  }
  return {};
}

LawValue EvalPiece(const Piece& p, Real t) {
  if (!p.mirrored) return p.eval(t);
  LawValue m = p.eval(1 - t);
  return {1 - m.y, m.v, -m.a, m.j};
}

}  // namespace

const char* MotionLawKeyword(MotionLaw law) {
  switch (law) {
    case MotionLaw::Dwell: return "dwell";
    case MotionLaw::Linear: return "linear";
    case MotionLaw::Harmonic: return "harmonic";
    case MotionLaw::Cycloidal: return "cycloidal";
    case MotionLaw::Poly345: return "345";
    case MotionLaw::Poly4567: return "4567";
    case MotionLaw::ModTrap: return "modtrap";
    case MotionLaw::ModSine: return "modsine";
  }
  return "";
}

const char* MotionLawName(MotionLaw law) {
  switch (law) {
    case MotionLaw::Dwell: return "Rast";
    case MotionLaw::Linear: return "linear";
    case MotionLaw::Harmonic: return "sinus";
    case MotionLaw::Cycloidal: return "Zykloide";
    case MotionLaw::Poly345: return "Polynom 3-4-5";
    case MotionLaw::Poly4567: return "Polynom 4-5-6-7";
    case MotionLaw::ModTrap: return "mod. Trapez";
    case MotionLaw::ModSine: return "mod. Sinus";
  }
  return "";
}

const std::vector<MotionLaw>& AllMotionLaws() {
  static const std::vector<MotionLaw> all{MotionLaw::Dwell,     MotionLaw::Linear,  MotionLaw::Harmonic,
                                          MotionLaw::Cycloidal, MotionLaw::Poly345, MotionLaw::Poly4567,
                                          MotionLaw::ModTrap,   MotionLaw::ModSine};
  return all;
}

bool MotionLawFromKeyword(std::string_view word, MotionLaw& law) {
  std::string w = Lower(std::string(word));
  for (MotionLaw l : AllMotionLaws())
    if (w == MotionLawKeyword(l)) {
      law = l;
      return true;
    }
  return false;
}

int MotionLawPieces(MotionLaw law) { return static_cast<int>(PiecesOf(law).size()); }

LawValue EvalMotionLaw(MotionLaw law, Real t) {
  if (law == MotionLaw::Dwell) return {};
  if (!(t > 0)) t = 0;
  if (t > 1) t = 1;
  std::vector<Piece> pieces = PiecesOf(law);
  for (const Piece& p : pieces)
    if (t <= p.t1) return EvalPiece(p, t);
  return EvalPiece(pieces.back(), t);
}

LawCoefficients MotionLawCoefficients(MotionLaw law) {
  switch (law) {
    case MotionLaw::Dwell: return {0, 0, 0};
    case MotionLaw::Linear: return {1, 0, 0};
    case MotionLaw::Harmonic: return {kPi / 2, kPi * kPi / 2, 0};
    case MotionLaw::Cycloidal: return {2, kTwoPi, kTwoPi * kTwoPi};
    // Peak acceleration 10/sqrt(3) at t = 1/2 -/+ sqrt(3)/6.
    case MotionLaw::Poly345: return {1.875L, 10 / std::sqrt(3.0L), 60};
    // a = 420 t²(1-t)²(1-2t), largest at t = 1/2 -/+ 1/sqrt(20).
    case MotionLaw::Poly4567: return {2.1875L, 420 * 2 / (25 * std::sqrt(20.0L)), 52.5L};
    case MotionLaw::ModTrap: return {kTrapA * (0.25L + 1 / kTwoPi), kTrapA, 4 * kPi * kTrapA};
    case MotionLaw::ModSine: return {kSineA / kPi, kSineA, 4 * kPi * kSineA};
  }
  return {};
}

std::vector<teilkurveRec> MotionLawSegments(MotionLaw law, Real phi1Deg, Real phi2Deg, Real r1,
                                            Real r2) {
  std::vector<teilkurveRec> out;
  Real span = phi2Deg - phi1Deg;
  if (law == MotionLaw::Dwell) {
    out.push_back({phi2Deg, FormulaNumber(r1)});
    return out;
  }
  Real a = DegToRad(phi1Deg), b = DegToRad(phi2Deg), d = b - a;
  std::string t = "((X-" + FormulaAngle(a) + ")/" + FormulaAngle(d) + ")";
  std::string u = "((" + FormulaAngle(b) + "-X)/" + FormulaAngle(d) + ")";
  Real h = r2 - r1;
  std::vector<Piece> pieces = PiecesOf(law);
  for (size_t i = 0; i < pieces.size(); ++i) {
    const Piece& p = pieces[i];
    std::string f = p.mirrored ? FormulaNumber(r2) + "-" + FormulaNumber(h) + "*(" + p.text(u) + ")"
                               : FormulaNumber(r1) + "+" + FormulaNumber(h) + "*(" + p.text(t) + ")";
    Real xMax = i + 1 == pieces.size() ? phi2Deg : phi1Deg + span * p.t1;
    out.push_back({xMax, f});
  }
  return out;
}

}  // namespace kamo
