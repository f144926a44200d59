// Every batch job against every hostile output place: the project given as
// the output (by any name), a project named like an output, unrelated files
// beside the output, links, folders, FIFOs and devices as the output, a
// read-only folder and a full disk. No byte of a file the job does not own
// may change, nothing may be left behind, and the answer must say why.
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <sstream>

#include "core/clock.h"
#include "io/kamoio.h"
#include "render/exporters.h"
#include "shell/cmdline.h"
#include "shell/console_port.h"
#include "shell/session.h"
#include "support/scripted_port.h"

namespace kamo {
namespace {

namespace fs = std::filesystem;
const std::string kSource = KAMO_SOURCE_DIR;

struct Job {
  const char* name;
  std::vector<std::string> args;
  const char* extension;  // of the default output
};

const std::vector<Job>& Jobs() {
  static const std::vector<Job> jobs = {
      {"/I", {"/I"}, "txt"},
      {"--printout txt", {"--printout", "--format", "txt"}, "txt"},
      {"--printout tsv", {"--printout", "--format", "tsv"}, "tsv"},
      {"--printout html", {"--printout", "--format", "html"}, "html"},
      {"--changes txt", {"--changes", "--format", "txt"}, "txt"},
      {"--changes html", {"--changes", "--format", "html"}, "html"},
      {"/CAD1:1", {"/CAD1:1"}, "dxf"},
      {"/CAD5:4", {"/CAD5:4"}, "txt"},
      {"/CAD2:1", {"/CAD2:1"}, "igs"},
      {"/CAD7:8", {"/CAD7:8"}, "stp"},
      {"--sheet 1 dxf", {"--sheet", "1", "--format", "dxf"}, "dxf"},
      {"--sheet 10 pdf", {"--sheet", "10", "--format", "pdf"}, "pdf"},
      {"--sheet 5 svg", {"--sheet", "5", "--format", "svg"}, "svg"},
      {"--diagram 1 png", {"--diagram", "1", "--format", "png"}, "png"},
      {"--diagram 4 txt", {"--diagram", "4", "--format", "txt"}, "txt"},
      {"--sheet 2 stl", {"--sheet", "2", "--format", "stl"}, "stl"},
      {"--solid stl", {"--solid", "--format", "stl"}, "stl"},
      {"--animate 4 gif", {"--animate", "4", "--format", "gif", "--size", "64x64"}, "gif"},
  };
  return jobs;
}

// Every name below dir with its bytes, links as "-> target", others by type.
std::map<std::string, std::string> Snapshot(const std::string& dir) {
  std::map<std::string, std::string> m;
  for (auto it = fs::recursive_directory_iterator(dir); it != fs::recursive_directory_iterator(); ++it) {
    const auto& e = *it;
    std::string name = e.path().lexically_relative(dir).string();
    struct stat st {};
    ::lstat(e.path().c_str(), &st);
    if (S_ISLNK(st.st_mode)) m[name] = "-> " + fs::read_symlink(e.path()).string();
    else if (S_ISREG(st.st_mode)) m[name] = test::ReadFileBytes(e.path().string());
    else if (S_ISDIR(st.st_mode)) m[name] = "(folder)";
    else m[name] = "(node " + std::to_string(st.st_mode & S_IFMT) + ")";
  }
  return m;
}

// What a case sets up in the work folder.
struct Scene {
  std::string project = "cam.kmo";  // the project's name in the work folder
  std::vector<std::string> extra;   // more arguments ("-o", ...)
  std::string produced;             // the file the job writes, when it succeeds
};

struct Case {
  const char* name;
  std::function<Scene(const test::TempFolder& d, const Job& job)> setup;
  int code;
  const char* message;  // part of the error stream
  bool fullDisk = false;
};

std::string Ext(const Job& j) { return j.extension; }

const std::vector<Case>& Cases() {
  static const std::vector<Case> cases = {
      {"default name",
       [](const test::TempFolder&, const Job& j) { return Scene{"cam.kmo", {}, "cam." + Ext(j)}; },
       0, ""},
      {"-o names another file with any number of dots",
       [](const test::TempFolder& d, const Job& j) {
         // An unrelated file with the format's extension stays as it is.
         test::WriteFileBytes(d.file("out." + Ext(j)), "unrelated");
         return Scene{"cam.kmo", {"-o", "out.v1.x"}, "out.v1.x"};
       },
       0, ""},
      {"-o is the project",
       [](const test::TempFolder&, const Job&) { return Scene{"cam.kmo", {"-o", "cam.kmo"}, ""}; },
       1, "the output would replace the project file"},
      {"-o is the project by its absolute name",
       [](const test::TempFolder& d, const Job&) {
         return Scene{"cam.kmo", {"-o", d.path() + "/./cam.kmo"}, ""};
       },
       1, "the output would replace the project file"},
      {"-o is a hard link to the project",
       [](const test::TempFolder& d, const Job& j) {
         fs::create_hard_link(d.file("cam.kmo"), d.file("link." + Ext(j)));
         return Scene{"cam.kmo", {"-o", "link." + Ext(j)}, ""};
       },
       1, "the output would replace the project file"},
      {"-o is a symbolic link to the project",
       [](const test::TempFolder& d, const Job& j) {
         fs::create_symlink("cam.kmo", d.file("link." + Ext(j)));
         return Scene{"cam.kmo", {"-o", "link." + Ext(j)}, ""};
       },
       1, "is a symbolic link"},
      {"the project is named like the output",
       [](const test::TempFolder& d, const Job& j) {
         fs::rename(d.file("cam.kmo"), d.file("cam." + Ext(j)));
         return Scene{"cam." + Ext(j), {}, ""};
       },
       1, "the output would replace the project file"},
      {"-o is a symbolic link to another file",
       [](const test::TempFolder& d, const Job& j) {
         test::WriteFileBytes(d.file("victim"), "victim");
         fs::create_symlink(d.file("victim"), d.file("out." + Ext(j)));
         return Scene{"cam.kmo", {"-o", "out." + Ext(j)}, ""};
       },
       1, "is a symbolic link"},
      {"-o is a folder",
       [](const test::TempFolder& d, const Job&) {
         fs::create_directory(d.file("out"));
         test::WriteFileBytes(d.file("out/keep"), "keep");
         return Scene{"cam.kmo", {"-o", "out"}, ""};
       },
       1, "is a folder"},
      {"-o is a FIFO",
       [](const test::TempFolder& d, const Job&) {
         ::mkfifo(d.file("pipe").c_str(), 0600);
         return Scene{"cam.kmo", {"-o", "pipe"}, ""};
       },
       1, "is not a regular file"},
      {"-o is a device",
       [](const test::TempFolder& d, const Job&) {
         // As root a device node of our own (the null device); otherwise the
         // system's, which the test could not harm anyway.
         if (::geteuid() == 0 && ::mknod(d.file("null").c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0)
           return Scene{"cam.kmo", {"-o", "null"}, ""};
         return Scene{"cam.kmo", {"-o", "/dev/null"}, ""};
       },
       1, "is not a regular file"},
      {"-o is in a missing folder",
       [](const test::TempFolder&, const Job& j) {
         return Scene{"cam.kmo", {"-o", "missing/out." + Ext(j)}, ""};
       },
       1, "No such file or directory"},
      {"-o is in a read-only folder",
       [](const test::TempFolder& d, const Job& j) {
         fs::create_directory(d.file("ro"));
         test::WriteFileBytes(d.file("ro/out." + Ext(j)), "old");
         fs::permissions(d.file("ro"), fs::perms(0555));
         return Scene{"cam.kmo", {"-o", "ro/out." + Ext(j)}, ""};
       },
       1, "Permission denied"},
      {"the disk is full",
       [](const test::TempFolder& d, const Job& j) {
         test::WriteFileBytes(d.file("out." + Ext(j)), "old output");
         return Scene{"cam.kmo", {"-o", "out." + Ext(j)}, ""};
       },
       1, "File too large", true},
  };
  return cases;
}

struct Outcome {
  int code = -1;
  std::string err;
};

Outcome RunJob(const std::vector<std::string>& args, const std::string& dir, bool fullDisk,
               const std::string& tempDir = {}) {
  std::ostringstream out, err;
  ConsolePort port(err);
  Session session(port, std::make_unique<FixedClock>(DateTime{2026, 12, 10, 9, 30, 0}));
  RegisterPictureExporters(session.pictureExporters);
  session.settings.tempDir = tempDir;
  Outcome r;
  if (!fullDisk) {
    r.code = RunBatchIn(session, args, dir, out, err);
  } else {
    // A real file-size limit: every write beyond it fails with EFBIG.
    auto previous = std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved{};
    ::getrlimit(RLIMIT_FSIZE, &saved);
    rlimit small = saved;
    small.rlim_cur = 200;
    ::setrlimit(RLIMIT_FSIZE, &small);
    r.code = RunBatchIn(session, args, dir, out, err);
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);
  }
  r.err = err.str();
  return r;
}

TEST(BatchSafety, EveryJobAgainstEveryHostileOutput) {
  const bool root = ::geteuid() == 0;
  const std::string project = test::ReadFileBytes(kSource + "/examples/sine.kmo");
  for (const Case& c : Cases()) {
    if (root && std::string(c.name) == "-o is in a read-only folder") continue;  // root writes anyway
    for (const Job& job : Jobs()) {
      SCOPED_TRACE(std::string(c.name) + " / " + job.name);
      test::TempFolder work;
      test::WriteFileBytes(work.file("cam.kmo"), project);
      Scene scene = c.setup(work, job);
      auto before = Snapshot(work.path());
      std::vector<std::string> args{work.file(scene.project)};
      args.insert(args.end(), job.args.begin(), job.args.end());
      args.insert(args.end(), scene.extra.begin(), scene.extra.end());
      Outcome r = RunJob(args, work.path(), c.fullDisk);
      auto after = Snapshot(work.path());
      if (fs::exists(work.file("ro"))) fs::permissions(work.file("ro"), fs::perms(0755));
      EXPECT_EQ(r.code, c.code) << r.err;
      if (c.code == 0) {
        ASSERT_TRUE(after.count(scene.produced)) << r.err;
        EXPECT_FALSE(after[scene.produced].empty());
        EXPECT_EQ(before.count(scene.produced), 0u);
        after.erase(scene.produced);
      } else {
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
      }
      // Nothing else changed, nothing was left behind.
      EXPECT_EQ(after, before) << r.err;
    }
  }
}

// A project that is a FIFO (no writer: reading would wait for ever) or an
// endless device gets its answer at once, from every job, and nothing is written.
TEST(BatchSafety, EveryJobRefusesAProjectThatIsNoRegularFile) {
  for (const Job& job : Jobs()) {
    for (const char* kind : {"fifo", "device"}) {
      SCOPED_TRACE(std::string(kind) + " / " + job.name);
      test::TempFolder work;
      std::string project = work.file("cam.kmo");
      if (std::string(kind) == "fifo") {
        ASSERT_EQ(::mkfifo(project.c_str(), 0600), 0);
      } else if (::geteuid() != 0 || ::mknod(project.c_str(), S_IFCHR | 0666, makedev(1, 5)) != 0) {
        fs::create_symlink("/dev/zero", project);  // the endless device by a project's name
      }
      auto before = Snapshot(work.path());
      std::vector<std::string> args{project};
      args.insert(args.end(), job.args.begin(), job.args.end());
      Outcome r = RunJob(args, work.path(), false);
      EXPECT_EQ(r.code, 1) << r.err;
      EXPECT_NE(r.err.find("ist keine gew\xC3\xB6hnliche Datei"), std::string::npos) << r.err;
      EXPECT_EQ(Snapshot(work.path()), before) << r.err;
    }
  }
}

// The configured temporary folder is shared, and someone planted the names of
// the blocks the drawings use: a link to another file, a dangling link, a
// FIFO. Every job still does its work, and not one planted name or the file
// a link points to changes; nothing of the job is left in the folder.
TEST(BatchSafety, SharedTemporaryFolderWithPlantedNames) {
  const std::string project = test::ReadFileBytes(kSource + "/examples/sine.kmo");
  for (const Job& job : Jobs()) {
    SCOPED_TRACE(job.name);
    test::TempFolder work;
    test::WriteFileBytes(work.file("cam.kmo"), project);
    fs::create_directory(work.file("share"));
    test::WriteFileBytes(work.file("victim"), "victim");
    fs::create_symlink(work.file("victim"), work.file("share/$FRAME_1.dx$"));
    fs::create_symlink(work.file("nowhere"), work.file("share/$cam.dx$"));
    ASSERT_EQ(::mkfifo(work.file("share/$CAM.dx$").c_str(), 0600), 0);
    auto before = Snapshot(work.path());
    std::vector<std::string> args{work.file("cam.kmo")};
    args.insert(args.end(), job.args.begin(), job.args.end());
    Outcome r = RunJob(args, work.path(), false, work.file("share"));
    EXPECT_EQ(r.code, 0) << r.err;
    auto after = Snapshot(work.path());
    std::string produced = std::string("cam.") + job.extension;
    EXPECT_TRUE(after.count(produced)) << r.err;
    after.erase(produced);
    // The printouts' own viewer file may stay (it is meant to); no block file
    // and no private folder of the job may.
    for (auto it = after.begin(); it != after.end();) {
      bool own = it->first == "share/outwin.txt" && !before.count(it->first);
      it = own ? after.erase(it) : std::next(it);
    }
    EXPECT_EQ(after, before) << r.err;
  }
}

// A block replay that gives up part way ("Elements > 100000 !": the user's
// logo block holds more vertices than a replay takes) leaves no picture and
// no file behind, and the job fails with the reason.
TEST(BatchSafety, ADrawingCutShortIsNoSuccess) {
  std::string logo = "  0\r\nPOLYLINE\r\n 66\r\n1\r\n";
  for (int i = 0; i <= 100000; ++i) logo += "  0\r\nVERTEX\r\n 10\r\n" + std::to_string(i % 7) + "\r\n 20\r\n1\r\n";
  logo += "  0\r\nSEQEND\r\n  0\r\nEOF\r\n";
  const std::string project = test::ReadFileBytes(kSource + "/examples/sine.kmo");
  const std::vector<Job> jobs = {
      {"--diagram 1 png", {"--diagram", "1", "--format", "png"}, "png"},
      {"--diagram 4 svg", {"--diagram", "4", "--format", "svg"}, "svg"},
      {"--diagram 2 pdf", {"--diagram", "2", "--format", "pdf"}, "pdf"},
  };
  for (const Job& job : jobs) {
    SCOPED_TRACE(job.name);
    test::TempFolder work;
    test::WriteFileBytes(work.file("cam.kmo"), project);
    fs::create_directory(work.file("temp"));
    test::WriteFileBytes(work.file("temp/$LOGO_2.dx$"), logo);
    auto before = Snapshot(work.path());
    std::vector<std::string> args{work.file("cam.kmo")};
    args.insert(args.end(), job.args.begin(), job.args.end());
    Outcome r = RunJob(args, work.path(), false, work.file("temp"));
    EXPECT_EQ(r.code, 1) << r.err;
    EXPECT_NE(r.err.find("Elements > 100000 !"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("the drawing was cut short"), std::string::npos) << r.err;
    EXPECT_EQ(Snapshot(work.path()), before) << r.err;
  }
}

// A project whose calculation stopped with a "Fehler" and no results (points
// entered clockwise: "Fehler : Richtungssinn !") gives the jobs that draw or
// write the results nothing to work with: they fail and say why; the
// printouts still write their page with the message list.
TEST(BatchSafety, JobsThatNeedResultsFailWhenTheCalculationStopped) {
  // Four base points entered clockwise.
  CamProject clockwise;
  clockwise.curveType = ctPoints;
  const Real pts[5][2] = {{20, 20}, {20, -20}, {-20, -20}, {-20, 20}, {20, 20}};
  clockwise.basePointCount = 5;
  for (int i = 0; i < 5; ++i) clockwise.basePoints[static_cast<size_t>(i + 1)] = {pts[i][0], pts[i][1], 0};
  Settings settings;
  const std::string project = ProjectToBytes(settings, clockwise);
  for (const Job& job : Jobs()) {
    SCOPED_TRACE(job.name);
    test::TempFolder work;
    test::WriteFileBytes(work.file("cam.kmo"), project);
    auto before = Snapshot(work.path());
    std::vector<std::string> args{work.file("cam.kmo")};
    args.insert(args.end(), job.args.begin(), job.args.end());
    Outcome r = RunJob(args, work.path(), false);
    auto after = Snapshot(work.path());
    const std::string name = job.name;
    const bool printout = name == "/I" || name.rfind("--printout", 0) == 0 || name.rfind("--changes", 0) == 0;
    if (printout) {
      EXPECT_EQ(r.code, 0) << r.err;
      after.erase(std::string("cam.") + job.extension);
    } else {
      EXPECT_EQ(r.code, 1) << r.err;
      EXPECT_NE(r.err.find("the calculation stopped without results"), std::string::npos) << r.err;
      EXPECT_NE(r.err.find("Fehler : Richtungssinn !"), std::string::npos) << r.err;
    }
    EXPECT_EQ(after, before) << r.err;
  }
}

// Bodies that cannot exist are refused by --solid, with the reason, instead
// of an inside-out, empty or infinite solid.
TEST(BatchSafety, ImpossibleSolidsAreRefused) {
  struct Case {
    const char* what;
    Real bore, width;
    const char* message;
  };
  const Case cases[] = {
      {"bore as large as the cam", 1000, 10, "STL: Bohrung >= kleinster Durchmesser der Kurvenscheibe"},
      {"bore of 1e308", 1e308L, 10, "STL: Breite oder Bohrung ung\xC3\xBCltig"},
      {"width of 1e39", 10, 1e39L, "STL: Breite oder Bohrung ung\xC3\xBCltig"},
      {"negative width", 10, -5, "STL: H\xC3\xB6he 0 ergibt keine Fl\xC3\xA4" "chen"},
  };
  const std::string sine = test::ReadFileBytes(kSource + "/examples/sine.kmo");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    CamProject p;
    ProjectReadError e;
    ASSERT_TRUE(ProjectFromBytes(sine, p, e));
    p.body.bore = c.bore;
    p.body.width = c.width;
    test::TempFolder work;
    test::WriteFileBytes(work.file("cam.kmo"), ProjectToBytes(Settings{}, p));
    auto before = Snapshot(work.path());
    Outcome r = RunJob({work.file("cam.kmo"), "--solid", "--format", "stl"}, work.path(), false);
    EXPECT_EQ(r.code, 1) << r.err;
    EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
    EXPECT_EQ(Snapshot(work.path()), before) << r.err;
  }
}

// Drawing texts thrown far off the sheet (x = -1e308) are left out of the
// drawing: no file of any format receives nan or inf.
TEST(BatchSafety, NoNonFiniteNumberReachesAFile) {
  const std::string sine = test::ReadFileBytes(kSource + "/examples/sine.kmo");
  CamProject p;
  ProjectReadError e;
  ASSERT_TRUE(ProjectFromBytes(sine, p, e));
  p.info.textSheetMode = 2;  // on the A4 and the A3 sheet
  p.info.textCount = 3;
  p.info.texts[1] = {-1e308L, 100, 5, 0, "WEIT"};
  p.info.texts[2] = {100, 1e308L, 1e308L, 0, "HOCH"};
  p.info.texts[3] = {100, 100, 5, 0, "DA"};
  const std::string project = ProjectToBytes(Settings{}, p);
  const std::vector<Job> jobs = {
      {"--sheet 10 svg", {"--sheet", "10", "--format", "svg"}, "svg"},
      {"--sheet 5 svg", {"--sheet", "5", "--format", "svg"}, "svg"},
      {"--sheet 10 dxf", {"--sheet", "10", "--format", "dxf"}, "dxf"},
      {"--sheet 5 txt", {"--sheet", "5", "--format", "txt"}, "txt"},
      {"--sheet 10 igs", {"--sheet", "10", "--format", "igs"}, "igs"},
  };
  for (const Job& job : jobs) {
    SCOPED_TRACE(job.name);
    test::TempFolder work;
    test::WriteFileBytes(work.file("cam.kmo"), project);
    Outcome r = RunJob({work.file("cam.kmo"), job.args[0], job.args[1], job.args[2], job.args[3]}, work.path(),
                       false);
    ASSERT_EQ(r.code, 0) << r.err;
    std::string bytes = test::ReadFileBytes(work.file(std::string("cam.") + job.extension));
    std::string lower = bytes;
    for (char& ch : lower) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    EXPECT_EQ(lower.find("nan"), std::string::npos);
    EXPECT_EQ(lower.find("inf"), std::string::npos);
    EXPECT_EQ(bytes.find("WEIT"), std::string::npos);
    EXPECT_EQ(bytes.find("HOCH"), std::string::npos);
    if (std::string(job.extension) != "svg") {
      EXPECT_NE(bytes.find("DA"), std::string::npos);
    }
  }
}

}  // namespace
}  // namespace kamo
