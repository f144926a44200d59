// Every element reaches every output of the format table: drawn natively, or
// broken down (arcs into lines, solids into edges, polylines into lines), or
// left out only where the table says the format drops it by design.
#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <string>

#include "cad/formats.h"
#include "cad_fixture.h"
#include "display/displaylist.h"

namespace kamo {
namespace {

using test::CadFixture;

// What one element drew in one output: the count of the output's own marks
// of drawn geometry (entities, element lines, curves, facets, records).
struct Marks {
  int lines = 0, arcs = 0, circles = 0, solids = 0, texts = 0, polylines = 0;
  int total() const { return lines + arcs + circles + solids + texts + polylines; }
};

int Count(const std::string& s, const std::string& what) {
  int n = 0;
  for (size_t p = s.find(what); p != std::string::npos; p = s.find(what, p + what.size())) ++n;
  return n;
}

Marks MarksOf(CadOutputKind kind, const std::string& file, const DisplayList& display) {
  Marks m;
  switch (kind) {
    case CadOutputKind::Dxf:
    case CadOutputKind::Plot: {
      std::string ent = file.substr(file.find("ENTITIES"));
      m.lines = Count(ent, "\r\nLINE\r\n");
      m.arcs = Count(ent, "\r\nARC\r\n");
      m.circles = Count(ent, "\r\nCIRCLE\r\n");
      m.solids = Count(ent, "\r\nSOLID\r\n");
      m.texts = Count(ent, "\r\nTEXT\r\n");
      m.polylines = Count(ent, "\r\nPOLYLINE\r\n");
      break;
    }
    case CadOutputKind::Text:
      m.lines = Count(file, "\nLINE\t");
      m.arcs = Count(file, "\nARC\t");
      m.circles = Count(file, "\nCIRCLE\t");
      m.solids = Count(file, "\nSOLID\t");
      m.texts = Count(file, "\nTEXT\t");
      break;
    case CadOutputKind::Iges: {
      // The directory entries: type in columns 1..8 of the first line of each.
      size_t p = 0;
      while (p < file.size()) {
        size_t e = file.find('\n', p);
        std::string line = file.substr(p, e == std::string::npos ? std::string::npos : e - p);
        p = e == std::string::npos ? file.size() : e + 1;
        if (line.size() < 80 || line[72] != 'D' || std::stoi(line.substr(73, 7)) % 2 == 0) continue;
        int type = std::stoi(line.substr(0, 8));
        if (type == 110) ++m.lines;
        if (type == 100) ++m.arcs;
        if (type == 106) ++m.solids;
        if (type == 212) ++m.texts;
      }
      break;
    }
    case CadOutputKind::Step:
      m.lines = Count(file, "= LINE(");
      m.circles = Count(file, "= CIRCLE(");
      m.texts = Count(file, "TEXT_LITERAL");
      break;
    case CadOutputKind::Stl:
      m.solids = Count(file, "facet normal");
      break;
    case CadOutputKind::StepSolid:
    case CadOutputKind::StepContour:
      m.polylines = Count(file, "ADVANCED_FACE(") + Count(file, "COMPOSITE_CURVE(");
      break;
    case CadOutputKind::Screen:
      for (const std::string& r : display.records()) {
        int code = ParseDisplayRecord(r).code;
        m.lines += code == 4 || code == 2;
        m.arcs += code == 5;
        m.circles += code == 3;
        m.solids += code == 7;
        m.texts += code == 6;
      }
      break;
  }
  return m;
}

// One drawing through the whole structure, every pass; the file written.
std::string Draw(CadFixture& f, CadOutputKind kind, const std::function<void(CadOutput&)>& draw) {
  CadOutput& c = *f.cad;
  c.CadOpen(CodeOf(kind), "KAMO");
  c.CadWindow(0, 0, 100, 100, kind == CadOutputKind::Stl ? 10 : 0);
  c.CadTables(0);
  c.CadBeginBlocks();
  c.CadEndSection();
  int passes = 0;
  do {
    c.CadBeginEntities();
    c.CadLayer(3);
    draw(c);
    c.CadEndSection();
  } while (!c.CadPassDone() && ++passes < 5);
  std::string path = c.outputFileName();
  c.CadClose();
  return path.empty() ? std::string() : test::ReadFileBytes(path);
}

struct Element {
  const char* name;
  const char* droppedAs;  // the word of the table's drops that covers it ("" for none)
  std::function<void(CadOutput&)> draw;
};

TEST(EveryElement, ReachesEveryFormatOfTheTable) {
  const Element elements[] = {
      {"line", "", [](CadOutput& c) { c.CadLine(10, 10, 40, 20); }},
      {"arc", "", [](CadOutput& c) { c.CadArc(50, 50, 10, 120, 8); }},
      {"circle", "", [](CadOutput& c) { c.CadCircle(30, 60, 6); }},
      {"solid", "", [](CadOutput& c) { c.CadSolid(60, 10, 80, 10, 80, 25, 60, 25); }},
      {"arrow head", "", [](CadOutput& c) { c.CadSolid(60, 10, 50, 12, 50, 8, 60, 10); }},
      {"text", "texts", [](CadOutput& c) { c.CadTextStyle(2, 0, 5, 4); c.CadText("KAMO", 20, 80); }},
      {"polyline", "",
       [](CadOutput& c) {
         c.CadBeginPolyline(1);
         c.CadVertex(70, 70, 0);
         c.CadVertex(90, 70, 0.5L);
         c.CadVertex(90, 90, 0);
         c.CadEndPolyline();
       }},
  };
  for (const OutputFormat& format : kOutputFormats) {
    if (!format.cad) continue;  // pictures are painted from the screen's records
    // The cam's solid and contour forms draw one body of the cam, no drawings.
    if (!(format.jobs & (kJobChoice | kJobSheet | kJobDiagram | kJobCadOption))) continue;
    for (const Element& e : elements) {
      CadFixture f;
      f.settings.stlType = 1;  // ASCII facets
      auto drawing = [&](bool withElement) {
        f.reset();
        f.display.Clear();
        std::string file = Draw(f, format.kind, [&](CadOutput& c) {
          if (withElement) e.draw(c);
        });
        return MarksOf(format.kind, file, f.display);
      };
      Marks empty = drawing(false);
      Marks with = drawing(true);
      std::string what = std::string(format.helpName) + ": " + e.name;
      bool dropped = *e.droppedAs && std::string(format.drops).find(e.droppedAs) != std::string::npos;
      if (dropped)
        EXPECT_EQ(with.total(), empty.total()) << what << " is dropped by design";
      else
        EXPECT_GT(with.total(), empty.total()) << what << " is lost";
    }
  }
}

// What each format makes of a filled quadrangle when it has no fill: its edges.
TEST(EveryElement, SolidsWithoutFillBecomeTheirEdges) {
  CadFixture f;
  std::string file = Draw(f, CadOutputKind::Step, [](CadOutput& c) { c.CadSolid(0, 0, 10, 0, 10, 5, 0, 5); });
  EXPECT_EQ(Count(file, "= LINE("), 4);
}

// No number that belongs to no drawing reaches any format: an element that
// carries nan, an infinity or a number beyond double precision is left out,
// and what follows it is drawn exactly as if it had not been there.
TEST(EveryElement, NumbersThatAreNoneReachNoFormat) {
  const Real bad[] = {std::numeric_limits<Real>::quiet_NaN(), std::numeric_limits<Real>::infinity(),
                      -std::numeric_limits<Real>::infinity(), 1e4000L};
  struct Case {
    const char* name;
    std::function<void(CadOutput&, Real)> draw;   // the element with the number v in it
    std::function<void(CadOutput&)> reference;    // what must be drawn instead (nothing when empty)
  };
  auto polyline = [](CadOutput& c, bool withBad, Real v) {
    c.CadBeginPolyline(0);
    c.CadVertex(70, 70, 0);
    if (withBad) c.CadVertex(v, 80, 0.5L);
    c.CadVertex(90, 70, 0.5L);
    c.CadVertex(90, 90, 0);
    c.CadEndPolyline();
  };
  const Case cases[] = {
      {"line start", [](CadOutput& c, Real v) { c.CadLine(v, 10, 40, 20); }, {}},
      {"line end", [](CadOutput& c, Real v) { c.CadLine(10, 10, 40, v); }, {}},
      {"arc centre", [](CadOutput& c, Real v) { c.CadArc(v, 50, 10, 120, 8); }, {}},
      {"arc radius", [](CadOutput& c, Real v) { c.CadArc(50, 50, 10, 120, v); }, {}},
      {"arc angle", [](CadOutput& c, Real v) { c.CadArc(50, 50, v, 120, 8); }, {}},
      {"arc sweep", [](CadOutput& c, Real v) { c.CadArcSweep(50, 50, 10, 120, 8, v); }, {}},
      {"circle centre", [](CadOutput& c, Real v) { c.CadCircle(30, v, 6); }, {}},
      {"circle radius", [](CadOutput& c, Real v) { c.CadCircle(30, 60, v); }, {}},
      {"hole radius", [](CadOutput& c, Real v) { c.CadHoleCircle(30, 60, v); }, {}},
      {"solid corner", [](CadOutput& c, Real v) { c.CadSolid(60, 10, 80, 10, 80, v, 60, 25); }, {}},
      {"arrow", [](CadOutput& c, Real v) { c.CadArrow("", 10, 10, v, 40); }, {}},
      {"text position", [](CadOutput& c, Real v) { c.CadText("KAMO", v, 80); }, {}},
      {"text height",
       [](CadOutput& c, Real v) {
         c.CadTextStyle(2, 0, v, 4);
         c.CadText("KAMO", 20, 80);
         c.CadTextStyle(2, 0, 5, 4);
       },
       [](CadOutput& c) { c.CadTextStyle(2, 0, 5, 4); }},
      {"text angle",
       [](CadOutput& c, Real v) {
         c.CadTextStyle(2, v, 5, 4);
         c.CadText("KAMO", 20, 80);
         c.CadTextStyle(2, 0, 5, 4);
       },
       [](CadOutput& c) { c.CadTextStyle(2, 0, 5, 4); }},
      {"polyline vertex", [&](CadOutput& c, Real v) { polyline(c, true, v); },
       [&](CadOutput& c) { polyline(c, false, 0); }},
  };
  // What follows the element: a line, a circle and a text.
  auto after = [](CadOutput& c) {
    c.CadLine(1, 2, 3, 4);
    c.CadCircle(30, 30, 5);
    c.CadText("DA", 40, 40);
  };
  for (const OutputFormat& format : kOutputFormats) {
    if (!format.cad) continue;
    for (const Case& k : cases) {
      CadFixture f;
      f.settings.stlType = 1;  // ASCII facets
      auto drawing = [&](const std::function<void(CadOutput&)>& element) {
        f.reset();
        f.display.Clear();
        std::string file = Draw(f, format.kind, [&](CadOutput& c) {
          c.CadTextStyle(2, 0, 5, 4);
          if (element) element(c);
          after(c);
        });
        return std::pair{file, f.display.records()};
      };
      const auto reference = drawing(k.reference);
      for (Real v : bad) {
        std::string what = std::string(format.helpName) + ": " + k.name + " " +
                           std::to_string(static_cast<double>(v));
        const auto got = drawing([&](CadOutput& c) { k.draw(c, v); });
        EXPECT_EQ(got.first, reference.first) << what;
        EXPECT_EQ(got.second, reference.second) << what;
      }
    }
  }
}

}  // namespace
}  // namespace kamo
