// Who the program is: names that titles, files and messages are built from.
#pragma once

namespace kamo {

inline constexpr const char* kProductName = "KAMO";
// CP850: 0x81 is "ü".
inline constexpr const char* kProgramTitle = "KAMO  Software f\x81r Kurvenscheiben";
inline constexpr const char* kProgramVersion = "5.1";
inline constexpr const char* kFileStem = "kamo";
inline constexpr const char* kProgramFile = "wkamo";
inline constexpr const char* kProjectExtension = "kmo";

}  // namespace kamo
