// The engineering checks of a calculated cam. Calculate runs them after the
// kinematics on the follower positions it found; nothing here searches the
// contour again, and nothing reports to the message list (the findings stay
// in project.checks for the window and the "Prüfung" report).
//
//   RunChecks(project, s, half)   s[1..contourCount] the follower positions,
//                                 half the half diameter they were found with
#pragma once
#include <string>
#include <vector>

#include "cam/model.h"

namespace kamo {

// Fills project.checks from the contour, the positions s and the inputs in
// project.checkData; project.ram.m and project.body.width as they stand.
// shape[1..shapeCount], when given, is the contour the curvature is taken
// from (the one built from coordinate points and arcs, before it was
// resampled at equal angles: the resampled points lie on the arcs' chords).
void RunChecks(CamProject& project, const std::vector<Real>& s, Real half,
               const std::vector<ContourPoint>* shape = nullptr, int shapeCount = 0);

// 1/E* of two bodies in line contact (mm^2/N); 0 when an input is unusable.
Real ContactModulus(const CheckInputs& in);

// The German one-line text of a finding, angles in whole tenths of degrees:
//   "Druckwinkel 34.2° > 30° bei phi = 10.0° .. 55.0°"
// (CP850 bytes; dec is the decimal separator).
std::string FindingText(const CheckFinding& f, const CheckInputs& in, char dec = '.');

}  // namespace kamo
