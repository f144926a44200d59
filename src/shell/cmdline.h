// The command line of wkamo: batch jobs that never open a window.
#pragma once
#include <ostream>
#include <string>
#include <vector>

#include "report/report.h"

namespace kamo {

class Session;

// Exit codes of batch runs.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;  // unreadable project, failed calculation or output
inline constexpr int kExitUsage = 2;   // unknown or not yet available option

// What a command line asks for.
struct CommandLine {
  enum class Job { None, Help, Printout, Report, Cad, Sheet, Diagram, Solid, Changes, Motion, Contour, Animate,
                   Check };
  Job job = Job::None;
  std::string file;      // the project file named, as typed
  std::string option;    // "/CADi:j" as typed
  std::string kind;      // --sheet K / --diagram K
  std::string format;    // --format F
  std::string output;    // -o OUT
  std::string motion;    // --motion PROGRAM: the motion programme file
  bool force = false;    // --force: --motion may replace an existing project
  std::string frames;    // --animate N: frames per turn
  std::string size;      // --size WxH: pixels of the animation's frames
  bool realTime = false; // --real-time: one turn of the animation in 60/n s
  bool noGui = false;    // "/NOGUI"
  bool openGui = false;  // "/G", "/E": the start continues normally
  std::string error;     // a usage error (unknown option, missing value)
};
CommandLine ParseCommandLine(const std::vector<std::string>& args);

// True when the arguments ask for a batch job (no window is created).
bool IsBatchCall(const std::vector<std::string>& args);
// The help lines of "/?".
std::vector<std::string> CommandLineHelp();
// The formats of "/CADi:j" from the format table: "1 DXF, 2 IGES, ...".
std::string CadOptionFormats();
// "Erweiterung .kmo muß mit angegeben werden" (CP850) when the name has no
// extension, else empty.
std::string MissingExtensionMessage(const std::string& name);

// Reads the project named on the command line into the session and
// calculates it exactly once; every failure (unreadable file, fatal
// calculation error) is reported on err and gives false. The session then
// names the project by the file's stem, without a folder.
bool LoadForBatch(Session& session, const std::string& path, std::ostream& err);

// The file a batch job writes: "-o OUT" (relative to workDir), else the
// project's stem + "." + extension in workDir (the working folder when empty).
std::string BatchTarget(const Session& session, const CommandLine& cl, const std::string& workDir,
                        const std::string& extension);
// Whether target may receive the job's output (not a link, folder, device,
// FIFO, the project or a file the job read); false after the reason on err.
// The writers check again when they create and when they replace the file.
bool BatchTargetAllowed(Session& session, const std::string& target, std::ostream& err);
// For the jobs that draw or write the results: true when the calculation
// reached its end. Otherwise (calcError, or a "Fehler" that stopped it, such
// as "Fehler : Richtungssinn !") the messages go to err and it is false.
bool BatchResultsReady(const Session& session, std::ostream& err);
// Reports a drawing that stopped part way: the messages it added after the
// first `known` ones, then that target was not written.
void CutShort(const Session& session, int known, const std::string& target, std::ostream& err);

// Runs a batch job; returns the exit code. Output files land in the working
// folder (RunBatchIn: in workDir) unless "-o" names one.
int RunBatch(Session& session, const std::vector<std::string>& args, std::ostream& out,
             std::ostream& err);
int RunBatchIn(Session& session, const std::vector<std::string>& args, const std::string& workDir,
               std::ostream& out, std::ostream& err);

}  // namespace kamo
