// The command table of the main window and the common command pattern.
#include "shell/commands.h"

#include <filesystem>
#include <memory>

#include "cam/kamorech.h"
#include "core/codepage.h"
#include "core/explanations.h"
#include "cad/cadstl.h"
#include "cad/cadsolid.h"
#include "cad/cad.h"
#include "cad/dxfimport.h"
#include "core/identity.h"
#include "docu/docu.h"
#include "graphics/animation.h"
#include "shell/animation.h"
#include "graphics/diagram.h"
#include "graphics/sheets.h"
#include "io/kamoio.h"
#include "report/camreport.h"
#include "report/checkreport.h"
#include "shell/checkinput.h"
#include "shell/curveinput.h"
#include "shell/motioninput.h"
#include "shell/projectinput.h"
#include "shell/projecttable.h"
#include "shell/help.h"
#include "shell/sysinfo.h"
#include "report/report.h"
#include "shell/session.h"

namespace kamo {
namespace fs = std::filesystem;

namespace {
using C = Command;
using E = ModifiedEffect;

const std::vector<CommandSpec> kTable = {
    {C::FileNew, Menu::File, "mi_fileNew", E::Set, true, true},
    {C::FileOpen, Menu::File, "mi_fileOpen", E::ClearedOnSuccess, true, true},
    {C::FileOpenTable, Menu::File, "mi_fileOpenTable", E::Cleared, true, false},
    {C::FileSave, Menu::File, "mi_fileSave", E::ClearedOnSuccess, false, false},
    {C::FileSaveAs, Menu::File, "mi_fileSaveAs", E::ClearedOnSuccess, false, false},
    {C::FileImportDxfR, Menu::File, "mi_fileImportDxfR", E::ClearedOnSuccess, true, false},
    {C::FileImportDxfXy, Menu::File, "mi_fileImportDxfXy", E::ClearedOnSuccess, true, false},
    {C::FileExportDxf, Menu::File, "mi_fileExportDxf", E::Unchanged, false, false},
    {C::FilePrint, Menu::File, "mi_filePrint", E::Unchanged, false, false},
    {C::FileConfig, Menu::File, "mi_fileConfig", E::Unchanged, false, false},
    {C::FileRecent1, Menu::File, "mi_fileRecent1", E::ClearedOnSuccess, true, true},
    {C::FileRecent2, Menu::File, "mi_fileRecent2", E::ClearedOnSuccess, true, true},
    {C::FileRecent3, Menu::File, "mi_fileRecent3", E::ClearedOnSuccess, true, true},
    {C::FileRecent4, Menu::File, "mi_fileRecent4", E::ClearedOnSuccess, true, true},
    {C::FileExit, Menu::File, "mi_fileExit", E::Unchanged, false, false},
    {C::EditText, Menu::Edit, "mi_editText", E::Set, false, false},
    {C::EditGeometry, Menu::Edit, "mi_editGeometrie", E::Set, false, false},  // its dialog calculates
    {C::EditMotion, Menu::Edit, "mi_editBewegungsprogramm", E::Set, false, true},
    {C::EditOperatingData, Menu::Edit, "mi_editBetriebsdaten", E::Set, false, true},
    {C::EditFollower, Menu::Edit, "mi_editStoessel", E::Set, false, true},
    {C::EditBody, Menu::Edit, "mi_editAbmessungen", E::Set, false, true},
    {C::EditCalculation, Menu::Edit, "mi_editBerechnung", E::Set, false, true},
    {C::EditCheckData, Menu::Edit, "mi_editPruefdaten", E::Set, false, true},
    {C::EditReset, Menu::Edit, "mi_editReset", E::Set, false, true},
    {C::ViewStandard, Menu::Printout, "mi_viewStandard", E::Unchanged, false, false},
    {C::ViewExtract, Menu::Printout, "mi_viewAuszug", E::Unchanged, false, false},
    {C::ViewCheck, Menu::Printout, "mi_viewPruefung", E::Unchanged, false, false},
    {C::ViewQuick1, Menu::View, "mi_viewQuick1", E::Unchanged, false, false},
    {C::ViewQuick3, Menu::View, "mi_viewQuick3", E::Unchanged, false, false},
    {C::ViewQuick4, Menu::View, "mi_viewQuick4", E::Unchanged, false, false},
    {C::ViewGraphics, Menu::View, "mi_viewGrafik", E::Unchanged, false, false},
    {C::ViewTable, Menu::View, "mi_viewTabelle", E::Unchanged, false, false},
    {C::ViewDrawing, Menu::View, "mi_viewZeichnung", E::Unchanged, false, false},
    {C::ViewS, Menu::View, "mi_viewS", E::Unchanged, false, false},
    {C::ViewV, Menu::View, "mi_viewV", E::Unchanged, false, false},
    {C::ViewA, Menu::View, "mi_viewA", E::Unchanged, false, false},
    {C::ViewSva, Menu::View, "mi_viewSva", E::Unchanged, false, false},
    {C::ViewPressureAngle, Menu::View, "mi_viewDruckwinkel", E::Unchanged, false, false},
    {C::ViewCurvature, Menu::View, "mi_viewKruemmung", E::Unchanged, false, false},
    {C::ViewJerk, Menu::View, "mi_viewRuck", E::Unchanged, false, false},
    {C::ViewContactForce, Menu::View, "mi_viewKontaktkraft", E::Unchanged, false, false},
    {C::ViewAnimation, Menu::View, "mi_viewAnimation", E::Unchanged, false, false},
    {C::ViewErrors, Menu::View, "mi_viewFehlermeldungen", E::Unchanged, false, false},
    {C::CadGraphics, Menu::Cad, "mi_cadGrafik", E::Unchanged, false, false},
    {C::CadPolyline, Menu::Cad, "mi_cadPolylinie", E::Unchanged, false, false},
    {C::CadTable, Menu::Cad, "mi_cadTabelle", E::Unchanged, false, false},
    {C::CadDrawing, Menu::Cad, "mi_cadZeichnung", E::Unchanged, false, false},
    {C::CadQuick1, Menu::Cad, "mi_cadQuick1", E::Unchanged, false, false},
    {C::CadQuick3, Menu::Cad, "mi_cadQuick3", E::Unchanged, false, false},
    {C::CadQuick4, Menu::Cad, "mi_cadQuick4", E::Unchanged, false, false},
    {C::CadDiagrams, Menu::Cad, "mi_cadDiagramme", E::Unchanged, false, false},
    {C::StlCam, Menu::Stl, "mi_stlCam", E::Unchanged, false, false},
    {C::StlCamSolid, Menu::Stl, "mi_stlCamSolid", E::Unchanged, false, false},
    {C::StepCamSolid, Menu::Step, "mi_stepCamSolid", E::Unchanged, false, false},
    {C::StepContour, Menu::Step, "mi_stepKontur", E::Unchanged, false, false},
    {C::DocInfo, Menu::Documentation, "mi_docuInfo", E::Unchanged, false, false},
    {C::DocShow, Menu::Documentation, "mi_docuShow", E::Unchanged, false, false},
    {C::DocPrint, Menu::Documentation, "mi_docuPrint", E::Unchanged, false, false},
    {C::DocNew, Menu::Documentation, "mi_docuNew", E::Unchanged, false, false},
    {C::DocModify, Menu::Documentation, "mi_docuModify", E::Unchanged, false, false},
    {C::DocDelete, Menu::Documentation, "mi_docuDelete", E::Unchanged, false, false},
    {C::DocSetup, Menu::Documentation, "mi_docuSetup", E::Set, false, false},
    {C::HelpErrors, Menu::Help, "mi_helpFehlermeldungen", E::Unchanged, false, false},
    {C::HelpPicture, Menu::Help, "mi_helpHilfebild", E::Unchanged, false, false},
    {C::HelpGerman, Menu::Language, "mi_helpDeutsch", E::Unchanged, false, false},
    {C::HelpEnglish, Menu::Language, "mi_helpEnglish", E::Unchanged, false, false},
    {C::HelpRomanian, Menu::Language, "mi_helpRoman", E::Unchanged, false, false},
    {C::HelpKorean, Menu::Language, "mi_helpKorea", E::Unchanged, false, false},
    {C::HelpChinese, Menu::Language, "mi_helpChinese", E::Unchanged, false, false},
    {C::HelpSystemInfo, Menu::Help, "mi_helpSystemInfo", E::Unchanged, false, false},
    {C::HelpAbout, Menu::Help, "mi_helpAbout", E::Unchanged, false, false},
};

// Output dispatcher (destination, view kind) of the view, CAD and STL entries.
struct OutputCode {
  Command id;
  int first, second;  // the two codes in the order the called part takes them
};
const OutputCode kOutputs[] = {
    {C::FileExportDxf, 1, 2}, {C::ViewQuick1, 3, 7}, {C::ViewQuick3, 3, 9},
    {C::ViewQuick4, 3, 10},   {C::ViewGraphics, 3, 1}, {C::ViewTable, 3, 3},
    {C::ViewDrawing, 3, 5},   {C::CadGraphics, 0, 1}, {C::CadPolyline, 0, 2},
    {C::CadTable, 0, 3},      {C::CadDrawing, 0, 5},  {C::CadQuick1, 0, 7},
    {C::CadQuick3, 0, 9},     {C::CadQuick4, 0, 10},  {C::StlCam, 6, 2},
};
// Diagram (kind, destination).
const OutputCode kDiagrams[] = {
    {C::ViewS, 1, 3}, {C::ViewV, 2, 3}, {C::ViewA, 3, 3}, {C::ViewSva, 4, 3}, {C::CadDiagrams, 0, 0},
    {C::ViewPressureAngle, 6, 3}, {C::ViewCurvature, 7, 3}, {C::ViewJerk, 8, 3}, {C::ViewContactForce, 9, 3},
};
const OutputCode* Find(const OutputCode* begin, const OutputCode* end, Command c) {
  for (const OutputCode* o = begin; o != end; ++o)
    if (o->id == c) return o;
  return nullptr;
}
const OutputCode* OutputOf(Command c) { return Find(std::begin(kOutputs), std::end(kOutputs), c); }
const OutputCode* DiagramOf(Command c) { return Find(std::begin(kDiagrams), std::end(kDiagrams), c); }

int RecentIndex(Command c) {
  switch (c) {
    case C::FileRecent1: return 1;
    case C::FileRecent2: return 2;
    case C::FileRecent3: return 3;
    case C::FileRecent4: return 4;
    default: return 0;
  }
}

int ChangeMode(Command c) {
  switch (c) {
    case C::DocShow: return 4;
    case C::DocPrint: return 5;
    case C::DocNew: return 1;
    case C::DocModify: return 2;
    case C::DocDelete: return 3;
    default: return 0;
  }
}

int LanguageOf(Command c) {
  switch (c) {
    case C::HelpGerman: return lcGerman;
    case C::HelpEnglish: return lcEnglish;
    case C::HelpRomanian: return lcRomanian;
    case C::HelpKorean: return lcKorean;
    case C::HelpChinese: return lcChinese;
    default: return 0;
  }
}

bool KeepsAnimation(Command c) {
  if (LanguageOf(c)) return true;
  switch (c) {
    case C::FileSave:
    case C::FileSaveAs:
    case C::FilePrint:
    case C::ViewErrors:
    case C::HelpErrors:
    case C::HelpAbout:
    case C::HelpSystemInfo: return true;
    default: return false;
  }
}

ErrorListContext ErrorContext(Session& s) {
  ErrorListContext ctx;
  ctx.explanationFile = s.explanationFile();
  ctx.tempDir = s.tempDir();
  ctx.helpLevel = s.settings.helpLevel;
  ctx.noGui = s.noGui();
  return ctx;
}

}  // namespace

const std::vector<CommandSpec>& CommandTable() { return kTable; }

const CommandSpec& SpecOf(Command c) {
  for (const auto& s : kTable)
    if (s.id == c) return s;
  return kTable.front();
}

std::string WindowTitle(const std::string& fileName) {
  std::string title = Cp850ToUtf8(kProgramTitle);
  if (fileName.empty()) return title + "   V " + kProgramVersion;
  if (fileName.find('.') == std::string::npos)
    return title + "  -  " + fileName + "." + kProjectExtension;
  return title + "  -  " + fileName;
}

Shell::Shell(Session& s) : session(s), help(std::make_unique<HelpSystem>(*this)) {
  session.ui.port().setHelpProvider(help.get());
  parts.helpPicture = [this](Session&) { help->catalogue(); };
  parts.output = [this](Session&, int destination, int kind) { draw(true, destination, kind); };
  parts.diagram = [this](Session&, int kind, int destination) { draw(false, kind, destination); };
  parts.openTable = [this](Session&) { openTable(); };
  parts.animation = [this](Session&, int mode) { animate(mode); };
  parts.curveGeometry = [this](Session&) { curveGeometry(); };
  parts.calcSettings = [](Session& ss) { EditCalcSettings(ss); };
  parts.checkData = [](Session& ss) { EditCheckData(ss); };
  parts.camBody = [](Session& ss) { EditCamBody(ss); };
  parts.follower = [](Session& ss) { EditFollower(ss); };
  parts.drawingTexts = [this](Session& ss) { EditDrawingTexts(ss, texts.drawing); };
  parts.motionProgramme = [this](Session& ss) { EditMotionProgramme(ss, lastMotion); };
  parts.startView = [this](Session& ss) {
    // A failed calculation is told by the error entries, not by a box on every change.
    if (ss.settings.helpLevel == 0) return;
    if (ss.flags.calcError) {
      // No picture of a cam that no longer exists.
      if (view) view->clearGraphics();
      return;
    }
    ViewCode v = ShowViewCode(ss.settings.calcResultGraphic);
    showView(v.diagram, v.kind);
  };
  parts.systemInfo = [](Session& ss) {
    // The box converts from the stored code page; the rows are display text.
    ss.ui.port().box("System Info", SystemInfoText(SystemInfoRows(ss, ss.programDir + kProgramFile)),
                     BoxIcon::Information);
  };
  // The menu "Dokument": its dialogs are forms of the UI port.
  auto docu = [this](Session& ss) {
    return DocuContext{ss.project(), ss.ui, ss.settings, ss.clock(),
                       [&ss]() -> ReportEngine& { return ss.reports(); }, title()};
  };
  parts.changeRecords = [docu](Session& ss, int mode) {
    DocuContext c = docu(ss);
    ChangeRecords(c, mode);
  };
  parts.drawingInfo = [docu](Session& ss) {
    DocuContext c = docu(ss);
    EditDrawingInfo(c);
  };
  parts.documentSetup = [docu](Session& ss) {
    DocuContext c = docu(ss);
    EditDocumentLinks(c);
  };
  parts.importDxf = [](Session& ss, int curveType) {
    // The save question was asked by Shell::run (the row replaces the project).
    DxfImportContext ctx{ss.project(), ss.ui, ss.flags, ss.settings, {}, {}, ss.file.fileDir};
    return ImportDxfContour(ctx, curveType);
  };
}

Shell::~Shell() {
  if (session.ui.port().helpProvider() == help.get()) session.ui.port().setHelpProvider(nullptr);
}

CadEnvironment Shell::outputEnvironment() {
  Session& s = session;
  CadEnvironment env;
  env.ui = &s.ui;
  env.settings = &s.settings;
  env.messages = &s.messages;
  env.flags = &s.flags;
  env.clock = &s.clock();
  env.display = &screen;
  env.tempDir = s.tempDir();
  env.projectPath = s.file.fileName.empty() ? std::string() : projectPath();
  env.projectStem = s.file.fileName.empty() ? std::string(kFileStem) : s.file.fileName;
  // The plot program finds "drawout.dxf" (and a batch file of a long line)
  // in the temporary folder, where it is started.
  if (!plot_)
    plot_ = std::make_unique<PlotHandOff>(s.ui, s.settings, processStarter ? *processStarter : detached_);
  plot_->setTempDir(env.tempDir);
  plot_->setWorkDir(env.tempDir);
  env.plot = plot_.get();
  return env;
}

void Shell::draw(bool sheet, int first, int second) {
  Session& s = session;
  CadOutput cad(outputEnvironment());
  SheetOutput out{cad, s.project(), s.settings, s.messages, s.flags, s.ui, ErrorContext(s),
                  previousSheet};
  if (sheet)
    OutputSheet(out, first, second);
  else
    DiagramCommand(out, first, second);
  previousSheet = out.previousKind;
  drawingKind = cad.environment().drawingKind;
  if (view) view->showDrawing();
}

void Shell::followerPicture() {
  Session& s = session;
  CadOutput cad(outputEnvironment());
  // The stand-in sizes of a follower or bore left at 0 are the picture's,
  // not the project's.
  CamProject shown = s.project();
  SheetOutput out{cad, shown, s.settings, s.messages, s.flags, s.ui, ErrorContext(s), previousSheet};
  FollowerStillPicture(out);
  drawingKind = cad.environment().drawingKind;
  if (view) view->showDrawing();
}

struct Shell::ScreenAnimation {
  AnimationRun run;
  CamProject shown;  // the cam as it was when the run began
  int next = 0;      // the frame the next tick draws
};

void Shell::animate(int mode) {
  Session& s = session;
  if (mode == 2) return followerPicture();
  if (s.flags.calcError) return showErrorList(s.ui, ErrorContext(s), s.messages);
  AnimationEditor editor(s);
  s.ui.state().helpTopic = kTopicAnimation;
  if (!s.ui.port().fieldsDialog(editor)) {
    s.flags.abortFlag = true;
    return;
  }
  s.flags.abortFlag = false;
  animation_ = std::make_unique<ScreenAnimation>();
  animation_->run = ClampedRun(editor.run());
  animation_->shown = s.project();
  if (AnimationFrameCount(animation_->run) == 0 || !drawAnimationFrame()) {
    endAnimation();
    return;
  }
  if (view) view->showDrawing();
  if (!animation_) return;
  if (AnimationFrameAt(animation_->shown, animation_->run, 0).last) return endAnimation();
  if (view) view->scheduleAnimationTick(animation_->run.pauseMs);
}

bool Shell::drawAnimationFrame() {
  Session& s = session;
  ScreenAnimation& a = *animation_;
  CadOutput cad(outputEnvironment());
  SheetOutput out{cad, a.shown, s.settings, s.messages, s.flags, s.ui, ErrorContext(s), previousSheet};
  AnimationFrame frame = AnimationFrameAt(a.shown, a.run, a.next);
  if (!DrawAnimationFrame(out, frame)) return false;
  drawingKind = cad.environment().drawingKind;
  ++a.next;
  return true;
}

int Shell::animationTick() {
  if (!animation_) return -1;
  Flags& f = session.flags;
  if (f.abortFlag) {
    endAnimation();
    return -1;
  }
  if (animation_->run.singleStep && animation_->next > 0) {
    // "+++++++" lets the remaining frames run with their pauses.
    if (!session.ui.port().animationStep()) animation_->run.singleStep = false;
    if (!animation_ || f.abortFlag) {
      endAnimation();
      return -1;
    }
  }
  if (!drawAnimationFrame()) {
    endAnimation();
    return -1;
  }
  if (view) view->showFrame();
  if (!animation_) return -1;
  if (AnimationFrameAt(animation_->shown, animation_->run, animation_->next - 1).last) {
    endAnimation();
    return -1;
  }
  return animation_->run.pauseMs;
}

void Shell::stopAnimation() {
  if (!animation_) return;
  session.flags.abortFlag = true;
  endAnimation();
}

// The run ends with its single-step switch: later drawings never stop for the step window.
void Shell::endAnimation() { animation_.reset(); }

const AnimationRun* Shell::animationRun() const { return animation_ ? &animation_->run : nullptr; }

int Shell::animationFrame() const { return animation_ ? animation_->next - 1 : -1; }

void Shell::camSolid() {
  Session& s = session;
  if (s.flags.calcError) return showErrorList(s.ui, ErrorContext(s), s.messages);
  CadOutput cad(outputEnvironment());
  StlCam(cad, s.project(), true);
}

void Shell::camStep(bool curveOnly) {
  Session& s = session;
  if (s.flags.calcError) return showErrorList(s.ui, ErrorContext(s), s.messages);
  CadOutput cad(outputEnvironment());
  StepCam(cad, s.project(), curveOnly);
}

std::string Shell::projectPath() const {
  return session.file.fileDir + session.file.fileName + "." + kProjectExtension;
}

const std::string& Shell::recentEntry(int i) const {
  static const std::string none;
  return i >= 1 && i <= RecentFiles::kEntries ? recent.entries[static_cast<size_t>(i - 1)] : none;
}

std::string Shell::title() const { return WindowTitle(session.file.fileName); }

bool Shell::archiveLocked() const {
  return session.uiState.fromCommandLine && session.settings.archiveMode;
}

bool Shell::errorEntriesEnabled() const { return session.messages.count() > 0; }

bool Shell::available(Command c) const {
  const ShellParts& p = parts;
  if (int i = RecentIndex(c)) return !recentEntry(i).empty();
  if (OutputOf(c)) return static_cast<bool>(p.output);
  if (DiagramOf(c)) return static_cast<bool>(p.diagram);
  if (ChangeMode(c)) return static_cast<bool>(p.changeRecords);
  if (LanguageOf(c)) return true;
  switch (c) {
    case C::FileNew:
      return p.drawingTexts && p.curveGeometry && p.follower && p.calcSettings;
    case C::FileOpenTable: return static_cast<bool>(p.openTable);
    case C::FileImportDxfR:
    case C::FileImportDxfXy: return static_cast<bool>(p.importDxf);
    case C::FilePrint: return static_cast<bool>(p.printSettings);
    case C::FileConfig: return static_cast<bool>(p.configuration);
    case C::EditText: return static_cast<bool>(p.drawingTexts);
    case C::EditGeometry: return static_cast<bool>(p.curveGeometry);
    case C::EditMotion: return static_cast<bool>(p.motionProgramme);
    case C::EditFollower: return static_cast<bool>(p.follower);
    case C::EditBody: return static_cast<bool>(p.camBody);
    case C::EditCalculation: return static_cast<bool>(p.calcSettings);
    case C::EditCheckData: return static_cast<bool>(p.checkData);
    case C::ViewAnimation: return static_cast<bool>(p.animation);
    case C::StlCamSolid:
    case C::StepCamSolid:
    case C::StepContour: return static_cast<bool>(p.output);
    case C::ViewErrors:
    case C::HelpErrors: return errorEntriesEnabled();
    case C::DocInfo: return static_cast<bool>(p.drawingInfo);
    case C::DocSetup: return static_cast<bool>(p.documentSetup);
    case C::HelpPicture: return static_cast<bool>(p.helpPicture);
    case C::HelpSystemInfo: return static_cast<bool>(p.systemInfo);
    default: return true;  // open, save, operating data, reset, printouts, exit, about
  }
}

void Shell::run(Command c) {
  if (!available(c)) return;
  // Whatever draws, edits or replaces the cam ends a running animation; saving,
  // printing the frame shown, the message lists and the language do not.
  if (animating() && !KeepsAnimation(c)) endAnimation();
  Flags& f = session.flags;
  f.abortFlag = false;
  // A command that replaces the project offers to save the old one first.
  if (SpecOf(c).replacesProject && !savePrompt()) return;
  if (int i = RecentIndex(c)) return openRecent(i);
  if (const OutputCode* o = OutputOf(c)) return parts.output(session, o->first, o->second);
  if (const OutputCode* d = DiagramOf(c)) return parts.diagram(session, d->first, d->second);
  if (int mode = ChangeMode(c)) return parts.changeRecords(session, mode);
  if (int code = LanguageOf(c)) return switchLanguage(code);
  switch (c) {
    case C::FileNew: return newProject();
    case C::FileOpen: {
      std::string path;
      if (!ChooseProjectFile(session.ui, session.file, path)) return;
      openProject(path);
      return refreshTitle();
    }
    case C::FileOpenTable:
      session.file.fileName.clear();
      parts.openTable(session);
      if (!f.abortFlag) f.modified = false;
      return refreshTitle();
    case C::FileSave: return saveProject(false);
    case C::FileSaveAs: return saveProject(true);
    case C::FileImportDxfR: return importDxf(ctPolarPoints);
    case C::FileImportDxfXy: return importDxf(ctPoints);
    case C::FilePrint: return parts.printSettings(session);
    case C::FileConfig:
      parts.configuration(session);
      if (view) view->settingsChanged();
      return;
    case C::FileExit:
      if (view) view->closeWindow();
      return;
    case C::EditText: return editStep(c, parts.drawingTexts, false);
    case C::EditGeometry: return editStep(c, parts.curveGeometry, true);
    case C::EditMotion: return editStep(c, parts.motionProgramme, true);
    case C::EditOperatingData: return operatingData(c);
    case C::EditFollower:
      parts.follower(session);
      if (f.abortFlag) return;
      finishEdit(c, false);
      if (parts.animation)
        parts.animation(session, 2);
      else
        followerPicture();
      return;
    case C::EditBody: return editStep(c, parts.camBody, true);
    case C::EditCalculation: return editStep(c, parts.calcSettings, true);
    case C::EditCheckData: return editStep(c, parts.checkData, true);
    case C::ViewCheck:
      CheckReport(session.reports());
      return;
    case C::EditReset: return resetGeometry(c);
    case C::ViewStandard: return printout(pmStandard);
    case C::ViewExtract: return printout(pmExtract);
    case C::ViewAnimation: return parts.animation(session, 0);
    case C::StlCamSolid: return camSolid();
    case C::StepCamSolid: return camStep(false);
    case C::StepContour: return camStep(true);
    case C::ViewErrors: return errorMessages();
    case C::DocInfo: return parts.drawingInfo(session);
    case C::DocSetup: return editStep(c, parts.documentSetup, false);
    case C::HelpErrors: return helpErrorList();
    case C::HelpPicture: return parts.helpPicture(session);
    case C::HelpSystemInfo: return parts.systemInfo(session);
    case C::HelpAbout: return about();
    default: return;
  }
}

bool Shell::savePrompt() {
  Flags& f = session.flags;
  Ui& ui = session.ui;
  if (archiveLocked()) {
    f.modified = false;
    return true;
  }
  if (!session.file.fileName.empty() && f.modified) {
    std::string name = commandLineName.empty() ? projectPath() : commandLineName;
    bool yes = ui.askYesNo("Datei speichern (" + Utf8ToCp850(name) + ") ?");
    if (f.abortFlag) return false;
    // `modified` is cleared only when the project is safely on disk: a failed
    // write must not let the next command discard it without asking.
    if (yes && !WriteProject(ui, session.settings, session.file, archiveLocked(), name,
                             session.project(), false)) {
      f.abortFlag = true;
      return false;
    }
    f.modified = false;
  } else if (f.modified) {
    if (ui.askYesNo("Bisherige Eingaben verwerfen ?"))
      f.modified = false;
    else
      f.abortFlag = true;
  }
  return !f.abortFlag;
}

bool Shell::closeQuery() {
  session.flags.abortFlag = false;
  if (!savePrompt()) return false;
  session.ui.port().status("L\u00F6sche tempor\u00E4re Dateien ...");
  if (parts.removeTemporaryFiles) parts.removeTemporaryFiles(session);
  return true;
}

bool Shell::openProject(const std::string& path) {
  if (!ReadProject(session.ui, session.settings, path, session.project())) return false;
  session.file.fileDir = DirectoryPart(path);
  session.file.fileName = StemPart(path);
  commandLineName.clear();
  session.uiState.fromCommandLine = false;
  recent.add(projectPath());
  session.flags.modified = false;
  recalc();
  refreshViews();
  return true;
}

void Shell::recalc() {
  Calculate(session.project(), session.messages, session.flags, session.settings);
}

void Shell::switchLanguage(int code) {
  if (!applyLanguage(texts, code)) return;
  session.settings.language = code;
  if (view) view->menusChanged();
  refreshTitle();
}

void Shell::refreshTitle() {
  if (!view) return;
  view->titleChanged(title());
  view->menusChanged();
  // The findings of the engineering checks stay out of the message list.
  session.ui.port().status(CheckStatusLine(session.project(), session.settings.numbers.decimalSeparator));
}

void Shell::refreshViews() {
  if (view) view->menusChanged();
  if (parts.startView) parts.startView(session);
}

void Shell::newProject() {
  Flags& f = session.flags;
  CamProject& p = session.project();
  // A new project starts from the defaults, or from the start project when
  // there is one; nothing of the previous project is carried over.
  p.resetProject();
  std::string startProject = session.file.fileDir + "null." + kProjectExtension;
  std::error_code ec;
  // The start project is optional: a broken one leaves the defaults.
  if (fs::exists(startProject, ec) && !ReadProject(session.ui, session.settings, startProject, p))
    f.abortFlag = false;
  session.file.fileName.clear();
  commandLineName.clear();
  session.uiState.fromCommandLine = false;
  refreshTitle();
  ResetDocumentation(p, session.settings.numbers, session.clock());
  session.messages.reset();
  if (view) view->clearGraphics();
  p.clearGeometry();
  f.modified = false;
  if (view) view->clearGraphics();
  // Each confirmed step has stored input: from then on the project counts as
  // modified, so that a cancel later in the sequence keeps what was entered
  // under the save question. A cancel shows what there is and ends the command.
  auto cancelled = [this, &f] {
    if (!f.abortFlag) {
      f.modified = true;
      return false;
    }
    if (f.modified) {
      refreshTitle();
      refreshViews();
      f.abortFlag = true;
    }
    return true;
  };
  parts.drawingTexts(session);
  if (cancelled()) return;
  newGeometryStep();
  if (cancelled()) return;
  session.uiState.helpTopic = 5100;
  session.ui.inputReal("Drehzahl [1/min]", p.speed, 1e-5L, kMaxSpeed);
  if (cancelled()) return;
  recalc();
  parts.follower(session);
  if (cancelled()) return;
  parts.calcSettings(session);
  if (cancelled()) return;
  recalc();
  f.modified = true;
  refreshTitle();
  refreshViews();
}

void Shell::openTable() {
  ProjectTable t = ScanProjects(session, session.file.fileDir);
  // Each pick opens that project; the table comes back until it is closed.
  while (auto row = session.ui.port().pickRow(t.table)) {
    if (*row < 0 || *row >= static_cast<int>(t.paths.size())) break;
    openProject(t.paths[static_cast<size_t>(*row)]);
    refreshTitle();
  }
  session.flags.abortFlag = false;
}

void Shell::openRecent(int i) {
  std::string path = recentEntry(i);
  std::error_code ec;
  if (!fs::is_regular_file(path, ec)) {
    recent.remove(i - 1);
    if (view) view->menusChanged();
    session.ui.showErrorAlways("File " + Utf8ToCp850(path) + " not found !");
    return;
  }
  openProject(path);
  refreshTitle();
}

void Shell::saveProject(bool saveAs) {
  Session& s = session;
  std::string name = saveAs ? std::string() : s.file.fileName;
  if (!WriteProject(s.ui, s.settings, s.file, archiveLocked(), name, s.project(), saveAs)) return;
  s.flags.modified = false;
  if (saveAs) recent.add(projectPath());
  refreshTitle();
}

void Shell::importDxf(int curveType) {
  if (!parts.importDxf(session, curveType)) return;
  session.flags.modified = false;
  recalc();
  refreshTitle();
  refreshViews();
}

void Shell::editStep(Command c, const std::function<void(Session&)>& dialog, bool views) {
  dialog(session);
  finishEdit(c, views);
}

void Shell::finishEdit(Command c, bool views) {
  if (session.flags.abortFlag) return;
  const CommandSpec& spec = SpecOf(c);
  if (spec.recalculates) recalc();
  if (spec.modified == ModifiedEffect::Set) session.flags.modified = true;
  else if (spec.modified != ModifiedEffect::Unchanged) session.flags.modified = false;
  refreshTitle();
  if (views) refreshViews();
}

void Shell::operatingData(Command c) {
  session.uiState.helpTopic = 5100;
  if (!session.ui.inputReal("Drehzahl [1/min]", session.project().speed, 1e-5L, kMaxSpeed))
    return;
  finishEdit(c, true);
}

void Shell::resetGeometry(Command c) {
  // Only "Ja" clears the points; "Nein" and "Abbrechen" leave the cam as it is.
  if (!ResetCoordinates(session)) {
    session.flags.abortFlag = true;
    return;
  }
  finishEdit(c, true);
}

void Shell::showView(bool diagram, int kind) {
  if (diagram) {
    if (parts.diagram) parts.diagram(session, 4, 3);
  } else if (parts.output) {
    parts.output(session, 3, kind);
  }
  // A fatal message of the view does not cancel the command that asked for it.
  session.flags.abortFlag = false;
}

void Shell::curveGeometry() {
  Session& s = session;
  CurveInput in{s};
  in.calculate = [this] { recalc(); };
  in.show = [this](ViewCode v) {
    showView(v.diagram, v.kind);
    if (view) view->menusChanged();
  };
  in.showErrors = [this] { helpErrorList(); };
  in.saveProject = [this] {
    saveProject(true);
    return !session.flags.modified;
  };
  in.metricBeforeInch = &metricBeforeInch;
  in.saveQuestion = [this] { return savePrompt(); };
  in.words = &texts.general;
  EditCurveGeometry(in);
  if (s.flags.abortFlag && in.calculated) {
    // The restored cam is shown again; the command stays cancelled.
    refreshViews();
    s.flags.abortFlag = true;
  }
}

void Shell::newGeometryStep() {
  Session& s = session;
  if (!parts.motionProgramme) {
    if (parts.curveGeometry) parts.curveGeometry(s);
    return;
  }
  s.uiState.choiceTexts[1] = "Bewegungsprogramm (Hub, Rast, R\x81" "cklauf)";
  s.uiState.choiceTexts[2] = "Kurventyp w\x84hlen";
  s.uiState.helpTopic = 7880;
  int k = 1;
  if (!s.ui.inputChoice("Neue Nockenkurve", 2, k)) return;
  if (k == 1) {
    parts.motionProgramme(s);
    // The curve type choice ends with its own calculation; so does this step.
    if (!s.flags.abortFlag) recalc();
    return;
  }
  if (parts.curveGeometry) parts.curveGeometry(s);
}

void Shell::printout(int mode) {
  CamPrintout(session.reports(), mode);
}

void Shell::errorMessages() {
  if (session.messages.empty()) {
    session.ui.showNote("Berechnung erfolgreich ohne Fehlermeldungen");
  } else if (session.flags.calcError) {
    showErrorList(session.ui, ErrorContext(session), session.messages);
  } else {
    MessageReport(session.reports());
  }
}

void Shell::helpErrorList() { showErrorList(session.ui, ErrorContext(session), session.messages); }

void Shell::about() {
  session.ui.showText(kProductName, std::string(kProgramTitle) + "\nVersion " + kProgramVersion);
}

std::string Shell::menuCaption(Menu m) const {
  const GeneralWords& g = texts.general;
  switch (m) {
    case Menu::File: return g.file;
    case Menu::Edit: return g.edit;
    case Menu::View: return g.view;
    case Menu::Printout: return g.printout;
    case Menu::Cad: return g.cad;
    case Menu::Stl: return "&STL";
    case Menu::Step: return "ST&EP";
    case Menu::Documentation: return g.document;
    case Menu::Help: return g.help;
    case Menu::Language: return g.menu + " " + g.language;
  }
  return {};
}

std::string Shell::caption(Command c) const {
  const GeneralWords& g = texts.general;
  const CommandWords& k = texts.command;
  if (int i = RecentIndex(c)) return RecentMenuCaption(i, recentEntry(i));
  switch (c) {
    case C::FileNew: return g.fileNew;
    case C::FileOpen: return g.open;
    case C::FileOpenTable: return g.open + " (" + k.table + ")";
    case C::FileSave: return g.save;
    case C::FileSaveAs: return g.saveAs;
    case C::FileImportDxfR: return g.importWord + " DXF (x,y->r(phi))";
    case C::FileImportDxfXy: return g.importWord + " DXF (x,y,phi)";
    case C::FileExportDxf: return g.exportWord + " DXF";
    case C::FilePrint: return g.print;
    case C::FileConfig: return g.settings;
    case C::FileExit: return g.exit;
    case C::EditText: return g.text;
    case C::EditGeometry: return k.geometry + " (curve)";
    case C::EditMotion: return "Bewegungs&programm\u2026";
    case C::EditOperatingData: return k.operatingData;
    case C::EditFollower: return k.follower;
    case C::EditBody: return g.dimensions + " Cam";
    case C::EditCalculation: return k.calculation;
    case C::EditReset: return k.reset;
    case C::ViewStandard: return g.standardPrintout;
    case C::ViewExtract: return g.extractPrintout;
    case C::EditCheckData: return "Pr\u00FCfdaten";
    case C::ViewCheck: return "Pr\u00FCfung";
    case C::ViewQuick1:
    case C::CadQuick1: return g.quick + " &1";
    case C::ViewQuick3:
    case C::CadQuick3: return g.quick + " &3";
    case C::ViewQuick4:
    case C::CadQuick4: return g.quick + " &4";
    case C::ViewGraphics:
    case C::CadGraphics: return k.graphics;
    case C::ViewTable:
    case C::CadTable: return k.table;
    case C::ViewDrawing:
    case C::CadDrawing: return g.drawing;
    case C::ViewS: return "s = f (phi)";
    case C::ViewV: return "v = f (phi)";
    case C::ViewA: return "a = f (phi)";
    case C::ViewSva: return "s,v,a = f(phi)";
    case C::ViewPressureAngle: return "Druckwinkel = f(phi)";
    case C::ViewCurvature: return "Kr\u00FCmmungsradius = f(phi)";
    case C::ViewJerk: return "Ruck = f(phi)";
    case C::ViewContactForce: return "Kontaktkraft, Pressung = f(phi)";
    case C::ViewAnimation: return g.animation;
    case C::ViewErrors:
    case C::HelpErrors:
      return g.errorMessages + " (" + std::to_string(session.messages.count()) + ")";
    case C::CadPolyline: return k.polyline;
    case C::CadDiagrams: return g.diagrams;
    case C::StlCam: return "&Cam";
    case C::StlCamSolid: return "Cam &solid";
    case C::StepCamSolid: return "Cam &solid";
    case C::StepContour: return "&Kontur";
    case C::DocInfo: return g.drawingData;
    case C::DocShow: return g.showChanges;
    case C::DocPrint: return g.printChanges;
    case C::DocNew: return g.newChange;
    case C::DocModify: return g.editLastChange;
    case C::DocDelete: return g.deleteLastChange;
    case C::DocSetup: return g.documentSetup;
    case C::HelpPicture: return g.helpPicture;
    case C::HelpSystemInfo: return "System Info";
    case C::HelpAbout: return kProductName;
    default: break;
  }
  for (const auto& e : LanguageMenuEntries())
    if (e.code == LanguageOf(c)) return e.caption;
  return {};
}

}  // namespace kamo
