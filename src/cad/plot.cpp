// The plot program's command lines: choice, dialog, prompt sequence, batch
// file, and the detached start.
#include "cad/plot.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <fstream>

#include "core/codepage.h"
#include "core/numbers.h"
#include "core/strings.h"

namespace kamo {
namespace fs = std::filesystem;

int DetachedStarter::startIn(const std::vector<std::string>& args, const std::string& dir) {
  if (args.empty() || args[0].empty()) return ENOENT;
  const char* folder = dir.empty() ? nullptr : dir.c_str();
  std::vector<char*> argv;
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  int report[2];
  if (pipe2(report, O_CLOEXEC) != 0) return errno;
  pid_t child = fork();
  if (child < 0) {
    int e = errno;
    close(report[0]);
    close(report[1]);
    return e;
  }
  if (child == 0) {
    // Only async-signal-safe calls from here on.
    close(report[0]);
    setsid();
    pid_t grandchild = fork();
    if (grandchild != 0) {
      if (grandchild < 0) {
        int e = errno;
        (void)!write(report[1], &e, sizeof e);
      }
      _exit(0);
    }
    if (folder && chdir(folder) != 0) {
      int e = errno;
      (void)!write(report[1], &e, sizeof e);
      _exit(127);
    }
    int null = open("/dev/null", O_RDWR);
    if (null >= 0) {
      dup2(null, 0);
      dup2(null, 1);
      dup2(null, 2);
    }
    execvp(argv[0], argv.data());
    int e = errno;
    (void)!write(report[1], &e, sizeof e);
    _exit(127);
  }
  close(report[1]);
  int status = 0;
  while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  int e = 0;
  ssize_t n;
  while ((n = read(report[0], &e, sizeof e)) < 0 && errno == EINTR) {
  }
  close(report[0]);
  return n == static_cast<ssize_t>(sizeof e) ? (e ? e : ENOEXEC) : 0;
}

std::string PlotCodeText(int code) {
  static const char* const codes[] = {"HPL", "PS", "PLT", "PL2", "ART"};
  return code >= 1 && code <= 5 ? codes[code - 1] : "HPL";
}

const std::vector<std::string>& PostScriptFonts() {
  static const std::vector<std::string> fonts = {
      "AvantGarde-Book", "AvantGarde-BookOblique", "AvantGarde-Demi", "AvantGarde-DemiOblique",
      "Bookman-Demi", "Bookman-DemiItalic", "Bookman-Light", "Bookman-LightItalic", "Courier",
      "Courier-Bold", "Courier-BoldOblique", "Courier-Oblique", "Helvetica", "Helvetica-Bold",
      "Helvetica-BoldOblique", "Helvetica-Narrow", "Helvetica-Narrow-Bold",
      "Helvetica-Narrow-BoldOblique", "Helvetica-Narrow-Oblique", "Helvetica-Oblique",
      "NewCenturySchlbk-Bold", "NewCenturySchlbk-BoldItalic", "NewCenturySchlbk-Italic",
      "NewCenturySchlbk-Roman", "Palatino-Bold", "Palatino-BoldItalic", "Palatino-Italic",
      "Palatino-Roman", "Symbol", "Times-Bold", "Times-BoldItalic", "Times-Italic", "Times-Roman",
      "ZapfChancery-MediumItalic", "ZapfDingbats"};
  return fonts;
}

std::string QuoteArgument(const std::string& arg) {
  return arg.find_first_of(" \t") == std::string::npos ? arg : "\"" + arg + "\"";
}

std::vector<std::string> SplitCommandLine(const std::string& line) {
  std::vector<std::string> args;
  std::string cur;
  bool quoted = false, any = false;
  for (char c : line) {
    if (c == '"') {
      quoted = !quoted;
      any = true;
    } else if ((c == ' ' || c == '\t' || c == '\r' || c == '\n') && !quoted) {
      if (any) args.push_back(cur);
      cur.clear();
      any = false;
    } else {
      cur += c;
      any = true;
    }
  }
  if (any) args.push_back(cur);
  return args;
}

namespace {

// A folder as the command line joins it to a file name.
std::string WithSeparator(std::string folder) {
  if (folder.empty() || folder.back() == '/' || folder.back() == '\\') return folder;
  bool windows = folder.find('\\') != std::string::npos && folder.find('/') == std::string::npos;
  return folder + (windows ? "\\" : "/");
}

// A field that reads as the number v (or, unreadable, is the text of it).
bool FieldIs(const std::string& text, Real v) {
  std::string t = Trim(text);
  Real x = 0;
  if (TryParseReal(t, x)) return x == v;
  return false;
}

}  // namespace

std::string PlotDialogCommand(const PlotForm& f) {
  std::string folder = WithSeparator(Trim(f.outputFolder));
  std::string line = QuoteArgument(Trim(f.programPath)) + " " + QuoteArgument(folder + "drawout");
  line += " /C" + PlotCodeText(f.outputCode);
  if (f.interface != 2) line += " /D" + std::to_string(f.interface);
  std::string port = Trim(f.interface == 1 ? f.comPort : f.interface == 2 ? f.lptPort : "");
  // The port as the user typed it.
  if (f.interface <= 2 && !port.empty() && port != "1") line += " /P" + port;
  if (f.interface == 3 && !folder.empty()) line += " /F" + QuoteArgument(folder + "drawout");
  if (f.fitToSheet || FieldIs(f.scale, 0)) line += " /M*";
  else if (!FieldIs(f.scale, 1)) line += " /M" + Trim(f.scale);
  if (!FieldIs(f.shiftX, 0)) line += " /X" + Trim(f.shiftX);
  if (!FieldIs(f.shiftY, 0)) line += " /Y" + Trim(f.shiftY);
  if (!FieldIs(f.widthFactor, 1)) line += " /B" + Trim(f.widthFactor);
  if (f.rotate) line += " /R";
  if (f.outputCode == 2) line += " /T" + f.psFont;
  return line;
}

std::string PlotHandOff::batchPath(const std::string& name) const {
  if (fs::path(name).is_absolute()) return name;
  return (fs::path(workDir_.empty() ? "." : workDir_) / name).string();
}

bool PlotHandOff::ChoosePlotCommand() {
  int n = std::clamp(settings_.plotCommandCount, 1, 5);
  int k = std::clamp(lastUsed_, 1, n);
  if (n >= 2) {
    auto& texts = ui_.state().choiceTexts;
    for (int i = 1; i <= n; ++i) texts[static_cast<size_t>(i)] = settings_.plotCommands[static_cast<size_t>(i - 1)];
    if (!ui_.inputChoice("DRAWOUT Command Line", n, k)) return false;
  }
  std::string line = settings_.plotCommands[static_cast<size_t>(k - 1)];
  PlotForm form;
  form.outputFolder = tempDir_;
  form.psFonts = PostScriptFonts();
  form.psFont = form.psFonts.front();
  form.commandLine = PlotDialogCommand;
  // OK takes the dialog's line; Cancel keeps the stored one.
  if (auto r = ui_.port().plotDialog(form)) line = ToStored(PlotDialogCommand(*r));
  std::string before = line;
  if (!ui_.inputText("DRAWOUT-Kommandozeile (0=Parameter)", 60, line)) return false;
  std::string t = Trim(line);
  if (t.empty() || t[0] == '0') {
    line = before;
    if (!BuildPlotCommandByPrompts(line)) return false;
  }
  settings_.plotCommands[static_cast<size_t>(k - 1)] = line;
  lastUsed_ = k;
  chosen_ = line;
  return true;
}

bool PlotHandOff::BuildPlotCommandByPrompts(std::string& line) {
  auto args = SplitCommandLine(line);
  std::string first = args.empty() ? std::string() : args[0];
  size_t sep = first.find_last_of("\\/");
  std::string folder = sep == std::string::npos ? std::string() : first.substr(0, sep + 1);
  auto& texts = ui_.state().choiceTexts;
  texts[1] = "WDRAWOUT.EXE (Windows)";
  texts[2] = "DRAWOUT.EXE (MS-DOS)";
  int which = 2;
  if (!ui_.inputChoice("DRAWOUT/WDRAWOUT", 2, which)) return false;
  std::string exe = which == 1 ? "wdrawout.exe" : "drawout.exe";
  std::string program = which == 1 ? "WDRAWOUT" : "DRAWOUT";
  for (;;) {
    if (!ui_.inputText("Programmverzeichnis von " + exe, 40, folder)) return false;
    folder = WithSeparator(Trim(folder));
    std::error_code ec;
    std::string native = Cp850ToUtf8(folder);
    bool found = false;
    for (const std::string& name : {exe, Upper(exe), program, Lower(program)})
      if (fs::is_regular_file(native + name, ec)) found = true;
    if (found) break;
    ui_.showError("Datei " + folder + exe + " nicht gefunden oder kein Zugriffsrecht !");
  }
  texts[1] = "HP-GL Laserjet (HPL)";
  texts[2] = "Postscript  (PS)";
  texts[3] = "HP-GL (PLT)";
  texts[4] = "HP-GL/2  (PL2)";
  texts[5] = "Aristo  (ART)";
  int code = 1;
  if (!ui_.inputChoice("Ausgabeformat", 5, code)) return false;
  texts[1] = "seriell";
  texts[2] = "parallel";
  texts[3] = "Datei";
  int iface = 2;
  if (!ui_.inputChoice("Ausgabeschnittstelle", 3, iface)) return false;
  int port = 1;
  std::string outFile;
  if (iface == 1 && !ui_.inputInt("COM-Port", port, 1, 4)) return false;
  if (iface == 2 && !ui_.inputInt("LPT-Port", port, 1, 4)) return false;
  if (iface == 3 && !ui_.inputText("Name der Ausgabedatei", 30, outFile)) return false;
  Real scale = 1, dx = 0, dy = 0, width = 1;
  bool rotate = false;
  std::string font;
  if (!ui_.inputReal("Ma\xE1stab (0=anpassen)", scale, 0, 1000)) return false;
  if (!ui_.inputYesNo("Plot um 90 Grad drehen ?", rotate)) return false;
  if (!ui_.inputReal("Nullpunktverschiebung in x-Richtung", dx, -1e8L, 1e8L)) return false;
  if (!ui_.inputReal("Nullpunktverschiebung in y-Richtung", dy, -1e8L, 1e8L)) return false;
  if (!ui_.inputReal("Textbreitenfaktor", width, 0.1L, 10)) return false;
  if (code == 2 && !ui_.inputText("Postscript-Zeichensatz", 28, font)) return false;
  const NumberStyle& ns = ui_.numbers();
  std::string l = QuoteArgument(folder + program) + " " +
                  QuoteArgument(ToStored(WithSeparator(tempDir_)) + "drawout");
  l += " /C" + PlotCodeText(code);
  if (iface != 2) l += " /D" + std::to_string(iface);
  if (iface <= 2 && port != 1) l += " /P" + std::to_string(port);
  if (iface == 3 && !Trim(outFile).empty()) l += " /F" + QuoteArgument(Trim(outFile));
  if (scale == 0) l += " /M*";
  else if (scale != 1) l += " /M" + FormatGeneralDot(ns, scale);
  if (dx != 0) l += " /X" + FormatGeneralDot(ns, dx);
  if (rotate) l += " /R";
  if (dy != 0) l += " /Y" + FormatGeneralDot(ns, dy);
  if (width != 1) l += " /B" + FormatGeneralDot(ns, width);
  if (code == 2) l += " /T" + Trim(font);
  if (l.size() > 60 && !toBatchFile(l)) return false;
  line = l;
  return true;
}

bool PlotHandOff::toBatchFile(std::string& line) {
  ui_.showNote("Kommandozeile zu lang, Es wird eine Batch-Datei erzeugt.");
  std::string name;
  for (;;) {
    if (!ui_.inputText("Name der Batch-Datei (ohne .bat)", 20, name)) return false;
    name = Trim(name);
    if (name.empty() || name.find_first_of("./\\") != std::string::npos) continue;
    std::string path = batchPath(Cp850ToUtf8(name) + ".BAT");
    std::error_code ec;
    if (fs::exists(path, ec)) {
      bool replace = ui_.askYesNo("Datei " + name + ".BAT existiert bereits. \x9A" "berschreiben ?");
      if (ui_.flags().abortFlag) return false;
      if (!replace) continue;
    }
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << line << "\r\n";
    out.close();
    if (!out) {
      ui_.showError("Datei " + name + ".BAT kann nicht angelegt werden");
      continue;
    }
    line = name + ".BAT";
    return true;
  }
}

bool PlotHandOff::RunPlot() { return RunPlot(chosen_); }

bool PlotHandOff::RunPlot(const std::string& command) {
  std::vector<std::string> args = SplitCommandLine(Cp850ToUtf8(command));
  if (args.empty()) {
    ui_.showError("keine DRAWOUT-Kommandozeile konfiguriert");
    return false;
  }
  // A batch file holds the long line: it is read, not run by a shell.
  if (args.size() == 1 && args[0].size() > 4 && Upper(args[0].substr(args[0].size() - 4)) == ".BAT") {
    std::ifstream in(batchPath(args[0]), std::ios::binary);
    std::string first;
    if (!in || !std::getline(in, first)) {
      ui_.showError("file not found");
      return false;
    }
    args = SplitCommandLine(Cp850ToUtf8(first));
  }
  int rc = args.empty() ? ENOENT : starter_.startIn(args, tempDir_);
  if (rc == 0) return true;
  if (rc == ENOMEM) ui_.showError("out of memory !");
  else if (rc == ENOENT || rc == ENOTDIR) ui_.showError("file not found");
  else ui_.showError("Exec error " + std::to_string(rc));
  return false;
}

bool PlotWriter::Open() {
  if (ctx_.plot && !ctx_.batch) {
    ctx_.plot->setTempDir(ctx_.tempDir);
    if (!ctx_.plot->ChoosePlotCommand()) return false;
  }
  ctx_.fileName = (std::filesystem::path(ctx_.tempDir) / "drawout.dxf").string();
  ctx_.ui->port().status(ctx_.fileName + " wird geplottet..");
  return true;
}

bool PlotWriter::Close(bool aborted) {
  bool ok = DxfFileWriter::Close(aborted);
  // The plot program starts only for a complete file.
  if (ok && ctx_.plot && !ctx_.batch) ctx_.plot->RunPlot();
  return ok;
}

}  // namespace kamo
