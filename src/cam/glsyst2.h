// The linear equation solver and the point fitting of curve type 8: a
// polynomial through the points, or a closed cubic spline turned into base
// points.
//
//   EquationSystem sys; sys.clear(); sys.size = 2; ... SolveSystem(sys);
//   FitResult fr = FitPoints(project, messages);   // from the point dialog
#pragma once
#include <array>

#include "cam/model.h"
#include "core/messages.h"

namespace kamo {

inline constexpr int kMaxUnknowns = 51;

inline constexpr const char* kMsgSplineTooLong = "Fatal  : Spline > 2000 Punkte !";

struct EquationSystem {
  int size = 0;  // 1..51
  std::array<std::array<Real, kMaxUnknowns + 1>, kMaxUnknowns + 1> matrix{};  // 1-based
  std::array<Real, kMaxUnknowns + 1> rhs{};  // the solution on return, by unknown
  std::array<int, kMaxUnknowns + 1> order{};
  int singular = 0;  // 0, or the index at which the system was found singular

  void clear();
};

// Gaussian elimination with diagonal pivoting in place. A zero pivot is never
// divided by: the system is reported singular and that unknown keeps its
// right-hand side. Sizes outside 1..51 are refused as singular.
void SolveSystem(EquationSystem& sys);

struct FitResult {
  bool ok = false;   // false: refused, nothing written (message in the list)
  int singular = 0;  // the solver's indicator (polynomial mode)
};

// Base points a closed spline through poly.n points needs with the current
// resolution (0 when fewer than two points).
int SplineBasePoints(const CamProject& project);

// By calc.fitMode: 0 fills poly.coef[1..poly.n]; 1 refills the base point
// list with the closed spline. A spline longer than the list is refused with
// kMsgSplineTooLong; the base point list is then emptied.
FitResult FitPoints(CamProject& project, MessageList& messages);

}  // namespace kamo
