// Conversion between the stored code page (DOS 850) and the display side
// (UTF-8), and the texts written to CAD files.
#pragma once
#include <string>
#include <string_view>

#include "core/numstyle.h"

namespace kamo {

// Unicode code point of a CP850 byte.
char32_t Cp850ToUnicode(unsigned char b);
// CP850 byte of a code point, or '?' when the code page lacks it.
unsigned char UnicodeToCp850(char32_t c);

std::string Cp850ToUtf8(std::string_view s);
std::string Utf8ToCp850(std::string_view s);
// Windows-1252 bytes of a CP850 text; box-drawing characters become "|", "+", "-".
std::string Cp850ToAnsi(std::string_view s);

// The transliteration table T: umlauts and symbols to plain ASCII.
std::string Transliterate(std::string_view s);

// Stored text to display text; texts of 255 characters or more become empty.
std::string ToDisplay(const NumberStyle& ns, std::string_view stored);
// The same conversion without the length limit, for messages.
std::string DisplayText(const NumberStyle& ns, std::string_view stored);
// Display text (UTF-8) to stored text; 255 characters or more become empty.
std::string ToStored(std::string_view display);
// Text as written to a CAD file, by the CAD text type.
std::string ToCadText(const NumberStyle& ns, std::string_view stored);

void AppendUtf8(std::string& out, char32_t c);
// Decodes one UTF-8 character at s[i], advancing i; malformed bytes decode to U+FFFD.
char32_t NextUtf8(std::string_view s, size_t& i);
size_t Utf8Length(std::string_view s);

}  // namespace kamo
