// The one table of output formats: every CAD output kind and every picture
// format, with what it is called, where it goes and what it can draw. The
// output choice list, the save dialogs, "/CADi:j", "--format", "/?" and the
// README read it; adding a format is a writer and one row here.
#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace kamo {

class CadWriter;
struct CadWriterContext;

// The output kinds; the value is the kind code that callers pass to CadOpen
// and that "/CADi:j" names as i.
enum class CadOutputKind : std::uint16_t {
  Dxf = 1, Iges = 2, Screen = 3, Plot = 4, Text = 5, Stl = 6, Step = 7,
  StepSolid = 8,    // the cam as a B-rep solid in STEP (--solid --format stp)
  StepContour = 9,  // the cam's contour as one closed curve in STEP (--contour --format stp)
};

inline constexpr int CodeOf(CadOutputKind k) { return static_cast<int>(k); }
inline constexpr int kCadDxf = CodeOf(CadOutputKind::Dxf), kCadIges = CodeOf(CadOutputKind::Iges),
                     kCadScreen = CodeOf(CadOutputKind::Screen), kCadPlot = CodeOf(CadOutputKind::Plot),
                     kCadText = CodeOf(CadOutputKind::Text), kCadStl = CodeOf(CadOutputKind::Stl),
                     kCadStep = CodeOf(CadOutputKind::Step);

// The jobs that take a format (bits).
enum FormatJob : unsigned {
  kJobChoice = 1u << 0,    // the output choice list "CAD-Code" of the window
  kJobSheet = 1u << 1,     // --sheet K --format F
  kJobDiagram = 1u << 2,   // --diagram K --format F
  kJobCadOption = 1u << 3, // /CADi:j in a batch run
  kJobSolid = 1u << 4,     // --solid --format F
  kJobContour = 1u << 5,   // --contour --format F
  kJobAnimate = 1u << 6,   // --animate N --format F (one turn of the cam in frames)
};

// What a format draws itself (bits); the CAD output breaks the rest down
// (arcs and circles into lines, polylines into lines and arcs, blocks into
// their replayed elements, filled quadrangles into their four edges).
enum FormatNative : unsigned {
  kNativeArcs = 1u << 0,
  kNativePolylines = 1u << 1,
  kNativeBlocks = 1u << 2,
  kNativeSolids = 1u << 3,
  kNativeTexts = 1u << 4,
  kNativeBulges = 1u << 5,  // polyline vertices carry their arcs (else arcs arrive as vertices)
};

// What an output draws around the drawing itself (bits).
enum FormatPage : unsigned {
  kPageBorder = 1u << 0,  // the border of the configuration ("Umrandung")
  kPageFooter = 1u << 1,  // the footer line with date, program and project
  kPageLogos = 1u << 2,   // the logo blocks of the temporary folder
};

using CadWriterFactory = std::unique_ptr<CadWriter> (*)(CadWriterContext ctx);

struct OutputFormat {
  const char* name;         // on the command line (--format); "" for none
  bool cad;                 // a CAD output kind; else a picture of the registry main fills
  CadOutputKind kind;       // the CAD kind (CAD rows)
  const char* choiceText;   // in the list "CAD-Code" (CAD rows)
  const char* helpName;     // in the lines of "/?"
  const char* extension;    // of the file written
  bool userFile;            // writes a file the user names (or the batch target)
  unsigned jobs;            // FormatJob bits
  unsigned natives;         // FormatNative bits
  unsigned page;            // FormatPage bits
  const char* drops;        // what the format leaves out by design; "" for nothing
  CadWriterFactory factory; // the writer (CAD rows)
};

std::unique_ptr<CadWriter> MakeDxfWriter(CadWriterContext ctx);
std::unique_ptr<CadWriter> MakeScreenWriter(CadWriterContext ctx);
std::unique_ptr<CadWriter> MakePlotWriter(CadWriterContext ctx);
std::unique_ptr<CadWriter> MakeTextWriter(CadWriterContext ctx);
std::unique_ptr<CadWriter> MakeIgesWriter(CadWriterContext ctx);
std::unique_ptr<CadWriter> MakeStlWriter(CadWriterContext ctx);
std::unique_ptr<CadWriter> MakeStepWriter(CadWriterContext ctx);
std::unique_ptr<CadWriter> MakeStepSolidWriter(CadWriterContext ctx);
std::unique_ptr<CadWriter> MakeStepContourWriter(CadWriterContext ctx);

inline constexpr unsigned kJobsDrawing = kJobSheet | kJobDiagram;
inline constexpr unsigned kJobsFile = kJobChoice | kJobSheet | kJobDiagram | kJobCadOption;

inline constexpr unsigned kDxfNatives =
    kNativeArcs | kNativePolylines | kNativeBlocks | kNativeSolids | kNativeTexts | kNativeBulges;
inline constexpr unsigned kPictureNatives = kNativeArcs | kNativeSolids | kNativeTexts;

// The CAD rows in kind order (the order of the choice list), then the pictures
// (a picture row of a drawing job has a writer in the registry main fills, a
// row of --animate a frame writer there).
inline constexpr OutputFormat kOutputFormats[] = {
    {"dxf", true, CadOutputKind::Dxf, "DXF", "DXF", "dxf", true, kJobsFile, kDxfNatives, 0, "", MakeDxfWriter},
    {"igs", true, CadOutputKind::Iges, "IGES", "IGES", "igs", true, kJobsFile,
     kNativeArcs | kNativeBlocks | kNativeSolids | kNativeTexts, 0, "", MakeIgesWriter},
    {"", true, CadOutputKind::Screen, "Kontrollausgabe auf Bildschirm", "screen", "", false, kJobChoice,
     kPictureNatives, kPageBorder | kPageFooter | kPageLogos, "", MakeScreenWriter},
    {"", true, CadOutputKind::Plot, "Ausgabe auf Laserprinter/Plotter mit DRAWOUT", "plot program", "dxf",
     false, kJobChoice, kDxfNatives, kPageBorder | kPageLogos, "", MakePlotWriter},
    {"txt", true, CadOutputKind::Text, "TXT", "text", "txt", true, kJobsFile,
     kNativeArcs | kNativeBlocks | kNativeSolids | kNativeTexts, 0, "layers, polylines (as lines)",
     MakeTextWriter},
    {"stl", true, CadOutputKind::Stl, "STL", "STL", "stl", true, kJobsFile | kJobSolid, 0, 0, "texts",
     MakeStlWriter},
    {"stp", true, CadOutputKind::Step, "STEP", "STEP", "stp", true, kJobsFile, kNativeArcs | kNativePolylines,
     0, "texts, fills", MakeStepWriter},
    // The cam's own 3D forms: they take the contour polyline and the bore
    // circle of the cam commands and build one body or one closed curve.
    {"stp", true, CadOutputKind::StepSolid, "STEP Cam solid", "STEP solid", "stp", true, kJobSolid,
     kNativeArcs | kNativePolylines | kNativeBulges, 0, "everything but the contour and the bore",
     MakeStepSolidWriter},
    {"stp", true, CadOutputKind::StepContour, "STEP Kontur", "STEP contour", "stp", true, kJobContour,
     kNativeArcs | kNativePolylines | kNativeBulges, 0, "everything but the contour", MakeStepContourWriter},
    {"pdf", false, CadOutputKind::Screen, "", "PDF", "pdf", true, kJobsDrawing, kPictureNatives, 0, "", nullptr},
    {"svg", false, CadOutputKind::Screen, "", "SVG", "svg", true, kJobsDrawing, kPictureNatives, 0, "", nullptr},
    // Frames only: the animation as one animated picture.
    {"gif", false, CadOutputKind::Screen, "", "GIF", "gif", true, kJobAnimate, kPictureNatives, 0, "", nullptr},
    // One picture of a drawing, or the animation as a numbered sequence of them.
    {"png", false, CadOutputKind::Screen, "", "PNG", "png", true, kJobsDrawing | kJobAnimate, kPictureNatives, 0,
     "", nullptr},
};

// The row of a CAD output kind; every kind has one.
constexpr const OutputFormat& FormatOf(CadOutputKind k) { return kOutputFormats[CodeOf(k) - 1]; }
// The kind of a kind code 1..9; none for any other code.
std::optional<CadOutputKind> KindOfCode(int code);
// The row of a --format name that the job takes; null for none.
const OutputFormat* FindFormat(std::string_view name, FormatJob job);
// The --format names that a job takes, in table order, joined by sep.
std::string FormatNames(FormatJob job, std::string_view sep);
// The kinds of the choice list "CAD-Code" (the table order; STEP only with a STEP level).
int ChoiceCount(int stepLevel);

}  // namespace kamo
