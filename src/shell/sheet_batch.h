// Batch jobs that write one sheet or one diagram in any file format:
// "--sheet K --format F [-o OUT]" and "--diagram K --format F [-o OUT]".
#pragma once
#include <ostream>
#include <string>

namespace kamo {

class Session;
struct CommandLine;

// The formats of --format: "dxf", "txt" (element text), "igs", "stp", "stl"
// through the CAD writers, "pdf", "svg", "png" through the picture writers.
// Empty when the kind and format are well formed, else the usage error.
std::string SheetBatchUsageError(const Session& session, const CommandLine& cl);

// Writes the sheet or diagram of the project already read and calculated;
// returns the exit code. Without "-o" the file is the project's stem with the
// format's extension in workDir.
int RunSheetBatch(Session& session, const CommandLine& cl, const std::string& workDir,
                  std::ostream& err);

}  // namespace kamo
