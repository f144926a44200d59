// The few ways the report engine reaches outside the program: starting an
// external program on a finished file and opening a printer device. Tests
// replace it with a recording double.
#pragma once
#include <string>

namespace kamo {

class ReportPlatform {
 public:
  virtual ~ReportPlatform() = default;
  // True when program names an executable file, as a path or on PATH.
  virtual bool programExists(const std::string& program) const;
  // Starts program on file and does not wait for it; an empty program opens
  // the file with the desktop's default application. False when it could not start.
  virtual bool launch(const std::string& program, const std::string& file);
};

// The platform of the running system (stateless).
ReportPlatform& SystemReportPlatform();

}  // namespace kamo
