// Form sheet, quick sheets and the A3 production drawing.
#include "graphics/drawing.h"

#include <algorithm>

#include "cam/kamorech.h"
#include "core/datapaths.h"
#include "core/numbers.h"
#include "graphics/diagram.h"
#include "graphics/follower.h"
#include "graphics/sheetblocks.h"
#include "graphics/table.h"
#include "graphics/titleblock.h"
#include "report/report.h"

namespace kamo {

bool IsCompositeSheet(int kind) { return kind == 5 || (kind >= 7 && kind <= 10); }

std::string OwnerNameFor(const Settings& settings) {
  DataFolders f;
  f.pltDir = settings.pltDir;
  f.programDir = settings.programDir;
  std::string path = FindDataFile(f, kOwnerFile);
  return ReadOwnerName(path);
}

namespace {

void ThreeDiagrams(Diagrams& d, Real W, Real H, Real x, Real ys, Real yv, Real ya) {
  d.SetDiagramSize(W, H);
  d.SetDiagramOrigin(x, ys);
  d.DrawDiagram(1);
  d.SetDiagramSize(W, H);
  d.SetDiagramOrigin(x, yv);
  d.DrawDiagram(2);
  d.SetDiagramSize(W, H);
  d.SetDiagramOrigin(x, ya);
  d.DrawDiagram(3);
}

void Content(SheetOutput& out, Diagrams& d, int kind) {
  CadOutput& cad = out.cad;
  CamProject& p = out.project;
  SheetContext ctx{cad, p, out.settings, out.messages, out.flags};
  switch (kind) {
    case 5:
      cad.CadInsert("FRAME_1", 0, 0, 0, 1, 1);
      d.ContourPlot(125, 125, 50, 140);
      ExtremesTable(ctx, 0, 36, 100, 3.5L);
      cad.environment().drawingKind = 2;
      break;
    case 7:
      TitleBlock(ctx, 2, 117, 2);
      d.ContourPlot(90, 90, 11, 9);
      ExtremesTable(ctx, 1, 102, 110, 2);
      FollowerBlock(ctx, 105, 80, 2);
      SpeedBlock(ctx, 105, 50, 2);
      break;
    case 8:
      d.ContourPlot(90, 90, 12, 12);
      ExtremesTable(ctx, 1, 106, 110, 2);
      break;
    case 9:
      TitleBlock(ctx, 1, 118, 1.2L);
      d.ContourPlot(50, 50, 6, 58);
      CurveDescriptionBlock(ctx, 1, 50, 1.2L);
      ExtremesTable(ctx, 1, 80, 118, 1.2L);
      FollowerBlock(ctx, 118, 118, 1.2L);
      SpeedBlock(ctx, 140, 118, 1.2L);
      ThreeDiagrams(d, 60, 20, 90, 70, 40, 10);
      if (out.messages.count() > 0) MessageBlock(ctx, 2, 30, 1.2L, 50, 25);
      break;
    case 10: {
      // The block is inserted under the name it was defined with, so that file
      // systems and readers that mind the case find it.
      cad.CadInsert("FRAME_1", 0, 0, 0, 1, 1);
      TitleBlock(ctx, 24, 282, 2.5L);
      d.ContourPlot(90, 90, 34, 174);
      CurveDescriptionBlock(ctx, 24, 160, 2);
      SectionBlock(ctx, 0, 24, 82, 2);
      ExtremesTable(ctx, 1, 130, 284, 2);
      FollowerBlock(ctx, 191, 284, 2);
      SpeedBlock(ctx, 226, 284, 2);
      ThreeDiagrams(d, 100, 30, 280, 250, 200, 150);
      const CamResults& r = p.results;
      Real size = std::max(r.xSize, r.ySize);
      Real m = size > 0 ? StandardScale(110 / size) : 1;
      cad.CadTextStyle(0, 0, 3.5L, 3.5L);
      cad.CadLayer(4);
      cad.CadText(ScaleText(out.settings.numbers, m), 180, 170);
      cad.CadInsert("cam", 180, 110, 0, m, m);
      if (out.messages.count() > 0) MessageBlock(ctx, 280, 80, 2.5L, 50, 25);
      break;
    }
    default:
      break;
  }
}

}  // namespace

bool CompositeSheet(SheetOutput& out, int device, int kind) {
  CadOutput& cad = out.cad;
  CamProject& p = out.project;
  cad.CadOpen(device, "KAMO");
  if (out.flags.abortFlag || !cad.open()) return false;
  cad.CadLayer(0);
  if (kind == 5)
    SheetWindow(cad, kSheetA4);
  else if (kind == 10)
    SheetWindow(cad, kSheetA3);
  else
    cad.CadWindow(0, 0, 160, 120, 1);
  cad.CadTables(2);
  cad.CadBeginBlocks();
  if (kind == 5 || kind == 10) {
    SheetFrameContext fc{cad, p, out.settings, OwnerNameFor(out.settings)};
    cad.CadBeginBlock("FRAME_1");
    DrawSheetFrame(fc, kind == 5 ? kSheetA4 : kSheetA3, p.drawing.zeichname, p.drawing.zeichname2,
                   p.drawing.zeichnr);
    cad.CadEndBlock();
  }
  if (kind == 10) {
    int marker = cad.environment().drawingKind;
    cad.CadBeginBlock("cam");
    DrawContour(out, true);
    DrawFollowerGuides(cad, p, out.messages, out.flags);
    DrawFollower(cad, p, FollowerAtAngle(p, 0));
    cad.CadEndBlock();
    cad.environment().drawingKind = marker;
  }
  cad.CadEndSection();
  Diagrams d(out, device);
  do {
    cad.CadBeginEntities();
    d.ResetDiagram();
    Content(out, d, kind);
    cad.CadEndSection();
  } while (!cad.CadPassDone());
  // The sheet keeps its marker after the diagram frames drawn on it.
  if (kind == 5) cad.environment().drawingKind = 2;
  if (kind == 10) cad.environment().drawingKind = 3;
  return cad.CadClose();
}

}  // namespace kamo
