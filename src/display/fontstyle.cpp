// Font style names.
#include "display/fontstyle.h"

namespace kamo {

std::string FontStyleName(int code) {
  if (code < 0 || code > 15) return {};
  std::string s;
  auto add = [&s](const char* w) {
    if (!s.empty()) s += ' ';
    s += w;
  };
  if (code & 1) add("bold");
  if (code & 2) add("italic");
  if (code & 4) add("underline");
  if (code & 8) add("strikeout");
  return s;
}

}  // namespace kamo
