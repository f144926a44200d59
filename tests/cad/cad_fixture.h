// A CAD output with scripted UI, own temporary folder and batch file names.
#pragma once
#include <memory>
#include <string>

#include "cad/cad.h"
#include "support/cad_surroundings.h"

namespace kamo::test {

struct CadFixture : CadSurroundings {
  std::unique_ptr<CadOutput> cad;

  CadFixture() { reset(); }
  void reset() { cad = std::make_unique<CadOutput>(environment()); }
  // Opens kind with window, tables and an empty blocks section, and begins the entities.
  void begin(int kind, int tables = 0) {
    cad->CadOpen(kind, "KAMO");
    cad->CadWindow(0, 0, 100, 100, 0);
    cad->CadTables(tables);
    cad->CadBeginBlocks();
    cad->CadEndSection();
    cad->CadBeginEntities();
  }
  // Ends the entities, closes, and returns the written file.
  std::string end(const std::string& ext) {
    cad->CadEndSection();
    cad->CadClose();
    return ReadFileBytes(temp.file("out." + ext));
  }
  // The lines of the element text between "SECTION ENTITIES" and "EOF".
  static std::string entities(const std::string& text) {
    size_t a = text.find("SECTION ENTITIES\r\n");
    size_t b = text.rfind("EOF\r\n");
    if (a == std::string::npos || b == std::string::npos) return "";
    a += 18;
    return text.substr(a, b - a);
  }
};

}  // namespace kamo::test
