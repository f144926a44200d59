// Command-line parsing and the batch jobs.
#include "shell/cmdline.h"

#include <filesystem>
#include <system_error>

#include "cad/formats.h"
#include "cam/kamorech.h"
#include "core/codepage.h"
#include "core/datapaths.h"
#include "core/identity.h"
#include "core/outputfile.h"
#include "core/strings.h"
#include "io/configio.h"
#include "io/kamoio.h"
#include "report/camreport.h"
#include "report/report.h"
#include "shell/cad_batch.h"
#include "shell/check_batch.h"
#include "shell/docu_batch.h"
#include "shell/motion_batch.h"
#include "shell/session.h"
#include "shell/animate_batch.h"
#include "shell/sheet_batch.h"
#include "shell/solid_batch.h"

namespace kamo {
namespace fs = std::filesystem;

namespace {
bool IsHelp(const std::string& a) { return a == "/?" || a == "?"; }
bool IsPrintout(const std::string& a) { return a == "/I" || a == "/i" || a == "-I" || a == "-i"; }
bool IsCad(const std::string& a) {
  std::string u = Upper(a);
  return u.rfind("/CAD", 0) == 0 || u.rfind("-CAD", 0) == 0;
}

// "/home/u/cam.kmo" is a file, "/X" an option: options hold no "/" or "." after the first.
bool LooksLikePath(const std::string& a) {
  return a.find_first_of("/.", 1) != std::string::npos;
}

std::string ProgramFolder() {
  std::error_code ec;
  fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  return ec ? std::string() : exe.parent_path().string();
}

const char* JobName(CommandLine::Job job) {
  switch (job) {
    case CommandLine::Job::Printout: return "/I";
    case CommandLine::Job::Report: return "--printout";
    case CommandLine::Job::Cad: return "/CADi:j";
    case CommandLine::Job::Sheet: return "--sheet";
    case CommandLine::Job::Diagram: return "--diagram";
    case CommandLine::Job::Solid: return "--solid";
    case CommandLine::Job::Contour: return "--contour";
    case CommandLine::Job::Changes: return "--changes";
    case CommandLine::Job::Motion: return "--motion";
    case CommandLine::Job::Animate: return "--animate";
    case CommandLine::Job::Check: return "--check";
    default: return "";
  }
}

// The report formats of --printout: the report engine's target and the
// extension of the file's default name.
struct ReportFormat {
  const char* name;
  int target;
  const char* extension;
};
constexpr ReportFormat kReportFormats[] = {
    {"txt", otFile, "txt"},    // the text file (DOS code page, as the window's "Datei" writes it)
    {"tsv", otBatch, "tsv"},   // tab-separated rows, UTF-8 (the "/I" printout)
    {"html", otHtml, "html"},  // the HTML page
};
const ReportFormat* FindReportFormat(const std::string& name) {
  for (const ReportFormat& f : kReportFormats)
    if (name == f.name) return &f;
  return nullptr;
}

std::string ReportUsageError(const CommandLine& cl) {
  if (cl.format.empty()) return "--printout needs --format txt, tsv or html";
  if (!FindReportFormat(cl.format))
    return "--printout --format " + cl.format + ": unknown format (txt, tsv, html)";
  return {};
}

// The standard printout (mode 0) through one of the report engine's file
// targets: "/I" on the batch target as project stem + ".txt", --printout in
// the format asked for, both in workDir unless -o names the file.
int RunPrintout(Session& s, const CommandLine& cl, const std::string& workDir, std::ostream& err) {
  const ReportFormat* format = cl.job == CommandLine::Job::Report ? FindReportFormat(cl.format) : nullptr;
  std::string extension = format ? format->extension : "txt";
  std::string target = BatchTarget(s, cl, workDir, extension);
  if (!BatchTargetAllowed(s, target, err)) return kExitFailed;
  ReportEngine& engine = s.reports(workDir);
  // "/I" names its file only for -o (the engine's default is the same name).
  if (!cl.output.empty() || format) engine.context().batchFile = target;
  // Nobody could answer the explanation list.
  engine.context().noGui = true;
  engine.setDefaultTarget(format ? format->target : otBatch);
  engine.setAskTarget(false);
  s.flags.abortFlag = false;
  std::error_code ec;
  bool ok = CamPrintout(engine, pmUnattended);
  if (!ok || engine.resultPath().empty() || fs::file_size(engine.resultPath(), ec) == 0 || ec) {
    err << "wkamo: " << target << ": the printout could not be written\n";
    return kExitFailed;
  }
  return kExitOk;
}

}  // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& args) {
  CommandLine cl;
  auto setJob = [&cl](CommandLine::Job job, const std::string& arg) {
    // Two jobs, also two of one kind ("/CAD1:6 /CAD7:1"), are a usage error.
    if (cl.job != CommandLine::Job::None && cl.error.empty())
      cl.error = arg + ": only one job per call";
    cl.job = job;
  };
  auto value = [&](size_t& i, std::string& into) {
    if (i + 1 >= args.size() || args[i + 1].empty()) {
      if (cl.error.empty()) cl.error = args[i] + ": a value is missing";
      if (i + 1 < args.size()) ++i;
      return;
    }
    into = args[++i];
  };
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (IsHelp(a)) {
      cl.job = CommandLine::Job::Help;
      return cl;
    }
    if (Upper(a) == "/NOGUI") {
      cl.noGui = true;
    } else if (IsPrintout(a)) {
      setJob(CommandLine::Job::Printout, a);
    } else if (IsCad(a)) {
      setJob(CommandLine::Job::Cad, a);
      cl.option = a;
    } else if (a == "/G" || a == "/E" || a == "/e") {
      cl.openGui = true;
    } else if (a == "--sheet" || a == "--diagram") {
      setJob(a == "--sheet" ? CommandLine::Job::Sheet : CommandLine::Job::Diagram, a);
      value(i, cl.kind);
    } else if (a == "--solid") {
      setJob(CommandLine::Job::Solid, a);
    } else if (a == "--contour") {
      setJob(CommandLine::Job::Contour, a);
    } else if (a == "--printout") {
      setJob(CommandLine::Job::Report, a);
    } else if (a == "--changes") {
      setJob(CommandLine::Job::Changes, a);
    } else if (a == "--check") {
      setJob(CommandLine::Job::Check, a);
    } else if (a == "--motion") {
      setJob(CommandLine::Job::Motion, a);
      value(i, cl.motion);
    } else if (a == "--animate") {
      setJob(CommandLine::Job::Animate, a);
      value(i, cl.frames);
    } else if (a == "--size") {
      value(i, cl.size);
    } else if (a == "--real-time") {
      cl.realTime = true;
    } else if (a == "--force") {
      cl.force = true;
    } else if (a == "--format") {
      value(i, cl.format);
    } else if (a == "-o") {
      value(i, cl.output);
    } else if (a.size() > 1 && (a[0] == '-' || (a[0] == '/' && !LooksLikePath(a)))) {
      if (cl.error.empty()) cl.error = a + ": unknown option";
    } else if (cl.file.empty()) {
      cl.file = a;
    } else if (cl.error.empty()) {
      cl.error = a + ": only one project file per call";
    }
  }
  return cl;
}

bool IsBatchCall(const std::vector<std::string>& args) {
  for (const auto& a : args)
    if (IsHelp(a) || IsPrintout(a) || IsCad(a) || a == "--sheet" || a == "--diagram" ||
        a == "--solid" || a == "--printout" || a == "--changes" || a == "--motion" || a == "--contour" ||
        a == "--animate" || a == "--check")
      return true;
  return false;
}

std::string CadOptionFormats() {
  std::string s;
  for (const OutputFormat& f : kOutputFormats) {
    if (!f.cad || !(f.jobs & kJobCadOption)) continue;
    if (!s.empty()) s += ", ";
    s += std::to_string(CodeOf(f.kind)) + " " + f.helpName;
  }
  return s;
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
      prog + " FILE.kmo /I [-o OUT]                      the unattended printout: tab-separated",
      "            rows (label, symbol, unit, value), UTF-8; also /i, -I, -i",
      prog + " FILE.kmo --printout --format F [-o OUT]   the standard printout as a file",
      "            F: txt (text, DOS code page 850), tsv (tab-separated, UTF-8), html",
      prog + " FILE.kmo /CADi:j [-o OUT]                 CAD file i of sheet or diagram j",
      "            i: " + CadOptionFormats(),
      "            j: 1..6 the sheets 1..6; 7, 8, 9 the diagrams s, v and a",
      prog + " FILE.kmo --sheet K --format F [-o OUT]    sheet K as a file of format F",
      "            K: 1..10 the sheets of the output choice",
      prog + " FILE.kmo --diagram K --format F [-o OUT]  diagram K as a file of format F",
      "            K: 1 s, 2 v, 3 a, 4 s, v and a, 5 r, 6 pressure angle, 7 radius of",
      "            curvature, 8 jerk, 9 contact force and Hertz pressure",
      "            F: " + FormatNames(kJobSheet, ", "),
      prog + " FILE.kmo --solid --format " + FormatNames(kJobSolid, "|") + " [-o OUT]    the closed cam solid",
      prog + " FILE.kmo --contour --format " + FormatNames(kJobContour, "|") +
          " [-o OUT]      the contour as one closed curve",
      prog + " FILE.kmo --changes --format F [-o OUT]    the change protocol",
      "            F: txt (DOS code page), tsv, html",
      prog + " FILE.kmo --animate N --format F [-o OUT]  one turn of the cam in N frames (1..3600)",
      "            F: " + FormatNames(kJobAnimate, ", ") + "; gif animated, 800 x 800 pixels or --size WxH,",
      "            40 ms a frame or one turn in 60/n s with --real-time; png",
      "            FILE_0001.png ... in the new folder OUT, default FILE_frames",
      prog + " FILE.kmo --check --format F [-o OUT]      the engineering checks report:",
      "            pressure angle, curvature, jerk, contact force, Hertz pressure;",
      "            F: txt (DOS code page), tsv (label, symbol, unit, value; UTF-8), html",
      prog + " --motion PROGRAM.txt [-o CAM.kmo] [--force]  a project from a motion programme",
      "            (base R0, then LAW SPAN LIFT lines; see the README); an existing",
      "            project is replaced only with --force",
      "-o OUT      the output file; without it FILE's stem + the format's extension",
      "            in the working folder (/I and --format txt both give FILE's stem + .txt)",
      "/NOGUI      no message windows; batch calls never open a window anyway",
      "/G, /E      start the main window without opening FILE",
      "Exit codes: 0 done, 1 project unreadable, calculation or output failed,",
      "            2 usage error (unknown option, kind or format, or not available yet)",
  };
}

std::string MissingExtensionMessage(const std::string& name) {
  if (FileNamePart(name).find('.') != std::string::npos) return {};
  return std::string("Erweiterung .") + kProjectExtension + " mu\xE1 mit angegeben werden";
}

bool LoadForBatch(Session& session, const std::string& path, std::ostream& err) {
  std::string missing = MissingExtensionMessage(path);
  if (!missing.empty()) {
    err << "wkamo: " << Cp850ToUtf8(missing) << "\n";
    return false;
  }
  session.uiState.fromCommandLine = true;
  session.flags.abortFlag = false;
  // A failing read shows no box: the reason goes to the error stream.
  session.uiState.errorBoxesOn = false;
  std::string message;
  bool read = ReadProject(session.ui, session.settings, path, session.project(), &message);
  session.uiState.errorBoxesOn = true;
  if (!read) {
    err << "wkamo: "
        << (message.empty() ? path + ": the project cannot be read" : Cp850ToUtf8(message))
        << "\n";
    return false;
  }
  session.file.fileName = StemPart(path);
  session.file.fileDir.clear();
  // No output of this run may replace the project, by whatever name.
  session.uiState.keepFiles.add(path, "the project file");
  // The file holds no results: calculate once, before anything is written.
  Calculate(session.project(), session.messages, session.flags, session.settings);
  session.flags.modified = false;
  session.flags.abortFlag = false;
  if (session.flags.calcError) {
    err << "wkamo: " << path << ": the calculation failed\n";
    for (int i = 1; i <= session.messages.count(); ++i)
      err << "wkamo: " << Cp850ToUtf8(session.messages.at(i)) << "\n";
    return false;
  }
  return true;
}

std::string BatchTarget(const Session& session, const CommandLine& cl, const std::string& workDir,
                        const std::string& extension) {
  fs::path dir(workDir.empty() ? std::string(".") : workDir);
  if (!cl.output.empty()) return (dir / cl.output).string();
  std::string stem = session.file.fileName.empty() ? std::string("kamo") : session.file.fileName;
  return (dir / (stem + "." + extension)).string();
}

bool BatchTargetAllowed(Session& session, const std::string& target, std::ostream& err) {
  std::string problem = OutputTargetProblem(target, &session.uiState.keepFiles);
  if (problem.empty()) return true;
  err << "wkamo: " << problem << "\n";
  return false;
}

bool BatchResultsReady(const Session& session, std::ostream& err) {
  // The results are cleared when a calculation starts and filled at its end.
  const bool complete = !session.flags.calcError && session.project().results.xSize > 0;
  if (complete) return true;
  err << "wkamo: " << (session.flags.calcError ? "the calculation failed" : "the calculation stopped without results")
      << "\n";
  for (int i = 1; i <= session.messages.count(); ++i)
    err << "wkamo: " << Cp850ToUtf8(session.messages.at(i)) << "\n";
  return false;
}

void CutShort(const Session& session, int known, const std::string& target, std::ostream& err) {
  for (int i = known + 1; i <= session.messages.count(); ++i)
    err << "wkamo: " << Cp850ToUtf8(session.messages.at(i)) << "\n";
  err << "wkamo: " << target << ": the drawing was cut short, nothing was written\n";
}

int RunBatchIn(Session& session, const std::vector<std::string>& args, const std::string& workDir,
               std::ostream& out, std::ostream& err) {
  session.commandLine = args;
  if (session.programDir.empty()) session.programDir = ProgramFolder();
  CommandLine cl = ParseCommandLine(args);
  if (cl.job == CommandLine::Job::Help) {
    for (const auto& l : CommandLineHelp()) out << l << '\n';
    return kExitOk;
  }
  if (!cl.error.empty()) {
    err << "wkamo: " << cl.error << " (wkamo /? lists the options)\n";
    return kExitUsage;
  }
  if (cl.force && cl.job != CommandLine::Job::Motion) {
    err << "wkamo: --force: only with --motion (wkamo /? lists the options)\n";
    return kExitUsage;
  }
  if (cl.job == CommandLine::Job::Motion) {
    if (!cl.file.empty()) {
      err << "wkamo: " << cl.file << ": --motion writes a project and reads none (wkamo /? lists the options)\n";
      return kExitUsage;
    }
    if (!cl.format.empty()) {
      err << "wkamo: --motion --format " << cl.format << ": the project is written as kmo only\n";
      return kExitUsage;
    }
    session.uiState.overwriteAsk = false;
    return RunMotionBatch(session, cl, workDir, err);
  }
  if (cl.file.empty()) {
    err << "wkamo: " << (cl.job == CommandLine::Job::None ? "no project file given"
                                                          : std::string(JobName(cl.job)) +
                                                                " needs a project file")
        << " (wkamo /? lists the options)\n";
    return kExitUsage;
  }
  std::string missing = MissingExtensionMessage(cl.file);
  if (!missing.empty()) {
    err << "wkamo: " << Cp850ToUtf8(missing) << "\n";
    return kExitUsage;
  }
  if (cl.job != CommandLine::Job::Animate && (!cl.size.empty() || cl.realTime)) {
    err << "wkamo: " << (cl.realTime ? "--real-time" : "--size") << " belongs to --animate"
        << " (wkamo /? lists the options)\n";
    return kExitUsage;
  }
  switch (cl.job) {
    case CommandLine::Job::Printout:
    case CommandLine::Job::Cad:
      break;
    case CommandLine::Job::Report: {
      std::string usage = ReportUsageError(cl);
      if (!usage.empty()) {
        err << "wkamo: " << usage << " (wkamo /? lists the options)\n";
        return kExitUsage;
      }
      break;
    }
    case CommandLine::Job::Sheet:
    case CommandLine::Job::Diagram: {
      std::string usage = SheetBatchUsageError(session, cl);
      if (!usage.empty()) {
        err << "wkamo: " << usage << " (wkamo /? lists the options)\n";
        return kExitUsage;
      }
      break;
    }
    case CommandLine::Job::Changes: {
      std::string usage = ChangesBatchUsageError(cl);
      if (!usage.empty()) {
        err << "wkamo: " << usage << " (wkamo /? lists the options)\n";
        return kExitUsage;
      }
      break;
    }
    case CommandLine::Job::Check: {
      std::string usage = CheckBatchUsageError(cl);
      if (!usage.empty()) {
        err << "wkamo: " << usage << " (wkamo /? lists the options)\n";
        return kExitUsage;
      }
      break;
    }
    case CommandLine::Job::Solid:
    case CommandLine::Job::Contour: {
      std::string usage = SolidBatchUsageError(cl);
      if (!usage.empty()) {
        err << "wkamo: " << usage << " (wkamo /? lists the options)\n";
        return kExitUsage;
      }
      break;
    }
    case CommandLine::Job::Animate: {
      std::string usage = AnimateBatchUsageError(session, cl);
      if (!usage.empty()) {
        err << "wkamo: " << usage << " (wkamo /? lists the options)\n";
        return kExitUsage;
      }
      break;
    }
    case CommandLine::Job::None:
      err << "wkamo: " << cl.file << ": no batch job given (wkamo /? lists the options)\n";
      return kExitUsage;
    default:
      err << "wkamo: " << JobName(cl.job) << ": not available yet\n";
      return kExitUsage;
  }
  // Nobody is there to answer: an existing output is replaced.
  session.uiState.overwriteAsk = false;
  if (!LoadForBatch(session, cl.file, err)) return kExitFailed;
  if (cl.job == CommandLine::Job::Cad)
    return RunCadOptionTo(session, cl.option,
                          cl.output.empty() ? std::string() : BatchTarget(session, cl, workDir, "txt"),
                          workDir, err);
  if (cl.job == CommandLine::Job::Sheet || cl.job == CommandLine::Job::Diagram)
    return RunSheetBatch(session, cl, workDir, err);
  if (cl.job == CommandLine::Job::Solid || cl.job == CommandLine::Job::Contour)
    return RunSolidBatch(session, cl, workDir, err);
  if (cl.job == CommandLine::Job::Animate) return RunAnimateBatch(session, cl, workDir, err);
  if (cl.job == CommandLine::Job::Changes) return RunChangesBatch(session, cl, workDir, err);
  if (cl.job == CommandLine::Job::Check) return RunCheckBatch(session, cl, workDir, err);
  return RunPrintout(session, cl, workDir, err);
}

int RunBatch(Session& session, const std::vector<std::string>& args, std::ostream& out,
             std::ostream& err) {
  std::error_code ec;
  std::string cwd = fs::current_path(ec).string();
  if (ec) cwd = ".";
  // The settings of the user (units, decimals, folders) apply as at an
  // interactive start; without a configuration file the defaults do.
  ConfigPlace place;
  ConfigContext ctx;
  ctx.startDir = cwd + "/";
  readConfig(session.settings, session.ui, place, ConfigFallbackDir(), ctx);
  session.uiState.keepFiles.add(place.path(), "the configuration file");
  session.flags.abortFlag = false;
  return RunBatchIn(session, args, cwd, out, err);
}

}  // namespace kamo
