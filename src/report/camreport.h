// The cam's printouts written through the report engine: the standard
// printout, the extract, the unattended printout and the message report.
#pragma once
#include "report/report.h"

namespace kamo {

enum PrintoutMode { pmUnattended = 0, pmStandard = 1, pmExtract = 2 };

// Writes the cam printout; false when nothing (or not everything) was written:
// a failed calculation shows the error explanation list instead.
bool CamPrintout(ReportEngine& engine, int mode);

// The report of the collected calculation messages ("Error Messages").
bool MessageReport(ReportEngine& engine);

// The error explanation list of the report's session.
void ShowReportErrorList(ReportEngine& engine);

}  // namespace kamo
