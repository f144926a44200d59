// The output dispatcher and the geometry sheets.
#include "graphics/sheets.h"

#include <algorithm>
#include <cmath>

#include "cad/cadstl.h"
#include "core/strings.h"
#include "graphics/drawing.h"
#include "graphics/table.h"

namespace kamo {

std::string SheetKindText(int kind) {
  static const char* const names[] = {"",        "Geometrie mit Tabelle", "Geometrie 1", "Tabelle",
                                      "Geometrie 2", "Formblatt", "Polylinie", "Quick 1",
                                      "Quick 2", "Quick 3", "Quick 4", "zur\x81" "ck .."};
  return kind >= 1 && kind <= 11 ? names[kind] : "";
}

bool SheetKindAvailable(int kind) { return kind >= 1 && kind <= 10; }

void DrawContour(SheetOutput& out, bool withBore) {
  CamProject& p = out.project;
  CadOutput& cad = out.cad;
  // A last point that repeats the first would be a closing edge of length 0,
  // which CAM systems stumble over; the closed flag closes the contour.
  int n = ClosedContourCount(p);
  cad.CadLayer(5);
  cad.CadBeginPolyline(1);
  for (int i = 1; i <= n; ++i) {
    const ContourPoint& q = p.basePoints[static_cast<size_t>(i)];
    cad.CadVertex(q.x, q.y, q.phi);
  }
  cad.CadEndPolyline();
  if (!withBore) return;
  if (p.body.bore == 0) p.body.bore = 0.01L * p.results.xSize;
  cad.CadHoleCircle(0, 0, p.body.bore / 2);
}

void DrawCentreLines(SheetOutput& out) {
  const CamResults& r = out.project.results;
  CadOutput& cad = out.cad;
  cad.CadLayer(1);
  cad.CadLine(r.xMin - 0.1 * r.xSize, 0, r.xMax + 0.1 * r.xSize, 0);
  cad.CadLine(0, r.yMin - 0.1 * r.xSize, 0, r.yMax + 0.1 * r.xSize);
}

void DrawSegmentArrows(SheetOutput& out) {
  const CamProject& p = out.project;
  CadOutput& cad = out.cad;
  Real size = std::min(p.results.xSize, p.results.ySize);
  cad.CadLayer(3);
  cad.CadTextStyle(2, 0, size / 40, size / 60);
  int n = std::min<int>(p.contourCount, static_cast<int>(p.contour.size()) - 1);
  for (int i = 2; i <= n; ++i) {
    if (out.flags.abortFlag) return;
    const ContourPoint& a = p.contour[static_cast<size_t>(i - 1)];
    const ContourPoint& b = p.contour[static_cast<size_t>(i)];
    cad.CadArrow(std::to_string(i), a.x, a.y, b.x, b.y);
  }
}

namespace {

bool OneSheet(SheetOutput& out, int device, int kind) {
  if (IsCompositeSheet(kind)) return CompositeSheet(out, device, kind);
  // "STL" > "Cam": the walls of contour and bore, with its own prompts.
  if (device == kCadStl && kind == 2) return StlCam(out.cad, out.project, false);
  CadOutput& cad = out.cad;
  CamProject& p = out.project;
  cad.CadOpen(device, "KAMO");
  if (out.flags.abortFlag || !cad.open()) return false;
  cad.CadLayer(0);
  const CamResults& r = p.results;
  if (kind == 3) {
    cad.CadWindow(0, 0, 140, 125, 0);
  } else {
    cad.CadWindow(r.xMin - 0.05 * r.xSize, r.yMin - 0.05 * r.ySize, r.xMax + 0.05 * r.xSize,
                  r.yMax + 0.05 * r.ySize, p.body.width);
  }
  cad.CadTables(2);
  cad.CadBeginBlocks();
  cad.CadEndSection();
  do {
    cad.CadBeginEntities();
    switch (kind) {
      case 1:
      case 4:
        DrawCentreLines(out);
        DrawContour(out, true);
        DrawSegmentArrows(out);
        break;
      case 2:
        DrawContour(out, true);
        break;
      case 3: {
        SheetContext ctx{cad, p, out.settings, out.messages, out.flags};
        ExtremesTable(ctx, 0, 5, 120, 3.5L);
        break;
      }
      case 6:
        DrawContour(out, false);
        break;
      default:
        break;
    }
    cad.CadEndSection();
  } while (!cad.CadPassDone());
  return cad.CadClose();
}

}  // namespace

bool OutputSheet(SheetOutput& out, int device, int kind) {
  if (out.flags.calcError) {
    showErrorList(out.ui, out.errorList, out.messages);
    return false;
  }
  if (out.project.basePointCount <= 2) return false;
  bool ask = kind == 0;
  bool done = false;
  do {
    int k = kind;
    if (ask) {
      auto& texts = out.ui.state().choiceTexts;
      for (int i = 1; i <= 11; ++i) texts[static_cast<size_t>(i)] = SheetKindText(i);
      k = out.previousKind;
      if (!out.ui.inputChoice("Bitte w\x84hlen ..", 11, k) || k == 11) {
        out.flags.abortFlag = false;
        return done;
      }
      out.previousKind = k;
    }
    if (!SheetKindAvailable(k)) {
      out.ui.showError("Blatt \"" + SheetKindText(k) + "\" ist noch nicht verf\x81gbar");
      if (!ask) return false;
      continue;
    }
    done = OneSheet(out, device, k);
    if (out.flags.abortFlag && ask) out.flags.abortFlag = false;
  } while (ask);
  return done;
}

}  // namespace kamo
