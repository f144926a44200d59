// The furniture of a production drawing: sheet edge and border, the title
// block after DIN 6771 or ISO 7200 with its change rows, the protective
// notice, zone marking and millimetre scale, the free drawing texts, the file
// name, date and maker line, and the user's logo, head and insert blocks.
#pragma once
#include <string>

#include "cad/cad.h"
#include "cam/model.h"
#include "core/settings.h"

namespace kamo {

inline constexpr int kSheetA3 = 3, kSheetA4 = 4;

// Title block forms of the setting "Zeichnung mit Kopf".
inline constexpr int kDin6771Min = 0, kIsoFig1 = 1, kIsoFig2 = 2, kDin6771 = 3;

struct SheetFrameContext {
  CadOutput& cad;
  const CamProject& project;
  const Settings& settings;
  std::string ownerName;  // the user's firm (CP850)
};

// The sheet window of format 3 (A3 landscape) or 4 (A4 portrait); other formats: nothing.
void SheetWindow(CadOutput& cad, int format);
void DrawSheetFrame(const SheetFrameContext& ctx, int format, std::string name, std::string name2,
                    std::string number);
void DrawTitleBlock(const SheetFrameContext& ctx, int format, const std::string& name,
                    const std::string& name2, const std::string& number);
void DrawChangeTable(const SheetFrameContext& ctx, Real base);
void DrawProtectiveNotice(const SheetFrameContext& ctx, int format);
void DrawZoneFrame(const SheetFrameContext& ctx, int columns, int rows, Real left, Real bottom,
                   Real right, Real top, Real strip);

// The label of change number i by the change index style (0 a, b..; 1 1, 2..; 2 A, B..; 3 none).
std::string ChangeIndexLabel(int style, int i);
// A standard scale 1, 2 or 5 times a power of ten close to x, as a rule not above it.
Real StandardScale(Real x);
// "M 5:1", "M 1:1", "M 1:2".
std::string ScaleText(const NumberStyle& ns, Real m);
// A text longer than n becomes its head + " ... " + its tail.
std::string ShortenText(const std::string& s, int n);
// The first and the last change shown (at most the last eight).
int FirstShownChange(int changeCount);

}  // namespace kamo
