// Names of the font style codes shared by the graphics text and the printout font.
#pragma once
#include <string>

namespace kamo {

// Code 0..15 (1 bold, 2 italic, 4 underline, 8 strikeout): "", "bold", ..., "bold italic underline strikeout".
std::string FontStyleName(int code);

}  // namespace kamo
