// Batch jobs that write CAD files: "/CADi:j" and the sheet, diagram and solid options.
#pragma once
#include <ostream>
#include <string>
#include <vector>

#include "cad/cad.h"

namespace kamo {

class Session;

// The surroundings of a CAD output without any window, writing exactly the
// file path for the project of session.
CadEnvironment BatchCadEnvironment(Session& session, const std::string& path);

// Runs "/CADi:j" (option as typed) for the project already read and
// calculated in session; returns the exit code.
int RunCadOption(Session& session, const std::string& option, std::ostream& err);
// The same with the output file in workDir (the working folder when empty).
int RunCadOption(Session& session, const std::string& option, const std::string& workDir,
                 std::ostream& err);
// The same into the file target ("-o"); empty: the project's stem with the
// kind's extension in workDir.
int RunCadOptionTo(Session& session, const std::string& option, const std::string& target,
                   const std::string& workDir, std::ostream& err);

}  // namespace kamo
