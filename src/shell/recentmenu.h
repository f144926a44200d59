// The captions of the recent-file entries of the File menu.
#pragma once
#include <string>

namespace kamo {

// A path of 50 characters or more shown as its part up to the first folder
// separator, "...", and its part from the last separator on; other paths whole.
std::string ShortenedPath(const std::string& path);
// "&" + i + " " + the shortened path, with any "&" of the path doubled so that
// it shows as itself in a menu.
std::string RecentMenuCaption(int i, const std::string& path);

}  // namespace kamo
