// Fuzzes the command-line parser and the report engine: arbitrary arguments
// and report texts on every file target must neither crash nor overrun.
#include <stdlib.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "core/clock.h"
#include "core/ui.h"
#include "report/camreport.h"
#include "report/report.h"
#include "shell/cmdline.h"

namespace {

class NullPort final : public kamo::UiPort {
 public:
  void box(const std::string&, const std::string&, kamo::BoxIcon) override {}
  kamo::Answer askYesNoCancel(const std::string&, const std::string&) override {
    return kamo::Answer::No;
  }
  bool askRetry(const std::string&, const std::string&) override { return false; }
  void beep() override {}
  std::optional<std::string> promptText(const kamo::TextPrompt&) override { return std::nullopt; }
  std::optional<int> promptChoice(const kamo::ChoicePrompt&) override { return std::nullopt; }
  std::optional<std::string> openFile(const kamo::FileDialog&) override { return std::nullopt; }
  std::optional<std::string> saveFile(const kamo::FileDialog&) override { return std::nullopt; }
  std::optional<kamo::ExplanationForm> explanation(const kamo::ExplanationForm&) override {
    return std::nullopt;
  }
};

class NoPrograms final : public kamo::ReportPlatform {
 public:
  bool programExists(const std::string&) const override { return false; }
  bool launch(const std::string&, const std::string&) override { return false; }
};

const std::string& Folder() {
  static std::string dir = [] {
    std::string pattern = (std::filesystem::temp_directory_path() / "kamo-fuzz-XXXXXX").string();
    return std::string(mkdtemp(pattern.data()) ? pattern.c_str() : "/tmp");
  }();
  return dir;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string in(reinterpret_cast<const char*>(data), size);
  std::vector<std::string> parts;
  size_t start = 0;
  while (start <= in.size()) {
    size_t end = in.find('\n', start);
    if (end == std::string::npos) end = in.size();
    parts.push_back(in.substr(start, end - start));
    start = end + 1;
  }
  kamo::ParseCommandLine(parts);
  for (const auto& p : parts) kamo::MissingExtensionMessage(p);
  kamo::CutText(in);
  kamo::HtmlEscape(in);

  unsigned char b0 = size > 0 ? data[0] : 0;
  const int targets[] = {kamo::otScreen, kamo::otTabFile, kamo::otHtml, kamo::otBatch};
  NullPort port;
  NoPrograms programs;
  kamo::Settings settings;
  settings.textPrintMode = 1 + (b0 & 3);
  settings.pageHeaderMode = 1 + ((b0 >> 2) & 1);
  settings.linesPerPage = (b0 >> 3) & 15;
  settings.htmlBrowser = "none";
  kamo::Flags flags;
  kamo::UiState state;
  state.overwriteAsk = false;
  kamo::Ui ui(port, flags, state, settings.numbers);
  kamo::FixedClock clock(kamo::DateTime{});
  kamo::FileIdentity file{parts[0].substr(0, 40), ""};
  kamo::CamProject project;
  kamo::MessageList messages;
  for (size_t i = 1; i < parts.size() && i < 14; ++i) messages.add(parts[i]);
  kamo::ReportContext ctx(ui, settings, clock, file, project, messages);
  ctx.tempDir = Folder();
  ctx.workDir = Folder();
  ctx.platform = &programs;
  kamo::ReportEngine engine(std::move(ctx));
  if (!engine.ReportOpen(targets[(b0 >> 7) | ((size > 1 ? data[1] : 0) & 2)], "fuzz")) return 0;
  engine.ReportSetHeader(parts[0], parts.size() > 1 ? parts[1] : "", "", "", "", b0 & 7);
  engine.ReportPageHeader(0, 0);
  {
    kamo::ReportTable table(engine, {3, 10, 70, 0}, parts);
    for (const auto& p : parts) {
      engine.ReportLine(p);
      engine.ReportWrappedLine(p);
      engine.ReportValueRow(p, p.substr(0, 4), "mm", p);
      table.Row({p, p, p});
      engine.ReportEnsureRoom(0);
    }
    table.Done();
  }
  engine.ReportEndPage();
  engine.ReportPageHeader(0, 0);
  engine.ReportMessages();
  engine.ReportClose();
  kamo::CamPrintout(engine, b0 % 3);
  return 0;
}
