// The configuration dialog's table of controls and its buttons.
#include "shell/configdialog.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "core/codepage.h"
#include "core/fields.h"
#include "core/geometry.h"
#include "core/identity.h"
#include "core/numbers.h"
#include "core/strings.h"
#include "report/report.h"
#include "shell/session.h"

namespace kamo {
namespace fs = std::filesystem;

namespace {

using Get = std::function<std::string(const Settings&)>;
using Set = std::function<std::string(Settings&, const std::string&)>;

std::string U(const char* cp850) { return Cp850ToUtf8(cp850); }

std::string RangeError(long long lo, long long hi) {
  return "G\x81ltiger Wertebereich: " + IntToText(lo) + " .. " + IntToText(hi) + " !";
}
std::string RealRangeError(const NumberStyle& ns, Real lo, Real hi) {
  return "G\x81ltiger Wertebereich: " + FormatGeneral(ns, lo) + " .. " + FormatGeneral(ns, hi) + " !";
}
std::string InvalidInput(const std::string& text) {
  return "Ung\x81ltige Eingabe \"" + Utf8ToCp850(text) + "\" !";
}

bool ParseWhole(const std::string& text, long long& v) {
  std::string t = Trim(text);
  if (!t.empty() && t.front() == '+') t.erase(0, 1);
  if (t.empty()) return false;
  char* end = nullptr;
  errno = 0;
  v = std::strtoll(t.c_str(), &end, 10);
  return errno == 0 && end && *end == '\0';
}
bool ParseNumber(const std::string& text, Real& x) {
  std::string t = CommaToPoint(Trim(text));
  return !t.empty() && TryParseReal(t, x) && std::isfinite(static_cast<double>(x));
}

// Builders: each takes an accessor that returns the field of a Settings.
template <class Ref>
ConfigField Int(int page, const char* name, std::string label, Ref ref, long long lo, long long hi,
                bool less = false) {
  ConfigField f{page, name, std::move(label), ConfigControl::Edit, {}, less, {}, {}};
  f.get = [ref](const Settings& s) { return IntToText(static_cast<long long>(ref(const_cast<Settings&>(s)))); };
  f.set = [ref, lo, hi](Settings& s, const std::string& t) -> std::string {
    long long v = 0;
    if (!ParseWhole(t, v)) return InvalidInput(t);
    if (v < lo || v > hi) return RangeError(lo, hi);
    ref(s) = static_cast<std::remove_reference_t<decltype(ref(s))>>(v);
    return {};
  };
  return f;
}

// A real or double; `scale` turns the stored value into the shown one
// (degrees for radians).
template <class Ref>
ConfigField Num(int page, const char* name, std::string label, Ref ref, Real lo, Real hi, bool less = false,
                Real scale = 1) {
  ConfigField f{page, name, std::move(label), ConfigControl::Edit, {}, less, {}, {}};
  f.get = [ref, scale](const Settings& s) {
    Real v = static_cast<Real>(ref(const_cast<Settings&>(s))) * scale;
    if (scale == 1) return FormatRoundTrip(s.numbers, v);
    // A converted value (degrees of radians) shows twelve digits; an
    // unchanged text still stores the exact value back.
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.12Lg", v);
    std::string t = buf;
    if (s.numbers.decimalSeparator == ',') t = PointToComma(t);
    return t;
  };
  f.set = [ref, lo, hi, scale](Settings& s, const std::string& t) -> std::string {
    Real x = 0;
    if (!ParseNumber(t, x)) return InvalidInput(t);
    if (x < lo || x > hi) return RealRangeError(s.numbers, lo, hi);
    ref(s) = static_cast<std::remove_reference_t<decltype(ref(s))>>(x / scale);
    return {};
  };
  return f;
}

// A text of the model (CP850), at most `limit` characters.
template <class Ref>
ConfigField Text(int page, const char* name, std::string label, Ref ref, size_t limit = kMaxFieldChars) {
  ConfigField f{page, name, std::move(label), ConfigControl::Edit, {}, false, {}, {}};
  f.get = [ref](const Settings& s) { return FieldFromStored(ref(const_cast<Settings&>(s))); };
  f.set = [ref, limit](Settings& s, const std::string& t) -> std::string {
    StoredText st = FieldToStored(t, limit);
    if (!st.ok()) return st.error;
    ref(s) = st.text;
    return {};
  };
  return f;
}

// A native text: a path, a program or a command line (UTF-8 as typed).
template <class Ref>
ConfigField Native(int page, const char* name, std::string label, Ref ref, ConfigControl c = ConfigControl::Edit) {
  ConfigField f{page, name, std::move(label), c, {}, false, {}, {}};
  f.get = [ref](const Settings& s) { return ref(const_cast<Settings&>(s)); };
  f.set = [ref, c](Settings& s, const std::string& t) -> std::string {
    if (t.find_first_of("\r\n") != std::string::npos) return InvalidInput(t);
    if (t.size() > 4096) return "Eingabe zu lang (mehr als 4096 Zeichen) !";
    std::string v = c == ConfigControl::Edit ? t : Trim(t);
    if ((c == ConfigControl::Folder || c == ConfigControl::Manual) && !v.empty()) v = FolderWithSlash(v);
    ref(s) = v;
    return {};
  };
  return f;
}

// A check box; `inverse`: checked means the stored flag is false.
template <class Ref>
ConfigField Check(int page, const char* name, std::string label, Ref ref, bool inverse = false) {
  ConfigField f{page, name, std::move(label), ConfigControl::Check, {}, false, {}, {}};
  f.get = [ref, inverse](const Settings& s) {
    return (static_cast<bool>(ref(const_cast<Settings&>(s))) != inverse) ? std::string("1") : std::string("0");
  };
  f.set = [ref, inverse](Settings& s, const std::string& t) -> std::string {
    if (t != "0" && t != "1") return InvalidInput(t);
    ref(s) = (t == "1") != inverse;
    return {};
  };
  return f;
}

// A radio group: item i stands for the value base + i.
template <class Ref>
ConfigField Radio(int page, const char* name, std::string label, std::vector<std::string> items, Ref ref,
                  int base) {
  ConfigField f{page, name, std::move(label), ConfigControl::Radio, std::move(items), false, {}, {}};
  int n = static_cast<int>(f.items.size());
  f.get = [ref, base, n](const Settings& s) {
    long long i = static_cast<long long>(ref(const_cast<Settings&>(s))) - base;
    return i >= 0 && i < n ? IntToText(i) : std::string("-1");
  };
  f.set = [ref, base, n](Settings& s, const std::string& t) -> std::string {
    long long i = 0;
    if (!ParseWhole(t, i) || i < -1 || i >= n) return InvalidInput(t);
    if (i >= 0) ref(s) = static_cast<std::remove_reference_t<decltype(ref(s))>>(base + i);
    return {};
  };
  return f;
}

std::string ColourText(unsigned c) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "#%02X%02X%02X", c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
  return buf;
}

// A screen colour, shown as "#RRGGBB", kept as red + 256 green + 65536 blue.
ConfigField Colour(int page, size_t i) {
  // Named by the colour number that layers and the background use.
  std::string name = "Edit_farbe" + std::to_string(i);
  ConfigField f{page, name, "Farbe " + std::to_string(i), ConfigControl::Colour, {}, true, {}, {}};
  f.get = [i](const Settings& s) { return ColourText(s.screenColours[i]); };
  f.set = [i](Settings& s, const std::string& t) -> std::string {
    std::string v = Trim(t);
    if (v.size() != 7 || v[0] != '#' || v.find_first_not_of("0123456789abcdefABCDEF", 1) != std::string::npos)
      return InvalidInput(t);
    unsigned rgb = static_cast<unsigned>(std::strtoul(v.c_str() + 1, nullptr, 16));
    unsigned c = ((rgb >> 16) & 0xFF) + 256 * ((rgb >> 8) & 0xFF) + 65536 * (rgb & 0xFF);
    // The file keeps a colour of 0 as "unchanged": black is written as 1.
    s.screenColours[i] = c == 0 ? 1 : c;
    return {};
  };
  return f;
}

#define REF(expr) [](Settings& s) -> decltype(auto) { return (s.expr); }

enum Page { kFolders, kGraphics, kCad, kColours, kPrinter, kTextPrint, kOptions, kPrograms, kDrawing };

std::vector<ConfigField> BuildFields() {
  std::vector<ConfigField> v;
  auto add = [&v](ConfigField f) { v.push_back(std::move(f)); };
  // Folders.
  add(Native(kFolders, "Edit_cadordner", "CAD Ordner", REF(cadDir), ConfigControl::Folder));
  add(Native(kFolders, "Edit_dbfordner", "DBF Ordner", REF(dbfDir), ConfigControl::Folder));
  {
    ConfigField t = Native(kFolders, "Edit_tempordner", U("Ordner f\x81r tempor\x84re Dateien"), REF(tempDir),
                           ConfigControl::Folder);
    t.lessButton = true;
    add(std::move(t));
  }
  add(Native(kFolders, "Edit_ediordner", "EDI Ordner", REF(ediDir), ConfigControl::Folder));
  add(Native(kFolders, "Edit_pltordner", "PLT Ordner (Hilfebilder, Hilfetexte, Fehlermeldungen)", REF(pltDir),
             ConfigControl::Folder));
  add(Native(kFolders, "Edit_programmordner", "Programmverzeichnis", REF(programDir), ConfigControl::Folder));
  add(Native(kFolders, "Edit_datenordner", "Datenordner", REF(dataDir), ConfigControl::Folder));
  {
    ConfigField w{kFolders, "Edit_arbeitsordner", "Arbeitsordner", ConfigControl::Shown, {}, false, {}, {}};
    w.get = [](const Settings&) {
      std::error_code ec;
      return FolderWithSlash(fs::current_path(ec).string());
    };
    add(std::move(w));
  }
  add(Check(kFolders, "CheckBox_dbftemp", "copy DBF -> TEMP", REF(copyDbfToTemp)));
  add(Check(kFolders, "CheckBox_usereingabe", "Benutzerordner beim Start abfragen (Enter Password ?)",
            REF(userDataFolders)));

  // Screen graphics.
  add(Check(kGraphics, "CheckBox_farbgrafik", "Farbgrafik", REF(colourGraphics)));
  add(Radio(kGraphics, "RadioGroup_hauptfenster", "Hauptfenster", {"Input", "max 4:3", "max"}, REF(mainWindowSize),
            0));
  add(Int(kGraphics, "Edit_breite", U("Aufl\x94sung horizontal"), REF(windowWidth), 0, 100000, true));
  add(Int(kGraphics, "Edit_hoehe", U("Aufl\x94sung vertikal"), REF(windowHeight), 0, 100000, true));
  add(Num(kGraphics, "Edit_zoom", "Zoomfaktor", REF(zoomFactor), 1e-6L, 1000, true));
  add(Num(kGraphics, "Edit_pan", "Pan-Faktor", REF(panFactor), 1e-6L, 1000, true));
  add(Num(kGraphics, "Edit_textbreitegrafik", "Textbreitenfaktor Grafik", REF(graphicsTextWidthFactor), 1e-6L,
          1000, true));
  add(Text(kGraphics, "Edit_textstilgrafik", "Textstil Grafik", REF(graphicsFont)));
  add(Num(kGraphics, "Edit_texthoehe", U("Texth\x94henfaktor"), REF(textHeightFactor), 0.1L, 1000, true));
  add(Int(kGraphics, "Edit_textstilcodegrafik", "Schriftstil Grafik (Code)", REF(graphicsFontStyle), -100000,
          100000, true));
  add(Radio(kGraphics, "RadioGroup_dialogfenster", "Dialogfenster", {"Input", "Auto"}, REF(dialogWindowSize), 0));
  add(Int(kGraphics, "Edit_dialogskala", U("Gr\x94\xE1" "e der Dialogfenster %"), REF(dialogScale), 10, 1000, true));
  add(Int(kGraphics, "Edit_elementskala", U("Gr\x94\xE1" "e der Dialogelemente %"), REF(dialogElementScale), 10, 1000,
          true));
  add(Check(kGraphics, "CheckBox_3d", "Edit 3D x,y,z ?", REF(ask3dAngles)));
  const char* axes[] = {"x", "y", "z"};
  for (size_t i = 0; i < 3; ++i) {
    std::string name = std::string("Edit_3d") + axes[i];
    ConfigField f = Num(kGraphics, "", std::string("3D - Default ") + axes[i] + U(" [\xF8]"),
                        [i](Settings& s) -> Real& { return s.view3d[i]; }, -3600, 3600, true, 180.0L / kPi);
    f.name = name;
    add(std::move(f));
  }
  add(Int(kGraphics, "Edit_hintergrund", "Hintergrundfarbe (Farbnummer)", REF(backgroundColour), 0, 16, true));

  // CAD.
  for (size_t i = 0; i < 5; ++i) {
    std::string n = std::to_string(i + 1);
    ConfigField name = Text(kCad, "", "Layer " + n, [i](Settings& s) -> std::string& { return s.layers[i].name; }, 31);
    name.name = "Edit_layer" + n;
    add(std::move(name));
    ConfigField colour = Int(kCad, "", "Farbe Layer " + n, [i](Settings& s) -> int& { return s.layers[i].colour; },
                             0, 16, true);
    colour.name = "Edit_layerfarbe" + n;
    add(std::move(colour));
  }
  add(Text(kCad, "Edit_textstilcad", "Textstil CAD", REF(cadTextStyle), 31));
  add(Num(kCad, "Edit_textbreitecad", "Textbreitenfaktor CAD", REF(cadTextWidthFactor), 1e-6L, 1000, true));
  add(Num(kCad, "Edit_textwinkel", "Textwinkel", REF(cadTextAngle), -360, 360, true));
  add(Check(kCad, "CheckBox_layermonochrom", "Layer Monochrom", REF(layerMonochrome)));
  for (size_t n = 0; n < 16; ++n) {
    ConfigField f = Int(kCad, "", "Color Layer " + std::to_string(n + 16),
                        [n](Settings& s) -> int& { return s.layerColours[n]; }, 1, 16, true);
    f.name = "Edit_layerfarbe" + std::to_string(n + 16);
    add(std::move(f));
  }
  add(Check(kCad, "CheckBox_diagrammgrenzen", "Enter Diagram Limits ?", REF(askDiagramLimits)));
  add(Int(kCad, "Edit_dezimalencad", "Decimals DXF,TXT", REF(cadDecimals), 1, 32, true));
  add(Radio(kCad, "RadioGroup_cadtext", "CAD Text Mode", {"OEM (ASCII)", "ANSI", U("\x8E->Ae, \xE1->ss...")},
            REF(numbers.cadTextType), 1));
  add(Check(kCad, "CheckBox_3d2d", "3D->2D DXF/IGES", REF(flatten3d)));
  add(Check(kCad, "CheckBox_cadstart", "CAD-Programm nach dem Schreiben starten", REF(startCadApplication)));
  add(Check(kCad, "CheckBox_boegenlinien", U("Polylinienb\x94gen als Linien"), REF(polylineArcsAsLines)));
  add(Num(kCad, "Edit_bogenaufloesung", U("Aufl\x94sung der B\x94gen als Linien [mm]"), REF(arcLineResolution),
          1e-6L, 1000, true));
  add(Radio(kCad, "RadioGroup_stl", "STL", {"Binary", "ASCII"}, REF(stlType), 0));
  add(Radio(kCad, "RadioGroup_step", "STEP",
            {"0 aus", "1 Drahtmodell", U("2 + geschlossene Fl\x84" "chen"), U("3 + alle Fl\x84" "chen")},
            REF(stepLevel), 0));

  // Colours and line thicknesses (layers 16..31 are edited here only).
  for (size_t i = 0; i < 16; ++i) add(Colour(kColours, i));
  for (size_t n = 0; n < 6; ++n) {
    ConfigField f = Int(kColours, "", U("Strichst\x84rke Layer ") + std::to_string(n),
                        [n](Settings& s) -> int& { return s.lineThickness[n]; }, 1, 255, true);
    f.name = "Edit_strich" + std::to_string(n);
    add(std::move(f));
  }
  for (size_t n = 0; n < 16; ++n) {
    ConfigField f = Int(kColours, "", U("Strichst\x84rke Layer ") + std::to_string(n + 16),
                        [n](Settings& s) -> int& { return s.lineThicknessHigh[n]; }, 1, 255, true);
    f.name = "Edit_strich" + std::to_string(n + 16);
    add(std::move(f));
  }

  // Printer.
  add(Radio(kPrinter, "RadioGroup_schnittstelle", "Druckerschnittstelle", {"LPT1", "LPT2", "LPT3", "LPT4"},
            REF(printerPort), 1));
  add(Radio(kPrinter, "RadioGroup_druckmodus", "Windows-Druckmodus", {"mono", "color"}, REF(windowsPrintMode), 1));
  add(Int(kPrinter, "Edit_druckx", "Nullpunkt x [mm]", REF(printOriginX), -10000, 10000, true));
  add(Int(kPrinter, "Edit_drucky", "Nullpunkt y [mm]", REF(printOriginY), -10000, 10000, true));
  add(Num(kPrinter, "Edit_druckskalax", U("Ma\xE1stab x"), REF(printScaleX), 1e-4L, 1000, true));
  add(Num(kPrinter, "Edit_druckskalay", U("Ma\xE1stab y"), REF(printScaleY), 1e-4L, 1000, true));
  add(Check(kPrinter, "CheckBox_rahmen", "Rahmen um den Ausdruck", REF(printBorder)));
  add(Check(kPrinter, "CheckBox_druckdialog", "Graphic Printout Dialog Box ?", REF(printDialog)));
  add(Radio(kPrinter, "RadioGroup_format", "Papier", {"Hochformat", "Querformat"}, REF(printOrientation), 1));

  // Text printout.
  add(Radio(kTextPrint, "RadioGroup_trennlinien", U("Mode f\x81r Textausdruck"), {"***", "---", "blanks", "compressed"},
            REF(textPrintMode), 1));
  add(Int(kTextPrint, "Edit_zeilen", U("Zeilen pro Seite f\x81r Drucker"), REF(linesPerPage), 5, 10000, true));
  add(Radio(kTextPrint, "RadioGroup_datum", "Date Code", {"DD.MM.YYYY", "MM/DD/YYYY", "YYYY-MM-DD", "DD/MM/YYYY"},
            REF(numbers.dateFormat), 1));
  add(Int(kTextPrint, "Edit_kopfzeilen", "Header Space Lines", REF(headerSpaceLines), 0, 30, true));
  {
    std::vector<std::string> targets;
    for (const std::string& t : ReportEngine::TargetNames()) targets.push_back(U(t.c_str()));
    add(Radio(kTextPrint, "RadioGroup_ausgabe", "Ausgabe", std::move(targets), REF(textDevice), 1));
  }
  add(Check(kTextPrint, "CheckBox_ausgabefrage", "Text Device Window ?", REF(askTextDevice)));
  add(Radio(kTextPrint, "RadioGroup_textfenster", "Textfenster", {"Input", "Auto"}, REF(textWindowSize), 0));
  add(Int(kTextPrint, "Edit_textlinks", "Textfenster links", REF(textWindowLeft), -100000, 100000));
  add(Int(kTextPrint, "Edit_textoben", "Textfenster oben", REF(textWindowTop), -100000, 100000));
  add(Int(kTextPrint, "Edit_textbreite", "Textfenster Breite", REF(textWindowWidth), 1, 100000));
  add(Int(kTextPrint, "Edit_texthoehefenster", U("Textfenster H\x94he"), REF(textWindowHeight), 1, 100000));
  add(Radio(kTextPrint, "RadioGroup_kopf", "Seitenkopf", {"jede Seite", "nur Seite 1"}, REF(pageHeaderMode), 1));
  add(Text(kTextPrint, "Edit_druckschrift", "Text Font Printout", REF(printFont), 63));
  add(Int(kTextPrint, "Edit_druckgroesse", "Text Size Printout", REF(printFontSize), 1, 1000, true));
  add(Int(kTextPrint, "Edit_druckstil", "Text Style Printout", REF(printFontStyle), -100000, 100000, true));
  add(Radio(kTextPrint, "RadioGroup_winkel", "Winkelformat", {U("15.1234\xF8"), "Grad, Minuten, Sekunden"},
            REF(angleFormat), 1));

  // Settings.
  add(Radio(kOptions, "RadioGroup_hilfegrad", "Hilfegrad",
            {"0 : Keine Info nach Eingabe", "1 : Normale Einstellung", "2 : Hilfetextnummern, Quickeingabe"},
            REF(helpLevel), 0));
  add(Int(kOptions, "Edit_dezimalstellen", "Dezimalstellen", REF(numbers.decimals), 1, 9, true));
  add(Check(kOptions, "CheckBox_archiv", "Archive Flag ?", REF(archiveMode)));
  add(Radio(kOptions, "RadioGroup_dezimaltrenner", "Dezimaltrenner", {"Punkt", "Komma"}, REF(outputSeparator), 1));
  {
    std::vector<std::string> units;
    for (int i = 0; i <= 4; ++i) units.push_back(U(UnitSystemText(i).c_str()));
    add(Radio(kOptions, "RadioGroup_einheiten", "Einheiten", std::move(units), REF(numbers.unitSystem), 0));
  }
  add(Radio(kOptions, "RadioGroup_excel", "Tabellenkalkulation", {"English x.xx", "German x,xx"},
            REF(spreadsheetSeparator), 1));
  add(Radio(kOptions, "RadioGroup_sonderzeichen", "Sonderzeichen", {U("\xFD  \xE6  \xF8"), "2 u  deg"},
            REF(numbers.specialChars), 0));
  add(Radio(kOptions, "RadioGroup_ergebnisgrafik", "Ergebnisgrafik nach Calc",
            {"egal", "Quick 1", "Quick 3", "Fertigungszeichnung", "Diagramm", "Zeichnung", "Quick 4"},
            REF(calcResultGraphic), 0));
  add(Check(kOptions, "CheckBox_aktuell", std::string("aktuell.") + kProjectExtension + " ?",
            REF(noAktuellQuestion), true));
  add(Check(kOptions, "CheckBox_sprache", "Save Menu Language ?", REF(saveLanguage)));
  add(Check(kOptions, "CheckBox_bogenwarnung", "Keine Warnungen zu Bogenmittelpunkten", REF(noArcCentreWarnings)));

  // External programs.
  add(Native(kPrograms, "Edit_drawout1", "DRAWOUT-Kommandozeile", REF(plotCommands[0])));
  add(Int(kPrograms, "Edit_drawoutanzahl", "DRAWOUT Command lines (n)", REF(plotCommandCount), 1, 5, true));
  for (size_t k = 1; k < 5; ++k) {
    ConfigField f = Native(kPrograms, "", "DRAWOUT-Kommandozeile " + std::to_string(k + 1),
                           [k](Settings& s) -> std::string& { return s.plotCommands[k]; });
    f.name = "Edit_drawout" + std::to_string(k + 1);
    add(std::move(f));
  }
  add(Native(kPrograms, "Edit_textprogramm", "Textprogramm (leer: zugeordnete Anwendung)", REF(textProgram),
             ConfigControl::Program));
  add(Native(kPrograms, "Edit_browser", "HTML Browser (leer: zugeordnete Anwendung)", REF(htmlBrowser),
             ConfigControl::Program));
  add(Native(kPrograms, "Edit_handbuch", "Ordner des Handbuchs", REF(manualDir), ConfigControl::Manual));

  // Drawing.
  add(Radio(kDrawing, "RadioGroup_index", U("\x8Enderungsindex"), {"a,b,c...", "1,2,3...", "A,B,C...", "....."},
            REF(changeIndexStyle), 0));
  add(Text(kDrawing, "Edit_freigabe", "Freigabe (Schriftfeld)", REF(releaseFieldText)));
  add(Num(kDrawing, "Edit_bemassung", U("Bema\xE1ungsfaktor"), REF(dimensionFactor), 1e-6L, 1000, true));
  const char* options[] = {"Titelzeile Hersteller", "Dateiname", "Datum", "Logo", "", "Zeichnungskopf"};
  const char* optionNames[] = {"CheckBox_titel", "CheckBox_dateiname", "CheckBox_datum",
                               "CheckBox_logo", "CheckBox_fusszeile", "CheckBox_kopf"};
  for (size_t i = 0; i < 6; ++i) {
    // Checked: the part is drawn (the file keeps "switched off").
    ConfigField f = Check(kDrawing, "", i == 4 ? U("Fu\xE1zeile") : std::string(options[i]),
                          [i](Settings& s) -> bool& { return s.drawingOptionsOff[i]; }, true);
    f.name = optionNames[i];
    add(std::move(f));
  }
  add(Radio(kDrawing, "RadioGroup_schriftfeld", "Schriftfeld",
            {"DIN 6771 min.", "ISO 7200 Fig.1", "ISO 7200 Fig.2", "DIN 6771"}, REF(titleBlockForm), 0));
  add(Check(kDrawing, "CheckBox_rechte", "Schutzvermerk im Rahmen", REF(rightsNoteOff), true));
  add(Radio(kDrawing, "RadioGroup_rand", "Zeichnungsrand", {"5 mm", "10 mm"}, REF(frameMargin), 0));
  add(Check(kDrawing, "CheckBox_raster", "ABCD-1234 Rahmenteilung", REF(frameMarkingOff), true));
  add(Check(kDrawing, "CheckBox_mmskala", "mm-Skala am Rahmen", REF(frameScaleOff), true));
  add(Check(kDrawing, "CheckBox_aenderungen", U("\x8Enderungen in der Zeichnung"), REF(showChanges)));
  add(Check(kDrawing, "CheckBox_kopfbloecke", U("DXF-Kopfbl\x94" "cke"), REF(useHeadBlocks)));
  add(Check(kDrawing, "CheckBox_einfuegebloecke", U("DXF-Einf\x81" "gebl\x94" "cke"), REF(useInsertBlocks)));
  return v;
}

#undef REF

}  // namespace

const std::vector<std::string>& ConfigPages() {
  static const std::vector<std::string> pages{"Ordner",        "Grafik",        "CAD",
                                              "Farben",        "Drucker",       "Textausdruck",
                                              "Einstellungen", "Programme",     "Zeichnung"};
  return pages;
}

const std::vector<ConfigField>& ConfigFields() {
  static const std::vector<ConfigField> fields = BuildFields();
  return fields;
}

const ConfigField* FindConfigField(const std::string& name) {
  for (const ConfigField& f : ConfigFields())
    if (f.name == name) return &f;
  return nullptr;
}

std::string FolderWithSlash(const std::string& folder) {
  std::string f = folder;
  while (f.size() > 1 && f.back() == '/' && f[f.size() - 2] == '/') f.pop_back();
  if (!f.empty() && f.back() != '/') f += '/';
  return f;
}

std::string DefaultTempFolder() {
  const char* t = std::getenv("TMPDIR");
  std::error_code ec;
  std::string dir = t && *t ? std::string(t) : fs::temp_directory_path(ec).string();
  if (dir.empty()) dir = "/tmp";
  return FolderWithSlash(dir);
}

bool IsExecutableFile(const std::string& path) {
  struct stat st {};
  return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && ::access(path.c_str(), X_OK) == 0;
}

PixelSize LargestClientSize(const ScreenInfo& sc) {
  int w = sc.maxClientWidth > 0 ? sc.maxClientWidth : sc.width - 9;
  int h = sc.maxClientHeight > 0 ? sc.maxClientHeight : sc.height - 91;
  return {std::max(w, 1), std::max(h, 1)};
}

namespace {
int Round(double x) { return static_cast<int>(std::lround(x)); }

// Width and height at 4:3 from one side, the other side following it; a side
// beyond the largest client size takes the limit and the other follows again.
PixelSize FourThree(int width, int height, bool fromHeight, const ScreenInfo& sc) {
  PixelSize max = LargestClientSize(sc);
  if (fromHeight) {
    height = std::clamp(height, 1, max.height);
    width = Round(height * 4.0 / 3.0);
  } else {
    width = std::clamp(width, 1, max.width);
    height = Round(width * 3.0 / 4.0);
  }
  if (width > max.width) {
    width = max.width;
    height = Round(width * 3.0 / 4.0);
  }
  if (height > max.height) {
    height = max.height;
    width = Round(height * 4.0 / 3.0);
  }
  return {width, height};
}
}  // namespace

PixelSize WidthFromHeight(int height, const ScreenInfo& sc) { return FourThree(0, height, true, sc); }
PixelSize HeightFromWidth(int width, const ScreenInfo& sc) { return FourThree(width, 0, false, sc); }

ConfigEditor::ConfigEditor(Session& session, ConfigPlace place, ConfigContext ctx)
    : session_(session), place_(std::move(place)), ctx_(std::move(ctx)), working_(session.settings) {}

std::string ConfigEditor::text(const std::string& name) const {
  const ConfigField* f = FindConfigField(name);
  return f && f->get ? f->get(working_) : std::string();
}

bool ConfigEditor::store(const std::string& name, const std::string& text) {
  const ConfigField* f = FindConfigField(name);
  if (!f || !f->set) return true;
  if (text == f->get(working_)) return true;
  std::string error = f->set(working_, text);
  if (error.empty()) return true;
  session_.ui.showError(error);
  return false;
}

bool ConfigEditor::storeAll(const std::vector<std::pair<std::string, std::string>>& texts, std::string* refused) {
  // All or nothing: a refused text leaves the edited values as they were.
  Settings before = working_;
  for (const auto& [name, text] : texts) {
    if (store(name, text)) continue;
    working_ = before;
    if (refused) *refused = name;
    return false;
  }
  return true;
}

void ConfigEditor::apply() { session_.settings = working_; }

bool ConfigEditor::save() {
  apply();
  return writeConfig(session_.settings, session_.ui, place_.path());
}

bool ConfigEditor::importFile(const std::string& path) {
  Ui& ui = session_.ui;
  if (!ui.checkReadable(path)) return false;
  // Only what looks like a configuration is read: its title line.
  std::string first;
  if (std::FILE* f = std::fopen(path.c_str(), "rb")) {
    char buf[256];
    size_t n = std::fread(buf, 1, sizeof buf, f);
    std::fclose(f);
    first.assign(buf, n);
    first = first.substr(0, first.find_first_of("\r\n"));
  }
  if (Trim(first).size() < 13 || Trim(first).substr(Trim(first).size() - 13) != "Konfiguration") {
    ui.showError("Keine Konfigurationsdatei: " + Utf8ToCp850(path));
    ui.flags().abortFlag = true;
    return false;
  }
  Settings copy = working_;
  if (!readConfigFile(copy, ui, path, ctx_)) {
    ui.showError("Datei " + Utf8ToCp850(path) + " nicht gefunden oder kein Zugriffsrecht !");
    return false;
  }
  // A text no control could hold is cut to what a field takes.
  auto cut = [](std::string& t, size_t n) {
    if (t.size() > n) t.resize(n);
  };
  for (auto& l : copy.layers) cut(l.name, 31);
  for (std::string* t : {&copy.cadTextStyle, &copy.graphicsFont, &copy.printFont, &copy.releaseFieldText})
    cut(*t, kMaxFieldChars);
  for (std::string* t : {&copy.cadDir, &copy.dbfDir, &copy.tempDir, &copy.ediDir, &copy.pltDir, &copy.programDir,
                         &copy.textProgram, &copy.externalDatabase, &copy.dataDir, &copy.htmlBrowser, &copy.manualDir})
    cut(*t, 4096);
  for (std::string& t : copy.plotCommands) cut(t, 4096);
  working_ = copy;
  return true;
}

bool ConfigEditor::importChosen() {
  FileDialog d;
  d.caption = "Import";
  d.directory = place_.dir;
  d.filter = "*.cfg|*.cfg";
  auto chosen = session_.ui.port().openFile(d);
  if (!chosen || chosen->empty()) return false;
  return importFile(*chosen);
}

bool ConfigEditor::exportFile(const std::string& path) { return writeConfig(working_, session_.ui, path); }

bool ConfigEditor::exportChosen() {
  FileDialog d;
  d.caption = "Export";
  d.directory = place_.dir;
  d.filter = "*.cfg|*.cfg";
  d.proposed = place_.stem + ".cfg";
  auto chosen = session_.ui.port().saveFile(d);
  if (!chosen || chosen->empty() || FileNamePart(*chosen).empty()) return false;
  std::string path = *chosen;
  if (FileNamePart(path).find('.') == std::string::npos) path += ".cfg";
  if (!session_.ui.checkNewFile(path)) return false;
  return exportFile(path);
}

std::vector<std::pair<std::string, std::string>> ConfigEditor::lessButton(
    const std::string& name, const std::function<std::string(const std::string&)>& current) const {
  auto number = [&current](const std::string& field) {
    long long v = 0;
    return ParseWhole(current(field), v) ? static_cast<int>(std::clamp<long long>(v, 0, 100000)) : 0;
  };
  if (name == "Button_fenstermax") {
    PixelSize m = LargestClientSize(ctx_.screen);
    return {{"Edit_breite", IntToText(m.width)}, {"Edit_hoehe", IntToText(m.height)}};
  }
  if (name == "Edit_breite") {
    PixelSize p = WidthFromHeight(number("Edit_hoehe"), ctx_.screen);
    return {{"Edit_breite", IntToText(p.width)}, {"Edit_hoehe", IntToText(p.height)}};
  }
  if (name == "Edit_hoehe") {
    PixelSize p = HeightFromWidth(number("Edit_breite"), ctx_.screen);
    return {{"Edit_breite", IntToText(p.width)}, {"Edit_hoehe", IntToText(p.height)}};
  }
  if (name == "Edit_druckskalay") return {{name, current("Edit_druckskalax")}};
  if (name == "Edit_tempordner") return {{name, DefaultTempFolder()}};
  const ConfigField* f = FindConfigField(name);
  if (!f || !f->lessButton) return {};
  Settings defaults;
  defaults.numbers.decimalSeparator = working_.numbers.decimalSeparator;
  return {{name, f->get(defaults)}};
}

std::optional<std::string> ConfigEditor::pick(const std::string& name, const std::string& current) {
  const ConfigField* f = FindConfigField(name);
  if (!f) return std::nullopt;
  Ui& ui = session_.ui;
  FileDialog d;
  d.caption = f->label;
  std::error_code ec;
  switch (f->control) {
    case ConfigControl::Folder: {
      d.directory = !current.empty() && fs::is_directory(current, ec) ? current : fs::current_path(ec).string();
      auto chosen = ui.port().chooseDirectory(d);
      if (!chosen || chosen->empty()) return std::nullopt;
      return FolderWithSlash(*chosen);
    }
    case ConfigControl::Program: {
      d.directory = DirectoryPart(current);
      d.filter = "*|*";
      auto chosen = ui.port().openFile(d);
      if (!chosen || chosen->empty()) return std::nullopt;
      if (!IsExecutableFile(*chosen)) {
        ui.showError("Kein ausf\x81hrbares Programm: " + Utf8ToCp850(*chosen));
        return std::nullopt;
      }
      return *chosen;
    }
    case ConfigControl::Manual: {
      d.directory = current;
      d.filter = std::string(kFileStem) + ".htm|" + kFileStem + ".htm";
      auto chosen = ui.port().openFile(d);
      if (!chosen || chosen->empty()) return std::nullopt;
      std::string dir = DirectoryPart(*chosen);
      return dir.empty() ? std::nullopt : std::optional<std::string>(FolderWithSlash(dir));
    }
    default:
      return std::nullopt;
  }
}

}  // namespace kamo
