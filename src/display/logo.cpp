// The maker's logo: a square ring with a bar through its corner (a "Q"), and a
// stroke beside it.
#include "display/logo.h"

namespace kamo {

void DrawQuortexLogo(DisplayList& list) {
  if (!list.Header(-1, -1, 38, 33)) return;
  list.SetColor(9);
  // The ring of the Q: four bars.
  list.Solid(0, 4, 24, 4, 24, 8, 0, 8);
  list.Solid(0, 28, 24, 28, 24, 32, 0, 32);
  list.Solid(0, 8, 4, 8, 4, 28, 0, 28);
  list.Solid(20, 8, 24, 8, 24, 28, 20, 28);
  list.SetColor(13);
  // Its tail, slanting out of the lower right corner.
  list.Solid(14, 12, 18, 12, 28, 0, 24, 0);
  // A stroke beside the letter.
  list.Solid(30, 4, 37, 4, 37, 32, 30, 32);
}

}  // namespace kamo
