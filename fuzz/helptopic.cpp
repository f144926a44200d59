// Any bytes as a help text file: every topic lookup ends, fills at most five
// lines, and the box and the hint stay within their limits.
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/codepage.h"
#include "core/helptext.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string bytes(reinterpret_cast<const char*>(data), size);
  auto lines = kamo::SplitHelpLines(bytes);
  auto convert = [](const std::string& s) { return kamo::Cp850ToUtf8(s); };
  for (int topic : {0, 5, 995, 1000, 1001, 3999, 4000, 7830, 9999}) {
    kamo::HelpTopicText t = kamo::LookupHelpTopic(lines, topic);
    std::string body = kamo::HelpBoxBody(t, convert);
    if (kamo::Utf8Length(body) > kamo::kHelpBoxMax) __builtin_trap();
    (void)kamo::HelpHintText(t, topic, 2, convert);
    if (t.status == kamo::HelpTopicText::Status::NoTopic && t.picture != "null") __builtin_trap();
  }
  // Every number line found starts a topic that the lookup finds.
  for (size_t i = 0; i + 2 < lines.size(); ++i) {
    int n = kamo::HelpNumberOf(lines[i]);
    if (n < 0 || n > 9999) continue;
    (void)kamo::LookupHelpTopic(lines, n);
    break;
  }
  return 0;
}
