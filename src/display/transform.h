// Zoom and pan of the graphics window: the zoom rectangle of the window
// transform moved by keys, the mouse wheel and a rubber band. Toolkit-free;
// the window turns its events into these calls and replays the list.
#pragma once
#include "core/real.h"
#include "display/displaylist.h"

namespace kamo {

// Sets the zoom rectangle (viewport pixels, y upwards) and recomputes the
// effective window and the scales; false for an empty rectangle.
bool SetScale(ViewTransform& v, long zx0, long zy0, long zy1, long zx1);
// The zoom rectangle becomes the whole viewport.
void ResetZoom(ViewTransform& v);
// The unit window on the whole device, zoom reset.
void ReSetWindow(DisplayList& list);

enum class ViewKey { Reset, Left, Right, Up, Down, PageUp, PageDown, ZoomIn, ZoomOut };
// Escape/F5, the arrows, Page Up/Down and numeric-pad "+"/"-"; zoom and pan
// factors as configured (a zoom factor of 0 or less counts as 1.02).
void ProcessViewKey(ViewTransform& v, ViewKey key, Real zoomFactor, Real panFactor);
// Wheel forward (delta > 0) zooms out, backward zooms in, by zoom x steps with
// |delta| / 120 steps; a zoom beyond the size limit is ignored.
void ProcessWheel(ViewTransform& v, int delta, Real zoomFactor);
// A rubber band in client pixels (y downwards) of a client area w x h; a band
// without width or height does nothing (false). aspect: the factor of Header.
bool ZoomToBand(ViewTransform& v, int x0, int y0, int x1, int y1, int clientWidth,
                int clientHeight, Real aspect);

// Printer coordinates of a graphic printout: the page is pw x ph printer pixels,
// the origin in millimetres from the top left (a page 210 mm wide), the scales
// of the printout dialog. The printer pen is four times the screen pen.
struct PrintMapping {
  int pw = 0, ph = 0;
  Real originX = 0, originY = 0;
  Real scaleX = 1, scaleY = 1;

  long PX(const ViewTransform& v, Real x) const;
  long PY(const ViewTransform& v, Real y) const;
  long LengthX(const ViewTransform& v, Real w) const;
  long LengthY(const ViewTransform& v, Real h) const;
  static int PenWidth(int screenWidth) { return 4 * screenWidth; }
};

}  // namespace kamo
