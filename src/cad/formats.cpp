// Lookups in the table of output formats.
#include "cad/formats.h"

namespace kamo {

namespace {
constexpr bool KindOrderHolds() {
  for (int code = 1; code <= 9; ++code)
    if (!kOutputFormats[code - 1].cad || CodeOf(kOutputFormats[code - 1].kind) != code) return false;
  return true;
}
static_assert(KindOrderHolds(), "the CAD rows come first, in kind order");
}  // namespace

std::optional<CadOutputKind> KindOfCode(int code) {
  for (const OutputFormat& f : kOutputFormats)
    if (f.cad && CodeOf(f.kind) == code) return f.kind;
  return std::nullopt;
}

const OutputFormat* FindFormat(std::string_view name, FormatJob job) {
  if (name.empty()) return nullptr;
  for (const OutputFormat& f : kOutputFormats)
    if ((f.jobs & job) && name == f.name) return &f;
  return nullptr;
}

std::string FormatNames(FormatJob job, std::string_view sep) {
  std::string s;
  for (const OutputFormat& f : kOutputFormats) {
    if (!(f.jobs & job) || !*f.name) continue;
    if (!s.empty()) s += sep;
    s += f.name;
  }
  return s;
}

int ChoiceCount(int stepLevel) {
  int n = 0;
  for (const OutputFormat& f : kOutputFormats) {
    if (!(f.jobs & kJobChoice)) continue;
    // STEP is offered only while a STEP level is set.
    if (f.kind == CadOutputKind::Step && stepLevel <= 0) continue;
    ++n;
  }
  return n;
}

}  // namespace kamo
