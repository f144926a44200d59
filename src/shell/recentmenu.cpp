// Recent-file menu captions.
#include "shell/recentmenu.h"

#include "core/codepage.h"

namespace kamo {

namespace {
bool IsSeparator(char c) { return c == '\\' || c == '/'; }
}  // namespace

std::string ShortenedPath(const std::string& path) {
  // Characters, not bytes: a UTF-8 path counts each character once.
  if (Utf8Length(path) < 50) return path;
  size_t first = std::string::npos, last = std::string::npos;
  for (size_t i = 0; i < path.size(); ++i) {
    if (!IsSeparator(path[i])) continue;
    if (first == std::string::npos) first = i;
    last = i;
  }
  if (first == std::string::npos || first >= last) return path;
  return path.substr(0, first + 1) + "..." + path.substr(last);
}

std::string RecentMenuCaption(int i, const std::string& path) {
  std::string shown;
  for (char c : ShortenedPath(path)) {
    shown += c;
    if (c == '&') shown += '&';
  }
  return "&" + std::to_string(i) + " " + shown;
}

}  // namespace kamo
