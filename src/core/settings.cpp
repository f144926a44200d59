// Built-in defaults of the settings that are not plain member initialisers.
#include "core/settings.h"

#include "core/geometry.h"

namespace kamo {

Settings::Settings() {
  const int colours[5] = {2, 2, 2, 3, 1};
  for (int i = 0; i < 5; ++i) layers[static_cast<size_t>(i)] = {std::to_string(i + 1), colours[i]};
  plotCommands.fill("C:\\DRAWOUT\\WDRAWOUT DRAWOUT.DXF /M1.0");
  for (int n = 0; n < 16; ++n) layerColours[static_cast<size_t>(n)] = n + 1;
  lineThicknessHigh.fill(1);
  view3d = {DegToRad(-15), DegToRad(90), DegToRad(210)};
  const unsigned rgb[16][3] = {{0, 0, 0},       {0, 0, 128},     {0, 255, 0},    {0, 255, 255},
                               {255, 0, 0},     {128, 0, 128},   {128, 0, 0},    {192, 192, 192},
                               {176, 176, 176}, {0, 0, 255},     {0, 255, 0},    {0, 255, 255},
                               {255, 0, 0},     {255, 0, 255},   {255, 255, 0},  {255, 255, 255}};
  for (int i = 0; i < 16; ++i)
    screenColours[static_cast<size_t>(i)] = rgb[i][0] + 256 * rgb[i][1] + 65536 * rgb[i][2];
}

}  // namespace kamo
