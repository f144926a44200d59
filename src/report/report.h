// The report engine: every text report is written once, line by line, and the
// engine renders it for the chosen output (viewer, text printer, text file,
// printer, external text program, tab-separated file, HTML, batch file),
// counts lines, breaks pages, writes the page headers and hands the result on.
// Texts passed in are CP850.
#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "cam/model.h"
#include "core/clock.h"
#include "core/messages.h"
#include "core/settings.h"
#include "core/ui.h"
#include "report/platform.h"

namespace kamo {

class ReportSink;

enum OutputTarget : std::int16_t {
  otScreen = 1,
  otTextPrinter = 2,
  otFile = 3,
  otPrinter = 4,
  otTextProgram = 5,
  otTabFile = 6,
  otHtml = 7,
  otBatch = 9,
};

// What a report needs from the session.
struct ReportContext {
  ReportContext(Ui& u, const Settings& s, const Clock& c, FileIdentity& f, const CamProject& p,
                const MessageList& m)
      : ui(u), settings(s), clock(c), file(f), project(p), messages(m) {}
  Ui& ui;
  const Settings& settings;
  const Clock& clock;
  FileIdentity& file;          // the current project file
  const CamProject& project;   // its three text lines head the tab-separated outputs
  const MessageList& messages;
  std::string explanationFile;
  std::string tempDir;         // intermediate files, "outwin.txt", "$$n.txt"
  std::string workDir;         // the batch printout lands here; "TEXT.HXP" is read from here
  std::string batchFile;       // the batch printout's file when named ("-o"), else stem + ".txt";
                               // without the target question also the file of the text and HTML targets
  std::string batchShownName;  // the name headers give the batch file when it is written under
                               // another name first and renamed into place; empty: batchFile
  std::string ownerName;       // the user's firm, shown in the page header
  bool archiveName = false;    // header line C shows the name alone
  bool noGui = false;          // "/NOGUI": the error explanation list stays closed
  // Device files of the text printer ports LPT1 .. LPT4.
  std::array<std::string, 4> portDevices{"/dev/lp0", "/dev/lp1", "/dev/lp2", "/dev/lp3"};
  ReportPlatform* platform = nullptr;  // nullptr: the running system
};

class ReportEngine {
 public:
  explicit ReportEngine(ReportContext ctx);
  ~ReportEngine();
  ReportEngine(const ReportEngine&) = delete;
  ReportEngine& operator=(const ReportEngine&) = delete;

  // The batch printout and the spreadsheet transfer choose their target and
  // switch the question off; otherwise the settings decide.
  void setDefaultTarget(int target) { defaultTarget_ = target; }
  void setAskTarget(bool ask) { askTarget_ = ask; }
  // The names of the choice list, in target order 1 .. 7.
  static const std::vector<std::string>& TargetNames();

  void ReportSetHeader(const std::string& title, const std::string& line1,
                       const std::string& line2, const std::string& line3,
                       const std::string& line4, int totalPages);
  // Chooses the output and creates its file; false (abortFlag set) when the
  // user cancelled or the output cannot be created. Target 90 only fills the
  // list of target names.
  bool ReportOpen(int target, const std::string& fileName);
  void ReportPageHeader(int pageNo, int kind);
  void ReportLine(const std::string& text);
  void ReportLinePart(const std::string& text);
  void ReportRawLine(const std::string& text);
  void ReportRawPart(const std::string& text);
  void ReportCell(const std::string& text);
  void ReportWrappedLine(const std::string& text);
  // The symbol column is symbolWidth characters wide (the unit follows it;
  // the value column stays where it fits): the cam reports' nine, more for
  // longer symbols.
  void ReportValueRow(const std::string& label, const std::string& symbol, const std::string& unit,
                      const std::string& value, int symbolWidth = 9);
  std::string ReportThinRule() const;
  std::string ReportDoubleRule() const;
  void ReportEndPage();
  void ReportEnsureRoom(int kind);
  void ReportMessages();
  // Finishes the output and hands it on; false when anything failed, in
  // which case no finished-looking file is left behind.
  bool ReportClose();
  int ReportTarget() const { return target_; }

  // The file the user gets: the chosen file, the converted copy or the HTML page.
  const std::string& resultPath() const { return resultPath_; }
  const std::string& outputPath() const { return outputPath_; }
  int pageNo() const { return pageNo_; }
  int lineOnPage() const { return lineOnPage_; }
  bool isOpen() const { return open_; }
  const ReportContext& context() const { return ctx_; }
  // The batch printout names its file and switches the explanation list off here.
  ReportContext& context() { return ctx_; }
  // An engine kept for a whole session takes the current folders, names and
  // switches of fresh (its references stay) and the target choice of the
  // settings again; the file counter of the tab-separated outputs goes on.
  void refresh(const ReportContext& fresh);
  const NumberStyle& numbers() const { return ctx_.settings.numbers; }
  bool aborted() const { return ctx_.ui.flags().abortFlag; }

  // Used by ReportTable.
  bool textTarget() const { return target_ >= 1 && target_ <= 5; }
  bool tabTarget() const { return target_ == otTabFile || target_ == otBatch; }
  bool htmlTarget() const { return target_ == otHtml; }
  void htmlOpenTable(const std::string& border);
  void htmlCloseTable();
  // Writes markup or converted text on HTML, counting the line.
  void htmlRow(const std::string& markup);

  // The rule strings of the separator mode.
  std::string boxTop() const;
  std::string boxBottom() const;
  std::string boxDivider() const;
  char boxSide() const;

 private:
  int pageLength() const;
  int separatorMode() const;
  int headerMode() const;
  bool isRule(const std::string& text) const;
  void writeBytes(const std::string& bytes);
  void lineEnd();
  // The line writer; html: text is mark-up already (only converted).
  void lineWriter(const std::string& text, bool withEnd, bool markup);
  void pageBreakTest();
  void textHeader(int pageNo, int kind, bool forced);
  void htmlHeader();
  void tabHeader();
  std::string headerFileLine() const;
  std::string headerBoxLine(const std::string& content) const;
  bool chooseTarget(int target);
  // A file named by the batch job: taken as given (any name, nobody asked),
  // unless it may not be replaced; false after the reason.
  bool batchTargetAllowed(const std::string& path);
  bool createOutput(const std::string& path, bool device);
  bool askFileName(const std::string& proposedStem, const std::string& extension);
  bool handOn();
  bool writeConverted(const std::string& path);
  void removeIntermediate();
  std::string tempPath(const std::string& name) const;
  std::string batchPath() const;
  // A batch run names the file of the text and HTML targets (no dialog).
  bool namedBatchFile() const;
  ReportPlatform& platform() const;

  ReportContext ctx_;
  int target_ = otScreen;
  int defaultTarget_;
  bool askTarget_;
  std::string outputPath_ = "$out.tmp";
  std::string resultPath_;
  std::string projectStem_;
  int pageNo_ = 0;
  int lineOnPage_ = 0;
  bool pause_ = false;
  bool tableOpen_ = false;
  int fileCounter_ = 0;
  int headerKind_ = 0;
  bool inHeader_ = false;
  bool open_ = false;
  bool intermediate_ = false;  // the output file is ours to delete
  struct Header {
    std::string title;
    std::array<std::string, 4> lines;
    int totalPages = 0;
  } header_;
  std::unique_ptr<ReportSink> sink_;
  std::string written_;  // CP850 copy of everything written, for the converted copies
};

// A column table of up to seven columns written through the engine.
class ReportTable {
 public:
  static constexpr int kMaxColumns = 7;
  ReportTable(ReportEngine& engine, const std::vector<int>& widths,
              const std::vector<std::string>& headings);
  void SetRowRules(bool on) { rowRules_ = on; }
  void Row(const std::vector<std::string>& cells);
  void Done();

 private:
  void write(const std::vector<std::string>& cells, bool head);
  ReportEngine& e_;
  std::vector<int> widths_;
  bool rowRules_ = true;
};

// A paged text for the printer: lines that begin with a form feed end a page
// and are not printed themselves. text is UTF-8.
PrintJob PrintJobOf(const Settings& settings, const std::string& title, const std::string& text);
// Prints a UTF-8 text file, e.g. the viewer's "outwin.txt"; false (with a
// message) when the file is missing or no printer is available, and when
// the user cancelled the print dialog.
bool PrintTextFile(Ui& ui, const Settings& settings, const std::string& path,
                   const std::string& title);

// Places text at a 1-based column of line, only when it fits entirely.
std::string PlaceText(const std::string& line, const std::string& text, int column);
// The pieces a long text is cut into for the wrapped lines.
std::vector<std::string> CutText(const std::string& text);
// The owner name of the installation: the first line of the data file
// kOwnerFile (CP850), empty when there is none.
inline constexpr const char* kOwnerFile = "owner.txt";
std::string ReadOwnerName(const std::string& path);
// Escapes "&", "<", ">" and the quotation mark for HTML.
std::string HtmlEscape(const std::string& text);

}  // namespace kamo
