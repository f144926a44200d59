// The rules every edit field of a dialog shares, free of any toolkit: texts
// go between the model (CP850) and the field (UTF-8) character for character,
// and a number field hands back the exact model value unless the user
// changed its text, since the shown text is rounded.
#pragma once
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "core/numstyle.h"
#include "core/real.h"

namespace kamo {

// Longest text a field holds, in CP850 characters: the code-page
// conversions empty a text of 255 or more.
inline constexpr size_t kMaxFieldChars = 254;

// A model text as the field shows it (no transliteration: umlauts stay).
std::string FieldFromStored(std::string_view cp850);

struct StoredText {
  std::string text;   // CP850, valid when error is empty
  std::string error;  // CP850 message for a box, naming the first bad character
  bool ok() const { return error.empty(); }
};
// A field's text for the model: refused when a character has no CP850 byte
// or when the text is longer than maxChars.
StoredText FieldToStored(std::string_view utf8, size_t maxChars = kMaxFieldChars);

// The shortest text that reads back as exactly x, with the session's
// decimal separator (coefficients, point cells).
std::string FormatRoundTrip(const NumberStyle& ns, Real x);

// A number field bound to the model value it was filled with.
class RealField {
 public:
  RealField() = default;
  RealField(Real value, std::string shown) : value_(value), shown_(std::move(shown)) {}

  Real value() const { return value_; }
  const std::string& shown() const { return shown_; }
  bool unchanged(std::string_view text) const { return text == shown_; }
  // The value for the text now in the field: the exact model value when the
  // text is the one shown, else what parse makes of it (nullopt: no number).
  std::optional<Real> read(std::string_view text,
                           const std::function<std::optional<Real>(std::string_view)>& parse) const;

 private:
  Real value_ = 0;
  std::string shown_;
};

}  // namespace kamo
