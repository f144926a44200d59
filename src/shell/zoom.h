// Zoom and pan of the main window's drawing: the zoom rectangle in pixels of
// the recorded device (y counted upwards from the bottom) that the window
// shows, moved by the keys, the wheel and the rubber band. Replaying the
// display list never asks the drawing code for anything.
#pragma once
#include "core/real.h"

namespace kamo {

struct ZoomRect {
  long x0 = 0, y0 = 0, x1 = 640, y1 = 480;
  bool operator==(const ZoomRect&) const = default;
};

enum class ZoomKey { Reset, Left, Right, Up, Down, PageUp, PageDown, ZoomIn, ZoomOut, Other };

// Panning by the pan factor, zooming around the centre by the zoom factor.
// A zoom factor of 0 or below counts as the default 1.02. A move whose result
// would span less than one pixel, or reach beyond 1e8 pixels, is ignored.
ZoomRect ApplyZoomKey(const ZoomRect& z, ZoomKey key, Real zoomFactor, Real panFactor,
                      const ZoomRect& whole);
// The wheel: forward (delta > 0) zooms out, backward in, by zoom x steps,
// steps = |delta| / 120 (a smaller delta counts as one notch).
ZoomRect ApplyWheel(const ZoomRect& z, int delta, Real zoomFactor);
// The zoom rectangle that shows the band (x0, y0)-(x1, y1), given in device
// pixels with y upwards, of the part now shown; an empty band changes nothing.
ZoomRect ZoomToBand(const ZoomRect& z, Real x0, Real y0, Real x1, Real y1);

}  // namespace kamo
