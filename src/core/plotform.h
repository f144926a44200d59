// The fields of the plot program's dialog ("DRAWOUT"), shown through the UI port.
#pragma once
#include <functional>
#include <string>
#include <vector>

namespace kamo {

struct PlotForm {
  std::string programPath = "c:\\drawout\\wdrawout";  // "DRAWOUT Programmverzeichnis"
  std::string outputFolder;                          // default: the temporary folder
  int outputCode = 1;                                // 1 HPL, 2 PS, 3 PLT, 4 PL2, 5 ART
  int interface = 2;                                 // 1 "seriell", 2 "parallel", 3 "Datei"
  std::string comPort = "1", lptPort = "1";
  std::string scale = "1";                           // "Maßstab"
  bool fitToSheet = false;                           // "Maßstab anpassen ?": scale 0
  bool rotate = false;                               // "Plot um 90 Grad drehen ?"
  std::string shiftX = "0", shiftY = "0";            // "Nullpunktverschiebung in x/y-Richtung"
  std::string widthFactor = "1";                     // "Textbreitenfaktor"
  std::string psFont;                                // "Postscript-Zeichensatz" (PS only)
  std::vector<std::string> psFonts;                  // the 35 standard PostScript fonts
  // The command line of the current fields, shown under "Command Line:".
  std::function<std::string(const PlotForm&)> commandLine;
};

}  // namespace kamo
