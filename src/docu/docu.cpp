// Change records, drawing information, document links and the change protocol.
#include "docu/docu.h"

#include <algorithm>
#include <cstring>
#include <filesystem>

#include "core/codepage.h"
#include "core/fields.h"
#include "core/identity.h"
#include "core/launch.h"
#include "core/numbers.h"
#include "core/strings.h"
#include "report/report.h"

namespace kamo {
namespace fs = std::filesystem;

namespace {

size_t Idx(int i) { return static_cast<size_t>(i); }

// Pads with blanks or cuts to exactly w characters.
std::string Fit(const std::string& s, int w) { return PadRight(LeftPart(s, w), w); }

// Stores one field; on refusal keeps the first message, naming the field.
class FieldStore {
 public:
  void text(const std::string& utf8, size_t maxChars, const char* label, std::string& into) {
    StoredText t = FieldToStored(utf8, maxChars);
    if (!t.ok()) {
      if (error_.empty()) error_ = t.error + " (" + label + ")";
      return;
    }
    into = t.text;
  }
  const std::string& error() const { return error_; }

 private:
  std::string error_;
};

std::string LinesToDisplay(const std::string& stored) { return FieldFromStored(stored); }

// The description as one field text: "\r\n" and "\r" become "\n".
std::string NormaliseBreaks(const std::string& s) {
  std::string out;
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '\r') {
      out += '\n';
      if (i + 1 < s.size() && s[i + 1] == '\n') ++i;
    } else {
      out += s[i];
    }
  }
  return out;
}

// Runs a form until it is cancelled (nullopt, abortFlag set) or stored
// without a refusal; a refused field shows its message and the form again,
// with what the user typed.
template <class Form, class Show, class Store>
bool RunForm(Ui& ui, Form form, Show show, Store store) {
  for (;;) {
    auto answer = show(form);
    if (!answer) {
      ui.flags().abortFlag = true;
      return false;
    }
    std::string error = store(*answer);
    if (error.empty()) {
      ui.flags().abortFlag = false;
      return true;
    }
    ui.showErrorAlways(error);
    form = *answer;
  }
}

void ShowProtocol(DocuContext& c) {
  if (c.reports) ChangeProtocol(c.reports(), otScreen);
}

}  // namespace

std::string TodayText(const NumberStyle& ns, const Clock& clock) {
  DateTime t = clock.now();
  return FormatDate(ns, t.year, t.month, t.day);
}

void ResetDocumentation(CamProject& p, const NumberStyle& ns, const Clock& clock) {
  p.resetDocumentation();
  p.info.rows[0].date = TodayText(ns, clock);
  p.drawing.bemerk1.clear();
  p.drawing.bemerk2.clear();
  p.drawing.bemerk3.clear();
}

void StartDocumentation(CamProject& p, const NumberStyle& ns, const Clock& clock) {
  std::string today = TodayText(ns, clock);
  for (int i = 0; i < 3; ++i) p.info.rows[Idx(i)].date = today;
}

std::string ProtocolIndex(int style, int i) {
  if (style == 1) return std::to_string(i);
  return std::string(1, static_cast<char>('a' + i - 1));
}

bool ChangeProtocol(ReportEngine& e, int target) {
  const ReportContext& c = e.context();
  const CamProject& p = c.project;
  const DrawingTexts& d = p.drawing;
  e.ReportSetHeader(std::string(kProductName) + " V" + kProgramVersion, docu::kProtocolTitle,
                    d.bemerk1, d.bemerk2, d.bemerk3, 0);
  if (!e.ReportOpen(target, c.file.fileName + ".txt")) return false;
  // Shown in the text window it starts at once; printed and in files it has its page header.
  if (target != otScreen) e.ReportPageHeader(0, 0);
  const DrawingInfo& in = p.info;
  e.ReportLine("");
  e.ReportLine(std::string(docu::kCreationDate) + ": " + in.rows[0].date + "     " +
               docu::kCreatedBy + ": " + in.rows[0].name);
  if (!in.replacementFor.empty()) {
    e.ReportLine("");
    e.ReportLine(std::string(docu::kReplacementFor) + ": " + PadRight(in.replacementFor, 15));
  }
  if (!in.replacedBy.empty()) {
    e.ReportLine("");
    e.ReportLine(std::string(docu::kReplacedBy) + ": " + PadRight(in.replacedBy, 15));
  }
  e.ReportLine("");
  e.ReportLine(PadRight(docu::kIndex, 6) + "  " + PadRight(docu::kDate, 10) + "   " +
               PadRight(docu::kDinRows[0], 6) + "   " + PadRight(docu::kChange, 20));
  e.ReportLine(e.ReportDoubleRule());
  int n = std::min<int>(p.changeCount, kMaxChanges);
  int style = c.settings.changeIndexStyle;
  for (int i = 1; i <= n && !e.aborted(); ++i) {
    const ChangeRecord& r = p.changes[Idx(i)];
    e.ReportLine("  " + ProtocolIndex(style, i) + "     " + Fit(r.changeDate, 10) + "   " +
                 Fit(r.responsible, 6) + "   " + Fit(r.changeText, 20));
    // A description of several lines keeps them: each gets its own line.
    std::string desc = NormaliseBreaks(r.description);
    size_t start = 0;
    for (;;) {
      size_t end = desc.find('\n', start);
      e.ReportLine(" " + desc.substr(start, end == std::string::npos ? std::string::npos : end - start));
      if (end == std::string::npos) break;
      start = end + 1;
    }
    e.ReportLine(e.ReportThinRule());
  }
  return e.ReportClose();
}

// ------------------------------------------------------------ change records

ChangeForm FillChangeForm(const ChangeRecord& r, int number, const std::string& today) {
  ChangeForm f;
  f.caption = Cp850ToUtf8(std::string(docu::kChange) + " " + std::to_string(number));
  f.today = FieldFromStored(today);
  f.changeText = FieldFromStored(r.changeText);
  f.changeDate = FieldFromStored(r.changeDate);
  f.responsible = FieldFromStored(r.responsible);
  f.description = LinesToDisplay(NormaliseBreaks(r.description));
  return f;
}

std::string StoreChangeForm(const ChangeForm& f, ChangeRecord& r) {
  ChangeRecord out = r;
  FieldStore s;
  s.text(f.changeText, static_cast<size_t>(f.changeTextMax), docu::kChangeText, out.changeText);
  s.text(f.changeDate, static_cast<size_t>(f.changeDateMax), docu::kChangeDate, out.changeDate);
  s.text(f.responsible, static_cast<size_t>(f.responsibleMax), docu::kResponsible, out.responsible);
  s.text(NormaliseBreaks(f.description), static_cast<size_t>(f.descriptionMax), docu::kDescription,
         out.description);
  if (!s.error().empty()) return s.error();
  r = out;
  return {};
}

// ------------------------------------------------------- drawing information

DrawingInfoForm FillDrawingInfoForm(const CamProject& p, const Settings& s, const std::string& today) {
  DrawingInfoForm f;
  const DrawingInfo& in = p.info;
  f.iso = IsoTitleBlock(s.titleBlockForm);
  f.caption = Cp850ToUtf8(std::string(docu::kDrawingInfo) + (f.iso ? " ISO 7200" : " DIN 6771"));
  f.today = FieldFromStored(today);
  f.dateHeading = f.iso ? Cp850ToUtf8(std::string(" (") + docu::kDate + ")") : docu::kDate;
  f.nameHeading = docu::kName;
  for (int i = 0; i < 3; ++i)
    f.rowLabels[Idx(i)] = Cp850ToUtf8(f.iso ? docu::kIsoRows[i] : docu::kDinRows[i]);
  f.rowLabels[3] = FieldFromStored(s.releaseFieldText);
  for (int i = 0; i < 4; ++i) {
    f.dates[Idx(i)] = FieldFromStored(in.rows[Idx(i)].date);
    f.names[Idx(i)] = FieldFromStored(in.rows[Idx(i)].name);
  }
  f.replacementFor = FieldFromStored(in.replacementFor);
  f.replacedBy = FieldFromStored(in.replacedBy);
  f.replacementMax = docu::kMaxReplacement;
  for (int i = 0; i < 3; ++i) f.documentLabels[Idx(i)] = Cp850ToUtf8(docu::kIsoFields[i]);
  f.responsibleDept = FieldFromStored(in.responsibleDept);
  f.documentType = FieldFromStored(in.documentType);
  f.documentStatus = FieldFromStored(in.documentStatus);
  f.textSheetMode = std::clamp(in.textSheetMode, 0, DrawingInfoForm::kSheetModes - 1);
  int n = std::min<int>(in.textCount, kMaxDrawingTexts);
  for (int i = 1; i <= n; ++i) {
    const DrawingText& t = in.texts[Idx(i)];
    FreeTextRow& row = f.texts[Idx(i - 1)];
    row.x = FormatGeneral(s.numbers, t.x);
    row.y = FormatGeneral(s.numbers, t.y);
    row.h = FormatGeneral(s.numbers, t.h);
    row.phi = FormatGeneral(s.numbers, t.angle);
    row.text = FieldFromStored(t.text);
  }
  return f;
}

std::string StoreDrawingInfoForm(const DrawingInfoForm& f, const Settings& s, CamProject& p) {
  DrawingInfo out = p.info;
  FieldStore st;
  int rows = f.iso ? 3 : 4;
  for (int i = 0; i < rows; ++i) {
    st.text(f.dates[Idx(i)], kMaxFieldChars, docu::kDate, out.rows[Idx(i)].date);
    st.text(f.names[Idx(i)], kMaxFieldChars, docu::kName, out.rows[Idx(i)].name);
  }
  if (!f.iso) {
    st.text(f.replacementFor, static_cast<size_t>(f.replacementMax), docu::kReplacementFor,
            out.replacementFor);
    st.text(f.replacedBy, static_cast<size_t>(f.replacementMax), docu::kReplacedBy, out.replacedBy);
  }
  if (IsoTitleBlock(s.titleBlockForm)) {
    st.text(f.responsibleDept, kMaxFieldChars, docu::kIsoFields[0], out.responsibleDept);
    st.text(f.documentType, kMaxFieldChars, docu::kIsoFields[1], out.documentType);
    st.text(f.documentStatus, kMaxFieldChars, docu::kIsoFields[2], out.documentStatus);
  }
  out.textSheetMode = std::clamp(f.textSheetMode, 0, DrawingInfoForm::kSheetModes - 1);
  // Every row with a text counts, in grid order; an empty row in between
  // does not hide the rows after it.
  const DrawingInfo& before = p.info;
  int shownRows = std::min<int>(before.textCount, kMaxDrawingTexts);
  auto number = [&](const std::string& text, int row, Real DrawingText::*field) -> Real {
    if (row < shownRows) {
      Real old = before.texts[Idx(row + 1)].*field;
      RealField rf(old, FormatGeneral(s.numbers, old));
      if (rf.unchanged(text)) return old;
    }
    return ParseReal(Trim(text));
  };
  std::array<DrawingText, kMaxDrawingTexts + 1> texts{};
  int count = 0;
  for (int row = 0; row < DrawingInfoForm::kTextRows && row < kMaxDrawingTexts; ++row) {
    const FreeTextRow& r = f.texts[Idx(row)];
    if (Trim(r.text).empty()) continue;
    DrawingText t;
    t.x = number(r.x, row, &DrawingText::x);
    t.y = number(r.y, row, &DrawingText::y);
    t.h = number(r.h, row, &DrawingText::h);
    t.angle = number(r.phi, row, &DrawingText::angle);
    st.text(r.text, kMaxFieldChars, "Text", t.text);
    texts[Idx(++count)] = t;
  }
  if (!st.error().empty()) return st.error();
  out.texts = texts;
  out.textCount = static_cast<std::uint16_t>(count);
  p.info = out;
  return {};
}

// ------------------------------------------------------------ document links

DocumentLinksForm FillDocumentLinksForm(const CamProject& p, const std::string& windowCaption) {
  DocumentLinksForm f;
  f.caption = "Document Links  -  " + windowCaption;
  for (int i = 1; i <= kDocumentLinks; ++i) {
    f.programs[Idx(i - 1)] = FieldFromStored(p.links[Idx(i)].program);
    f.files[Idx(i - 1)] = FieldFromStored(p.links[Idx(i)].file);
  }
  return f;
}

std::string StoreDocumentLinksForm(const DocumentLinksForm& f, CamProject& p) {
  auto links = p.links;
  FieldStore st;
  for (int i = 1; i <= kDocumentLinks; ++i) {
    st.text(f.programs[Idx(i - 1)], kMaxFieldChars, "Program", links[Idx(i)].program);
    st.text(f.files[Idx(i - 1)], kMaxFieldChars, "File", links[Idx(i)].file);
  }
  if (!st.error().empty()) return st.error();
  p.links = links;
  return {};
}

bool OpensWithAssociatedApplication(const std::string& program) {
  std::string name = Lower(Trim(program));
  size_t slash = name.find_last_of("/\\");
  if (slash != std::string::npos) name = name.substr(slash + 1);
  return name.empty() || name == "notepad.exe" || name == "write.exe" || name == "mspaint.exe" ||
         name == "notepad" || name == "write" || name == "mspaint";
}

void ExecDocumentFile(Ui& ui, const std::string& file) {
  if (Trim(file).empty()) {
    ui.showErrorAlways(kMsgNoFile);
    return;
  }
  std::error_code ec;
  if (!fs::exists(file, ec)) {
    ui.showErrorAlways("Datei nicht gefunden: " + Utf8ToCp850(file));
    return;
  }
  ui.port().openWithApplication(file);
}

void ExecDocumentProgram(Ui& ui, const std::string& program, const std::string& file) {
  if (OpensWithAssociatedApplication(program)) return ExecDocumentFile(ui, file);
  std::string path = FindProgram(program);
  if (path.empty()) {
    ui.showErrorAlways(kMsgProgramMissing + Utf8ToCp850(program));
    return;
  }
  std::vector<std::string> args;
  if (!file.empty()) args.push_back(file);
  StartOutcome started = StartProgram(path, args);
  if (!started.started)
    ui.showErrorAlways(kMsgProgramNotStarted + Utf8ToCp850(program) + " (" +
                       Utf8ToCp850(std::strerror(started.error)) + ")");
}

// ------------------------------------------------------------------ commands

void NewChange(DocuContext& c) {
  CamProject& p = c.project;
  Flags& f = c.ui.flags();
  if (p.changeCount >= kMaxChanges) {
    c.ui.showErrorAlways(kMsgMaxChanges);
    f.abortFlag = true;
    return;
  }
  int number = p.changeCount + 1;
  std::string today = TodayText(c.settings.numbers, c.clock);
  ChangeRecord fresh;
  fresh.changeDate = today;
  // The record exists only once the dialog is confirmed.
  bool ok = RunForm(
      c.ui, FillChangeForm(fresh, number, today),
      [&](const ChangeForm& form) { return c.ui.port().changeDialog(form); },
      [&](const ChangeForm& form) { return StoreChangeForm(form, fresh); });
  if (!ok) return;
  p.changes[Idx(number)] = fresh;
  p.changeCount = static_cast<std::uint16_t>(number);
  f.modified = true;
  ShowProtocol(c);
}

void ModifyLastChange(DocuContext& c) {
  CamProject& p = c.project;
  if (p.changeCount == 0) return;
  int number = std::min<int>(p.changeCount, kMaxChanges);
  ChangeRecord& r = p.changes[Idx(number)];
  std::string today = TodayText(c.settings.numbers, c.clock);
  bool ok = RunForm(
      c.ui, FillChangeForm(r, number, today),
      [&](const ChangeForm& form) { return c.ui.port().changeDialog(form); },
      [&](const ChangeForm& form) { return StoreChangeForm(form, r); });
  if (!ok) return;
  c.ui.flags().modified = true;
  ShowProtocol(c);
}

void DeleteLastChange(DocuContext& c) {
  CamProject& p = c.project;
  if (p.changeCount > 0) {
    if (!c.ui.askYesNo(kMsgDeleteChange)) {
      c.ui.flags().abortFlag = true;
      return;
    }
    p.changes[Idx(std::min<int>(p.changeCount, kMaxChanges))] = ChangeRecord{};
    p.changeCount = static_cast<std::uint16_t>(std::min<int>(p.changeCount, kMaxChanges) - 1);
    c.ui.flags().modified = true;
  }
  ShowProtocol(c);
}

void ChangeRecords(DocuContext& c, int mode) {
  switch (mode) {
    case 1: return NewChange(c);
    case 2: return ModifyLastChange(c);
    case 3: return DeleteLastChange(c);
    case 4:
      if (c.reports) ChangeProtocol(c.reports(), otScreen);
      return;
    case 5:
      if (c.reports) ChangeProtocol(c.reports(), 0);
      return;
    default: return;
  }
}

void EditDrawingInfo(DocuContext& c) {
  std::string today = TodayText(c.settings.numbers, c.clock);
  bool ok = RunForm(
      c.ui, FillDrawingInfoForm(c.project, c.settings, today),
      [&](const DrawingInfoForm& form) { return c.ui.port().drawingInfoDialog(form); },
      [&](const DrawingInfoForm& form) { return StoreDrawingInfoForm(form, c.settings, c.project); });
  if (ok) c.ui.flags().modified = true;
}

void EditDocumentLinks(DocuContext& c) {
  DocumentLinksForm form = FillDocumentLinksForm(c.project, c.windowCaption);
  Ui& ui = c.ui;
  form.execProgram = [&ui](const std::string& program, const std::string& file) {
    ExecDocumentProgram(ui, program, file);
  };
  form.execFile = [&ui](const std::string& file) { ExecDocumentFile(ui, file); };
  form.browse = [&ui](bool program, const std::string& current) {
    FileDialog d;
    d.caption = program ? "Program" : "File";
    d.directory = current.empty() ? std::string() : fs::path(current).parent_path().string();
    d.filter = "*|*";
    d.proposed = current;
    return ui.port().openFile(d);
  };
  bool ok = RunForm(
      ui, form, [&](const DocumentLinksForm& f) { return ui.port().documentLinksDialog(f); },
      [&](const DocumentLinksForm& f) { return StoreDocumentLinksForm(f, c.project); });
  if (ok) ui.flags().modified = true;
}

}  // namespace kamo
