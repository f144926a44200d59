// Byte-string helpers.
#include "core/strings.h"

#include <algorithm>

namespace kamo {

std::string IntToText(long long n) { return std::to_string(n); }

std::string ZeroPad(long long n, int w) {
  std::string s = std::to_string(n < 0 ? -n : n);
  if (static_cast<int>(s.size()) < w) s.insert(0, static_cast<size_t>(w) - s.size(), '0');
  return n < 0 ? "-" + s : s;
}

std::string SpacePad(long long n, int w) {
  std::string s = std::to_string(n);
  if (static_cast<int>(s.size()) < w) s.insert(0, static_cast<size_t>(w) - s.size(), ' ');
  return s;
}

std::string PadRight(std::string_view s, int w) {
  if (w < 0) w = 0;
  std::string t(s.substr(0, static_cast<size_t>(w)));
  t.resize(static_cast<size_t>(w), ' ');
  return t;
}

std::string PadLeft(std::string_view s, int w) {
  if (w < 0) w = 0;
  std::string t = Trim(s);
  if (static_cast<int>(t.size()) >= w) return t.substr(0, static_cast<size_t>(w));
  return std::string(static_cast<size_t>(w) - t.size(), ' ') + t;
}

std::string LeftPart(std::string_view s, int n) {
  if (n <= 0) return {};
  return std::string(s.substr(0, static_cast<size_t>(n)));
}

std::string RightPart(std::string_view s, int n) {
  if (n <= 0) return {};
  size_t k = std::min(s.size(), static_cast<size_t>(n));
  return std::string(s.substr(s.size() - k));
}

std::string Trim(std::string_view s) {
  size_t a = s.find_first_not_of(' ');
  if (a == std::string_view::npos) return {};
  size_t b = s.find_last_not_of(' ');
  return std::string(s.substr(a, b - a + 1));
}

std::string RemoveBlanks(std::string_view s) {
  std::string t;
  for (char c : s)
    if (c != ' ') t += c;
  return t;
}

std::string ReplaceChar(std::string_view s, char c, char r) {
  std::string t(s);
  std::replace(t.begin(), t.end(), c, r);
  return t;
}

std::string LineBreaksToBlanks(std::string_view s) {
  std::string t(s);
  for (char& ch : t)
    if (ch == '\r' || ch == '\n') ch = ' ';
  return t;
}

// Upper and lower case of ASCII letters and of the CP850 umlauts.
std::string Upper(std::string_view s) {
  std::string t(s);
  for (char& ch : t) {
    unsigned char c = static_cast<unsigned char>(ch);
    if (c >= 'a' && c <= 'z') ch = static_cast<char>(c - 32);
    else if (c == 0x84) ch = static_cast<char>(0x8E);
    else if (c == 0x94) ch = static_cast<char>(0x99);
    else if (c == 0x81) ch = static_cast<char>(0x9A);
  }
  return t;
}

std::string Lower(std::string_view s) {
  std::string t(s);
  for (char& ch : t) {
    unsigned char c = static_cast<unsigned char>(ch);
    if (c >= 'A' && c <= 'Z') ch = static_cast<char>(c + 32);
    else if (c == 0x8E) ch = static_cast<char>(0x84);
    else if (c == 0x99) ch = static_cast<char>(0x94);
    else if (c == 0x9A) ch = static_cast<char>(0x81);
  }
  return t;
}

int LastPos(std::string_view sub, std::string_view s) {
  if (sub.empty()) return 0;
  size_t p = s.rfind(sub);
  return p == std::string_view::npos ? 0 : static_cast<int>(p) + 1;
}

int CountChar(char c, std::string_view s) {
  return static_cast<int>(std::count(s.begin(), s.end(), c));
}

std::string Overwrite(std::string_view s, std::string_view sub, int p) {
  std::string t(s);
  if (p >= 1 && static_cast<size_t>(p) + sub.size() - 1 <= t.size())
    t.replace(static_cast<size_t>(p) - 1, sub.size(), sub);
  return t;
}

std::string Abbreviate(std::string_view s, int n) {
  if (static_cast<int>(s.size()) < n) return std::string(s);
  if (n > 10) {
    int k = n / 2 - 2;
    return LeftPart(s, k) + "__" + RightPart(s, k);
  }
  return LeftPart(s, n);
}

std::string CommaToPoint(std::string_view s) { return ReplaceChar(s, ',', '.'); }
std::string PointToComma(std::string_view s) { return ReplaceChar(s, '.', ','); }

bool ParamGiven(const std::vector<std::string>& params, std::string_view option) {
  std::string want = Upper(option);
  for (const auto& p : params)
    if (Upper(p) == want) return true;
  return false;
}

std::string Dashes(int n) { return std::string(static_cast<size_t>(n < 0 ? 0 : n), '-'); }

std::vector<std::string_view> SplitLines(std::string_view bytes, bool* lastEnded) {
  std::vector<std::string_view> lines;
  size_t start = 0, i = 0;
  while (i < bytes.size()) {
    char c = bytes[i];
    if (c == '\n' || c == '\r') {
      lines.push_back(bytes.substr(start, i - start));
      if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
      start = ++i;
    } else {
      ++i;
    }
  }
  if (lastEnded) *lastEnded = start >= bytes.size();
  if (start < bytes.size()) lines.push_back(bytes.substr(start));
  return lines;
}

}  // namespace kamo
