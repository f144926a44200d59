// A report engine on a scripted UI port, with a fixed clock and its own folder.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "cam/model.h"
#include "core/clock.h"
#include "core/messages.h"
#include "core/settings.h"
#include "core/ui.h"
#include "report/report.h"
#include "support/scripted_port.h"

namespace kamo::test {

// Records what the engine hands to the viewer, the printer and external programs.
class ReportPort : public ScriptedPort {
 public:
  std::vector<std::string> shownFiles;
  std::vector<PrintJob> printed;
  PrintOutcome printOutcome = PrintOutcome::Printed;
  void showTextFile(const std::string&, const std::string& path) override {
    shownFiles.push_back(path);
    shownText = ReadFileBytes(path);
  }
  PrintOutcome printText(const PrintJob& job) override {
    printed.push_back(job);
    return printOutcome;
  }
  std::string shownText;
};

class RecordingPlatform : public ReportPlatform {
 public:
  std::vector<std::string> known;  // programs that exist
  std::vector<std::pair<std::string, std::string>> launched;
  bool programExists(const std::string& p) const override {
    for (const auto& k : known)
      if (k == p) return true;
    return false;
  }
  bool launch(const std::string& program, const std::string& file) override {
    launched.emplace_back(program, file);
    return true;
  }
};

struct ReportBench {
  ReportPort port;
  Settings settings;
  Flags flags;
  UiState state;
  Ui ui{port, flags, state, settings.numbers};
  FixedClock clock{DateTime{2026, 3, 7, 9, 5, 0}};
  FileIdentity file{"nocke", "/home/kamo/"};
  CamProject project;
  MessageList messages;
  TempFolder folder;
  RecordingPlatform platform;
  std::string explanations;  // explanation file path, empty when none

  ReportBench() {
    settings.textDevice = 1;
    project.drawing.bemerk1 = "Bemerkung 1";
    project.drawing.bemerk2 = "Bemerkung 2";
    project.drawing.bemerk3 = "Bemerkung 3";
  }
  std::unique_ptr<ReportEngine> engine() {
    ReportContext c(ui, settings, clock, file, project, messages);
    c.explanationFile = explanations;
    c.tempDir = folder.path();
    c.workDir = folder.path();
    c.ownerName = "Muster GmbH";
    c.platform = &platform;
    c.portDevices = {folder.file("lp0"), folder.file("lp1"), "/nonexistent-dir/lp2",
                     folder.file("lp3")};
    return std::make_unique<ReportEngine>(std::move(c));
  }
  // Writes an explanation file with one entry per (message, cause, remedy).
  void explain(const std::vector<std::vector<std::string>>& entries) {
    std::string bytes = "x\r\n";
    for (const auto& e : entries) bytes += e[0] + "\r\n" + e[1] + "\r\n" + e[2] + "\r\n";
    explanations = folder.file("kamo.err");
    WriteFileBytes(explanations, bytes);
  }
};

// Lines of a file without their line ends.
std::vector<std::string> Lines(const std::string& bytes);

}  // namespace kamo::test
