// The session's own report engine: kept across reports, brought up to date
// with the settings before each one, and never left pointing at a project
// that was replaced.
#include <gtest/gtest.h>

#include <memory>

#include "report/camreport.h"
#include "shell/session.h"
#include "support/scripted_port.h"

namespace kamo::test {
namespace {

TEST(SessionReports, OneEngineFollowsTheSettingsAndTheProject) {
  ScriptedPort port;
  TempFolder folder;
  Session s(port);
  s.settings.tempDir = folder.path();
  ReportEngine* first = &s.reports(folder.path());

  // Settings read after the engine was made still decide the target.
  s.settings.textDevice = otTabFile;
  s.settings.askTextDevice = false;
  s.project().drawing.bemerk1 = "erstes Projekt";
  ReportEngine& e = s.reports(folder.path());
  EXPECT_EQ(&e, first);
  e.context().batchFile = "set by one report only";
  ASSERT_TRUE(CamPrintout(e, pmExtract));
  EXPECT_EQ(e.ReportTarget(), otTabFile);
  EXPECT_NE(ReadFileBytes(e.resultPath()).find("erstes Projekt\n"), std::string::npos);
  EXPECT_EQ(s.reports(folder.path()).context().batchFile, "");

  // A replaced project is the one the next report shows.
  auto other = std::make_unique<CamProject>();
  other->drawing.bemerk1 = "zweites Projekt";
  s.replaceProject(std::move(other));
  ReportEngine& f = s.reports(folder.path());
  ASSERT_TRUE(CamPrintout(f, pmExtract));
  std::string text = ReadFileBytes(f.resultPath());
  EXPECT_NE(text.find("zweites Projekt\n"), std::string::npos);
  EXPECT_EQ(text.find("erstes Projekt"), std::string::npos);
}

}  // namespace
}  // namespace kamo::test
