// Point tables as CSV or TSV files.
#include "io/pointcsv.h"

#include <algorithm>
#include <cctype>

#include "core/numbers.h"

namespace kamo {

namespace {

std::string_view TrimBlanks(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t' || s.front() == '\f' || s.front() == '\v')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\f' || s.back() == '\v')) s.remove_suffix(1);
  return s;
}

// One field: blanks and one pair of double quotes around it go.
std::string_view Unquote(std::string_view s) {
  s = TrimBlanks(s);
  if (s.size() >= 2 && s.front() == '"' && s.back() == '"') s = TrimBlanks(s.substr(1, s.size() - 2));
  return s;
}

// The lines of the text, split at CR LF, CR or LF; the last one needs no end.
std::vector<std::string_view> Lines(std::string_view text) {
  std::vector<std::string_view> lines;
  size_t start = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r' && text[i] != '\n') continue;
    lines.push_back(text.substr(start, i - start));
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < text.size()) lines.push_back(text.substr(start));
  return lines;
}

std::vector<std::string_view> Fields(std::string_view line, char delimiter) {
  std::vector<std::string_view> fields;
  size_t start = 0;
  for (size_t i = 0; i <= line.size(); ++i) {
    if (i < line.size() && line[i] != delimiter) continue;
    fields.push_back(Unquote(line.substr(start, i - start)));
    start = i + 1;
  }
  // Empty fields at the end (a spreadsheet's empty columns) do not count.
  while (fields.size() > 2 && fields.back().empty()) fields.pop_back();
  return fields;
}

// A number of the file: "." or "," decimals (only "." when "," separates).
bool Number(std::string_view s, char delimiter, Real& v) {
  if (s.empty() || s.size() > 64) return false;
  if (delimiter == ',' && s.find(',') != std::string_view::npos) return false;
  if (std::count(s.begin(), s.end(), ',') + std::count(s.begin(), s.end(), '.') > 1) return false;
  return TryParseReal(s, v);
}

// A field for a message: printable ASCII, at most 20 characters.
std::string Shown(std::string_view s) {
  std::string out;
  for (char c : s.substr(0, 20)) out += (static_cast<unsigned char>(c) >= 32 && static_cast<unsigned char>(c) < 127) ? c : '?';
  if (s.size() > 20) out += "...";
  return out;
}

}  // namespace

PointCsv ParsePointCsv(std::string_view text, int maxRows) {
  PointCsv t;
  // A byte order mark of UTF-8 goes.
  if (text.size() >= 3 && text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  std::vector<std::string_view> lines = Lines(text);
  if (text.find('\t') != std::string_view::npos) t.delimiter = '\t';
  else if (text.find(';') != std::string_view::npos) t.delimiter = ';';
  else t.delimiter = ',';
  bool first = true;
  for (size_t i = 0; i < lines.size(); ++i) {
    const int lineNo = static_cast<int>(i) + 1;
    std::string_view line = TrimBlanks(lines[i]);
    if (line.empty()) continue;
    std::vector<std::string_view> f = Fields(line, t.delimiter);
    Real phi = 0, r = 0;
    bool a = f.size() >= 1 && Number(f[0], t.delimiter, phi);
    bool b = f.size() >= 2 && Number(f[1], t.delimiter, r);
    if (first) {
      first = false;
      // A first line that holds no number is the header.
      if (!a && !b) {
        t.header = true;
        continue;
      }
    }
    auto fail = [&](std::string msg) {
      t.rows.clear();
      t.error = std::move(msg);
      t.line = lineNo;
      return t;
    };
    if (f.size() > 2)
      return fail("Zu viele Spalten in Zeile " + std::to_string(lineNo) + " (phi und r erwartet) !");
    if (f.size() < 2)
      return fail("Zu wenig Spalten in Zeile " + std::to_string(lineNo) + " (phi und r erwartet) !");
    if (!a) return fail("Keine Zahl in Zeile " + std::to_string(lineNo) + ": \"" + Shown(f[0]) + "\" !");
    if (!b) return fail("Keine Zahl in Zeile " + std::to_string(lineNo) + ": \"" + Shown(f[1]) + "\" !");
    if (static_cast<int>(t.rows.size()) >= maxRows)
      return fail("Datei hat mehr als " + std::to_string(maxRows) + " Punkte (Zeile " + std::to_string(lineNo) +
                  ") !");
    t.rows.emplace_back(phi, r);
  }
  if (t.rows.size() < 2) {
    t.rows.clear();
    t.error = "Datei hat weniger als 2 Punkte !";
    t.line = static_cast<int>(lines.size());
  }
  return t;
}

char CsvDelimiterFor(const std::string& path) {
  std::string ext;
  size_t dot = path.find_last_of('.');
  size_t slash = path.find_last_of('/');
  if (dot != std::string::npos && (slash == std::string::npos || dot > slash)) ext = path.substr(dot);
  for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return ext == ".tsv" || ext == ".txt" ? '\t' : ',';
}

std::string FormatPointCsv(const std::vector<std::array<std::string, 2>>& rows, const std::string& phiHeader,
                           const std::string& rHeader, char delimiter, char decimal) {
  if (delimiter == ',') decimal = '.';
  auto quoted = [delimiter](const std::string& h) {
    return h.find(delimiter) != std::string::npos ? "\"" + h + "\"" : h;
  };
  auto number = [decimal](std::string t) {
    for (char& ch : t)
      if (ch == '.' || ch == ',') ch = decimal;
    return t;
  };
  std::string out = quoted(phiHeader) + delimiter + quoted(rHeader) + "\r\n";
  for (const auto& row : rows) out += number(row[0]) + delimiter + number(row[1]) + "\r\n";
  return out;
}

}  // namespace kamo
