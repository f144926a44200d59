// Byte-string helpers. Texts of the model are CP850 bytes; positions are 1-based
// where the names say so.
#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace kamo {

std::string IntToText(long long n);
std::string ZeroPad(long long n, int w);
std::string SpacePad(long long n, int w);
std::string PadRight(std::string_view s, int w);
std::string PadLeft(std::string_view s, int w);
std::string LeftPart(std::string_view s, int n);
std::string RightPart(std::string_view s, int n);
std::string Trim(std::string_view s);
std::string RemoveBlanks(std::string_view s);
std::string ReplaceChar(std::string_view s, char c, char r);
std::string LineBreaksToBlanks(std::string_view s);
std::string Upper(std::string_view s);
std::string Lower(std::string_view s);
int LastPos(std::string_view sub, std::string_view s);
int CountChar(char c, std::string_view s);
std::string Overwrite(std::string_view s, std::string_view sub, int p);
std::string Abbreviate(std::string_view s, int n);
std::string CommaToPoint(std::string_view s);
std::string PointToComma(std::string_view s);
bool ParamGiven(const std::vector<std::string>& params, std::string_view option);
std::string Dashes(int n);
// Lines of a text: CR LF, LF and a lone CR each end a line; a last line
// without an end counts; line ends are not part of the lines.
// *lastEnded tells whether the last line had its line end.
std::vector<std::string_view> SplitLines(std::string_view bytes, bool* lastEnded = nullptr);

}  // namespace kamo
