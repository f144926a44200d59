// Sheets and diagrams written as PDF, SVG and PNG by the batch jobs, checked
// with poppler's pdfinfo and pdftotext.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <sstream>

#include "cam/kamorech.h"
#include "core/codepage.h"
#include "core/numbers.h"
#include "core/ui.h"
#include "io/kamoio.h"
#include "render/exporters.h"
#include "shell/cmdline.h"
#include "shell/console_port.h"
#include "shell/session.h"
#include "picture_batch.h"
#include "support/scripted_port.h"

namespace kamo {
namespace {

namespace fs = std::filesystem;
using test::ReadFileBytes;
using test::Batch;
using test::Outcome;
using test::Example;
using test::TempFolder;
const std::string kSource = KAMO_SOURCE_DIR;


TEST(BatchPictures, EverySheetAndDiagramInEveryPictureFormat) {
  TempFolder work;
  for (const char* format : {"dxf", "txt", "pdf", "svg", "png"}) {
    for (int k = 1; k <= 10; ++k) {
      std::string out = work.file("sheet" + std::to_string(k) + "." + format);
      Outcome r = Batch({Example("eccentric"), "--sheet", std::to_string(k), "--format", format, "-o", out},
                    work.path());
      ASSERT_EQ(r.code, 0) << format << " " << k << " " << r.err;
      EXPECT_GT(fs::file_size(out), 500u) << format << " " << k;
    }
    for (int k = 1; k <= 9; ++k) {
      std::string out = work.file("diagram" + std::to_string(k) + "." + format);
      Outcome r = Batch({Example("sine"), "--diagram", std::to_string(k), "--format", format, "-o", out},
                    work.path());
      ASSERT_EQ(r.code, 0) << format << " " << k << " " << r.err;
      EXPECT_GT(fs::file_size(out), 500u) << format << " " << k;
    }
  }
  // Every SVG is well-formed XML for a parser we did not write.
  std::string check = test::CommandOutput("/usr/bin/python3 -c \"import sys, xml.dom.minidom as m; "
                              "[m.parse(f) for f in sys.argv[1:]]; print('OK')\" " +
                              work.path() + "/*.svg 2>&1");
  EXPECT_EQ(check, "OK\n");
  EXPECT_EQ(test::CommandOutput("file -b " + work.file("sheet10.png")).substr(0, 9), "PNG image");
}

// Every example, every sheet and diagram, every format: run by hand
// (ctest -L long), it takes a while.
TEST(LongMatrix, DISABLED_EveryExampleSheetDiagramAndFormat) {
  TempFolder work;
  for (const auto& e : fs::directory_iterator(kSource + "/examples")) {
    if (e.path().extension() != ".kmo") continue;
    for (const char* format : {"dxf", "txt", "pdf", "svg", "png"}) {
      for (int k = 1; k <= 10 + 9; ++k) {
        bool sheet = k <= 10;
        std::string kind = std::to_string(sheet ? k : k - 10);
        std::string out = work.file(e.path().stem().string() + "_" + std::to_string(k) + "." + format);
        Outcome r = Batch({e.path().string(), sheet ? "--sheet" : "--diagram", kind, "--format", format, "-o", out},
                          work.path());
        ASSERT_EQ(r.code, 0) << out << " " << r.err;
        EXPECT_GT(fs::file_size(out), 200u) << out;
      }
    }
  }
}

// Every example through the command line in every format, the kinds taken in
// turn so that each sheet and diagram kind comes out in several formats; the
// PDF pages are the sheet's paper or A4 landscape.
TEST(BatchPictures, EveryExampleInEveryFormat) {
  TempFolder work;
  const char* formats[] = {"dxf", "txt", "pdf", "svg", "png"};
  int turn = 0;
  std::vector<std::string> examples;
  for (const auto& e : fs::directory_iterator(kSource + "/examples"))
    if (e.path().extension() == ".kmo") examples.push_back(e.path().string());
  std::sort(examples.begin(), examples.end());
  ASSERT_GE(examples.size(), 5u);
  for (const std::string& example : examples) {
    std::string stem = fs::path(example).stem().string();
    for (const char* format : formats) {
      int sheet = turn % 10 + 1, diagram = turn % 9 + 1;
      ++turn;
      for (bool isSheet : {true, false}) {
        int kind = isSheet ? sheet : diagram;
        std::string out = work.file(stem + (isSheet ? "_s" : "_d") + std::to_string(kind) + "." + format);
        Outcome r = Batch({example, isSheet ? "--sheet" : "--diagram", std::to_string(kind), "--format", format,
                           "-o", out},
                          work.path());
        ASSERT_EQ(r.code, 0) << out << " " << r.err;
        ASSERT_GT(fs::file_size(out), 200u) << out;
        if (std::string(format) != "pdf") continue;
        std::string info = test::CommandOutput("pdfinfo " + out + " 2>&1");
        double w = 0, h = 0;
        size_t at = info.find("Page size:");
        ASSERT_NE(at, std::string::npos) << info;
        ASSERT_EQ(std::sscanf(info.c_str() + at, "Page size: %lf x %lf", &w, &h), 2) << info;
        bool a3 = isSheet && kind == 10, portrait = isSheet && kind == 5;
        EXPECT_NE(info.find(a3 ? "(A3)" : "(A4)", at), std::string::npos) << out << info;
        EXPECT_EQ(w < h, portrait) << out << info;
      }
    }
  }
  EXPECT_EQ(test::CommandOutput("/usr/bin/python3 -c \"import sys, xml.dom.minidom as m; "
                    "[m.parse(f) for f in sys.argv[1:]]; print('OK')\" " + work.path() + "/*.svg 2>&1"),
            "OK\n");
}

// A project of our own with a drawing name, number and changes.
std::string NamedProject(const TempFolder& work, CamProject& p) {
  test::ScriptedPort port;
  Settings settings;
  Flags flags;
  UiState state;
  Ui ui(port, flags, state, settings.numbers);
  EXPECT_TRUE(ReadProject(ui, settings, Example("eccentric"), p));
  p.drawing.zeichname = "Kurvenscheibe Hub 20";
  p.drawing.zeichnr = "KS-4711";
  p.drawing.zeichname2 = "Exzenter";
  std::string path = work.file("named.kmo");
  test::WriteFileBytes(path, ProjectToBytes(settings, p));
  MessageList messages;
  Calculate(p, messages, flags, settings);
  return path;
}

TEST(BatchPictures, ProductionDrawingsArePrintable) {
  TempFolder work;
  CamProject p;
  std::string project = NamedProject(work, p);
  NumberStyle ns;
  struct Case {
    int kind;
    const char* paper;
    bool landscape;
  } cases[] = {{10, "(A3)", true}, {5, "(A4)", false}};
  for (const Case& c : cases) {
    std::string pdf = work.file("sheet" + std::to_string(c.kind) + ".pdf");
    Outcome r = Batch({project, "--sheet", std::to_string(c.kind), "--format", "pdf", "-o", pdf}, work.path());
    ASSERT_EQ(r.code, 0) << r.err;
    std::string info = test::CommandOutput("pdfinfo " + pdf + " 2>&1");
    size_t at = info.find("Page size:");
    ASSERT_NE(at, std::string::npos) << info;
    double w = 0, h = 0;
    ASSERT_EQ(std::sscanf(info.c_str() + at, "Page size: %lf x %lf", &w, &h), 2) << info;
    EXPECT_EQ(w > h, c.landscape) << info;
    EXPECT_NE(info.find(c.paper, at), std::string::npos) << info;
    std::string text = test::CommandOutput("pdftotext -raw " + pdf + " - 2>&1");
    for (const char* label : {"Erstellt durch", "Genehmigt von", "Dokumentenart", "Ausgabedatum",
                              "Kurvenscheibe Hub 20", "KS-4711", "Exzenter", "phi min", "phi max"})
      EXPECT_NE(text.find(label), std::string::npos) << c.kind << " " << label;
    EXPECT_NE(text.find(FormatLength(ns, p.results.rMax)), std::string::npos) << c.kind;
    EXPECT_NE(text.find(FormatLength(ns, p.results.rMin)), std::string::npos) << c.kind;
    EXPECT_NE(text.find(FormatAuto(ns, p.results.vMax)), std::string::npos) << c.kind;
  }
}

TEST(BatchPictures, UsageAndFailures) {
  TempFolder work;
  struct Case {
    std::vector<std::string> args;
    int code;
    const char* says;
  } cases[] = {
      {{Example("sine"), "--sheet", "11", "--format", "pdf"}, 2, "unknown kind"},
      {{Example("sine"), "--sheet", "x", "--format", "pdf"}, 2, "unknown kind"},
      {{Example("sine"), "--diagram", "10", "--format", "png"}, 2, "unknown kind"},
      {{Example("sine"), "--diagram", "0", "--format", "png"}, 2, "unknown kind"},
      {{Example("sine"), "--diagram", "1", "--format", "bmp"}, 2, "unknown format"},
      {{Example("sine"), "--diagram", "1"}, 2, "needs --format"},
      {{work.file("missing.kmo"), "--sheet", "1", "--format", "svg"}, 1, ""},
      {{Example("sine"), "--sheet", "10", "--format", "png", "-o", "/nonexistent-dir/x.png"}, 1, "x.png"},
      {{Example("sine"), "--sheet", "5", "--format", "dxf", "-o", "/nonexistent-dir/x.dxf"}, 1, "x.dxf"},
      {{Example("sine"), "--diagram", "2", "--format", "pdf", "-o", "/nonexistent-dir/x.pdf"}, 1, "x.pdf"},
  };
  for (const Case& c : cases) {
    Outcome r = Batch(c.args, work.path());
    EXPECT_EQ(r.code, c.code) << c.args[1] << " " << c.args[2] << " " << r.err;
    EXPECT_NE(r.err.find(c.says), std::string::npos) << r.err;
  }
  // The CAD writers: written, not built yet, or refused with a reason (a solid needs a width).
  for (const char* format : {"igs", "stp", "stl"}) {
    std::string out = work.file(std::string("solid.") + format);
    Outcome r = Batch({Example("sine"), "--sheet", "2", "--format", format, "-o", out}, work.path());
    if (r.code == 0)
      EXPECT_GT(fs::file_size(out), 100u) << format;
    else
      EXPECT_TRUE((r.code == 2 && r.err.find("not available yet") != std::string::npos) ||
                  (r.code == 1 && !r.err.empty()))
          << format << r.err;
  }
  // Without -o the file is the project's stem with the format's extension.
  ASSERT_EQ(Batch({Example("sine"), "--diagram", "4", "--format", "svg"}, work.path()).code, 0);
  EXPECT_TRUE(fs::exists(work.file("sine.svg")));
  ASSERT_EQ(Batch({Example("sine"), "--sheet", "9", "--format", "dxf"}, work.path()).code, 0);
  EXPECT_TRUE(fs::exists(work.file("sine.dxf")));
}

}  // namespace
}  // namespace kamo
