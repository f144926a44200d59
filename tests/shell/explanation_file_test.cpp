// Every message the program can put in front of the user has an entry in the
// shipped explanation file, so that the remarks block of a printout and the
// explanation list can say what caused it and what helps. The messages are
// found by reading the sources: calculation messages ("Fatal  : ...",
// "Fehler : ..."), the kMsg constants, the literal texts of the error boxes
// and the file error texts.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "core/explanations.h"
#include "support/scripted_port.h"

namespace kamo::test {
namespace {

namespace fs = std::filesystem;

struct Token {
  enum Kind { Str, Word, Punct } kind;
  std::string text;
  std::string where;
};

// The bytes a C++ string literal body stands for.
std::string Unescape(const std::string& body) {
  std::string out;
  for (size_t i = 0; i < body.size(); ++i) {
    char c = body[i];
    if (c != '\\' || i + 1 >= body.size()) {
      out += c;
      continue;
    }
    char n = body[++i];
    switch (n) {
      case 'n': out += '\n'; break;
      case 't': out += '\t'; break;
      case 'r': out += '\r'; break;
      case 'f': out += '\f'; break;
      case '0': out += '\0'; break;
      case 'x': {
        int v = 0;
        while (i + 1 < body.size() && std::isxdigit(static_cast<unsigned char>(body[i + 1])))
          v = v * 16 + std::stoi(std::string(1, body[++i]), nullptr, 16);
        out += static_cast<char>(v);
        break;
      }
      default: out += n;
    }
  }
  return out;
}

// Splits a source into words, punctuation and string literals (adjacent
// literals joined), skipping comments and character literals.
std::vector<Token> Lex(const std::string& src, const std::string& file) {
  std::vector<Token> tokens;
  int line = 1;
  for (size_t i = 0; i < src.size();) {
    char c = src[i];
    if (c == '\n') ++line;
    if (std::isspace(static_cast<unsigned char>(c))) {
      ++i;
    } else if (src.compare(i, 2, "//") == 0) {
      while (i < src.size() && src[i] != '\n') ++i;
    } else if (src.compare(i, 2, "/*") == 0) {
      size_t e = src.find("*/", i + 2);
      e = e == std::string::npos ? src.size() : e + 2;
      for (size_t k = i; k < e; ++k)
        if (src[k] == '\n') ++line;
      i = e;
    } else if (c == '"' || c == '\'') {
      size_t j = i + 1;
      while (j < src.size() && src[j] != c) j += src[j] == '\\' ? 2 : 1;
      std::string body = src.substr(i + 1, j - i - 1);
      i = j + 1;
      if (c == '\'') continue;
      std::string text = Unescape(body);
      if (!tokens.empty() && tokens.back().kind == Token::Str)
        tokens.back().text += text;
      else
        tokens.push_back({Token::Str, text, file + ":" + std::to_string(line)});
    } else if (std::isalnum(static_cast<unsigned char>(c)) || c == '_') {
      size_t j = i;
      while (j < src.size() && (std::isalnum(static_cast<unsigned char>(src[j])) || src[j] == '_')) ++j;
      tokens.push_back({Token::Word, src.substr(i, j - i), ""});
      i = j;
    } else {
      tokens.push_back({Token::Punct, std::string(1, c), ""});
      ++i;
    }
  }
  return tokens;
}

struct Found {
  std::string text;
  std::string where;
  bool composed;  // more text is appended at run time
};

bool StartsWith(const std::string& s, const char* p) { return s.rfind(p, 0) == 0; }

std::vector<Found> MessagesIn(const std::string& src, const std::string& file) {
  static const std::set<std::string> boxes{"showError", "showErrorAlways", "addMessage", "message",
                                           "Fatal"};
  auto t = Lex(src, file);
  std::vector<Found> found;
  bool inFileErrors = false;
  int depth = 0;
  for (size_t i = 0; i < t.size(); ++i) {
    // The texts TextFileErrorMessage returns.
    if (t[i].kind == Token::Word && t[i].text == "TextFileErrorMessage" && i + 1 < t.size()) {
      size_t k = i + 1;
      while (k < t.size() && !(t[k].kind == Token::Punct && (t[k].text == "{" || t[k].text == ";")))
        ++k;
      if (k < t.size() && t[k].text == "{") inFileErrors = true, depth = 0;
    }
    if (inFileErrors && t[i].kind == Token::Punct) {
      if (t[i].text == "{") ++depth;
      if (t[i].text == "}" && --depth == 0) inFileErrors = false;
    }
    if (t[i].kind != Token::Str) continue;
    const std::string& s = t[i].text;
    bool composed = i + 1 < t.size() && t[i + 1].text == "+";
    bool message = StartsWith(s, "Fatal  : ") || StartsWith(s, "Fehler : ") ||
                   StartsWith(s, "Fehler in ");
    if (i >= 2 && t[i - 1].text == "(" && t[i - 2].kind == Token::Word &&
        boxes.count(t[i - 2].text))
      message = true;
    if (i >= 2 && t[i - 1].text == "=" && t[i - 2].kind == Token::Word &&
        StartsWith(t[i - 2].text, "kMsg"))
      message = true;
    if (inFileErrors) message = true;
    if (message) found.push_back({s, t[i].where, composed});
  }
  return found;
}

TEST(ExplanationFile, EveryMessageOfTheProgramIsExplained) {
  std::string explanations = std::string(KAMO_SOURCE_DIR) + "/data/kamo.err";
  ASSERT_TRUE(ExplanationFileReadable(explanations));
  std::vector<Found> all;
  for (const auto& entry : fs::recursive_directory_iterator(std::string(KAMO_SOURCE_DIR) + "/src")) {
    auto ext = entry.path().extension();
    if (ext != ".cpp" && ext != ".h") continue;
    auto found = MessagesIn(ReadFileBytes(entry.path().string()),
                            fs::relative(entry.path(), KAMO_SOURCE_DIR).string());
    all.insert(all.end(), found.begin(), found.end());
  }
  // The scan itself must see the messages we know exist.
  ASSERT_GT(all.size(), 20u);
  int checked = 0;
  for (const auto& m : all) {
    // The lookup compares 15 characters: a shorter literal with text appended
    // at run time cannot have an entry of its own.
    if (m.composed && m.text.size() < 15) continue;
    // The bare prefixes are the captions of the boxes.
    if (m.text.empty() || m.text == "Fehler : " || m.text == "Fatal  : ") continue;
    ++checked;
    EXPECT_TRUE(LookupExplanation(explanations, m.text).has_value())
        << "no explanation for \"" << m.text << "\" (" << m.where << ")";
  }
  EXPECT_GT(checked, 20);
}

TEST(ExplanationFile, ScannerFindsEachKindOfMessage) {
  std::string src = R"src(
    // showError("in a comment");
    inline constexpr const char* kMsgA = "Fatal  : A = 0 !";
    ui.showError("Ung\x81ltige Eingabe \"" + typed + "\" !");
    ui.showError(path + " x");
    messages.add("Fehler : L < " "stroke !");
    message("Invalid temp directory");
    std::string TextFileErrorMessage(FileStep step, int err) { if (err) { return "Diskette/Platte voll"; } return "x"; }
    const char* other = "not a message";
  )src";
  auto found = MessagesIn(src, "t.cpp");
  std::vector<std::string> texts;
  for (const auto& f : found) texts.push_back(f.text);
  std::vector<std::string> want{"Fatal  : A = 0 !", "Ung\x81ltige Eingabe \"", "Fehler : L < stroke !",
                                "Invalid temp directory", "Diskette/Platte voll", "x"};
  EXPECT_EQ(texts, want);
}

}  // namespace
}  // namespace kamo::test
