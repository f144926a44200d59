// Boxes, prompts with their validation loops, file checks and pickers.
#include "core/ui.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "core/codepage.h"
#include "core/geometry.h"
#include "core/identity.h"
#include "core/inputfile.h"
#include "core/numbers.h"
#include "core/strings.h"

namespace kamo {
namespace fs = std::filesystem;

namespace {
const char* const kErrorCaption = "Fehler : ";
const char* const kNoteCaption = "Meldung:";
const char* const kInputCaption = "Eingabe";
const char* const kChoiceCaption = "Auswahl";

// A native path as part of a CP850 message.
std::string PathText(const std::string& path) { return Utf8ToCp850(path); }
}  // namespace

// Messages are shown whole, however long: a long path must not empty the box.
std::string Ui::display(const std::string& stored) const { return DisplayText(numbers_, stored); }

void Ui::showError(const std::string& text) {
  if (state_.errorBoxesOn) port_.box(kErrorCaption, display(text), BoxIcon::Error);
}

void Ui::showErrorAlways(const std::string& text) {
  port_.box(kErrorCaption, display(text), BoxIcon::Error);
}

void Ui::showNote(const std::string& text) {
  port_.box(kNoteCaption, display(text), BoxIcon::Information);
}

void Ui::showText(const std::string& caption, const std::string& text) {
  port_.box(display(caption), display(text), BoxIcon::None);
}

void Ui::plainBox(const std::string& text) { port_.box("", display(text), BoxIcon::None); }

bool Ui::askYesNo(const std::string& text) {
  Answer a = port_.askYesNoCancel(display(kProgramTitle), display(text));
  if (a == Answer::Cancel) flags_.abortFlag = true;
  return a == Answer::Yes;
}

bool Ui::inputText(const std::string& prompt, int maxLength, std::string& text) {
  TextPrompt p{kInputCaption, display(prompt), display(text), maxLength, state_.helpTopic};
  auto r = port_.promptText(p);
  if (!r) {
    flags_.abortFlag = true;
    return false;
  }
  std::string stored = ToStored(*r);
  // The maximum limits what is typed, never the value shown: a longer stored
  // value (a long command line) survives an OK unchanged or shortened.
  size_t limit = maxLength < 0 ? stored.size() : std::max(static_cast<size_t>(maxLength), text.size());
  if (stored.size() > limit) stored.resize(limit);
  text = stored;
  return true;
}

Ui::RealOutcome Ui::realLoop(const std::string& label, Real& x, Real min, Real max) {
  Real current = x;
  bool changedOnce = false;
  for (;;) {
    std::string shown = FormatGeneral(numbers_, current);
    TextPrompt p{kInputCaption, display(label), display(shown), 30, state_.helpTopic};
    auto r = port_.promptText(p);
    if (!r) {
      flags_.abortFlag = true;
      return RealOutcome::Cancelled;
    }
    std::string typed = ToStored(*r);
    Real value = current;
    if (typed != shown) {
      if (!TryParseReal(typed, value)) {
        port_.beep();
        showError("Ung\x81ltige Eingabe \"" + typed + "\" !");
        flags_.abortFlag = false;
        continue;
      }
      changedOnce = true;
    }
    if (value < min || value > max || std::isnan(value)) {
      port_.beep();
      showError("G\x81ltiger Wertebereich: " + FormatGeneral(numbers_, min) + " .. " +
                FormatGeneral(numbers_, max) + " !");
      current = value;
      continue;
    }
    x = value;
    return changedOnce ? RealOutcome::Changed : RealOutcome::Unchanged;
  }
}

bool Ui::inputReal(const std::string& prompt, Real& x, Real min, Real max) {
  return realLoop(prompt, x, min, max) != RealOutcome::Cancelled;
}

bool Ui::inputDouble(const std::string& prompt, double& x, double min, double max) {
  Real v = x;
  RealOutcome o = realLoop(prompt, v, min, max);
  if (o == RealOutcome::Cancelled) return false;
  if (o == RealOutcome::Changed) x = static_cast<double>(v);
  return true;
}

bool Ui::inputLength(const std::string& prompt, Real& x, Real min, Real max) {
  if (!numbers_.inch()) return realLoop(prompt + " [mm]", x, min, max) != RealOutcome::Cancelled;
  Real v = x / kMmPerInch;
  RealOutcome o = realLoop(prompt + " [inch]", v, min / kMmPerInch, max / kMmPerInch);
  if (o == RealOutcome::Cancelled) return false;
  // An untouched value keeps its exact millimetres.
  if (o == RealOutcome::Changed) x = v * kMmPerInch;
  return true;
}

bool Ui::inputInt(const std::string& prompt, int& n, int a, int b) {
  int lo = Min(a, b), hi = Max(a, b);
  int current = n;
  for (;;) {
    TextPrompt p{kInputCaption, display(prompt), std::to_string(current), 12, state_.helpTopic};
    auto r = port_.promptText(p);
    if (!r) {
      flags_.abortFlag = true;
      return false;
    }
    std::string typed = ToStored(*r);
    int value = 0;
    if (!TryParseInt(typed, value)) {
      port_.beep();
      showError("Ung\x81ltige Eingabe \"" + typed + "\" !");
      flags_.abortFlag = false;
      continue;
    }
    if (value < lo || value > hi) {
      port_.beep();
      showError("G\x81ltiger Wertebereich: " + std::to_string(lo) + " .. " + std::to_string(hi) +
                " !");
      current = value;
      continue;
    }
    n = value;
    return true;
  }
}

bool Ui::inputYesNo(const std::string& prompt, bool& flag) {
  ChoicePrompt p;
  p.caption = kInputCaption;
  p.label = display(prompt);
  p.group = kChoiceCaption;
  p.items = {"&Ja", "&Nein"};
  p.selected = flag ? 0 : 1;
  p.helpTopic = state_.helpTopic;
  auto r = port_.promptChoice(p);
  if (!r) {
    flags_.abortFlag = true;
    return false;
  }
  flag = *r == 0;
  return true;
}

bool Ui::inputChoice(const std::string& prompt, int n, int& k) {
  if (n < 1) n = 1;
  int limit = static_cast<int>(state_.choiceTexts.size()) - 1;
  if (n > limit) n = limit;
  ChoicePrompt p;
  p.caption = kChoiceCaption;
  p.label = display(prompt);
  for (int i = 1; i <= n; ++i) p.items.push_back(display(state_.choiceTexts[static_cast<size_t>(i)]));
  p.selected = (k < 1 || k > n) ? 0 : k - 1;
  p.asList = n > 7;
  p.helpTopic = state_.helpTopic;
  auto r = port_.promptChoice(p);
  if (!r || *r < 0 || *r >= n) {
    flags_.abortFlag = true;
    return false;
  }
  k = *r + 1;
  return true;
}

bool Ui::checkReadable(const std::string& path) {
  // Opened without waiting: a FIFO or a device gets its answer at once.
  InputResult r = ProbeInputFile(path);
  if (r.ok()) return true;
  if (r.status == InputStatus::NotRegular && r.reason != "is a folder")
    showError(NotRegularFileMessage(path));
  else
    showError("Datei " + Trim(PathText(path)) + " nicht gefunden oder kein Zugriffsrecht !");
  flags_.abortFlag = true;
  return false;
}

std::string NotRegularFileMessage(const std::string& path) {
  return "Datei " + Trim(Utf8ToCp850(path)) + " ist keine gew\x94hnliche Datei (Ger\x84t, FIFO oder Socket) !";
}

bool Ui::checkNewFile(const std::string& path) {
  std::string name = FileNamePart(path);
  if (CountChar('.', name) > 1) {
    plainBox(PathText(path) + " not allowed (too many dots)!");
    flags_.abortFlag = true;
    return false;
  }
  std::error_code ec;
  bool exists = fs::exists(path, ec);
  if (exists && state_.overwriteAsk && path.find("aktuell") == std::string::npos) {
    state_.helpTopic = 3055;
    if (!askYesNo(PathText(path) + " existiert bereits.   \x81" "berschreiben ?")) {
      flags_.abortFlag = true;
      return false;
    }
  }
  // The name must be usable for writing. An existing file is only opened for
  // appending, never truncated, so that a refused write cannot destroy it.
  bool ok = false;
  if (exists) {
    std::FILE* f = fs::is_directory(path, ec) ? nullptr : std::fopen(path.c_str(), "ab");
    if (f) {
      ok = true;
      std::fclose(f);
    }
  } else if (std::FILE* f = std::fopen(path.c_str(), "wb")) {
    ok = true;
    std::fclose(f);
    fs::remove(path, ec);
  }
  if (!ok) {
    showError("Ung\x81ltiger Dateiname \"" + PathText(path) + "\" !");
    flags_.abortFlag = true;
  }
  return ok;
}

void Ui::archiveRefusal() {
  showError("File- und User- Befehle sind im Archivierungsmodus nicht m\x94glich.");
  flags_.abortFlag = true;
}

bool Ui::askOutputName(const std::string& name, const std::string& extension, FileIdentity& file,
                       bool archiveLocked, std::string& path) {
  if (archiveLocked && name != "aktuell") {
    archiveRefusal();
    return false;
  }
  if (!name.empty()) {
    path = name.find('.') == std::string::npos ? file.fileDir + name + "." + extension : name;
    return checkNewFile(path);
  }
  FileDialog d;
  d.directory = file.fileDir;
  d.filter = "*." + extension + "|*." + extension;
  d.proposed = file.fileName;
  auto chosen = port_.saveFile(d);
  if (!chosen || chosen->empty() || FileNamePart(*chosen).empty()) {
    flags_.abortFlag = true;
    return false;
  }
  file.fileDir = DirectoryPart(*chosen);
  std::string stem = StemPart(*chosen);
  path = file.fileDir + stem + "." + extension;
  if (!checkNewFile(path)) return false;
  file.fileName = stem;
  return true;
}

void Ui::deleteFile(const std::string& dir, const std::string& pattern) {
  std::string d = dir, name;
  FileDialog fd;
  fd.directory = dir;
  fd.filter = pattern + "|" + pattern;
  auto chosen = port_.openFile(fd);
  if (!chosen) {
    flags_.abortFlag = true;
    return;
  }
  std::error_code ec;
  if (!fs::exists(*chosen, ec)) {
    flags_.abortFlag = true;
    return;
  }
  state_.helpTopic = 1090;
  if (askYesNo(PathText(FileNamePart(*chosen)) + " wirklich l\x94schen ?")) fs::remove(*chosen, ec);
}

std::string Ui::pickDirectory(const std::string& dir) {
  std::error_code ec;
  FileDialog d;
  d.directory = fs::is_directory(dir, ec) ? dir : fs::current_path(ec).string();
  auto chosen = port_.chooseDirectory(d);
  if (!chosen || chosen->empty()) return dir;
  std::string r = *chosen;
  if (r.back() != '/') r += '/';
  return r;
}

std::string Ui::pickFile(const std::string& path, const std::string& pattern) {
  FileDialog d;
  d.directory = DirectoryPart(path);
  d.filter = pattern + "|" + pattern;
  auto chosen = port_.openFile(d);
  if (!chosen) {
    flags_.abortFlag = true;
    return path;
  }
  return *chosen;
}

bool Ui::pickFileName(std::string& dir, const std::string& pattern, std::string& name) {
  FileDialog d;
  d.directory = dir;
  d.filter = pattern + "|" + pattern;
  auto chosen = port_.openFile(d);
  if (!chosen) {
    name.clear();
    flags_.abortFlag = true;
    return false;
  }
  dir = DirectoryPart(*chosen);
  name = StemPart(*chosen);
  return true;
}

std::string DirectoryPart(const std::string& path) {
  size_t p = path.find_last_of("/\\:");
  return p == std::string::npos ? std::string() : path.substr(0, p + 1);
}

std::string FileNamePart(const std::string& path) {
  size_t p = path.find_last_of("/\\:");
  return p == std::string::npos ? path : path.substr(p + 1);
}

std::string StemPart(const std::string& path) {
  std::string n = FileNamePart(path);
  size_t dot = n.rfind('.');
  return dot == std::string::npos || dot == 0 ? n : n.substr(0, dot);
}

}  // namespace kamo
