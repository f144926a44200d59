// Any bytes through the configuration reader. Some read rules turn a value
// into another (a window width of 0 becomes the screen's), so the settings
// must be stable from the second write on.
#include <cstddef>
#include <cstdint>
#include <string>

#include "io/configio.h"
#include "io/recentfiles.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  kamo::ConfigContext ctx;
  kamo::Settings s;
  kamo::ConfigFromBytes(bytes, s, ctx);
  std::string once = kamo::ConfigToBytes(s);
  kamo::Settings t;
  kamo::ConfigFromBytes(once, t, ctx);
  std::string twice = kamo::ConfigToBytes(t);
  kamo::Settings u;
  kamo::ConfigFromBytes(twice, u, ctx);
  if (kamo::ConfigToBytes(u) != twice) __builtin_trap();
  kamo::RecentFiles list;
  kamo::RecentFilesFromBytes(bytes, list);
  (void)kamo::RecentFilesToBytes(list, "");
  return 0;
}
