// Help > "&Hilfebild": the catalogue of help pictures, its dialog and its edits.
#include <unistd.h>

#include <algorithm>
#include <filesystem>

#include "core/codepage.h"
#include "core/datapaths.h"
#include "core/identity.h"
#include "core/inputfile.h"
#include "core/outputfile.h"
#include "core/strings.h"
#include "shell/commands.h"
#include "shell/help.h"
#include "shell/session.h"

namespace kamo {
namespace fs = std::filesystem;

namespace {
constexpr size_t kCatalogueFileLimit = 1u << 20;
constexpr int kTopicCatalogue = 2300;
constexpr int kTopicNew = 2310;
constexpr int kTopicDelete = 2320;
constexpr int kTopicChange = 2330;
constexpr int kTopicChangeName = 2340;
constexpr int kTopicInsert = 2350;

std::string Trimmed(std::string_view s) {
  size_t b = s.find_first_not_of(" \t\r");
  if (b == std::string_view::npos) return {};
  size_t e = s.find_last_not_of(" \t\r");
  return std::string(s.substr(b, e - b + 1));
}
}  // namespace

std::vector<CatalogueEntry> ParseCatalogue(const std::string& content, bool& malformed) {
  malformed = false;
  std::vector<CatalogueEntry> entries;
  std::vector<std::string> lines = SplitHelpLines(content);
  if (lines.size() > kCatalogueMaxLines) lines.resize(kCatalogueMaxLines);
  for (const std::string& raw : lines) {
    std::string_view l = raw;
    if (Trimmed(l).empty()) continue;
    if (l.front() == '"') {
      l.remove_prefix(1);
    } else {
      malformed = true;
    }
    CatalogueEntry e;
    size_t sep = l.find("\",\"");
    if (sep == std::string_view::npos) {
      e.name = Trimmed(l.substr(0, l.find('"')));
    } else {
      e.name = Trimmed(l.substr(0, sep));
      std::string_view info = l.substr(sep + 3);
      e.info = std::string(info.substr(0, info.find('"')));
    }
    entries.push_back(std::move(e));
  }
  return entries;
}

std::string CatalogueLine(const CatalogueEntry& e) { return "\"" + e.name + "\",\"" + e.info + "\"\r\n"; }

std::string CatalogueListEntry(const CatalogueEntry& e) { return PadRight(e.name, 8) + ": " + e.info; }

namespace {

class Catalogue {
 public:
  Catalogue(HelpSystem& help, Shell& shell) : help_(help), shell_(shell), s_(shell.session) {}

  void run() {
    s_.flags.abortFlag = false;
    bool first = true;
    while (!s_.flags.abortFlag) {
      std::string source = help_.findDataFile(kPictureCatalogue);
      if (source.empty()) {
        withoutCatalogue();
        break;
      }
      if (!read(source)) break;
      s_.uiState.helpTopic = kTopicCatalogue;
      PictureCatalogueAnswer a;
      if (first) {
        first = false;
        a.action = entries_.empty() ? CatalogueAction::New : CatalogueAction::Select;
        a.selected = entries_.empty() ? -1 : 0;
      } else {
        PictureCatalogueForm f;
        f.caption = std::string(kProductName) + " Hilfebilder";
        for (const CatalogueEntry& e : entries_) f.entries.push_back(s_.ui.display(CatalogueListEntry(e)));
        f.selected = current_ >= 0 && current_ < static_cast<int>(entries_.size()) ? current_ : -1;
        auto answer = s_.ui.port().pictureCatalogueDialog(f);
        if (!answer) break;  // "OK"
        a = *answer;
      }
      if (!act(source, a)) break;
      if (current_ >= 0 && current_ < static_cast<int>(shownEntries().size())) draw(shownEntries()[current_].name);
    }
    s_.flags.abortFlag = false;
  }

 private:
  const std::vector<CatalogueEntry>& shownEntries() const { return entries_; }

  bool read(const std::string& source) {
    std::string bytes;
    if (!ReadRegularFile(source, kCatalogueFileLimit, bytes).ok()) {
      s_.ui.showError("DBH file error");
      return false;
    }
    bool malformed = false;
    entries_ = ParseCatalogue(bytes, malformed);
    // Every line as it stands (also those past the 2000 read and the
    // malformed ones), so that an edit loses nothing.
    lines_ = SplitHelpLines(bytes);
    lineOf_.clear();
    for (size_t i = 0, read = 0; i < lines_.size() && read < kCatalogueMaxLines; ++i, ++read)
      if (!Trimmed(lines_[i]).empty()) lineOf_.push_back(i);
    if (malformed) s_.ui.showError("DBH file error");
    return true;
  }

  void draw(const std::string& name) {
    shell_.screen.Clear();
    shell_.screen.Header(0, 0, 160, 120);
    std::string path = help_.findDataFile(name + ".plt");
    help_.playHelpPicture(path.empty() ? name + ".plt" : path);
    s_.flags.abortFlag = false;
    if (shell_.view) shell_.view->showDrawing();
  }

  void withoutCatalogue() {
    FileDialog d;
    std::vector<std::string> dirs = help_.dataFolders();
    d.directory = dirs.empty() ? std::string() : dirs.front();
    d.filter = "*.plt|*.plt";
    auto chosen = s_.ui.port().openFile(d);
    if (!chosen) return;
    // The PLT folder setting stays as it is: the picture is only shown.
    shell_.screen.Clear();
    shell_.screen.Header(0, 0, 160, 120);
    help_.playHelpPicture(*chosen);
    if (shell_.view) shell_.view->showDrawing();
  }

  // A line chosen by prompt when the dialog named none; -1 when cancelled.
  int askLine(int selected, const std::string& prompt) {
    if (selected >= 0 && selected < static_cast<int>(entries_.size())) return selected;
    if (entries_.empty()) return -1;
    for (size_t i = 0; i < entries_.size(); ++i) s_.uiState.choiceTexts[i + 1] = CatalogueListEntry(entries_[i]);
    int k = 1;
    if (!s_.ui.inputChoice(prompt, static_cast<int>(entries_.size()), k)) return -1;
    return k - 1;
  }

  // The name of a picture the user picks: a .plt file of a data folder with
  // a name of at most 8 characters. Empty when cancelled or refused.
  std::string pickPicture() {
    FileDialog d;
    std::vector<std::string> dirs = help_.dataFolders();
    d.directory = dirs.empty() ? std::string() : dirs.front();
    d.filter = "*.plt|*.plt";
    auto chosen = s_.ui.port().openFile(d);
    if (!chosen) {
      s_.flags.abortFlag = true;
      return {};
    }
    fs::path p(*chosen);
    std::error_code ec;
    fs::path folder = fs::weakly_canonical(p.parent_path(), ec);
    bool inData = false;
    for (const std::string& dir : dirs) {
      std::error_code e2;
      if (fs::weakly_canonical(dir, e2) == folder && !e2) inData = true;
    }
    if (Lower(p.extension().string()) != ".plt" || !inData) {
      s_.ui.showError("Hilfebild muss im Ordner der Hilfebilder liegen");
      return {};
    }
    std::string stem = Utf8ToCp850(p.stem().string());
    if (stem.empty() || stem.size() > kPictureNameMax || stem.find_first_of("\",") != std::string::npos) {
      s_.ui.showError("Name des Hilfebilds zu lang oder ung\x81ltig (h\x94" "chstens 8 Zeichen)");
      return {};
    }
    return stem;
  }

  bool askInfo(int topic, std::string& info) {
    s_.uiState.helpTopic = topic;
    if (!s_.ui.inputText("Information zum Hilfebild", static_cast<int>(kPictureInfoMax), info)) return false;
    info.erase(std::remove(info.begin(), info.end(), '"'), info.end());
    if (info.size() > kPictureInfoMax) info.resize(kPictureInfoMax);
    return true;
  }

  // Where an edited catalogue goes: the first writable folder of the lookup
  // order (the configured PLT folder, then the user's data folder), never
  // the shipped data. It must not come after the catalogue that is read, or
  // the edit would stay hidden behind it.
  std::string target(const std::string& source) {
    std::vector<std::string> candidates;
    if (!s_.settings.pltDir.empty()) candidates.push_back(s_.settings.pltDir);
    std::string user = UserDataFolder();
    if (!user.empty()) candidates.push_back(user);
    std::vector<std::string> order = help_.dataFolders();
    std::error_code ec;
    fs::path sourceDir = fs::weakly_canonical(fs::path(source).parent_path(), ec);
    size_t sourceRank = order.size();
    for (size_t i = 0; i < order.size(); ++i) {
      std::error_code e2;
      if (fs::weakly_canonical(order[i], e2) == sourceDir) {
        sourceRank = i;
        break;
      }
    }
    for (const std::string& c : candidates) {
      if (access(c.c_str(), W_OK) != 0) continue;
      size_t rank = std::find(order.begin(), order.end(), c) - order.begin();
      if (rank > sourceRank) break;
      return (fs::path(c) / kPictureCatalogue).string();
    }
    return {};
  }

  bool write(const std::string& source) {
    std::string to = target(source);
    if (to.empty()) {
      s_.ui.showError("Katalog der Hilfebilder nicht gespeichert (kein beschreibbarer Ordner)");
      return false;
    }
    std::string bytes;
    for (const std::string& l : lines_) bytes += l + "\r\n";
    // A temporary file beside the catalogue, renamed over it when complete.
    OutputFile out;
    if (!out.open(to) || !out.write(bytes) || !out.commit()) {
      s_.ui.showError("Katalog der Hilfebilder nicht gespeichert: " + Utf8ToCp850(out.message()));
      return false;
    }
    return true;
  }

  // Carries out one action; false ends the command.
  bool act(const std::string& source, const PictureCatalogueAnswer& a) {
    const int n = static_cast<int>(entries_.size());
    switch (a.action) {
      case CatalogueAction::Select:
        if (a.selected >= 0 && a.selected < n) current_ = a.selected;
        return true;
      case CatalogueAction::New: {
        s_.uiState.helpTopic = kTopicNew;
        std::string name = pickPicture();
        if (name.empty()) return !s_.flags.abortFlag;
        std::string info;
        if (!askInfo(kTopicNew, info)) return false;
        lines_.push_back(CatalogueLine({name, info}).substr(0, CatalogueLine({name, info}).size() - 2));
        if (!write(source)) return true;
        current_ = n;
        return true;
      }
      case CatalogueAction::Change: {
        s_.uiState.helpTopic = kTopicChange;
        int k = askLine(a.selected, "Zu \x84ndernde Zeile w\x84hlen...");
        if (k < 0) return false;
        std::string name = Lower(entries_[static_cast<size_t>(k)].name);
        std::string info = entries_[static_cast<size_t>(k)].info;
        s_.uiState.helpTopic = kTopicChangeName;
        if (!s_.ui.inputText("Dateiname (ohne Endung .plt)", static_cast<int>(kPictureNameMax), name)) return false;
        name = Trimmed(name);
        name.erase(std::remove(name.begin(), name.end(), '"'), name.end());
        if (name.size() > kPictureNameMax) name.resize(kPictureNameMax);
        if (!askInfo(kTopicChange, info)) return false;
        lines_[lineOf_[static_cast<size_t>(k)]] = CatalogueLine({name, info}).substr(0, CatalogueLine({name, info}).size() - 2);
        if (write(source)) current_ = k;
        return true;
      }
      case CatalogueAction::Insert: {
        s_.uiState.helpTopic = kTopicInsert;
        int k = askLine(a.selected, "Vor welche Zeile einf\x81gen ?");
        if (k < 0) return false;
        std::string name = pickPicture();
        if (name.empty()) return !s_.flags.abortFlag;
        std::string info;
        if (!askInfo(kTopicChange, info)) return false;
        std::string line = CatalogueLine({name, info});
        line.resize(line.size() - 2);
        lines_.insert(lines_.begin() + static_cast<long>(lineOf_[static_cast<size_t>(k)]), line);
        if (write(source)) current_ = k;
        return true;
      }
      case CatalogueAction::Delete: {
        s_.uiState.helpTopic = kTopicDelete;
        int k = askLine(a.selected, "Zu l\x94schende Zeile w\x84hlen...");
        if (k < 0) return false;
        if (!s_.ui.askYesNo("L\x94schen ?")) return false;
        lines_.erase(lines_.begin() + static_cast<long>(lineOf_[static_cast<size_t>(k)]));
        if (write(source)) current_ = std::min(k, n - 2);
        return true;
      }
    }
    return true;
  }

  HelpSystem& help_;
  Shell& shell_;
  Session& s_;
  std::vector<CatalogueEntry> entries_;
  std::vector<std::string> lines_;
  std::vector<size_t> lineOf_;  // the line of each entry
  int current_ = -1;
};

}  // namespace

void HelpSystem::catalogue() { Catalogue(*this, shell_).run(); }

}  // namespace kamo
