// The "Prüfung" report: the inputs of the engineering checks, the extremes
// of pressure angle, curvature, jerk, contact force and Hertz pressure with
// the angles where they occur, and one verdict per finding.
#pragma once
#include <string>

#include "report/report.h"

namespace kamo {

// Writes the report to target (0: the configured choice, else an
// OutputTarget); false when nothing (or not everything) was written. A
// failed calculation shows the error explanation list instead. The
// tab-separated targets get the value rows only.
bool CheckReport(ReportEngine& engine, int target = 0);

// The status line of the window after a calculation (UTF-8): "Prüfung: ohne
// Befund", or the number of findings and the first of them; empty while the
// calculation has no results.
std::string CheckStatusLine(const CamProject& project, char decimalSeparator = '.');

}  // namespace kamo
