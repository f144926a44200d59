// Field texts and exact number fields of the dialogs.
#include "core/fields.h"

#include <cctype>
#include <charconv>

#include "core/codepage.h"

namespace kamo {

std::string FieldFromStored(std::string_view cp850) { return Cp850ToUtf8(cp850); }

StoredText FieldToStored(std::string_view utf8, size_t maxChars) {
  StoredText out;
  size_t count = 0;
  for (size_t i = 0; i < utf8.size();) {
    char32_t c = NextUtf8(utf8, i);
    unsigned char b = UnicodeToCp850(c);
    if (b == '?' && c != U'?') {
      char hex[16];
      auto r = std::to_chars(hex, hex + sizeof hex, static_cast<unsigned long>(c), 16);
      std::string code(hex, r.ptr);
      for (char& ch : code) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
      out.text.clear();
      out.error = "Zeichen nicht speicherbar: U+" + std::string(code.size() < 4 ? 4 - code.size() : 0, '0') +
                  code + " (Zeichen " + std::to_string(count + 1) + ")";
      return out;
    }
    out.text += static_cast<char>(b);
    ++count;
  }
  if (count > maxChars) {
    out.text.clear();
    out.error = "Text zu lang: h\x94" "chstens " + std::to_string(maxChars) + " Zeichen !";
  }
  return out;
}

std::string FormatRoundTrip(const NumberStyle& ns, Real x) {
  char buf[64];
  auto r = std::to_chars(buf, buf + sizeof buf, x);
  std::string s(buf, r.ptr);
  if (ns.decimalSeparator != '.') {
    for (char& ch : s) {
      if (ch == '.') ch = ns.decimalSeparator;
    }
  }
  return s;
}

std::optional<Real> RealField::read(
    std::string_view text, const std::function<std::optional<Real>(std::string_view)>& parse) const {
  if (unchanged(text)) return value_;
  return parse(text);
}

}  // namespace kamo
