// The program settings that live in the configuration file, with their
// built-in defaults. Texts are CP850; folders are native paths.
#pragma once
#include <array>
#include <string>
#include <vector>

#include "core/numstyle.h"
#include "core/real.h"

namespace kamo {

struct LayerSetting {
  std::string name;
  int colour = 2;
};

// A named setting of the graphic printout dialog.
struct PrintProfile {
  std::string name;  // up to 25 characters
  double xscale = 1, yscale = 1;
  int xorigin = 0, yorigin = 0;  // mm
  bool landscape = false, monochrom = false;
  bool variable = false;  // fit: the whole drawing is shown before printing
  bool borderline = false;
};

struct Settings {
  Settings();

  // Shown numbers, units, dates, special characters, CAD text type.
  NumberStyle numbers;

  std::array<LayerSetting, 5> layers;           // drawing layers 1..5
  std::string cadTextStyle = "TXT8";
  Real cadTextWidthFactor = 1;
  Real cadTextAngle = 0;
  std::string cadDir, dbfDir;
  int helpLevel = 1;                            // 0..2
  int printerPort = 1;                          // 1..4 = LPT1..LPT4
  int printerType = 3;
  int printDensity = 1;
  char hardcopyRotated = 'J';
  int printThickness = 1;
  bool colourGraphics = true;
  Real graphicsCorrection = 1;
  int graphicsMode = 0, graphicsDriver = 0;
  int windowWidth = 0, windowHeight = 0;        // main window client size, 0 = from the screen
  std::string tempDir;
  int hardcopyPort = 1;
  std::string ediDir, pltDir;
  int textPrintMode = 1;                        // separator lines 1 "***", 2 "---", 3 blanks, 4 compressed
  int linesPerPage = 66;
  Real zoomFactor = 1.02L;
  Real panFactor = 0.02L;
  std::string programDir;
  std::array<std::string, 5> plotCommands;      // plot program command lines 1..5
  int plotCommandCount = 1;
  int backgroundColour = 1;
  int windowsPrintMode = 1;                     // 1 mono, 2 colour
  bool layerMonochrome = false;
  Real graphicsTextWidthFactor = 0.8L;
  std::string graphicsFont = "Arial";
  std::array<int, 16> layerColours{};           // layers 16..31
  std::string textProgram = "WRITE.EXE";
  int databaseMode = 1;
  std::string externalDatabase = "C:\\DBFEDIT\\DBFEDIT.EXE";
  int printOriginX = 0, printOriginY = 0;
  double printScaleX = 1;
  bool printBorder = false;
  bool userDataFolders = false;
  bool archiveMode = false;
  int headerSpaceLines = 0;
  int textDevice = 1;                           // 1..9
  bool askTextDevice = false;
  bool smallOnlineWindow = false;
  bool askDiagramLimits = false;
  int outputSeparator = 1;                      // CAD and text output: 1 point, 2 comma
  std::string dataDir;
  Real textHeightFactor = 1;
  int dialogScale = 100;
  std::string htmlBrowser;
  double printScaleY = 1;
  std::array<int, 6> lineThickness{3, 1, 1, 1, 2, 3};  // layers 0..5
  bool printDialog = true;
  int textWindowLeft = 10, textWindowTop = 40, textWindowWidth = 700, textWindowHeight = 440;
  int pageHeaderMode = 1;                       // 1 every page, 2 first page only
  std::string printFont = "Courier New";
  int printFontSize = 10;
  int printFontStyle = 3;
  int graphicsFontStyle = 3;
  int printOrientation = 2;                     // 1 portrait, 2 landscape
  bool ask3dAngles = true;
  std::array<Real, 3> view3d{};                 // radians
  int changeIndexStyle = 0;
  int spreadsheetSeparator = 2;
  std::string releaseFieldText;
  int cadDecimals = 6;
  std::array<int, 16> lineThicknessHigh{};      // layers 16..31
  int dialogElementScale = 100;
  int angleFormat = 1;
  Real dimensionFactor = 1;
  int unused84 = 0;
  int language = 0;
  int calcResultGraphic = 0;                    // 0..6
  std::array<bool, 6> drawingOptionsOff{};      // title line, file name, date, logo, footer, header
  bool noAktuellQuestion = false;
  bool saveLanguage = false;
  int titleBlockForm = 2;                       // 0 DIN 6771 min., 1 ISO Fig.1, 2 ISO Fig.2, 3 DIN 6771
  std::array<unsigned, 16> screenColours{};     // Windows colour values r + 256 g + 65536 b
  bool flatten3d = false;
  bool rightsNoteOff = false;
  std::string manualDir;
  int frameMargin = 1;                          // 0 "5 mm", 1 "10 mm"
  bool frameMarkingOff = false;
  bool frameScaleOff = false;
  bool showChanges = false;
  bool useHeadBlocks = false;
  bool useInsertBlocks = false;
  bool noArcCentreWarnings = false;
  bool startCadApplication = true;
  bool polylineArcsAsLines = true;
  Real arcLineResolution = 0.1L;
  int stlType = 0;                              // 0 binary, 1 ASCII
  int mainWindowSize = 1;
  int dialogWindowSize = 1;
  int textWindowSize = 1;
  bool copyDbfToTemp = true;
  // Rows of our own, appended after the last row of the file.
  std::vector<PrintProfile> printProfiles;  // at most kMaxPrintProfiles
  static constexpr int kMaxPrintProfiles = 50;
  // The device files of the text printer ports LPT1 .. LPT4 (after the profiles).
  std::array<std::string, 4> textPrinterDevices{"/dev/lp0", "/dev/lp1", "/dev/lp2", "/dev/lp3"};
  // STEP in the CAD output list: 0 not offered, 1 wire frame, 2 closed
  // polylines also as faces, 3 every polyline also as faces (after the devices).
  int stepLevel = 1;
};

}  // namespace kamo
