// The command line of wkamo: batch jobs that never open a window.
#pragma once
#include <ostream>
#include <string>
#include <vector>

namespace kamo {

class Session;

// Exit codes of batch runs.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;  // unreadable project, failed calculation or output
inline constexpr int kExitUsage = 2;   // unknown or not yet available option

// True when the arguments ask for a batch job (no window is created).
bool IsBatchCall(const std::vector<std::string>& args);
// The help lines of "/?".
std::vector<std::string> CommandLineHelp();
// Runs a batch job; returns the exit code.
int RunBatch(Session& session, const std::vector<std::string>& args, std::ostream& out,
             std::ostream& err);

}  // namespace kamo
