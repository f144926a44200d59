// The output dispatcher of the cam's sheets: the geometry sheets, the table
// and the contour polyline, drawn once through the CAD element interface.
#pragma once
#include "cad/cad.h"
#include "cam/model.h"
#include "core/explanations.h"
#include "core/messages.h"
#include "core/settings.h"
#include "core/ui.h"

namespace kamo {

struct SheetOutput {
  CadOutput& cad;
  CamProject& project;
  const Settings& settings;
  MessageList& messages;
  Flags& flags;
  Ui& ui;
  ErrorListContext errorList;  // shown instead of a sheet while calcError is set
  int previousKind = 1;        // preselected in the sheet choice
};

// The choice text of sheet kind 1..11 (11 = "zurück ..").
std::string SheetKindText(int kind);
// Kinds this build draws.
bool SheetKindAvailable(int kind);

// device: the CadOpen kind (0 ask); kind 1..10, 0 ask. Returns true when a
// sheet was written completely.
bool OutputSheet(SheetOutput& out, int device, int kind);

// The parts of the geometry sheets, for the other sheets that reuse them.
void DrawContour(SheetOutput& out, bool withBore);
void DrawCentreLines(SheetOutput& out);
void DrawSegmentArrows(SheetOutput& out);

}  // namespace kamo
