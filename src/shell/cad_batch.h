// Batch jobs that write CAD files: "/CADi:j" and the sheet, diagram and solid options.
#pragma once
#include <ostream>
#include <string>
#include <vector>

namespace kamo {

class Session;

// Runs "/CADi:j" (option as typed) for the project already read and
// calculated in session; returns the exit code.
int RunCadOption(Session& session, const std::string& option, std::ostream& err);

}  // namespace kamo
