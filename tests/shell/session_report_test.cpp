// The session's own report engine: kept across reports, brought up to date
// with the settings before each one, and never left pointing at a project
// that was replaced.
#include <gtest/gtest.h>

#include <memory>

#include "io/configio.h"
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

// The text printer's device files live in a row of their own after the
// specified ones, written only when they differ from /dev/lp0 .. /dev/lp3.
TEST(SessionReports, TextPrinterDevicesComeFromTheConfiguration) {
  const Settings defaults;
  EXPECT_EQ(ConfigToBytes(defaults).find("Text printer devices"), std::string::npos);

  struct Case {
    std::vector<PrintProfile> profiles;
  } cases[] = {{{}}, {{PrintProfile{"A4 quer", 1, 1, 0, 0, true, false, false, false}}}};
  for (const auto& c : cases) {
    Settings in;
    in.printProfiles = c.profiles;
    in.textPrinterDevices[1] = "/dev/usb/lp0";
    in.textPrinterDevices[3] = "/var/spool/kamo lpt4.prn";
    ScriptedPort port;
    Session s(port);
    ConfigFromBytes(ConfigToBytes(in), s.settings, ConfigContext{});
    EXPECT_EQ(s.settings.textPrinterDevices, in.textPrinterDevices);
    ASSERT_EQ(s.settings.printProfiles.size(), c.profiles.size());
    EXPECT_EQ(s.reports().context().portDevices, in.textPrinterDevices);
  }
  // A file without the row leaves the devices as they were (the defaults at start).
  Settings read;
  read.textPrinterDevices[0] = "changed before reading";
  ConfigFromBytes(ConfigToBytes(defaults), read, ConfigContext{});
  EXPECT_EQ(read.textPrinterDevices[0], "changed before reading");
}

}  // namespace
}  // namespace kamo::test
