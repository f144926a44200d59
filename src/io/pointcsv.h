// Point tables as CSV or TSV files, for tables from a spreadsheet or a
// measuring machine: two columns (phi, r), separated by a tab, ";" or ",";
// "." or "," decimals (with "," as the separator only "."); an optional
// header line; line ends CR LF, CR or LF. The values are read and written as
// the table shows them (the caller converts angle mode and length unit).
//
//   PointCsv t = ParsePointCsv(bytes, 1000);
//   if (!t.ok()) ui.showErrorAlways(t.error);   // names the line
#pragma once
#include <array>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/numstyle.h"
#include "core/real.h"

namespace kamo {

struct PointCsv {
  std::vector<std::pair<Real, Real>> rows;  // phi, r
  char delimiter = '\t';
  bool header = false;  // the first line was a header and was skipped
  std::string error;    // CP850, names the line; empty when read
  int line = 0;         // the 1-based line of the error
  bool ok() const { return error.empty(); }
};

// Reads a table of at least 2 and at most maxRows points.
PointCsv ParsePointCsv(std::string_view text, int maxRows);

// The separator of a file to write: a tab for ".tsv" and ".txt", else ",".
char CsvDelimiterFor(const std::string& path);

// The table as a file: the header line (UTF-8), then one line per point
// with the cells' numbers as given (texts that read back exactly), CR LF
// line ends; their decimal mark becomes "." when "," separates the cells,
// else `decimal`.
std::string FormatPointCsv(const std::vector<std::array<std::string, 2>>& rows, const std::string& phiHeader,
                           const std::string& rHeader, char delimiter, char decimal);

}  // namespace kamo
