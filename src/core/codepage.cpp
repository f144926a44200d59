// Code page 850, its transliteration and the plain display table.
#include "core/codepage.h"

#include <array>

namespace kamo {
namespace {

constexpr std::array<char16_t, 128> kCp850High = {
    0x00C7, 0x00FC, 0x00E9, 0x00E2, 0x00E4, 0x00E0, 0x00E5, 0x00E7, 0x00EA, 0x00EB, 0x00E8, 0x00EF,
    0x00EE, 0x00EC, 0x00C4, 0x00C5, 0x00C9, 0x00E6, 0x00C6, 0x00F4, 0x00F6, 0x00F2, 0x00FB, 0x00F9,
    0x00FF, 0x00D6, 0x00DC, 0x00F8, 0x00A3, 0x00D8, 0x00D7, 0x0192, 0x00E1, 0x00ED, 0x00F3, 0x00FA,
    0x00F1, 0x00D1, 0x00AA, 0x00BA, 0x00BF, 0x00AE, 0x00AC, 0x00BD, 0x00BC, 0x00A1, 0x00AB, 0x00BB,
    0x2591, 0x2592, 0x2593, 0x2502, 0x2524, 0x00C1, 0x00C2, 0x00C0, 0x00A9, 0x2563, 0x2551, 0x2557,
    0x255D, 0x00A2, 0x00A5, 0x2510, 0x2514, 0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x00E3, 0x00C3,
    0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550, 0x256C, 0x00A4, 0x00F0, 0x00D0, 0x00CA, 0x00CB,
    0x00C8, 0x0131, 0x00CD, 0x00CE, 0x00CF, 0x2518, 0x250C, 0x2588, 0x2584, 0x00A6, 0x00CC, 0x2580,
    0x00D3, 0x00DF, 0x00D4, 0x00D2, 0x00F5, 0x00D5, 0x00B5, 0x00FE, 0x00DE, 0x00DA, 0x00DB, 0x00D9,
    0x00FD, 0x00DD, 0x00AF, 0x00B4, 0x00AD, 0x00B1, 0x2017, 0x00BE, 0x00B6, 0x00A7, 0x00F7, 0x00B8,
    0x00B0, 0x00A8, 0x00B7, 0x00B9, 0x00B3, 0x00B2, 0x25A0, 0x00A0};

// Windows-1252 bytes 0x80..0x9F and their code points.
constexpr std::array<char16_t, 32> kCp1252C1 = {
    0x20AC, 0, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0, 0x017D, 0, 0, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0, 0x017E, 0x0178};

const char* TranslitOf(unsigned char b) {
  switch (b) {
    case 129: return "ue";
    case 130: return "e";
    case 132: return "ae";
    case 142: return "Ae";
    case 148: return "oe";
    case 153: return "Oe";
    case 154: return "Ue";
    case 160: return "a";
    case 163: return "u";
    case 164: return "n";
    case 196: return "-";
    case 205: return "-";
    case 225: return "ss";
    case 230: return "u";
    case 241: return "+/-";
    case 248: return "deg";
    case 253: return "2";
    default: return nullptr;
  }
}

// The plain display table D; 0 = no entry. The entry for "|" (124) is left
// out on purpose: it would turn every bar into a letter.
char32_t DisplayTableD(unsigned char b) {
  switch (b) {
    case 129: return 252;
    case 130: return 233;
    case 132: return 228;
    case 134: return 229;
    case 142: return 196;
    case 143: return 197;
    case 148: return 246;
    case 153: return 214;
    case 154: return 220;
    case 160: return 225;
    case 161: return 237;
    case 162: return 243;
    case 163: return 250;
    case 164: return 241;
    case 225: return 223;
    case 230: return 181;
    case 241: return 177;
    case 248: return 176;
    case 252: return 179;
    case 253: return 178;
    case 179: case 180: case 181: case 182: case 185: case 186: case 195: case 197: case 198:
    case 199: case 204: case 209: case 215:
      return '|';
    case 184: case 187: case 188: case 190: case 191: case 192: case 200: case 201: case 206:
    case 211: case 214: case 217: case 218:
      return '+';
    case 196: case 205:
      return '-';
    default: return 0;
  }
}

// Box-drawing approximations for targets that lack the box characters.
char BoxFallback(char32_t c) {
  if (c == 0x2500 || c == 0x2550) return '-';
  if (c == 0x2502 || c == 0x2551 || c == 0x2524 || c == 0x2563 || c == 0x251C || c == 0x2560)
    return '|';
  if (c >= 0x2500 && c <= 0x257F) return '+';
  return 0;
}

int UnicodeToCp1252(char32_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<int>(c);
  for (size_t i = 0; i < kCp1252C1.size(); ++i)
    if (kCp1252C1[i] != 0 && kCp1252C1[i] == c) return static_cast<int>(0x80 + i);
  return -1;
}

constexpr size_t kTextLimit = 255;

}  // namespace

char32_t Cp850ToUnicode(unsigned char b) { return b < 0x80 ? b : kCp850High[b - 0x80]; }

unsigned char UnicodeToCp850(char32_t c) {
  if (c < 0x80) return static_cast<unsigned char>(c);
  for (size_t i = 0; i < kCp850High.size(); ++i)
    if (kCp850High[i] == c) return static_cast<unsigned char>(0x80 + i);
  return '?';
}

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

char32_t NextUtf8(std::string_view s, size_t& i) {
  unsigned char b = static_cast<unsigned char>(s[i++]);
  if (b < 0x80) return b;
  int extra = (b & 0xE0) == 0xC0 ? 1 : (b & 0xF0) == 0xE0 ? 2 : (b & 0xF8) == 0xF0 ? 3 : -1;
  if (extra < 0) return 0xFFFD;
  char32_t c = b & (0x3F >> extra);
  for (int k = 0; k < extra; ++k) {
    if (i >= s.size() || (static_cast<unsigned char>(s[i]) & 0xC0) != 0x80) return 0xFFFD;
    c = (c << 6) | (static_cast<unsigned char>(s[i++]) & 0x3F);
  }
  static constexpr char32_t kMin[] = {0, 0x80, 0x800, 0x10000};
  if (c < kMin[extra] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return 0xFFFD;
  return c;
}

size_t Utf8Length(std::string_view s) {
  size_t n = 0;
  for (size_t i = 0; i < s.size();) {
    NextUtf8(s, i);
    ++n;
  }
  return n;
}

std::string Cp850ToUtf8(std::string_view s) {
  std::string out;
  out.reserve(s.size() * 2);
  for (char ch : s) AppendUtf8(out, Cp850ToUnicode(static_cast<unsigned char>(ch)));
  return out;
}

std::string Utf8ToCp850(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  for (size_t i = 0; i < s.size();) out += static_cast<char>(UnicodeToCp850(NextUtf8(s, i)));
  return out;
}

std::string Cp850ToAnsi(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  for (char ch : s) {
    char32_t c = Cp850ToUnicode(static_cast<unsigned char>(ch));
    int a = UnicodeToCp1252(c);
    if (a >= 0) out += static_cast<char>(a);
    else if (char f = BoxFallback(c)) out += f;
    else out += '?';
  }
  return out;
}

std::string Transliterate(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  for (char ch : s) {
    if (const char* t = TranslitOf(static_cast<unsigned char>(ch))) out += t;
    else out += ch;
  }
  return out;
}

std::string ToDisplay(const NumberStyle& ns, std::string_view stored) {
  if (stored.size() >= kTextLimit) return {};
  return DisplayText(ns, stored);
}

std::string DisplayText(const NumberStyle& ns, std::string_view stored) {
  if (ns.specialChars != 1) return Cp850ToUtf8(stored);
  std::string t = Transliterate(stored);
  std::string out;
  for (char ch : t) {
    unsigned char b = static_cast<unsigned char>(ch);
    char32_t d = DisplayTableD(b);
    // Bytes without an entry keep the character they stand for in CP850.
    AppendUtf8(out, d ? d : Cp850ToUnicode(b));
  }
  return out;
}

std::string ToStored(std::string_view display) {
  if (Utf8Length(display) >= kTextLimit) return {};
  return Utf8ToCp850(display);
}

std::string ToCadText(const NumberStyle& ns, std::string_view stored) {
  switch (ns.cadTextType) {
    case 1: return std::string(stored);
    case 3: return Transliterate(stored);
    default: return stored.size() >= kTextLimit ? std::string() : Cp850ToAnsi(stored);
  }
}

}  // namespace kamo
