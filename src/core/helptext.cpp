// The help text files and the lookup of a topic.
#include "core/helptext.h"

namespace kamo {

std::string HelpFileFor(int topic) { return topic < kOwnHelpTopics ? kCommonHelpFile : kOwnHelpFile; }

int HelpNumberOf(std::string_view line) {
  std::string_view head = line.substr(0, 4);
  size_t i = 0;
  while (i < head.size() && head[i] == ' ') ++i;
  if (i == head.size()) return -1;
  int n = 0;
  for (; i < head.size(); ++i) {
    if (head[i] < '0' || head[i] > '9') return -1;
    n = n * 10 + (head[i] - '0');
  }
  return n;
}

std::vector<std::string> SplitHelpLines(std::string_view content) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < content.size()) {
    size_t end = content.find('\n', start);
    std::string_view l = content.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
    if (!l.empty() && l.back() == '\r') l.remove_suffix(1);
    lines.emplace_back(l);
    if (end == std::string_view::npos) break;
    start = end + 1;
  }
  return lines;
}

namespace {
// The picture named after the first ":" of a number line, without blanks.
std::string PictureOf(const std::string& numberLine) {
  size_t colon = numberLine.find(':');
  if (colon == std::string::npos) return {};
  std::string name = numberLine.substr(colon + 1);
  size_t b = name.find_first_not_of(" \t\r");
  if (b == std::string::npos) return {};
  size_t e = name.find_last_not_of(" \t\r");
  return name.substr(b, e - b + 1);
}

HelpTopicText NotFound(int topic) {
  HelpTopicText t;
  t.status = HelpTopicText::Status::NoTopic;
  t.lines[0] = "Hilfetext Nr " + std::to_string(topic) + ": keine Hilfe vorhanden.";
  return t;
}
}  // namespace

HelpTopicText MissingHelpFile(const std::string& fileName) {
  HelpTopicText t;
  t.status = HelpTopicText::Status::NoFile;
  t.lines[0] = "Datei " + fileName + " nicht gefunden !";
  return t;
}

HelpTopicText LookupHelpTopic(const std::vector<std::string>& lines, int topic) {
  const size_t n = lines.size();
  size_t i = 0;
  // After each read the end of the file may have been reached: the last
  // line of a file is never the start of a topic.
  while (i < n) {
    const std::string& line = lines[i++];
    if (i == n) break;
    int number = HelpNumberOf(line);
    if (number < 0) continue;
    const std::string& text = lines[i++];
    if (i == n) break;
    if (number != topic) continue;
    HelpTopicText t;
    t.status = HelpTopicText::Status::Found;
    t.lines[0] = text;
    t.picture = PictureOf(line);
    for (size_t k = 1; k <= 4 && i < n; ++k) {
      const std::string& next = lines[i++];
      int m = HelpNumberOf(next);
      if (m < 0) {
        t.lines[k] = next;
        continue;
      }
      if (m % 5 == 0) {
        t.endedAtNextTopic = true;
        break;
      }
      if (i >= n) break;
      const std::string& continued = lines[i++];
      if (m == topic + static_cast<int>(k)) t.lines[k] = continued;
    }
    return t;
  }
  return NotFound(topic);
}

std::string HelpBoxCaption(int topic) { return "HILFETEXT Nr." + std::to_string(topic); }

std::string CutUtf8(std::string_view s, size_t n) {
  size_t chars = 0;
  for (size_t i = 0; i < s.size(); ++i) {
    if ((static_cast<unsigned char>(s[i]) & 0xC0) == 0x80) continue;
    if (chars == n) return std::string(s.substr(0, i));
    ++chars;
  }
  return std::string(s);
}

}  // namespace kamo
