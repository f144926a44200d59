// The help texts: the two help files, how a topic's text is found in them,
// and the three forms in which the text is shown (the help box, the one-line
// hint of a label, the name of the topic's help picture). Toolkit-free; the
// help system of the shell opens the files and shows the results.
#pragma once
#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace kamo {

// Topics below 4000 live in the family's common file, the rest in ours.
inline constexpr int kOwnHelpTopics = 4000;
inline constexpr const char* kCommonHelpFile = "quortex.hlp";
inline constexpr const char* kOwnHelpFile = "kamo.hlp";
// The longest body of a help box, in characters.
inline constexpr size_t kHelpBoxMax = 1265;

// "quortex.hlp" or "kamo.hlp".
std::string HelpFileFor(int topic);

// What a lookup found. Lines are the stored (CP850) text.
struct HelpTopicText {
  enum class Status { Found, NoTopic, NoFile };
  Status status = Status::NoTopic;
  std::array<std::string, 5> lines;
  std::string picture = "null";  // the picture name; "null" when not found
  // The topic ended at the number line of the next topic (not by its fourth
  // continuation or the end of the file): the hint may name the topic.
  bool endedAtNextTopic = false;
};

// The number of a number line: its first four characters (a shorter number
// padded with leading blanks) as a decimal integer; -1 for a text line.
int HelpNumberOf(std::string_view line);
// The lines of a help file: CR LF or LF ends a line, a CR at the end of a line
// is no part of it.
std::vector<std::string> SplitHelpLines(std::string_view content);
// Looks topic T up in the lines of its help file.
HelpTopicText LookupHelpTopic(const std::vector<std::string>& lines, int topic);
// The result for a file that cannot be read: "Datei NAME nicht gefunden !".
HelpTopicText MissingHelpFile(const std::string& fileName);

// "HILFETEXT Nr.T".
std::string HelpBoxCaption(int topic);
// The body of the help box: each line converted for display and followed by
// one blank, at most kHelpBoxMax characters (counted in display characters).
// toDisplay converts one stored line to UTF-8.
template <class Convert>
std::string HelpBoxBody(const HelpTopicText& t, Convert toDisplay);
// The hint of a label: the lines converted and joined by one blank; at help
// level 2 a topic ended by the next topic's number gets " (T)". The missing-
// topic text stays as it is (it is plain ASCII).
template <class Convert>
std::string HelpHintText(const HelpTopicText& t, int topic, int helpLevel, Convert toDisplay);

// Cuts a UTF-8 text after n characters.
std::string CutUtf8(std::string_view s, size_t n);

template <class Convert>
std::string HelpBoxBody(const HelpTopicText& t, Convert toDisplay) {
  std::string body;
  for (const std::string& l : t.lines) {
    body += toDisplay(l);
    body += ' ';
  }
  return CutUtf8(body, kHelpBoxMax);
}

template <class Convert>
std::string HelpHintText(const HelpTopicText& t, int topic, int helpLevel, Convert toDisplay) {
  if (t.status == HelpTopicText::Status::NoTopic) return t.lines[0];
  std::string hint;
  for (size_t i = 0; i < t.lines.size(); ++i) {
    if (i) hint += ' ';
    hint += toDisplay(t.lines[i]);
  }
  // Empty lines at the end leave no blanks behind.
  while (!hint.empty() && hint.back() == ' ') hint.pop_back();
  if (t.status == HelpTopicText::Status::Found && t.endedAtNextTopic && helpLevel == 2)
    hint += " (" + std::to_string(topic) + ")";
  return hint;
}

}  // namespace kamo
