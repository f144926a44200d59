// The batch job "--motion PROGRAM.txt [-o CAM.kmo] [--force]": a project of
// curve type 1 from a motion programme file, calculated once and written.
#pragma once
#include <ostream>
#include <string>

namespace kamo {

class Session;
struct CommandLine;

// Reads the programme, builds and calculates the project and writes it;
// returns the exit code. Without "-o" the project is the programme's stem +
// ".kmo" in workDir. An existing project is refused unless "--force".
int RunMotionBatch(Session& session, const CommandLine& cl, const std::string& workDir,
                   std::ostream& err);

}  // namespace kamo
