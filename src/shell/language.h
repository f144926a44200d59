// The words of the menus in the user's language: the general words shared by
// the program family, the words of this program's own commands, and the words
// of the drawings (German only). Menu words are UTF-8, since they are shown
// only on the display and several languages lie outside the DOS code page;
// the drawing words are CP850 like every text that goes into a drawing.
#pragma once
#include <string>
#include <vector>

namespace kamo {

enum LanguageCode : int {
  lcGerman = 1,
  lcEnglish = 2,
  lcFrench = 3,
  lcItalian = 4,
  lcSwedish = 5,
  lcPortuguese = 6,
  lcRomanian = 7,
  lcKorean = 8,
  lcSpanish = 9,
  lcChinese = 12,
};

struct GeneralWords {
  std::string menu, file, fileNew, open, save, saveAs, deleteWord, settings, exit, copy, paste,
      print, importWord, exportWord, edit, text, quick, view, standardPrintout, extractPrintout,
      database, cad, drawing, diagrams, document, drawingData, showChanges, printChanges,
      newChange, editLastChange, deleteLastChange, documentSetup, help, helpPicture,
      errorMessages, printout, language, dimensions, animation, manual;
};

struct CommandWords {
  std::string geometry, operatingData, calculation, follower, reset, table, polyline, graphics;
};

struct DrawingWords {
  std::string line, drawingName, drawingNumber;  // CP850
};

struct LanguageTexts {
  LanguageTexts();  // German
  GeneralWords general;
  CommandWords command;
  DrawingWords drawing;
  int menuLanguage = 0;  // the code last applied; 0 = none since the start
};

// Overwrites the general and command words that `code` defines and stores the
// code; entries the language does not define keep the previous word, and an
// unknown code changes nothing. True when the code has a table.
bool applyLanguage(LanguageTexts& texts, int code);
// The drawing words; only German exists.
void applyDrawingLanguage(LanguageTexts& texts, int code);

// The languages of the Help menu, in menu order.
struct LanguageEntry {
  int code;
  const char* caption;
};
const std::vector<LanguageEntry>& LanguageMenuEntries();

}  // namespace kamo
