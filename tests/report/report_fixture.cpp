// Helpers of the report tests.
#include "report_fixture.h"

namespace kamo::test {

std::vector<std::string> Lines(const std::string& bytes) {
  std::vector<std::string> out;
  size_t start = 0;
  while (start < bytes.size()) {
    size_t end = bytes.find('\n', start);
    std::string l = bytes.substr(start, end == std::string::npos ? std::string::npos : end - start);
    if (!l.empty() && l.back() == '\r') l.pop_back();
    out.push_back(l);
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return out;
}

}  // namespace kamo::test
