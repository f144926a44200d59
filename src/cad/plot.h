// The hand-off to the external plot program DRAWOUT / WDRAWOUT: choosing and
// building its stored command lines, the batch-file fallback for long ones,
// and starting it as a detached process with an argument list (no shell).
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "cad/dxffile.h"
#include "core/plotform.h"
#include "core/settings.h"
#include "core/ui.h"

namespace kamo {

// Starts a program and does not wait for it; 0 when started, else an errno value.
class ProcessStarter {
 public:
  virtual ~ProcessStarter() = default;
  virtual int start(const std::vector<std::string>& args) = 0;
  // As start, with the program running in folder dir (empty: this one's).
  virtual int startIn(const std::vector<std::string>& args, const std::string& /*dir*/) { return start(args); }
};
// The real one: fork, a new session, a second fork, exec; the program's
// standard streams go to /dev/null (its window stays hidden).
class DetachedStarter final : public ProcessStarter {
 public:
  int start(const std::vector<std::string>& args) override { return startIn(args, {}); }
  int startIn(const std::vector<std::string>& args, const std::string& dir) override;
};

// "HPL", "PS", "PLT", "PL2", "ART" for codes 1..5.
std::string PlotCodeText(int code);
// The 35 standard PostScript fonts of the dialog's list.
const std::vector<std::string>& PostScriptFonts();
// The command line the dialog's fields give.
std::string PlotDialogCommand(const PlotForm& f);
// The arguments of a command line: split at blanks, double quotes keep blanks.
std::vector<std::string> SplitCommandLine(const std::string& line);
// An argument as written into a command line: quoted when it holds a blank.
std::string QuoteArgument(const std::string& arg);

class PlotHandOff {
 public:
  // settings: the stored command lines live there and are changed here.
  PlotHandOff(Ui& ui, Settings& settings, ProcessStarter& starter)
      : ui_(ui), settings_(settings), starter_(starter) {}

  // The folder of the temporary files ("drawout.dxf") and the one the batch
  // files are written to (the current folder when empty).
  void setTempDir(std::string dir) { tempDir_ = std::move(dir); }
  void setWorkDir(std::string dir) { workDir_ = std::move(dir); }

  // The choice, dialog and prompt of the command line; false (abortFlag) when cancelled.
  bool ChoosePlotCommand();
  // The prompt sequence; false when cancelled (line unchanged).
  bool BuildPlotCommandByPrompts(std::string& line);
  // Starts the chosen command line (a ".BAT" named by it is read for its
  // line) in the temporary folder, where "drawout.dxf" lies; an empty line
  // is reported, not started.
  bool RunPlot();
  bool RunPlot(const std::string& command);

  const std::string& chosen() const { return chosen_; }
  int lastUsed() const { return lastUsed_; }

 private:
  // A line too long for the plot program goes into a batch file; false when cancelled.
  bool toBatchFile(std::string& line);
  std::string batchPath(const std::string& name) const;

  Ui& ui_;
  Settings& settings_;
  ProcessStarter& starter_;
  std::string tempDir_, workDir_;
  std::string chosen_;
  int lastUsed_ = 1;
};

// The plot hand-off (output kind 4) as a writer: the DXF file "drawout.dxf"
// in the temporary folder, then the chosen command line of the plot program.
class PlotWriter final : public DxfFileWriter {
 public:
  explicit PlotWriter(CadWriterContext ctx) : DxfFileWriter(std::move(ctx)) {}
  bool Open() override;
  bool Close(bool aborted) override;
};

}  // namespace kamo
