// Field rules of the dialogs: texts character for character, exact numbers.
#include "core/fields.h"

#include <gtest/gtest.h>

#include "core/numbers.h"

namespace kamo {
namespace {

TEST(FieldText, UmlautsRoundTripAndUnstorableCharactersAreRefused) {
  const std::string stored = "St\x94\xe1" "el \xf8";  // "Stößel °" in CP850
  const std::string shown = FieldFromStored(stored);
  EXPECT_EQ(shown, "St\xc3\xb6\xc3\x9f" "el \xc2\xb0");
  EXPECT_EQ(FieldToStored(shown).text, stored);

  StoredText euro = FieldToStored("Preis \xe2\x82\xac");  // U+20AC
  EXPECT_FALSE(euro.ok());
  EXPECT_EQ(euro.text, "");
  EXPECT_EQ(euro.error, "Zeichen nicht speicherbar: U+20AC (Zeichen 7)");
  EXPECT_TRUE(FieldToStored("Was ?").ok());
}

TEST(FieldText, LimitCountsCp850Characters) {
  std::string umlauts;
  for (int i = 0; i < 254; ++i) umlauts += "\xc3\xa4";  // 508 UTF-8 bytes, 254 characters
  EXPECT_TRUE(FieldToStored(umlauts).ok());
  EXPECT_EQ(FieldToStored(umlauts).text.size(), 254u);
  StoredText tooLong = FieldToStored(umlauts + "a");
  EXPECT_FALSE(tooLong.ok());
  EXPECT_EQ(tooLong.error, "Text zu lang: h\x94" "chstens 254 Zeichen !");
}

TEST(RealFieldTest, UnchangedTextKeepsTheExactValue) {
  NumberStyle ns;
  const Real exact = 123.456789012345678L;
  RealField field(exact, FormatGeneral(ns, exact));
  auto parse = [](std::string_view t) -> std::optional<Real> {
    Real v;
    return TryParseReal(t, v) ? std::optional<Real>(v) : std::nullopt;
  };
  EXPECT_EQ(*field.read(field.shown(), parse), exact);
  EXPECT_EQ(*field.read("2.5", parse), 2.5L);
  EXPECT_FALSE(field.read("abc", parse).has_value());
}

TEST(RoundTripFormat, ReadsBackExactlyWithEitherSeparator) {
  NumberStyle dot, comma;
  comma.decimalSeparator = ',';
  for (Real x : {1e-17L, -3.0000000000000000001L, 123.456L, 0.1L, 6.02214076e23L, 0.0L}) {
    for (const NumberStyle& ns : {dot, comma}) {
      Real back;
      ASSERT_TRUE(TryParseReal(FormatRoundTrip(ns, x), back)) << FormatRoundTrip(ns, x);
      EXPECT_EQ(back, x);
    }
  }
  EXPECT_EQ(FormatRoundTrip(comma, 2.5L), "2,5");
}

}  // namespace
}  // namespace kamo
