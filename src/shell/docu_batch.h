// The batch job "--changes --format txt|tsv|html [-o OUT]": the change
// protocol of a project as a file.
#pragma once
#include <ostream>
#include <string>

namespace kamo {

class Session;
struct CommandLine;

// Empty when the format is one the protocol is written in, else the usage error.
std::string ChangesBatchUsageError(const CommandLine& cl);

// Writes the change protocol of the project already read and calculated;
// returns the exit code. Without "-o" the file is the project's stem + the
// format's extension in workDir. The file is written beside the target under
// a name of its own and renamed into place, so a failed job leaves the old
// target untouched.
int RunChangesBatch(Session& session, const CommandLine& cl, const std::string& workDir,
                    std::ostream& err);

}  // namespace kamo
