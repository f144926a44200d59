// The settings that shape how numbers, units, dates and texts are shown.
#pragma once

namespace kamo {

enum class UnitSystem { MetricN = 0, Inch = 1, MetricKN = 2, MetricNmm2 = 3, MetricKNmm2 = 4 };

struct NumberStyle {
  int unitSystem = 0;          // 0..4, see UnitSystem
  int decimals = 3;            // 1..9; shifts every fixed-format output by (decimals - 3)
  int specialChars = 0;        // 0 "²  µ  °", 1 plain ASCII
  int cadTextType = 2;         // 1 OEM, 2 ANSI, 3 transliterated
  int dateFormat = 3;          // 1..5
  char decimalSeparator = '.'; // the separator numbers are shown with; readers accept both

  bool inch() const { return unitSystem == 1; }
  // Out-of-range settings behave like their defaults.
  int effectiveDecimals() const { return decimals >= 1 && decimals <= 9 ? decimals : 3; }
};

}  // namespace kamo
