// Code page conversions, checked against the system's iconv.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "core/codepage.h"
#include "support/scripted_port.h"

namespace kamo {
namespace {

std::string Iconv(const std::string& bytes, const char* from, const char* to) {
  test::TempFolder dir;
  std::string in = dir.file("in"), out = dir.file("out");
  test::WriteFileBytes(in, bytes);
  std::string cmd = std::string("iconv -f ") + from + " -t " + to + " " + in + " > " + out;
  if (std::system(cmd.c_str()) != 0) return "<iconv failed>";
  return test::ReadFileBytes(out);
}

TEST(CodePage, Cp850MatchesIconv) {
  std::string all;
  for (int b = 32; b < 256; ++b)
    if (b != 127) all += static_cast<char>(b);
  EXPECT_EQ(Cp850ToUtf8(all), Iconv(all, "CP850", "UTF-8"));
  EXPECT_EQ(Utf8ToCp850(Cp850ToUtf8(all)), all);
}

TEST(CodePage, AnsiMatchesIconvForLetters) {
  std::string umlauts = "\x84\x94\x81\x8E\x99\x9A\xE1\xF8\xFD\xE6";
  NumberStyle ns;
  EXPECT_EQ(ToCadText(ns, umlauts), Iconv(umlauts, "CP850", "WINDOWS-1252"));
  // Box drawing has no Windows-1252 character: the plain forms stand in.
  EXPECT_EQ(ToCadText(ns, "\xC4\xB3\xC5"), "-|+");
}

TEST(CodePage, CadTextTypes) {
  NumberStyle ns;
  ns.cadTextType = 1;
  EXPECT_EQ(ToCadText(ns, "M\x84he"), "M\x84he");
  ns.cadTextType = 3;
  EXPECT_EQ(ToCadText(ns, "M\x84he \xE1 \xF1"), "Maehe ss +/-");
}

TEST(CodePage, PlainDisplayMode) {
  NumberStyle ns;
  ns.specialChars = 1;
  // Transliteration first, then the table: "ä" becomes "ae", box corners "+".
  EXPECT_EQ(ToDisplay(ns, "\x84|\xC9\xCD\xBB\xF8\x86"), "ae|+-+deg\xC3\xA5");
  ns.specialChars = 0;
  EXPECT_EQ(ToDisplay(ns, "\x84|\xC9"), "\xC3\xA4|\xE2\x95\x94");
}

TEST(CodePage, TextLimitCountsCharacters) {
  NumberStyle ns;
  EXPECT_EQ(ToDisplay(ns, std::string(254, 'a')), std::string(254, 'a'));
  EXPECT_EQ(ToDisplay(ns, std::string(255, 'a')), "");
  std::string umlauts;
  for (int i = 0; i < 254; ++i) umlauts += "\xC3\xA4";  // 254 characters, 508 bytes
  EXPECT_EQ(ToStored(umlauts), std::string(254, '\x84'));
  EXPECT_EQ(ToStored(umlauts + "\xC3\xA4"), "");
}

TEST(CodePage, StoredTextOfUnknownCharacters) {
  EXPECT_EQ(ToStored("\xE2\x82\xAC x"), "? x");           // the euro sign has no CP850 byte
  EXPECT_EQ(ToStored("a\xFF\xC3"), "a??");                 // malformed UTF-8
  EXPECT_EQ(ToStored("\xF0\x9F\x98\x80"), "?");
}

}  // namespace
}  // namespace kamo
