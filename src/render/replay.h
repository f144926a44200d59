// The replay of a display list onto a QPainter, record by record: the window
// transform, pens, fonts with escapement, filled quadrangles and arcs. The
// main window paints with it, and so do the PDF, SVG and PNG pictures.
#pragma once
#include <QColor>
#include <QPainter>
#include <QRectF>
#include <QString>
#include <array>
#include <functional>
#include <string>
#include <vector>

#include "display/displaylist.h"

namespace kamo {

struct ReplayStyle {
  std::array<QColor, 17> palette;  // entries 0..16
  QColor background = Qt::white;   // colour 0 paints in it
  bool colour = true;              // false: everything black (monochrome)
  QString font = QStringLiteral("DejaVu Sans");
  double textHeightFactor = 1;
  double textWidthFactor = 0.8;
  int fontStyle = 0;               // 1 bold, 2 italic, 4 underline, 8 strikeout
  double penUnit = 1;              // device units of a pen one pixel wide
};

struct ReplayTarget {
  QRectF device;                   // where the device lies on the painter
  int recordResX = 640, recordResY = 480;  // the virtual device of the recording
  // With a fixed world the records' window is ignored and this world rectangle
  // (x0, y0)-(x1, y1) in mm fills the device exactly.
  bool fixedWorld = false;
  double wx0 = 0, wy0 = 0, wx1 = 1, wy1 = 1;
  // Zoom and pan: the zoom rectangle in recording pixels (y upwards) selects
  // the part of each window that fills the viewport.
  bool zoomed = false;
  long zx0 = 0, zy0 = 0, zx1 = 1, zy1 = 1;
  // The screen waits here for record 13 (milliseconds, 0..10000); pictures and
  // printouts have no pause.
  std::function<void(int)> pause;
};

struct ReplayResult {
  bool ok = true;          // false: a window of zero width or height stopped the replay
  long records = 0;        // records replayed
};

// The list's records, played onto the painter.
ReplayResult ReplayDisplayList(QPainter& painter, const DisplayList& list, const ReplayStyle& style,
                               const ReplayTarget& target);
// Records in their text form (unreadable ones are skipped), for tests and logs.
ReplayResult ReplayDisplayList(QPainter& painter, const std::vector<std::string>& records,
                               const ReplayStyle& style, const ReplayTarget& target);

// The zoom rectangle and the virtual device of a window transform: the replay
// then shows on target.device what the transform's X and Y put on its device.
void ZoomAs(ReplayTarget& target, const ViewTransform& view);

// The palette of the engine as Qt colours (Windows values 0x00BBGGRR).
std::array<QColor, 17> PaletteColours(const std::array<unsigned, 17>& windowsColours);
QColor FromWindowsColour(unsigned v);

}  // namespace kamo
