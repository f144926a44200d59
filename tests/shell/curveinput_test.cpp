// The curve editor without a display: the logic behind the segment, position,
// parameter and coefficient dialogs, the list loops with their slot rules, the
// transformation, and the snapshot that "Abbrechen" restores.
#include <gtest/gtest.h>

#include <cmath>
#include <deque>
#include <functional>

#include "cam/kamorech.h"
#include "cam/mathpars.h"
#include "cam/motionlaw.h"
#include "core/codepage.h"
#include "core/numbers.h"
#include "shell/curveinput.h"
#include "shell/session.h"
#include "support/scripted_port.h"

namespace kamo {
namespace {

// The scripted port with the forms of the curve editor: each form runs the
// next scripted action, which plays the user on the form's logic.
class FormPort : public test::ScriptedPort {
 public:
  std::deque<std::optional<ListAnswer>> lists;
  std::deque<std::function<bool(SegmentLogic&)>> segments;
  std::deque<std::function<bool(ParamLogic&)>> params;
  std::deque<std::function<bool(PositionLogic&, int)>> positions;
  std::deque<std::function<bool(PolyLogic&)>> polys;
  std::vector<ListForm> listForms;

  std::optional<ListAnswer> listDialog(const ListForm& f) override {
    listForms.push_back(f);
    if (lists.empty()) {
      ADD_FAILURE() << "unscripted list dialog " << f.caption;
      return std::nullopt;
    }
    auto a = lists.front();
    lists.pop_front();
    return a;
  }
  template <class Q, class... A>
  bool next(Q& q, const char* what, A&... args) {
    if (q.empty()) {
      ADD_FAILURE() << "unscripted " << what;
      return false;
    }
    auto f = q.front();
    q.pop_front();
    return f(args...);
  }
  bool segmentDialog(SegmentLogic& l) override { return next(segments, "segment dialog", l); }
  bool paramDialog(ParamLogic& l) override { return next(params, "parameter dialog", l); }
  bool positionDialog(PositionLogic& l, int j) override { return next(positions, "position dialog", l, j); }
  bool polyDialog(PolyLogic& l) override { return next(polys, "coefficient dialog", l); }
};

ListAnswer Cmd(int command, int line = 0) { return ListAnswer{command, line}; }

struct Bench {
  FormPort port;
  Session session{port};
  int metric = 0;
  int views = 0;
  CurveInput in{session};
  Bench() {
    session.project().resetProject();
    in.calculate = [this] { Calculate(session.project(), session.messages, session.flags, session.settings); };
    in.show = [this](ViewCode) { ++views; };
    in.metricBeforeInch = &metric;
  }
  CamProject& p() { return session.project(); }
  NumberStyle& ns() { return session.settings.numbers; }
};

// A segment action: typed upper limit and formula, then "OK" (must pass).
std::function<bool(SegmentLogic&)> Segment(std::string upper, std::string formula) {
  return [upper, formula](SegmentLogic& l) {
    SegmentCheck c = l.confirm(upper, formula);
    EXPECT_EQ(c.error, "");
    return c.error.empty();
  };
}
std::function<bool(SegmentLogic&)> Cancel() {
  return [](SegmentLogic&) { return false; };
}

Real Eval(std::string f, Real x) {
  FormulaResult r = EvalFormula(f, x);
  EXPECT_EQ(r.error, 0) << f;
  return r.value;
}

// ---------------------------------------------------------------- two-point sections

struct SectionCase {
  Real r1, r2, phi1, phi2;
  bool sinus;
};
class Section : public ::testing::TestWithParam<SectionCase> {};
TEST_P(Section, StartsAtR1EndsAtR2AndIsMonotone) {
  SectionCase c = GetParam();
  std::string f = SectionFormula(c.r1, c.r2, c.phi1, c.phi2, c.sinus);
  Real a = c.phi1 * kPi / 180, b = c.phi2 * kPi / 180;
  EXPECT_NEAR(static_cast<double>(Eval(f, a)), static_cast<double>(c.r1), 1e-9) << f;
  EXPECT_NEAR(static_cast<double>(Eval(f, b)), static_cast<double>(c.r2), 1e-9) << f;
  EXPECT_NEAR(static_cast<double>(Eval(f, (a + b) / 2)), static_cast<double>((c.r1 + c.r2) / 2), 1e-9) << f;
  // Written with a point and enough decimals whatever the settings.
  EXPECT_EQ(f.find(','), std::string::npos);
}
INSTANTIATE_TEST_SUITE_P(Curve, Section,
                         ::testing::Values(SectionCase{10, 20, 0, 90, false}, SectionCase{10, 20, 0, 90, true},
                                           SectionCase{40, 25.4L, 123.456L, 270, false},
                                           SectionCase{40, 25.4L, 123.456L, 270, true},
                                           SectionCase{-5, 5, 10, 20, false}, SectionCase{30, 30, 0, 360, true}));

TEST(Section, TwoSectionsMeetWithoutAStep) {
  std::string first = SectionFormula(30, 40, 0, 100.123456789L, true);
  std::string second = SectionFormula(40, 30, 100.123456789L, 360, true);
  Real join = 100.123456789L * kPi / 180;
  EXPECT_NEAR(static_cast<double>(Eval(first, join)), static_cast<double>(Eval(second, join)), 1e-10);
}

TEST(Section, RadiiTypedInInchGoIntoTheFormulaInMillimetres) {
  Bench b;
  b.ns().unitSystem = 1;
  b.p().segmentCount = 1;
  b.p().segments[1] = {90, ""};
  SegmentEditor e(b.session, 1);
  SectionAnswer a = e.section("1", "2", "90", false);
  ASSERT_EQ(a.error, "");
  EXPECT_NEAR(static_cast<double>(Eval(a.formula, 0)), 25.4, 1e-12);
  EXPECT_NEAR(static_cast<double>(Eval(a.formula, kPi / 2)), 50.8, 1e-9);
  EXPECT_EQ(a.toDeg, "90");
  EXPECT_NE(e.section("x", "2", "90", false).error, "");
  EXPECT_NE(e.section("1", "2", "0", false).error, "");  // phi2 not above phi1
}

// ---------------------------------------------------------------- segment dialog

struct ConfirmCase {
  const char* name;
  std::string upper, formula;
  std::string error;  // expected error line ("" = stored)
  FormFocus focus;
};
class SegmentConfirm : public ::testing::TestWithParam<ConfirmCase> {};
TEST_P(SegmentConfirm, StoresOnlyWhenFormulaAndLimitPass) {
  const ConfirmCase& c = GetParam();
  Bench b;
  b.p().segmentCount = 2;
  b.p().segments[1] = {90, "10"};
  b.p().segments[2] = {200, "20"};
  SegmentEditor e(b.session, 2);
  SegmentCheck r = e.confirm(c.upper, c.formula);
  EXPECT_EQ(r.error, c.error) << c.name;
  if (c.error.empty()) {
    EXPECT_EQ(b.p().segments[2].formula, Utf8ToCp850(c.formula));
  } else {
    EXPECT_EQ(r.focus, c.focus);
    EXPECT_EQ(b.p().segments[2].formula, "20") << "nothing stored";
    EXPECT_EQ(b.p().segments[2].xMax, 200);
  }
}
INSTANTIATE_TEST_SUITE_P(
    Curve, SegmentConfirm,
    ::testing::Values(ConfirmCase{"fine", "360", "30+X", "", FormFocus::None},
                      ConfirmCase{"empty formula", "360", "  ", "f(x) = ???", FormFocus::Formula},
                      ConfirmCase{"bad formula", "360", "30 $", "Fehler : 30 $ (Pos. 3)", FormFocus::Formula},
                      ConfirmCase{"unbalanced", "360", "(30+X", "Fehler : (30+X (Klammern)", FormFocus::Formula},
                      ConfirmCase{"limit below the lower one", "80", "30", "Fehler : 80 >= 90 !",
                                  FormFocus::UpperLimit},
                      ConfirmCase{"limit equal to the lower one", "90", "30", "Fehler : 90 >= 90 !",
                                  FormFocus::UpperLimit},
                      ConfirmCase{"bad formula and bad limit", "50", "30 $", "Fehler : 50 >= 90 !",
                                  FormFocus::UpperLimit},
                      ConfirmCase{"a character without CP850", "360", "30+\u20AC",
                                  "Zeichen nicht speicherbar: U+20AC (Zeichen 4)", FormFocus::Formula}),
    [](const auto& i) {
      std::string n = i.param.name;
      for (char& ch : n)
        if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
      return n;
    });

TEST(SegmentDialog, UnchangedLimitKeepsTheExactValue) {
  Bench b;
  b.p().segmentCount = 1;
  b.p().segments[1] = {123.456789L, "10"};
  SegmentEditor e(b.session, 1);
  SegmentForm f = e.form();
  EXPECT_EQ(f.caption, "f1 (x)");
  EXPECT_EQ(f.fromDeg, "0");
  ASSERT_EQ(e.confirm(f.toDeg, "11").error, "");
  EXPECT_EQ(b.p().segments[1].xMax, 123.456789L);
  ASSERT_EQ(e.confirm("180", "11").error, "");
  EXPECT_EQ(b.p().segments[1].xMax, 180);
}

// ---------------------------------------------------------------- formula list

TEST(FormulaList, NewCancelledLeavesNoSlot) {
  Bench b;
  b.p().segmentCount = 1;
  b.p().segments[1] = {360, "30"};
  b.port.lists = {Cmd(lcNew), Cmd(lcOk)};
  b.port.segments = {Cancel()};
  EditFormulaSegments(b.in);
  EXPECT_FALSE(b.session.flags.abortFlag) << "back to the list, which said OK";
  EXPECT_EQ(b.p().segmentCount, 1);
  EXPECT_EQ(b.port.listForms.at(1).lines.size(), 1u);
}

TEST(FormulaList, InsertDuplicatesThenEditsTheSlot) {
  Bench b;
  b.p().segmentCount = 5;
  for (int k = 1; k <= 5; ++k) b.p().segments[k] = {72.0L * k, std::to_string(k)};
  // The dialog sees slots 3 and 4 equal while it edits slot 3.
  b.port.lists = {Cmd(lcInsert, 3), Cmd(lcOk)};
  b.port.segments = {[&b](SegmentLogic& l) {
    EXPECT_EQ(b.p().segmentCount, 6);
    EXPECT_EQ(b.p().segments[3].formula, b.p().segments[4].formula);
    return l.confirm("180", "33").error.empty();
  }};
  EditFormulaSegments(b.in);
  EXPECT_FALSE(b.session.flags.abortFlag);
  ASSERT_EQ(b.p().segmentCount, 6);
  EXPECT_EQ(b.p().segments[3].formula, "33");
  EXPECT_EQ(b.p().segments[4].formula, "3");
}

TEST(FormulaList, InsertCancelledRemovesTheDuplicate) {
  Bench b;
  b.p().segmentCount = 3;
  for (int k = 1; k <= 3; ++k) b.p().segments[k] = {120.0L * k, std::to_string(k)};
  b.port.lists = {Cmd(lcInsert, 2), Cmd(lcOk)};
  b.port.segments = {Cancel()};
  EditFormulaSegments(b.in);
  ASSERT_EQ(b.p().segmentCount, 3);
  for (int k = 1; k <= 3; ++k) EXPECT_EQ(b.p().segments[k].formula, std::to_string(k));
}

TEST(FormulaList, EmptyListRules) {
  Bench b;
  // "Löschen" on an empty list does nothing; "Ändern" and "Einfügen" act as "Neu".
  b.port.lists = {Cmd(lcDelete), Cmd(lcEdit), Cmd(lcOk)};
  b.port.segments = {Segment("360", "40")};
  EditFormulaSegments(b.in);
  EXPECT_EQ(b.p().segmentCount, 1);
  EXPECT_TRUE(b.port.choicePrompts.empty()) << "no choice with zero entries";
  b.p().segmentCount = 0;
  b.port.lists = {Cmd(lcInsert), Cmd(lcOk)};
  b.port.segments = {Segment("360", "41")};
  EditFormulaSegments(b.in);
  EXPECT_EQ(b.p().segmentCount, 1);
  EXPECT_EQ(b.p().segments[1].formula, "41");
}

TEST(FormulaList, DeleteClampsTheSelectionAndTenIsTheLimit) {
  Bench b;
  b.p().segmentCount = 10;
  for (int k = 1; k <= 10; ++k) b.p().segments[k] = {36.0L * k, std::to_string(k)};
  b.port.lists = {Cmd(lcNew)};
  EditFormulaSegments(b.in);
  EXPECT_EQ(b.p().segmentCount, 10);
  EXPECT_EQ(b.port.boxTexts().back(), "MAX = 10 !");
  EXPECT_TRUE(b.session.flags.abortFlag);
  b.port.lists = {Cmd(lcDelete, 10), Cmd(lcOk)};
  EditFormulaSegments(b.in);
  EXPECT_EQ(b.p().segmentCount, 9);
  EXPECT_EQ(b.port.listForms.back().selected, 9);  // clamped to the shorter list
  ASSERT_EQ(b.port.listForms.back().lines.size(), 9u);
  EXPECT_EQ(b.port.listForms.back().lines[0], "1: x=   0.00 ..  36.00:  f(x)= 1");
}

// ---------------------------------------------------------------- the command

TEST(CurveCommand, CancelAfterCalcRestoresAndRecalculates) {
  Bench b;
  b.p().curveType = ctEccentric;
  b.p().eccentric = {100, 10};
  b.in.calc();
  b.in.calculated = false;
  Real rMaxBefore = b.p().results.rMax;
  b.port.choices = {ctEllipse - 1};
  b.port.params = {[](ParamLogic& l) {
    ParamValues v = l.fill();
    v.texts = {"80", "50"};
    EXPECT_TRUE(l.calc(v));
    return false;  // "Abbrechen"
  }};
  EditCurveGeometry(b.in);
  EXPECT_TRUE(b.session.flags.abortFlag);
  EXPECT_EQ(b.p().curveType, ctEccentric);
  EXPECT_EQ(b.p().ellipse.a, 60);
  EXPECT_EQ(b.p().results.rMax, rMaxBefore);
  EXPECT_EQ(b.views, 1);  // the preview of "Calc"
}

TEST(CurveCommand, ACancelledPointTableChangesNothing) {
  // The port has no point table editor: it cancels, and the snapshot holds.
  for (int type : {ctFitPoints, ctPolarPoints}) {
    Bench b;
    b.p().curveType = ctSine;
    b.port.choices = {type - 1};
    EditCurveGeometry(b.in);
    EXPECT_TRUE(b.session.flags.abortFlag);
    EXPECT_EQ(b.p().curveType, ctSine);
    EXPECT_TRUE(b.port.boxes.empty());
    EXPECT_EQ(b.port.choicePrompts.at(0).items.size(), 11u);
  }
}

TEST(CurveCommand, PreselectionIsClamped) {
  Bench b;
  b.p().curveType = 0;
  b.port.choices = {std::nullopt};
  EditCurveGeometry(b.in);
  EXPECT_EQ(b.port.choicePrompts.at(0).selected, 0);
  EXPECT_EQ(b.port.choicePrompts.at(0).label, "Kurventyp w\u00E4hlen");
}

// ---------------------------------------------------------------- parameter dialogs

ParamValues Typed(ParamLogic& l, std::vector<std::string> texts) {
  ParamValues v = l.fill();
  for (size_t i = 0; i < texts.size(); ++i)
    if (!texts[i].empty() || i < v.texts.size()) v.texts[i] = texts[i];
  return v;
}

TEST(ParamDialogs, EllipseInInchAndItsDefault) {
  Bench b;
  b.ns().unitSystem = 1;
  b.p().ellipse.a = 100;
  ParamEditor e(b.in, ctEllipse);
  ParamValues v = e.fill();
  EXPECT_EQ(v.texts[0], "3.9370");
  EXPECT_EQ(e.defaultText(1, v), "3.5433");
  EXPECT_EQ(e.form().caption, "KAMO Ellipse");
  EXPECT_EQ(e.form().fields[1].unit, "in");
}

struct StoreCase {
  const char* name;
  int type;
  std::vector<std::string> texts;
  std::function<void(const CamProject&)> check;
};
class ParamStore : public ::testing::TestWithParam<StoreCase> {};
TEST_P(ParamStore, StoredValues) {
  const StoreCase& c = GetParam();
  Bench b;
  ParamEditor e(b.in, c.type);
  ASSERT_TRUE(e.store(Typed(e, c.texts))) << c.name;
  c.check(b.p());
  EXPECT_EQ(b.p().curveType, c.type);
}
INSTANTIATE_TEST_SUITE_P(
    Curve, ParamStore,
    ::testing::Values(
        StoreCase{"sine N 2.6", ctSine, {"50", "5", "2.6"}, [](const CamProject& p) { EXPECT_EQ(p.sine.N, 3); }},
        StoreCase{"sine N 2.5", ctSine, {"50", "5", "2.5"}, [](const CamProject& p) { EXPECT_EQ(p.sine.N, 2); }},
        StoreCase{"sine N 0", ctSine, {"50", "5", "0"}, [](const CamProject& p) { EXPECT_EQ(p.sine.N, 1); }},
        StoreCase{"sine N text", ctSine, {"50", "5", "abc"}, [](const CamProject& p) { EXPECT_EQ(p.sine.N, 1); }},
        StoreCase{"linear sine empty phi", ctLinearSine, {"50", "5", ""},
                  [](const CamProject& p) { EXPECT_EQ(p.linSine.phiLin, 225); }},
        StoreCase{"eccentric", ctEccentric, {"80", "7.5"},
                  [](const CamProject& p) {
                    EXPECT_EQ(p.eccentric.d, 80);
                    EXPECT_EQ(p.eccentric.e, 7.5L);
                  }},
        StoreCase{"polygon Di entered", ctPolygon, {"6", "20", "1"},
                  [](const CamProject& p) {
                    EXPECT_EQ(p.polygon.z, 6);
                    EXPECT_EQ(p.polygon.di, 20);
                    EXPECT_NEAR(static_cast<double>(p.polygon.de), 20 / std::cos(kPi / 6), 1e-15);
                  }},
        StoreCase{"sin-squared", ctSinSquare, {"30", "6", "150"},
                  [](const CamProject& p) {
                    EXPECT_EQ(p.sinSq.db, 30);
                    EXPECT_EQ(p.sinSq.sh, 6);
                    EXPECT_EQ(p.sinSq.w, 150);
                  }}),
    [](const auto& i) {
      std::string n = i.param.name;
      for (char& ch : n)
        if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
      return n;
    });

TEST(ParamDialogs, Defaults) {
  Bench b;
  ParamEditor sine(b.in, ctSine);
  ParamValues v = Typed(sine, {"53", "1", "4"});
  EXPECT_EQ(sine.defaultText(1, v), "5");  // round(5.3)
  EXPECT_EQ(sine.defaultText(2, v), "1");
  ParamEditor ecc(b.in, ctEccentric);
  EXPECT_EQ(ecc.defaultText(1, Typed(ecc, {"125", "1"})), "12");  // 12.5 to the even neighbour
  ParamEditor lin(b.in, ctLinearSine);
  EXPECT_EQ(lin.defaultText(2, lin.fill()), "225");
  ParamEditor sq(b.in, ctSinSquare);
  ParamValues q = Typed(sq, {"20", "1", "1"});
  EXPECT_EQ(sq.defaultText(0, q), "20");
  EXPECT_EQ(sq.defaultText(1, q), "4");
  EXPECT_EQ(sq.defaultText(2, q), "135");
}

TEST(ParamDialogs, PolygonCouplingAndLimits) {
  Bench b;
  ParamEditor e(b.in, ctPolygon);
  ParamValues v = Typed(e, {"6", "20", ""});
  v = e.changed(v);
  EXPECT_EQ(v.texts[2], FormatLength(b.ns(), 20 / std::cos(kPi / 6)));
  EXPECT_EQ(v.enabled, (std::vector<bool>{true, true, false}));
  v.radio = 1;
  v.texts[2] = "30";
  v = e.changed(v);
  EXPECT_EQ(v.enabled, (std::vector<bool>{true, false, true}));
  EXPECT_EQ(v.texts[1], FormatLength(b.ns(), 30 * std::cos(kPi / 6)));
  // z below 3 leaves the dependent field and is refused on storing.
  for (const char* z : {"0", "2", "70000"}) {
    ParamValues w = v;
    w.texts[0] = z;
    EXPECT_EQ(e.changed(w).texts[1], w.texts[1]) << z;
    EXPECT_FALSE(e.store(w)) << z;
  }
  EXPECT_EQ(b.p().polygon.z, 6);  // unchanged since the refusals
  EXPECT_EQ(b.port.boxes.size(), 3u);
}

TEST(ParamDialogs, UntouchedFieldsKeepTheExactValueThroughUnitSwitches) {
  Bench b;
  b.ns().unitSystem = 3;
  b.p().eccentric = {123.456789L, 10.0001L};
  ParamEditor e(b.in, ctEccentric);
  for (int i = 0; i < 4; ++i) {
    ASSERT_TRUE(e.toggleUnits(e.fill()));
    EXPECT_EQ(b.p().eccentric.d, 123.456789L) << i;
  }
  EXPECT_EQ(b.ns().unitSystem, 3) << "the metric system comes back";
  ASSERT_TRUE(e.calc(e.fill()));
  EXPECT_EQ(b.p().eccentric.d, 123.456789L);
  EXPECT_EQ(b.p().eccentric.e, 10.0001L);
}

TEST(ParamDialogs, OutlineFollowsTheModel) {
  Bench b;
  b.p().eccentric = {100, 10};
  ParamEditor e(b.in, ctEccentric);
  Outline o = e.outline();
  ASSERT_EQ(o.size(), 361u);
  double rmax = 0;
  for (auto [x, y] : o) rmax = std::max(rmax, std::hypot(x, y));
  EXPECT_NEAR(rmax, 60, 0.1);
}

TEST(UnitToggle, BackToTheMetricSystemThatWasActive) {
  for (int start : {0, 2, 3, 4}) {
    int u = start, remembered = 0;
    ToggleInch(u, remembered);
    EXPECT_EQ(u, 1);
    ToggleInch(u, remembered);
    EXPECT_EQ(u, start);
  }
}

// ---------------------------------------------------------------- positions

TEST(Positions, ListLines) {
  Bench b;
  b.p().basePointCount = 2;
  b.p().basePoints[1] = {5, -7.25L, kPi / 2};
  b.p().basePoints[2] = {12.5L, 0, 0};
  std::vector<std::string> lines = PositionLines(b.session);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], "Pos.001:  x=" + FormatLengthFixed(b.ns(), 5, 3, 5) + " mm     y=" +
                          FormatLengthFixed(b.ns(), 5, 3, -7.25L) + " mm     phi=" + FormatFixed(b.ns(), 4, 2, 90));
  b.ns().unitSystem = 1;
  EXPECT_NE(PositionLines(b.session)[1].find(" in "), std::string::npos);
}

TEST(Positions, RotationMirrorAndReversal) {
  CamProject p;
  p.resetProject();
  p.basePointCount = 3;
  p.basePoints[1] = {1, 0, 0};
  p.basePoints[2] = {2, 3, 0};
  p.basePoints[3] = {5, 7, 0};
  PositionTransform t;
  t.angleDeg = 90;
  TransformPositions(p, t);
  EXPECT_EQ(p.basePoints[1].x, 0);
  EXPECT_EQ(p.basePoints[1].y, 1);
  CamProject m = p;
  PositionTransform mx;
  mx.mirror = 1;  // about the x axis: y changes sign
  TransformPositions(m, mx);
  EXPECT_EQ(m.basePoints[1].x, 0);
  EXPECT_EQ(m.basePoints[1].y, -1);
  PositionTransform r;
  r.reverse = true;
  CamProject before = p;
  TransformPositions(p, r);
  EXPECT_EQ(p.basePoints[1].x, before.basePoints[3].x);
  EXPECT_EQ(p.basePoints[3].y, before.basePoints[1].y);
}

TEST(Positions, NewPositionStartsAtThePreviousOneAndCancelRemovesIt) {
  Bench b;
  b.session.settings.helpLevel = 0;
  b.p().basePointCount = 1;
  b.p().basePoints[1] = {5, 7, 0};
  b.port.lists = {Cmd(lcNew), Cmd(lcNew), std::nullopt};
  b.port.positions = {[](PositionLogic& l, int j) {
                        PositionForm f = l.form(j);
                        EXPECT_EQ(f.caption, "Koordinaten 2");
                        EXPECT_EQ(f.x, "5");
                        EXPECT_EQ(f.y, "7");
                        return l.store(j, "5", "17", "0");
                      },
                      [](PositionLogic&, int) { return false; }};
  EditPositions(b.in);
  EXPECT_TRUE(b.session.flags.abortFlag);
  EXPECT_EQ(b.p().basePointCount, 2);
  EXPECT_EQ(b.p().basePoints[2].y, 17);
}

TEST(Positions, ScaleZeroIsRefused) {
  Bench b;
  b.p().basePointCount = 1;
  b.p().basePoints[1] = {5, 7, 0};
  // Angle, shift x, shift y, scale x 0 (refused), 2, scale y, then cancel the mirror choice.
  b.port.texts = {"0", "0", "0", "0", "2", "1"};
  b.port.choices = {std::nullopt};
  b.port.lists = {Cmd(lcSpare1), Cmd(lcOk)};
  EditPositions(b.in);
  EXPECT_EQ(b.port.boxTexts().at(0).rfind("G\u00FCltiger Wertebereich", 0), 0u);
  EXPECT_EQ(b.p().basePoints[1].x, 5) << "cancelled before the transformation";
}

// ---------------------------------------------------------------- polynomial

TEST(Polynomial, CoefficientsReadBackExactly) {
  Bench b;
  b.p().poly.n = 3;
  b.p().poly.coef[1] = 40;
  b.p().poly.coef[2] = 1.0e-20L;
  b.p().poly.coef[3] = -1.0L / 3;
  PolyEditor e(b.in);
  PolyForm f = e.form();
  EXPECT_EQ(f.n, 3);
  std::vector<std::string> cells(f.coefficients.begin(), f.coefficients.begin() + 5);
  CamProject before = b.p();
  ASSERT_TRUE(e.store(3, cells));
  for (int i = 1; i <= 3; ++i) EXPECT_EQ(b.p().poly.coef[i], before.poly.coef[i]) << i;
  cells[1] = "zwei";
  EXPECT_FALSE(e.store(3, cells));
  EXPECT_EQ(b.p().poly.coef[2], 1.0e-20L);
  ASSERT_TRUE(e.store(2, {"1", "2", "3"}));
  EXPECT_EQ(b.p().poly.n, 2);
}

// The further laws of the two-point section: single-segment laws fill the
// formula; a piecewise law asks first and writes its pieces on OK, after
// segment k and before the segments that follow.
TEST(SectionLaws, SingleSegmentLawsFillTheFormula) {
  Bench b;
  b.p().curveType = ctFormula;
  b.p().segmentCount = 1;
  b.p().segments[1] = {120, "50"};
  SegmentEditor e(b.session, 1);
  std::vector<std::string> laws = e.sectionLaws();
  ASSERT_EQ(laws.size(), 8u);
  EXPECT_EQ(laws[0], "linear");
  EXPECT_EQ(laws[1], "sinus");
  struct Case {
    int index;
    MotionLaw law;
  } cases[] = {{2, MotionLaw::Cycloidal}, {3, MotionLaw::Poly345}, {4, MotionLaw::Poly4567}};
  for (const Case& c : cases) {
    SectionAnswer a = e.sectionLaw("40", "60", "120", c.index);
    EXPECT_EQ(a.error, "") << laws[static_cast<size_t>(c.index)];
    EXPECT_EQ(a.formula, MotionLawSegments(c.law, 0, 120, 40, 60).front().formula);
    EXPECT_EQ(a.toDeg, "120");
    std::string f = a.formula;
    EXPECT_NEAR(static_cast<double>(EvalFormula(f, 2 * kPi / 3).value), 60, 1e-9);
  }
  // The first two stay the formulas they always were.
  EXPECT_EQ(e.sectionLaw("10", "20", "90", 0).formula, SectionFormula(10, 20, 0, 90, false));
  EXPECT_EQ(e.sectionLaw("10", "20", "90", 1).formula, SectionFormula(10, 20, 0, 90, true));
  // A dwell keeps R1: R2 empty or equal.
  EXPECT_EQ(e.sectionLaw("40", "", "120", 7).formula, "40");
  EXPECT_EQ(e.sectionLaw("40", "40", "120", 7).formula, "40");
  EXPECT_EQ(e.sectionLaw("40", "41", "120", 7).error.rfind("Fehler : Rast: R2", 0), 0u);
  EXPECT_TRUE(b.port.questions.empty());
}

TEST(SectionLaws, PiecewiseLawAsksAndInsertsItsPiecesOnOk) {
  Bench b;
  CamProject& p = b.p();
  p.curveType = ctFormula;
  p.segmentCount = 2;
  p.segments[1] = {120, "50"};
  p.segments[2] = {360, "60"};
  {
    SegmentEditor e(b.session, 1);
    b.port.answers.push_back(Answer::Yes);
    SectionAnswer a = e.sectionLaw("40", "60", "120", 5);  // mod. Trapez
    ASSERT_EQ(a.error, "");
    ASSERT_EQ(b.port.questions.size(), 1u);
    EXPECT_NE(b.port.questions[0].find("5 Segmente"), std::string::npos) << b.port.questions[0];
    EXPECT_NE(b.port.questions[0].find("eingef\u00FCgt"), std::string::npos) << b.port.questions[0];
    EXPECT_NE(a.note, "");
    EXPECT_EQ(a.toDeg, "15");
    EXPECT_EQ(e.confirm(a.toDeg, a.formula).error, "");
  }
  ASSERT_EQ(p.segmentCount, 6);
  const double limits[] = {15, 45, 75, 105, 120, 360};
  for (int i = 1; i <= 6; ++i) EXPECT_EQ(static_cast<double>(p.segments[static_cast<size_t>(i)].xMax), limits[i - 1]);
  EXPECT_EQ(p.segments[6].formula, "60");
  Calculate(p, b.session.messages, b.session.flags, b.session.settings);
  ASSERT_FALSE(b.session.flags.calcError);
  EXPECT_NEAR(static_cast<double>(RadiusAt(p, kPi / 3)), 50, 1e-9);  // half way up at 60°
  EXPECT_NEAR(static_cast<double>(RadiusAt(p, 2 * kPi / 3)), 60, 1e-9);

  // "Nein": nothing filled; an edited formula after "Ja" stores one segment.
  {
    SegmentEditor e(b.session, 6);
    b.port.answers.push_back(Answer::No);
    EXPECT_TRUE(e.sectionLaw("60", "40", "360", 6).keep);
    b.port.answers.push_back(Answer::Cancel);
    EXPECT_TRUE(e.sectionLaw("60", "40", "360", 6).keep);
    EXPECT_FALSE(b.session.flags.abortFlag);
    b.port.answers.push_back(Answer::Yes);
    SectionAnswer a = e.sectionLaw("60", "40", "360", 6);  // mod. Sinus: 3 segments fit
    ASSERT_EQ(a.error, "");
    EXPECT_EQ(e.confirm("360", "60-20*(X-2.094)/4.189").error, "");
  }
  EXPECT_EQ(p.segmentCount, 6);
  // No room: 7 segments and 4 more would exceed 10.
  p.segments[6].xMax = 300;
  p.segments[7] = {360, "60"};
  p.segmentCount = 7;
  SegmentEditor e(b.session, 7);
  SectionAnswer full = e.sectionLaw("60", "40", "360", 5);
  EXPECT_EQ(full.error.rfind("Fehler : Segmente: ", 0), 0u) << full.error;
  EXPECT_NE(full.error.find("braucht 5, frei sind nur 4"), std::string::npos) << full.error;
  EXPECT_EQ(b.port.questions.size(), 4u);
}

}  // namespace
}  // namespace kamo
