// Command-line parsing and the batch jobs.
#include "shell/cmdline.h"

#include "core/identity.h"
#include "core/strings.h"
#include "shell/session.h"

namespace kamo {

namespace {
bool IsHelp(const std::string& a) { return a == "/?" || a == "?"; }
bool IsPrintout(const std::string& a) { return a == "/I" || a == "/i" || a == "-I" || a == "-i"; }
bool IsCad(const std::string& a) {
  std::string u = Upper(a);
  return u.rfind("/CAD", 0) == 0 || u.rfind("-CAD", 0) == 0;
}
}  // namespace

bool IsBatchCall(const std::vector<std::string>& args) {
  for (const auto& a : args)
    if (IsHelp(a) || IsPrintout(a) || IsCad(a) || a == "--sheet" || a == "--diagram" ||
        a == "--solid")
      return true;
  return false;
}

std::vector<std::string> CommandLineHelp() {
  std::string prog = kProgramFile;
  std::string example = "Example: " + prog + " test." + kProjectExtension;
  return {
      std::string(kProductName) + " Command Line Mode",
      prog + " Filename [/I] [/CADi:j] [/NOGUI]",
      "/I       -> TXT file",
      "/CADi:j  -> CAD File",
      "            i: 1=DXF, 2=IGS, 5=TXT",
      "            j: index (1,2,3, ..)",
      "/NOGOUI  -> No GUI, exit on fatal error",
      "/?       -> Help",
      example + "             ->  GUI",
      example + " /I /NOGUI   ->  test.txt",
      example + " /CAD1:1     ->  test.dxf",
      "Example: " + prog + " test.edi /E /NOGUI   ->  test.edi",
      "",
      prog + " FILE.kmo --sheet K --format F [-o OUT]    sheet K as a file of format F",
      prog + " FILE.kmo --diagram K --format F [-o OUT]  diagram K as a file of format F",
      prog + " FILE.kmo --solid --format F [-o OUT]      the closed cam solid",
      "Exit codes: 0 done, 1 project unreadable, calculation or output failed, 2 usage error",
  };
}

int RunBatch(Session& session, const std::vector<std::string>& args, std::ostream& out,
             std::ostream& err) {
  session.commandLine = args;
  if (!args.empty() && IsHelp(args.front())) {
    for (const auto& l : CommandLineHelp()) out << l << '\n';
    return kExitOk;
  }
  err << "wkamo: this command line is not available yet\n";
  return kExitUsage;
}

}  // namespace kamo
