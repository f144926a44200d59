// Help > System Info: the computer, the user, the program file, the disk of
// the project folder and the system version, as label/value rows.
#pragma once
#include <string>
#include <utility>
#include <vector>

namespace kamo {

class Session;

std::vector<std::pair<std::string, std::string>> SystemInfoRows(const Session& session,
                                                                 const std::string& programFile);
// The rows as one text (UTF-8), one "label: value" per line.
std::string SystemInfoText(const std::vector<std::pair<std::string, std::string>>& rows);

}  // namespace kamo
