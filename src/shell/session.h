// One run of the program: the project, the settings, the messages and flags,
// and everything else that lives as long as the program works on one cam.
// Tests create as many sessions as they like.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "cam/model.h"
#include "core/clock.h"
#include "core/messages.h"
#include "core/settings.h"
#include "core/ui.h"
#include "display/picture.h"
#include "report/report.h"

namespace kamo {

class Session {
 public:
  explicit Session(UiPort& port, std::unique_ptr<Clock> clock = std::make_unique<SystemClock>());
  ~Session();
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  CamProject& project() { return *project_; }
  const CamProject& project() const { return *project_; }
  // Replaces the project, e.g. after a file was read completely.
  void replaceProject(std::unique_ptr<CamProject> p) { project_ = std::move(p); }

  Settings settings;
  MessageList messages;
  Flags flags;
  UiState uiState;
  FileIdentity file;
  std::vector<std::string> commandLine;  // the parameters after the program name
  std::string programDir;                // folder of the running program
  Ui ui;
  PictureExporters pictureExporters;     // PDF, SVG, PNG writers, filled by the program's start

  const Clock& clock() const { return *clock_; }
  // The configured temporary folder, or a fresh one of this session that is
  // removed with it.
  std::string tempDir();
  // The error explanation file to read.
  std::string explanationFile() const;
  bool noGui() const;
  // The session's report engine, its folders, names and switches brought up
  // to date for the report about to be written; workDir receives the batch
  // printout and holds the printer's "TEXT.HXP" (empty: the working folder).
  ReportEngine& reports(const std::string& workDir = {});

 private:
  std::unique_ptr<CamProject> project_;
  std::unique_ptr<Clock> clock_;
  std::string ownTemp_;  // created by this session, removed with it
  std::unique_ptr<ReportEngine> reports_;
};

// What the report engine needs from a session, as it stands now.
ReportContext SessionReportContext(Session& session, const std::string& workDir);

}  // namespace kamo
