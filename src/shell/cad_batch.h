// Batch jobs that write CAD files: "/CADi:j" and the sheet, diagram and solid options.
#pragma once
#include <ostream>
#include <string>
#include <vector>

#include "cad/cad.h"

namespace kamo {

class Session;

// The surroundings of a CAD output without any window, writing batchFile
// (without extension) for the project of session.
CadEnvironment BatchCadEnvironment(Session& session, const std::string& batchFile);

// Runs "/CADi:j" (option as typed) for the project already read and
// calculated in session; returns the exit code.
int RunCadOption(Session& session, const std::string& option, std::ostream& err);
// The same with the output file in workDir (the working folder when empty).
int RunCadOption(Session& session, const std::string& option, const std::string& workDir,
                 std::ostream& err);
// The same with the file moved to targetFile afterwards (by the caller): the
// file's header names targetFile.
int RunCadOption(Session& session, const std::string& option, const std::string& workDir,
                 const std::string& targetFile, std::ostream& err);

}  // namespace kamo
