// Any bytes through the configuration reader; the settings it gives must
// write and read back to the same bytes.
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
  if (kamo::ConfigToBytes(t) != once) __builtin_trap();
  kamo::RecentFiles list;
  kamo::RecentFilesFromBytes(bytes, list);
  (void)kamo::RecentFilesToBytes(list, "");
  return 0;
}
