// The report engine: line writer, page breaks, page headers, value rows,
// tables, the remarks block and the hand-off of each output target.
#include "report/report.h"

#include <algorithm>

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "core/codepage.h"
#include "core/explanations.h"
#include "core/identity.h"
#include "core/inputfile.h"
#include "core/numbers.h"
#include "core/strings.h"
#include "core/textfile.h"

namespace kamo {
namespace fs = std::filesystem;

// Where the bytes of a report go: a file written safely, or a device.
class ReportSink {
 public:
  virtual ~ReportSink() = default;
  virtual void write(std::string_view bytes) = 0;
  virtual bool close() = 0;
};

namespace {

constexpr int kLineWidth = 70;
constexpr const char* kMargin = "       ";
constexpr const char* kDropped = "$!$";

class FileSink final : public ReportSink {
 public:
  explicit FileSink(Ui& ui) : w_(ui, "") { w_.protect(&ui.state().keepFiles); }
  bool create(const std::string& path) { return w_.create(path); }
  void write(std::string_view bytes) override { w_.write(bytes); }
  bool close() override { return w_.close(); }

 private:
  TextFileWriter w_;
};

// A printer port is written in place: it cannot be replaced by a rename.
class DeviceSink final : public ReportSink {
 public:
  explicit DeviceSink(Ui& ui) : ui_(ui) {}
  ~DeviceSink() override {
    if (f_) std::fclose(f_);
  }
  bool open(const std::string& device, int port) {
    // A missing device is an error, never a new file in /dev; any other path
    // (a spool file, say) is created as a file would be.
    int mode = O_WRONLY | O_NOCTTY | O_CLOEXEC;
    if (device.rfind("/dev/", 0) != 0) mode |= O_CREAT | O_TRUNC;
    int fd = ::open(device.c_str(), mode, 0666);
    if (fd >= 0) {
      f_ = ::fdopen(fd, "wb");
      if (!f_) ::close(fd);
    }
    if (!f_) {
      int err = errno;
      ui_.showError("Druckerschnittstelle LPT" + std::to_string(port) + " (" +
                    Utf8ToCp850(device) + ") kann nicht ge\x94" "ffnet werden: " +
                    Utf8ToCp850(std::strerror(err)));
      ui_.flags().abortFlag = true;
      return false;
    }
    return true;
  }
  void write(std::string_view bytes) override {
    if (!f_ || failed_) {
      ui_.flags().abortFlag = true;
      return;
    }
    if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), f_) != bytes.size()) {
      failed_ = true;
      ui_.showError(TextFileErrorMessage(FileStep::Write, errno));
      ui_.flags().abortFlag = true;
    }
  }
  bool close() override {
    if (!f_) return false;
    bool ok = std::fclose(f_) == 0 && !failed_;
    f_ = nullptr;
    if (!ok && !failed_) ui_.showError(TextFileErrorMessage(FileStep::Close, errno));
    if (!ok) ui_.flags().abortFlag = true;
    return ok;
  }

 private:
  Ui& ui_;
  std::FILE* f_ = nullptr;
  bool failed_ = false;
};

// The largest text file that is printed.
constexpr size_t kMaxPrintBytes = size_t{64} << 20;

std::string Blanks() { return std::string(kLineWidth, ' '); }

bool PrintPages(Ui& ui, const PrintJob& job) {
  PrintOutcome o = ui.port().printText(job);
  if (o == PrintOutcome::Unavailable)
    ui.showError("Kein Drucker verf\x81gbar: der Ausdruck wurde nicht gedruckt.");
  return o == PrintOutcome::Printed;
}

}  // namespace

PrintJob PrintJobOf(const Settings& settings, const std::string& title, const std::string& text) {
  PrintJob job;
  job.title = title;
  job.font = settings.printFont.empty() ? "Courier New" : settings.printFont;
  job.fontSize = settings.printFontSize > 0 ? settings.printFontSize : 10;
  job.fontStyle = settings.printFontStyle;
  job.linesPerPage = settings.linesPerPage < 5 ? 66 : settings.linesPerPage;
  job.pages.emplace_back();
  for (const auto& l : SplitLines(text)) {
    if (!l.empty() && l[0] == '\f') {
      job.pages.emplace_back();
      continue;
    }
    job.pages.back().emplace_back(l);
  }
  if (job.pages.size() > 1 && job.pages.back().empty()) job.pages.pop_back();
  return job;
}

bool PrintTextFile(Ui& ui, const Settings& settings, const std::string& path,
                   const std::string& title) {
  std::string bytes;
  if (!ReadRegularFile(path, kMaxPrintBytes, bytes).ok()) {
    ui.showErrorAlways(Utf8ToCp850(path) + " not found !");
    return false;
  }
  return PrintPages(ui, PrintJobOf(settings, title, bytes));
}

std::string PlaceText(const std::string& line, const std::string& text, int column) {
  return Overwrite(line, text, column);
}

std::vector<std::string> CutText(const std::string& text) {
  std::vector<std::string> pieces;
  std::string rest = text;
  while (!rest.empty()) {
    std::string piece;
    if (rest.size() > 64) {
      size_t p = rest.substr(0, 63).rfind(' ');
      piece = p == std::string::npos ? rest.substr(0, 64) : rest.substr(0, p + 1);
    } else {
      piece = rest;
    }
    rest.erase(0, piece.size());
    pieces.push_back(piece);
  }
  return pieces;
}

std::string ReadOwnerName(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::string line;
  if (!in || !std::getline(in, line)) return {};
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return line;
}

std::string HtmlEscape(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      default: out += c;
    }
  }
  return out;
}

const std::vector<std::string>& ReportEngine::TargetNames() {
  static const std::vector<std::string> names{"Bildschirm",     "Textdrucker",
                                              "Datei",          "Windows-Drucker",
                                              "externes Textprogramm", "TXT Datei",
                                              "HTML Datei"};
  return names;
}

ReportEngine::ReportEngine(ReportContext ctx)
    : ctx_(std::move(ctx)),
      defaultTarget_(ctx_.settings.textDevice),
      askTarget_(ctx_.settings.askTextDevice) {}

ReportEngine::~ReportEngine() = default;

void ReportEngine::refresh(const ReportContext& fresh) {
  ctx_.explanationFile = fresh.explanationFile;
  ctx_.tempDir = fresh.tempDir;
  ctx_.workDir = fresh.workDir;
  ctx_.batchFile = fresh.batchFile;
  ctx_.batchShownName = fresh.batchShownName;
  ctx_.ownerName = fresh.ownerName;
  ctx_.archiveName = fresh.archiveName;
  ctx_.noGui = fresh.noGui;
  ctx_.portDevices = fresh.portDevices;
  ctx_.platform = fresh.platform;
  defaultTarget_ = ctx_.settings.textDevice;
  askTarget_ = ctx_.settings.askTextDevice;
}

ReportPlatform& ReportEngine::platform() const {
  return ctx_.platform ? *ctx_.platform : SystemReportPlatform();
}

int ReportEngine::pageLength() const {
  return ctx_.settings.linesPerPage < 5 ? 66 : ctx_.settings.linesPerPage;
}
int ReportEngine::separatorMode() const {
  int m = ctx_.settings.textPrintMode;
  return m >= 1 && m <= 4 ? m : 1;
}
int ReportEngine::headerMode() const { return ctx_.settings.pageHeaderMode == 2 ? 2 : 1; }

std::string ReportEngine::ReportThinRule() const {
  switch (separatorMode()) {
    case 2: return std::string(kLineWidth, '\xC4');
    case 3: return Blanks();
    case 4: return kDropped;
    default: return std::string(kLineWidth, '-');
  }
}

std::string ReportEngine::ReportDoubleRule() const {
  switch (separatorMode()) {
    case 2: return std::string(kLineWidth, '\xCD');
    case 3: return Blanks();
    case 4: return kDropped;
    default: return std::string(kLineWidth, '=');
  }
}

namespace {
std::string BoxLine(int mode, char left, char right) {
  switch (mode) {
    case 2: return left + std::string(kLineWidth - 2, '\xCD') + right;
    case 3: return Blanks();
    case 4: return kDropped;
    default: return std::string(kLineWidth, '*');
  }
}
}  // namespace

std::string ReportEngine::boxTop() const { return BoxLine(separatorMode(), '\xC9', '\xBB'); }
std::string ReportEngine::boxBottom() const { return BoxLine(separatorMode(), '\xC8', '\xBC'); }
std::string ReportEngine::boxDivider() const { return BoxLine(separatorMode(), '\xCC', '\xB9'); }
char ReportEngine::boxSide() const {
  switch (separatorMode()) {
    case 1: return '*';
    case 2: return '\xBA';
    default: return ' ';
  }
}

bool ReportEngine::isRule(const std::string& text) const {
  return text == kDropped || text == ReportThinRule() || text == ReportDoubleRule();
}

void ReportEngine::ReportSetHeader(const std::string& title, const std::string& line1,
                                   const std::string& line2, const std::string& line3,
                                   const std::string& line4, int totalPages) {
  header_.title = title.empty() ? std::string(kProgramTitle) + "  V" + kProgramVersion : title;
  header_.lines = {line1, line2, line3, line4};
  header_.totalPages = totalPages;
  pageNo_ = 0;
  lineOnPage_ = 0;
}

// ---------------------------------------------------------------- writing

void ReportEngine::writeBytes(const std::string& bytes) {
  if (!open_ || !sink_ || aborted()) return;
  sink_->write(bytes);
  if (!htmlTarget()) written_ += bytes;
}

void ReportEngine::lineEnd() { writeBytes(htmlTarget() ? "\n" : "\r\n"); }

void ReportEngine::lineWriter(const std::string& text, bool withEnd, bool markup) {
  if (!open_ || aborted()) return;
  if (tabTarget()) {
    if (isRule(text)) return;
    writeBytes(text);
  } else if (htmlTarget()) {
    htmlCloseTable();
    ++lineOnPage_;
    if (isRule(text)) return;
    std::string shown = DisplayText(numbers(), text);
    writeBytes("<br>" + (markup ? shown : HtmlEscape(shown)));
  } else {
    if (text == kDropped) return;
    if (!inHeader_ && lineOnPage_ + 1 >= pageLength()) pageBreakTest();
    ++lineOnPage_;
    writeBytes(kMargin + text);
  }
  if (withEnd) lineEnd();
}

// The page is full: the line about to be written goes on a new page. The
// header and its empty line never run this test themselves, so a short page
// cannot make it fire again inside them.
void ReportEngine::pageBreakTest() {
  inHeader_ = true;
  if (headerMode() == 2) {
    // A line of its own: a printer skips the line that carries a form feed.
    writeBytes("\f");
    lineEnd();
    lineOnPage_ = 0;
  } else {
    ReportEndPage();
    ReportPageHeader(0, headerKind_);
    lineWriter("", true, false);
  }
  inHeader_ = false;
}

void ReportEngine::ReportLine(const std::string& text) { lineWriter(text, true, false); }
void ReportEngine::ReportLinePart(const std::string& text) { lineWriter(text, false, false); }

void ReportEngine::ReportRawLine(const std::string& text) {
  ReportRawPart(text);
  lineEnd();
}

void ReportEngine::ReportRawPart(const std::string& text) {
  writeBytes(htmlTarget() ? DisplayText(numbers(), text) : text);
}

void ReportEngine::htmlOpenTable(const std::string& border) {
  htmlCloseTable();
  writeBytes("<TABLE BORDER = \"" + border + "\" WIDTH= \"100%\">");
  lineEnd();
  tableOpen_ = true;
}

void ReportEngine::htmlCloseTable() {
  if (!tableOpen_) return;
  tableOpen_ = false;
  writeBytes("</TABLE>");
  lineEnd();
}

void ReportEngine::htmlRow(const std::string& markup) {
  if (!open_ || aborted()) return;
  ++lineOnPage_;
  writeBytes(markup);
  lineEnd();
}

void ReportEngine::ReportCell(const std::string& text) {
  if (htmlTarget()) {
    if (!tableOpen_) htmlOpenTable("2");
    htmlRow("<TR><TD>" + HtmlEscape(DisplayText(numbers(), text)) + "</TD></TR>");
    return;
  }
  ReportLine(text);
}

void ReportEngine::ReportWrappedLine(const std::string& text) {
  if (text.empty()) return;
  if (tabTarget() || htmlTarget() || text.size() < 73) {
    ReportCell(text);
    return;
  }
  for (const auto& piece : CutText(text)) ReportCell(piece);
}

void ReportEngine::ReportValueRow(const std::string& label, const std::string& symbol,
                                  const std::string& unit, const std::string& value, int symbolWidth) {
  if (!open_ || aborted()) return;
  if (tabTarget()) {
    writeBytes(label + "\t" + symbol + "\t" + unit + "\t" + value);
    lineEnd();
    return;
  }
  if (htmlTarget()) {
    if (!tableOpen_) htmlOpenTable("2");
    auto h = [this](const std::string& s) { return HtmlEscape(DisplayText(numbers(), s)); };
    htmlRow("<TR><TD>" + h(label) + "</TD><TD>" + h(symbol) + "</TD><TD>" + h(unit) +
            "</TD><TD><DIV ALIGN=RIGHT>" + h(value) + "</DIV></TD></TR>");
    return;
  }
  std::string line = Blanks();
  line = PlaceText(line, label, 1);
  line = PlaceText(line, symbol, 35);
  const int unitColumn = 35 + std::clamp(symbolWidth, 1, 20);
  line = PlaceText(line, unit, unitColumn);
  std::string v = value;
  int column = 56;
  if (v.size() > 14) {
    v = Trim(v);
    if (v.size() > 14) column = kLineWidth - static_cast<int>(v.size());
  }
  line = PlaceText(line, v, column);
  ReportLine(line);
  if (separatorMode() != 4) ReportLine(ReportThinRule());
}

void ReportEngine::ReportEndPage() {
  if (!open_ || aborted() || tabTarget() || htmlTarget()) return;
  if (separatorMode() == 4 && lineOnPage_ < pageLength() / 2) return;
  if (target_ == otScreen || target_ == otPrinter) {
    writeBytes("\f");
    lineEnd();
  } else if (target_ == otTextPrinter) {
    writeBytes("\f");
  }
  lineOnPage_ = 0;
}

void ReportEngine::ReportEnsureRoom(int kind) {
  if (!open_ || aborted()) return;
  if (lineOnPage_ <= std::max(pageLength() - 10, 10)) return;
  ReportEndPage();
  ReportPageHeader(0, kind);
  if (kind == 0) ReportLine("");
}

// ---------------------------------------------------------------- headers

std::string ReportEngine::headerBoxLine(const std::string& content) const {
  std::string line = PlaceText(Blanks(), content, 4);
  line[0] = boxSide();
  line[kLineWidth - 1] = boxSide();
  return line;
}

std::string ReportEngine::headerFileLine() const {
  // File names are native (UTF-8); the report text is CP850.
  std::string name = Utf8ToCp850(Trim(ctx_.file.fileName));
  if (name.empty()) return {};
  if (ctx_.archiveName) return name;
  std::string ext = std::string(".") + kProjectExtension;
  std::string full = Utf8ToCp850(ctx_.file.fileDir) + name + ext;
  // Columns 4 .. 69 lie between the box sides; a path that does not fit there
  // would not be placed at all, so the name stands alone.
  if (full.size() <= static_cast<size_t>(kLineWidth - 4)) return full;
  return name + ext;
}

void ReportEngine::ReportPageHeader(int pageNo, int kind) {
  if (!open_ || aborted()) return;
  bool forced = pageNo == 1;
  if (htmlTarget()) {
    if (pageNo_ == 0 || forced) htmlHeader();
    lineOnPage_ = 0;
    return;
  }
  if (tabTarget()) {
    if (pageNo_ == 0 || forced) tabHeader();
    return;
  }
  textHeader(pageNo, kind, forced);
}

void ReportEngine::textHeader(int pageNo, int kind, bool forced) {
  if (pause_) {
    Answer a = ctx_.ui.port().askYesNoCancel(ctx_.ui.display(kProgramTitle),
                                             ctx_.ui.display("Blatt in Drucker einlegen.  Fortfahren ?"));
    if (a != Answer::Yes) {
      ctx_.ui.flags().abortFlag = true;
      return;
    }
  }
  if (headerMode() == 2 && !forced && pageNo_ > 0) {
    ReportRawLine(" ");
    return;
  }
  if (separatorMode() == 4 && !(forced || pageNo_ == 0 || lineOnPage_ >= pageLength() / 2)) return;
  bool outer = inHeader_;
  inHeader_ = true;
  lineOnPage_ = 0;
  headerKind_ = kind;
  ++pageNo_;
  int shown = pageNo == 0 ? pageNo_ : pageNo;
  if (separatorMode() == 4) ReportLine("");
  int space = ctx_.settings.headerSpaceLines;
  if (space < 0 || space > 30) space = 0;
  for (int i = 0; i < space; ++i) ReportLine("");
  ReportLine(boxTop());

  std::string a = PlaceText(Blanks(), header_.title, 4);
  if (headerMode() != 2) {
    if (header_.totalPages > 0)
      a = PlaceText(a, "Bl." + SpacePad(shown, 2) + "/" + SpacePad(header_.totalPages, 2), 60);
    else
      a = PlaceText(a, "Bl." + SpacePad(shown, 2), 64);
  }
  a[0] = boxSide();
  a[kLineWidth - 1] = boxSide();
  ReportLine(a);

  DateTime now = ctx_.clock.now();
  std::string b = PlaceText(Blanks(), ctx_.ownerName, 4);
  b = PlaceText(b, FormatDate(numbers(), now.year, now.month, now.day), 53);
  b = PlaceText(b, std::to_string(now.hour) + ":" + ZeroPad(now.minute, 2), 64);
  b[0] = boxSide();
  b[kLineWidth - 1] = boxSide();
  ReportLine(b);

  ReportLine(headerBoxLine(headerFileLine()));
  ReportLine(boxDivider());
  for (int i = 0; i < 4; ++i) {
    if (i == 3 && header_.lines[3].empty()) break;
    ReportLine(headerBoxLine(header_.lines[static_cast<size_t>(i)]));
  }
  ReportLine(boxBottom());
  inHeader_ = outer;
}

void ReportEngine::htmlHeader() {
  auto h = [this](const std::string& s) { return HtmlEscape(DisplayText(numbers(), s)); };
  std::string path = RemoveBlanks(
      namedBatchFile() && !ctx_.batchShownName.empty() ? ctx_.batchShownName : outputPath_);
  // "--" would end the comment early.
  for (size_t p; (p = path.find("--")) != std::string::npos;) path[p + 1] = '_';
  std::string program = std::string(kProgramTitle) + " V" + kProgramVersion;
  ReportRawLine("<!-- " + Utf8ToCp850(path) + " -->");
  ReportRawLine("<HTML>");
  ReportRawLine("<head><meta charset=\"utf-8\"><title>" + HtmlEscape(program) + "</title></head>");
  ReportRawLine("<BODY BGCOLOR=\"C0C0C0\">");
  ReportRawLine("<hr>");
  lineWriter("<h4>" + HtmlEscape(program) + "</h4>", true, true);
  lineWriter("<h4>" + HtmlEscape(ctx_.ownerName) + "</h4>", true, true);
  ReportRawLine("<hr>");
  for (const auto& l : header_.lines) {
    writeBytes("<h5>" + h(l) + "</h5>");
    lineEnd();
  }
  ReportRawLine("<hr>");
  ++pageNo_;
}

void ReportEngine::tabHeader() {
  DateTime now = ctx_.clock.now();
  std::string path = target_ == otBatch ? batchPath() : outputPath_;
  if (target_ == otBatch && !ctx_.batchShownName.empty()) path = ctx_.batchShownName;
  ReportLine(std::string(kProgramTitle) + " V" + kProgramVersion + "\t" +
             FormatDate(numbers(), now.year, now.month, now.day) + "\t" +
             std::to_string(now.hour) + ":" + ZeroPad(now.minute, 2));
  ReportLine(Utf8ToCp850(RemoveBlanks(path)));
  ReportLine(ctx_.project.drawing.bemerk1);
  ReportLine(ctx_.project.drawing.bemerk2);
  ReportLine(ctx_.project.drawing.bemerk3);
  ReportLine(" ");
  ++pageNo_;
}

// ---------------------------------------------------------------- tables

ReportTable::ReportTable(ReportEngine& engine, const std::vector<int>& widths,
                         const std::vector<std::string>& headings)
    : e_(engine) {
  for (size_t i = 0; i < widths.size() && i < static_cast<size_t>(kMaxColumns); ++i) {
    if (widths[i] <= 0 && i > 0) break;
    widths_.push_back(std::max(widths[i], 0));
  }
  if (widths_.empty()) widths_.push_back(0);
  write(headings, true);
}

void ReportTable::write(const std::vector<std::string>& given, bool head) {
  if (!e_.isOpen() || e_.aborted()) return;
  std::vector<std::string> cells(widths_.size());
  for (size_t i = 0; i < cells.size() && i < given.size(); ++i) cells[i] = LeftPart(given[i], 60);
  if (e_.htmlTarget()) {
    auto h = [this](const std::string& s) { return HtmlEscape(DisplayText(e_.numbers(), s)); };
    if (head) e_.htmlOpenTable("1");
    std::string row;
    for (size_t i = 0; i < cells.size(); ++i) {
      if (head) row += "<TD><CENTER>" + h(cells[i]) + "</CENTER></TD>";
      else if (i == 0) row += "<TD>" + h(cells[i]) + "</TD>";
      else row += "<TD><DIV ALIGN=RIGHT>" + h(cells[i]) + "</DIV></TD>";
    }
    e_.htmlRow("<TR>" + row + "</TR>");
    return;
  }
  if (e_.ReportTarget() == otTabFile) {
    e_.ReportLinePart(cells[0]);
    for (size_t i = 1; i < cells.size(); ++i) e_.ReportRawPart("\t" + cells[i]);
    e_.ReportRawLine("");
    return;
  }
  if (head) e_.ReportLine(e_.ReportDoubleRule());
  e_.ReportLinePart(PadRight(cells[0], widths_[0]));
  for (size_t i = 1; i < cells.size(); ++i) e_.ReportRawPart(PadRight(cells[i], widths_[i]));
  e_.ReportRawLine(" ");
  if (head) e_.ReportLine(e_.ReportDoubleRule());
  else if (rowRules_) e_.ReportLine(e_.ReportThinRule());
}

void ReportTable::Row(const std::vector<std::string>& cells) { write(cells, false); }

void ReportTable::Done() {
  if (!e_.isOpen() || e_.aborted()) return;
  if (e_.htmlTarget()) e_.htmlCloseTable();
  else if (!rowRules_) e_.ReportLine(e_.ReportThinRule());
}

// ---------------------------------------------------------------- remarks

void ReportEngine::ReportMessages() {
  const MessageList& list = ctx_.messages;
  if (!open_ || aborted() || list.empty()) return;
  ReportRawLine("");
  ReportRawLine("");
  ReportLine("BEMERKUNGEN, WARNUNGEN, FEHLERMELDUNGEN");
  if (!tabTarget()) {
    ReportLine(ReportDoubleRule());
    ReportRawLine("");
    ReportLine(ReportThinRule());
  }
  if (htmlTarget()) htmlOpenTable("2");
  for (int i = 1; i <= list.count(); ++i) {
    std::string cause = explanationCause(ctx_.explanationFile, list, i);
    std::string remedy = explanationRemedy(ctx_.explanationFile, list, i);
    if (tabTarget()) {
      ReportRawLine(list.at(i) + "\t" + cause + "\t" + remedy);
      continue;
    }
    ReportCell(list.at(i));
    ReportWrappedLine(cause);
    ReportWrappedLine(remedy);
    if (textTarget() && separatorMode() != 4) ReportLine(ReportThinRule());
    if (htmlTarget() && i < list.count()) {
      htmlCloseTable();
      ReportLine("");
      htmlOpenTable("2");
    }
  }
  if (htmlTarget()) htmlCloseTable();
}

// ---------------------------------------------------------------- opening

bool ReportEngine::namedBatchFile() const { return !askTarget_ && !ctx_.batchFile.empty(); }

std::string ReportEngine::batchPath() const {
  if (!ctx_.batchFile.empty()) return ctx_.batchFile;
  return (fs::path(ctx_.workDir) / (projectStem_ + ".txt")).string();
}

std::string ReportEngine::tempPath(const std::string& name) const {
  return (fs::path(ctx_.tempDir) / name).string();
}

bool ReportEngine::askFileName(const std::string& proposedStem, const std::string& extension) {
  FileDialog d;
  d.directory = ctx_.file.fileDir;
  d.filter = "*." + extension + "|*." + extension;
  d.proposed = proposedStem + "." + extension;
  auto chosen = ctx_.ui.port().saveFile(d);
  if (!chosen || FileNamePart(*chosen).empty()) {
    ctx_.ui.flags().abortFlag = true;
    return false;
  }
  std::string path = *chosen;
  if (FileNamePart(path).find('.') == std::string::npos) path += "." + extension;
  if (!ctx_.ui.checkNewFile(path)) return false;
  outputPath_ = path;
  return true;
}

bool ReportEngine::createOutput(const std::string& path, bool device) {
  outputPath_ = path;
  if (device) {
    int port = ctx_.settings.printerPort >= 1 && ctx_.settings.printerPort <= 4
                   ? ctx_.settings.printerPort
                   : 1;
    auto s = std::make_unique<DeviceSink>(ctx_.ui);
    if (!s->open(path, port)) return false;
    sink_ = std::move(s);
    return true;
  }
  auto s = std::make_unique<FileSink>(ctx_.ui);
  if (!s->create(path)) return false;
  sink_ = std::move(s);
  return true;
}

bool ReportEngine::batchTargetAllowed(const std::string& path) {
  std::string problem = OutputTargetProblem(path, &ctx_.ui.state().keepFiles);
  if (problem.empty()) return true;
  ctx_.ui.showError("file write error (" + Utf8ToCp850(problem) + ")");
  ctx_.ui.flags().abortFlag = true;
  return false;
}

bool ReportEngine::chooseTarget(int target) {
  int t = target != 0 ? target : defaultTarget_;
  if (!((t >= 1 && t <= 7) || t == otBatch)) t = otScreen;
  if (target == 0 && askTarget_) {
    auto& choices = ctx_.ui.state().choiceTexts;
    const auto& names = TargetNames();
    for (size_t i = 0; i < names.size(); ++i) choices[i + 1] = names[i];
    int k = t <= 7 ? t : 1;
    if (!ctx_.ui.inputChoice("Ausgabe auf ..", static_cast<int>(names.size()), k)) return false;
    t = k;
  }
  target_ = t;
  return true;
}

bool ReportEngine::ReportOpen(int target, const std::string& fileName) {
  if (target == 90) return true;
  sink_.reset();
  open_ = false;
  intermediate_ = false;
  resultPath_.clear();
  written_.clear();
  if (!chooseTarget(target)) return false;
  std::string name = fileName.empty() ? ctx_.file.fileName : fileName;
  if (!name.empty() && FileNamePart(name).find('.') == std::string::npos) name += ".txt";
  projectStem_ = StemPart(name);
  if (target_ == otBatch && !ctx_.file.fileName.empty()) projectStem_ = ctx_.file.fileName;
  if (projectStem_.empty()) projectStem_ = kFileStem;
  pageNo_ = 0;
  lineOnPage_ = 0;
  tableOpen_ = false;
  pause_ = false;
  Ui& ui = ctx_.ui;

  switch (target_) {
    case otTextPrinter: {
      int port = ctx_.settings.printerPort >= 1 && ctx_.settings.printerPort <= 4
                     ? ctx_.settings.printerPort
                     : 1;
      pause_ = ui.askYesNo("Pause nach jeder Seite ?");
      if (aborted()) return false;
      if (!createOutput(ctx_.portDevices[static_cast<size_t>(port - 1)], true)) return false;
      open_ = true;
      std::string init;
      if (ReadRegularFile((fs::path(ctx_.workDir) / "TEXT.HXP").string(), kMaxPrintBytes, init).ok())
        writeBytes(init);
      return !aborted();
    }
    case otFile:
      if (namedBatchFile()) {
        if (!batchTargetAllowed(ctx_.batchFile)) return false;
        outputPath_ = ctx_.batchFile;
      } else if (!askFileName(projectStem_, "txt")) {
        return false;
      }
      if (!createOutput(outputPath_, false)) return false;
      break;
    case otTabFile:
    case otBatch:
      // The batch printout must be creatable under its final name; nobody is
      // asked, any name is taken as given, and only what may be replaced is.
      if (target_ == otBatch && !batchTargetAllowed(batchPath())) return false;
      if (askTarget_) {
        if (!askFileName(projectStem_, "txt")) return false;
      } else {
        // Earlier tab-separated outputs of this folder stay: the number goes
        // on from the last one there, also across engines.
        std::error_code ec;
        while (target_ == otTabFile && fileCounter_ < 100000 &&
               fs::exists(tempPath("$$" + std::to_string(fileCounter_ + 1) + ".txt"), ec))
          ++fileCounter_;
        outputPath_ = tempPath("$$$" + std::to_string(fileCounter_ + 1) + ".txt");
        intermediate_ = true;
      }
      if (!createOutput(outputPath_, false)) return false;
      break;
    case otHtml:
      if (namedBatchFile()) {
        if (!batchTargetAllowed(ctx_.batchFile)) return false;
        outputPath_ = ctx_.batchFile;
      } else if (!ctx_.settings.htmlBrowser.empty()) {
        std::string path = tempPath(std::string(kProgramFile) + ".htm");
        if (!ui.checkNewFile(path)) return false;
        outputPath_ = path;
      } else if (!askFileName(projectStem_, "htm")) {
        return false;
      }
      if (!createOutput(outputPath_, false)) return false;
      break;
    default: {
      // Screen, printer and text program write a temporary file first.
      std::string path;
      std::error_code ec;
      for (int i = 1; i <= 11; ++i) {
        path = tempPath("$OUT" + std::to_string(i) + ".TMP");
        if (!fs::exists(path, ec)) break;
      }
      if (!createOutput(path, false)) return false;
      intermediate_ = true;
      break;
    }
  }
  open_ = true;
  return true;
}

// ---------------------------------------------------------------- closing

bool ReportEngine::writeConverted(const std::string& path) {
  TextFileWriter w(ctx_.ui, "\n");
  w.protect(&ctx_.ui.state().keepFiles);
  if (!w.create(path)) return false;
  for (const auto& l : SplitLines(written_)) w.line(DisplayText(numbers(), l));
  if (!w.close()) return false;
  resultPath_ = path;
  return true;
}

void ReportEngine::removeIntermediate() {
  std::error_code ec;
  if (intermediate_) fs::remove(outputPath_, ec);
}

bool ReportEngine::handOn() {
  Ui& ui = ctx_.ui;
  std::string outwin = tempPath("outwin.txt");
  switch (target_) {
    case otScreen: {
      bool ok = writeConverted(outwin);
      removeIntermediate();
      if (ok) ui.port().showTextFile(std::string(kProductName) + "    " + outwin, outwin);
      return ok;
    }
    case otTextPrinter:
      return true;
    case otFile: {
      std::string chosen = outputPath_;
      bool ok = writeConverted(outwin);
      resultPath_ = chosen;
      return ok;
    }
    case otPrinter: {
      std::string text;
      for (const auto& l : SplitLines(written_)) text += DisplayText(numbers(), l) + "\n";
      removeIntermediate();
      return PrintPages(ui, PrintJobOf(ctx_.settings, ctx_.file.fileName, text));
    }
    case otTextProgram: {
      const std::string& program = ctx_.settings.textProgram;
      if (!program.empty() && !platform().programExists(program)) {
        ui.showError(Utf8ToCp850(program) + " not found");
        return false;
      }
      if (!writeConverted(outwin)) return false;
      removeIntermediate();
      // Without a program the desktop opens it with its text application.
      if (program.empty()) {
        ui.port().openWithApplication(outwin);
        return true;
      }
      if (!platform().launch(program, outwin)) {
        ui.showError(Utf8ToCp850(program.empty() ? "xdg-open" : program) + " not found");
        return false;
      }
      return true;
    }
    case otTabFile:
      ++fileCounter_;
      return writeConverted(tempPath("$$" + std::to_string(fileCounter_) + ".txt"));
    case otBatch: {
      ++fileCounter_;
      bool ok = writeConverted(batchPath());
      removeIntermediate();
      return ok;
    }
    case otHtml: {
      resultPath_ = outputPath_;
      const std::string& browser = ctx_.settings.htmlBrowser;
      // A batch page is only written; nobody is there to look at it.
      if (namedBatchFile()) return true;
      // Without a browser of its own the page opens in the desktop's one.
      if (browser.empty()) {
        ui.port().openWithApplication(outputPath_);
        return true;
      }
      if (!platform().programExists(browser) || !platform().launch(browser, outputPath_)) {
        ui.showError(Utf8ToCp850(browser) + " not found");
        return false;
      }
      return true;
    }
    default:
      return true;
  }
}

bool ReportEngine::ReportClose() {
  if (!open_) return false;
  if (!aborted()) {
    if ((target_ == otScreen || target_ == otTextPrinter || target_ == otPrinter) &&
        (headerMode() == 2 || separatorMode() == 4) && lineOnPage_ > 0)
      writeBytes("\f");
    if (htmlTarget()) {
      htmlCloseTable();
      ReportRawLine("</BODY>");
      ReportRawLine("</HTML>");
    }
  }
  bool ok = !aborted() && sink_ && sink_->close();
  // An aborted output leaves nothing that looks finished.
  sink_.reset();
  open_ = false;
  if (!ok) {
    removeIntermediate();
    ctx_.ui.flags().abortFlag = true;
    return false;
  }
  return handOn();
}

}  // namespace kamo
