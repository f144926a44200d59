// The batch job "--check --format txt|tsv|html [-o OUT]": the "Prüfung"
// report of the engineering checks as a file.
#pragma once
#include <ostream>
#include <string>

namespace kamo {

class Session;
struct CommandLine;

// Empty when the format is one the report is written in, else the usage error.
std::string CheckBatchUsageError(const CommandLine& cl);

// Writes the report of the project already read and calculated; returns the
// exit code: 1 when the calculation did not reach its results (the messages
// go to err) or the file could not be written. Without "-o" the file is the
// project's stem + the format's extension in workDir; the report engine
// writes it beside the target and renames it into place.
int RunCheckBatch(Session& session, const CommandLine& cl, const std::string& workDir, std::ostream& err);

}  // namespace kamo
