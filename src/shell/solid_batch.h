// The batch jobs "--solid --format stl|stp [-o OUT]": the closed cam solid, and
// "--contour --format stp [-o OUT]": the contour as one closed curve.
#pragma once
#include <ostream>
#include <string>

namespace kamo {

class Session;
struct CommandLine;

// Empty when the format is one the solid is written in, else the usage error.
std::string SolidBatchUsageError(const CommandLine& cl);

// Writes the closed solid of the project already read and calculated;
// returns the exit code. Without "-o" the file is the project's stem + ".stl"
// in workDir.
int RunSolidBatch(Session& session, const CommandLine& cl, const std::string& workDir,
                  std::ostream& err);

}  // namespace kamo
