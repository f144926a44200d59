// The project data file: round trips, exact lines, damaged files, safe saving.
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <unistd.h>

#include <filesystem>

#include "core/identity.h"
#include "core/strings.h"
#include "io/kamoio.h"
#include "io/lines.h"
#include "projects.h"
#include "support/scripted_port.h"

namespace kamo {
namespace {
namespace fs = std::filesystem;
using test::ReadFileBytes;
using test::WriteFileBytes;

using test::Env;
using test::Lines;

// Index of the line that holds calc.splineRes: the last line before the two
// appended eccentric lines.
size_t SplineResLine(const std::string& bytes) { return Lines(bytes).size() - 3; }

TEST(ProjectFile, RandomProjectsRoundTripAndRewriteIdentically) {
  Settings s;
  for (unsigned seed = 0; seed < 11; ++seed) {  // every curve type
    CamProject in = test::RandomProject(seed);
    std::string bytes = ProjectToBytes(s, in);
    CamProject out;
    ProjectReadError e;
    ASSERT_TRUE(ProjectFromBytes(bytes, out, e)) << e.what << " line " << e.line;
    // Descriptions come back with "\n" for every break.
    EXPECT_EQ(test::CompareInputs(in, out), "") << "seed " << seed;
    EXPECT_EQ(ProjectToBytes(s, out), bytes) << "seed " << seed;
  }
}

TEST(ProjectFile, FixedProjectMatchesGoldenFile) {
  Settings s;
  std::string bytes = ProjectToBytes(s, test::GoldenProject());
  std::string golden = std::string(KAMO_SOURCE_DIR) + "/tests/io/data/golden.kmo";
  if (std::getenv("KAMO_BLESS")) WriteFileBytes(golden, bytes);
  EXPECT_EQ(bytes, ReadFileBytes(golden)) << "regenerate on purpose with KAMO_BLESS=1";
}

// The texts are CP850 for a reader we did not write, too.
TEST(ProjectFile, GoldenFileDecodesAsCp850) {
  std::string cmd = "iconv -f CP850 -t UTF-8 '" + std::string(KAMO_SOURCE_DIR) + "/tests/io/data/golden.kmo'";
  int status = -1;
  const std::string text = test::CommandOutput(cmd, &status);
  ASSERT_EQ(status, 0) << "iconv failed";
  for (const char* word : {"Software f\xC3\xBCr Kurvenscheiben", "M\xC3\xBCller", "\xC3\x84NDERUNGEN",
                           "geh\xC3\xA4rtet", "Ma\xC3\x9F" "e in mm"})
    EXPECT_NE(text.find(word), std::string::npos) << word;
}

TEST(ProjectFile, ExactLines) {
  Settings s;
  CamProject p;
  p.calc.arcStep = 1;
  std::vector<std::string> l = Lines(ProjectToBytes(s, p));
  EXPECT_EQ(l[0], Dashes(65));
  EXPECT_EQ(l[1], std::string(kProgramTitle) + "   V 5.1");
  EXPECT_EQ(l[2], "Version 5.1");
  // No base points: count, dash line and then directly the arc step.
  EXPECT_EQ(l[8], "No. Elements");
  EXPECT_EQ(l[9], "0");
  EXPECT_EQ(l[10], Dashes(22));
  EXPECT_EQ(l[11], "1.0000000");
  EXPECT_EQ(l[12], "Curve");
  // Empty remark lines stay empty lines.
  EXPECT_EQ(l[5], "");
  std::string bytes = ProjectToBytes(s, p);
  EXPECT_EQ(bytes.find('\n'), bytes.find("\r\n") + 1) << "CR LF line ends";
  // The document block: label, 5, dashes(20), 5 x (program, file, dashes(14)).
  auto doc = std::find(l.begin(), l.end(), "Dokumente") - l.begin();
  ASSERT_LT(static_cast<size_t>(doc), l.size());
  EXPECT_EQ(l[static_cast<size_t>(doc) + 1], "5");
  EXPECT_EQ(l[static_cast<size_t>(doc) + 2], Dashes(20));
  EXPECT_EQ(l[static_cast<size_t>(doc) + 3], "notepad.exe");
  EXPECT_EQ(l[static_cast<size_t>(doc) + 5], Dashes(14));
  EXPECT_EQ(l[static_cast<size_t>(doc) + 17], Dashes(14));
  EXPECT_EQ(l[static_cast<size_t>(doc) + 18], "1000.0000000") << "speed follows the block";
}

TEST(ProjectFile, NumberFormats) {
  struct Case {
    int decimals;
    char separator;
    Real x;
    std::string real, point, phi, longReal;
  };
  const Case cases[] = {
      {3, '.', 1.5L, "1.5000000", "1.5000", "1.500000", "1.50000000000000"},
      {5, '.', 1.5L, "1.500000000", "1.500000", "1.50000000", "1.50000000000000"},
      {1, '.', 1.5L, "1.5000000", "1.5000", "1.500000", "1.50000000000000"},
      {3, ',', 1.5L, "1,5000000", "1,5000", "1,500000", "1,50000000000000"},
      {3, '.', 0, "0", "0.0000", "0.000000", "0.00000000000000"},
      {3, '.', -2, "-2", "-2.0000", "-2.000000", "-2.00000000000000"},
      {3, '.', 1, "1.0000000", "1.0000", "1.000000", "1.00000000000000"},
  };
  for (const Case& c : cases) {
    NumberStyle ns;
    ns.decimals = c.decimals;
    ns.decimalSeparator = c.separator;
    EXPECT_EQ(io::RealLine(ns, c.x), c.real) << c.decimals;
    EXPECT_EQ(io::FixedLine(ns, 4, c.x), c.point) << c.decimals;
    EXPECT_EQ(io::FixedLine(ns, 6, c.x), c.phi) << c.decimals;
    EXPECT_EQ(io::LongRealLine(ns, c.x), c.longReal) << c.decimals;
  }
}

TEST(ProjectFile, ReadersAcceptCommaAndLfOnly) {
  Settings dot, comma;
  comma.numbers.decimalSeparator = ',';
  CamProject in = test::GoldenProject();
  std::string crlf = ProjectToBytes(dot, in);
  std::string lf;
  for (char c : crlf)
    if (c != '\r') lf += c;
  for (const std::string& bytes : {ProjectToBytes(comma, in), lf}) {
    CamProject out;
    ProjectReadError e;
    ASSERT_TRUE(ProjectFromBytes(bytes, out, e)) << e.what;
    EXPECT_EQ(test::CompareInputs(in, out), "");
    EXPECT_EQ(ProjectToBytes(dot, out), crlf);
  }
}

TEST(ProjectFile, DelimitedLinesStayDelimited) {
  Settings s;
  CamProject p;
  p.changeCount = 1;
  p.changes[1].description = "a\r\nb\rc\nd";
  p.info.rows[1].name = "x|y\r\nz";
  p.info.textCount = 1;
  p.info.texts[1].text = "1|2";
  p.drawing.bemerk1 = "zwei\r\nZeilen";
  std::string bytes = ProjectToBytes(s, p);
  std::vector<std::string> l = Lines(bytes);
  EXPECT_NE(std::find(l.begin(), l.end(), "a|b|c|d"), l.end());
  EXPECT_EQ(l[5], "zwei Zeilen");
  CamProject out;
  ProjectReadError e;
  ASSERT_TRUE(ProjectFromBytes(bytes, out, e)) << e.what;
  EXPECT_EQ(out.changes[1].description, "a\nb\nc\nd");
  EXPECT_EQ(out.info.rows[1].name, "x\xB3y z");
  EXPECT_EQ(out.info.texts[1].text, "1\xB3" "2");
  EXPECT_EQ(out.info.rows[2].date, "") << "the fields after it did not shift";
  EXPECT_EQ(out.info.textCount, 1);
}

TEST(ProjectFile, EccentricLinesAreOptional) {
  Settings s;
  CamProject in = test::GoldenProject();
  std::string bytes = ProjectToBytes(s, in);
  std::vector<std::string> l = Lines(bytes);
  // Cut after calc.splineRes: both eccentric values keep the defaults.
  size_t end = 0;
  for (size_t i = 0; i <= SplineResLine(bytes); ++i) end = bytes.find("\r\n", end) + 2;
  CamProject out;
  ProjectReadError e;
  ASSERT_TRUE(ProjectFromBytes(bytes.substr(0, end), out, e)) << e.what;
  EXPECT_EQ(out.eccentric.d, 100);
  EXPECT_EQ(out.eccentric.e, 10);
  EXPECT_EQ(out.calc.splineRes, in.calc.splineRes);
  // A half-written eccentric line is not taken.
  CamProject cut;
  ASSERT_TRUE(ProjectFromBytes(bytes.substr(0, end + 3), cut, e));
  EXPECT_EQ(cut.eccentric.d, 100);
  ASSERT_TRUE(ProjectFromBytes(bytes, out, e));
  EXPECT_EQ(out.eccentric.d, in.eccentric.d);
  EXPECT_EQ(out.eccentric.e, in.eccentric.e);
}

// The check inputs follow the eccentric lines behind their marker, only when
// they differ from the defaults; every missing or unreadable line keeps its
// default, and a file without them gives the defaults.
TEST(ProjectFile, CheckInputsAreAppendedAndOptional) {
  Settings s;
  CamProject in = test::GoldenProject();
  const std::string plain = ProjectToBytes(s, in);
  in.checkData = CheckInputs{25, 150.5L, 3.25L, 200000, 0.29L, 70000, 0.33L};
  const std::string bytes = ProjectToBytes(s, in);
  ASSERT_EQ(bytes.compare(0, plain.size(), plain), 0) << "the lines before stay as they were";
  EXPECT_EQ(bytes.substr(plain.size()),
            "Pr\x81" "fdaten\r\n25.0000000\r\n150.5000000\r\n3.2500000\r\n200000.0000000\r\n"
            "0.2900000\r\n70000.0000000\r\n0.3300000\r\n");
  CamProject out;
  ProjectReadError e;
  ASSERT_TRUE(ProjectFromBytes(bytes, out, e)) << e.what;
  EXPECT_EQ(ProjectToBytes(s, out), bytes);

  struct Case {
    const char* name;
    std::string file;
    CheckInputs expected;
  };
  const std::string head = plain + "Pr\x81" "fdaten\r\n";
  const CheckInputs def;
  CheckInputs three = def;
  three.alphaLimit = 25;
  three.preload = 150.5L;
  three.rate = 3.25L;
  CheckInputs skipBad = three;
  skipBad.preload = def.preload;
  for (const Case& c : {
           Case{"older file", plain, def},
           Case{"marker only", head, def},
           Case{"three lines", head + "25\r\n150,5\r\n3.25\r\n", three},
           Case{"a line that is no number", head + "25\r\nviel\r\n3.25\r\n", skipBad},
           Case{"last line cut short", head + "25\r\n150.5\r\n3.25\r\n2000", three},
           Case{"some other block", plain + "Anderes\r\n1\r\n", def},
       }) {
    CamProject got;
    got.checkData.alphaLimit = 99;  // whatever was there before
    ASSERT_TRUE(ProjectFromBytes(c.file, got, e)) << c.name << ": " << e.what;
    EXPECT_EQ(got.checkData.alphaLimit, c.expected.alphaLimit) << c.name;
    EXPECT_EQ(got.checkData.preload, c.expected.preload) << c.name;
    EXPECT_EQ(got.checkData.rate, c.expected.rate) << c.name;
    EXPECT_EQ(got.checkData.eCam, c.expected.eCam) << c.name;
    EXPECT_EQ(got.checkData.nuFollower, c.expected.nuFollower) << c.name;
    EXPECT_EQ(got.eccentric.d, in.eccentric.d) << c.name;
  }
}

TEST(ProjectFile, DamagedFilesAreRefusedWithTheirLine) {
  Settings s;
  std::string good = ProjectToBytes(s, test::GoldenProject());
  std::vector<std::string> l = Lines(good);
  auto with = [&](size_t line, const std::string& text) {
    std::string out;
    for (size_t i = 0; i < l.size(); ++i) out += (i == line ? text : l[i]) + "\r\n";
    return out;
  };
  auto lineOf = [&](const std::string& text) {
    return static_cast<size_t>(std::find(l.begin(), l.end(), text) - l.begin());
  };
  struct Case {
    std::string name, bytes;
    ProjectReadError::Kind kind;
    int line;
  };
  const Case cases[] = {
      {"empty", "", ProjectReadError::Kind::Empty, 0},
      {"garbage", "hello\r\nworld\r\n", ProjectReadError::Kind::Truncated, 2},
      {"binary", std::string("\x00\x01\xff\xfe\r\n", 6) + std::string(40, '\n'),
       ProjectReadError::Kind::Invalid, 9},
      {"too many points", with(9, "2001"), ProjectReadError::Kind::Invalid, 10},
      {"negative points", with(9, "-1"), ProjectReadError::Kind::Invalid, 10},
      {"count not a number", with(9, "4x"), ProjectReadError::Kind::Invalid, 10},
      {"no curve label", with(lineOf("Curve"), "Kurve"), ProjectReadError::Kind::Invalid,
       static_cast<int>(lineOf("Curve")) + 1},
      {"too many segments", with(lineOf("Curve") + 1, "11"), ProjectReadError::Kind::Invalid,
       static_cast<int>(lineOf("Curve")) + 2},
      {"curve type", with(lineOf("Curve") + 9, "12"), ProjectReadError::Kind::Invalid,
       static_cast<int>(lineOf("Curve")) + 10},
      {"too many changes", with(lineOf("\x8E" "NDERUNGEN") + 1, "26"), ProjectReadError::Kind::Invalid,
       static_cast<int>(lineOf("\x8E" "NDERUNGEN")) + 2},
      {"too many texts", with(lineOf("Dokumente") - 6, "a|b|c|d|e|f|9||"), ProjectReadError::Kind::Invalid,
       static_cast<int>(lineOf("Dokumente")) - 5},
  };
  for (const Case& c : cases) {
    CamProject out;
    ProjectReadError e;
    EXPECT_FALSE(ProjectFromBytes(c.bytes, out, e)) << c.name;
    EXPECT_EQ(e.kind, c.kind) << c.name << ": " << e.what;
    EXPECT_EQ(e.line, c.line) << c.name << ": " << e.what;
  }
}

// Follower sizes cannot be negative: such a file is refused at the line,
// 0 (the default) and positive sizes are taken.
TEST(ProjectFile, NegativeFollowerSizesAreRefused) {
  Settings s;
  CamProject in = test::GoldenProject();
  in.ram.d = 17.25L;
  in.ram.l = 18.25L;
  in.ram.m = 0.75L;
  std::vector<std::string> l = Lines(ProjectToBytes(s, in));
  struct Case {
    const char* written;  // the follower line as the file has it
    const char* replaced;
    bool ok;
  } cases[] = {
      {"17.2500000", "-10", false},     {"18.2500000", "-0.5", false}, {"0.7500000", "-1E-9", false},
      {"17.2500000", "0", true},        {"18.2500000", "0", true},     {"0.7500000", "0", true},
      {"17.2500000", "20.5", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.written) + " -> " + c.replaced);
    size_t line = static_cast<size_t>(std::find(l.begin(), l.end(), c.written) - l.begin());
    ASSERT_LT(line, l.size());
    std::string bytes;
    for (size_t i = 0; i < l.size(); ++i) bytes += (i == line ? std::string(c.replaced) : l[i]) + "\r\n";
    CamProject out;
    ProjectReadError e;
    EXPECT_EQ(ProjectFromBytes(bytes, out, e), c.ok) << e.what;
    if (!c.ok) {
      EXPECT_EQ(e.kind, ProjectReadError::Kind::Invalid);
      EXPECT_EQ(e.line, static_cast<int>(line) + 1);
      EXPECT_NE(e.what.find(">= 0 erwartet"), std::string::npos) << e.what;
    }
  }
}

TEST(ProjectFile, FailedReadLeavesTheProjectAndNamesFileAndLine) {
  test::TempFolder dir;
  Env env;
  CamProject loaded = test::GoldenProject();
  std::string before = ProjectToBytes(env.settings, loaded);
  std::string path = dir.file("kaputt.kmo");
  WriteFileBytes(path, before.substr(0, before.size() / 2));
  std::string message;
  EXPECT_FALSE(ReadProject(env.ui, env.settings, path, loaded, &message));
  EXPECT_TRUE(env.flags.abortFlag);
  EXPECT_EQ(ProjectToBytes(env.settings, loaded), before);
  ASSERT_EQ(env.port.boxes.size(), 1u);
  EXPECT_NE(env.port.boxes[0].text.find(path), std::string::npos);
  EXPECT_NE(env.port.boxes[0].text.find("Zeile "), std::string::npos);
  EXPECT_EQ(message.rfind("Unvollst\x84ndige Projektdatei ", 0), 0u) << message;
  // A missing file is the readable check's message.
  env.flags.abortFlag = false;
  EXPECT_FALSE(ReadProject(env.ui, env.settings, dir.file("fehlt.kmo"), loaded));
  EXPECT_TRUE(env.flags.abortFlag);
  EXPECT_EQ(ProjectToBytes(env.settings, loaded), before);
}

TEST(ProjectFile, SaveRulesAndOverwriteQuestion) {
  test::TempFolder dir;
  Env env;
  FileIdentity file{"nocken", dir.path() + "/"};
  CamProject p = test::GoldenProject();
  std::string path = dir.file("nocken.kmo");
  // A name without "." goes to fileDir with the extension.
  ASSERT_TRUE(WriteProject(env.ui, env.settings, file, false, "nocken", p));
  EXPECT_EQ(ReadFileBytes(path), ProjectToBytes(env.settings, p));
  // The second time asks; No keeps the file.
  CamProject other;
  env.port.answers.push_back(Answer::No);
  EXPECT_FALSE(WriteProject(env.ui, env.settings, file, false, "nocken", other));
  EXPECT_TRUE(env.flags.abortFlag);
  EXPECT_EQ(ReadFileBytes(path), ProjectToBytes(env.settings, p));
  // File > Save does not ask; a command-line project saved without archive
  // mode stops counting as one.
  env.flags.abortFlag = false;
  env.state.fromCommandLine = true;
  EXPECT_TRUE(WriteProject(env.ui, env.settings, file, false, path, other, false));
  EXPECT_FALSE(env.state.fromCommandLine);
  EXPECT_TRUE(env.port.answers.empty());
  EXPECT_EQ(ReadFileBytes(path), ProjectToBytes(env.settings, other));
  EXPECT_TRUE(env.state.overwriteAsk) << "the question is back on for later saves";
  // Archive mode refuses.
  EXPECT_FALSE(WriteProject(env.ui, env.settings, file, true, "anders", p));
  EXPECT_FALSE(fs::exists(dir.file("anders.kmo")));
  // The save dialog sets the file identity.
  env.port.files.push_back(dir.file("neu.kmo"));
  env.flags.abortFlag = false;
  EXPECT_TRUE(WriteProject(env.ui, env.settings, file, false, "", p));
  EXPECT_EQ(file.fileName, "neu");
  CamProject back;
  int form = -1;
  EXPECT_TRUE(ReadProject(env.ui, env.settings, dir.file("neu.kmo"), back, nullptr, &form));
  EXPECT_EQ(test::CompareInputs(p, back), "");
  EXPECT_EQ(form, env.settings.titleBlockForm);
}

TEST(ProjectFile, FailedWriteKeepsTheOldFile) {
  test::TempFolder dir;
  Env env;
  std::string path = dir.file("alt.kmo");
  CamProject old = test::GoldenProject();
  ASSERT_TRUE(WriteProjectFile(env.ui, env.settings, path, old));
  std::string before = ReadFileBytes(path);
  CamProject next = test::RandomProject(3);
  for (long long after : {0LL, 1LL, 100LL, static_cast<long long>(before.size()), 50000LL}) {
    env.flags.abortFlag = false;
    env.port.boxes.clear();
    EXPECT_FALSE(WriteProjectFile(env.ui, env.settings, path, next, after)) << after;
    EXPECT_TRUE(env.flags.abortFlag);
    EXPECT_EQ(ReadFileBytes(path), before) << after;
    ASSERT_EQ(env.port.boxes.size(), 1u);
    EXPECT_NE(env.port.boxes[0].text.find("Diskette/Platte voll"), std::string::npos);
    size_t files = 0;
    for ([[maybe_unused]] auto& e : fs::directory_iterator(dir.path())) ++files;
    EXPECT_EQ(files, 1u) << "the temporary file is removed";
  }
}

// A small tmpfs of our own, for a real full disk and a real read-only folder.
// Mounting needs the privilege to do so; without it the tests are skipped.
class TinyTmpfs {
 public:
  TinyTmpfs() {
    std::string pattern = (fs::temp_directory_path() / "kamo-tmpfs-XXXXXX").string();
    if (!mkdtemp(pattern.data())) return;
    dir_ = pattern;
    mounted_ = mount("tmpfs", dir_.c_str(), "tmpfs", 0, "size=16k") == 0;
  }
  ~TinyTmpfs() {
    if (mounted_) umount2(dir_.c_str(), MNT_DETACH);
    if (!dir_.empty()) rmdir(dir_.c_str());
  }
  bool mounted() const { return mounted_; }
  bool makeReadOnly() {
    return mount("tmpfs", dir_.c_str(), "tmpfs", MS_REMOUNT | MS_RDONLY, "size=16k") == 0;
  }
  std::string file(const std::string& name) const { return dir_ + "/" + name; }

 private:
  std::string dir_;
  bool mounted_ = false;
};

TEST(ProjectFile, FullDiskKeepsTheOldFile) {
  TinyTmpfs disk;
  if (!disk.mounted()) GTEST_SKIP() << "no permission to mount a tmpfs; the injected failure covers this";
  Env env;
  std::string path = disk.file("alt.kmo");
  ASSERT_TRUE(WriteProjectFile(env.ui, env.settings, path, test::GoldenProject()));
  std::string before = ReadFileBytes(path);
  EXPECT_FALSE(WriteProjectFile(env.ui, env.settings, path, test::RandomProject(1)));  // ~150 kB
  EXPECT_TRUE(env.flags.abortFlag);
  EXPECT_EQ(ReadFileBytes(path), before);
  ASSERT_EQ(env.port.boxes.size(), 1u);
  EXPECT_NE(env.port.boxes[0].text.find("Diskette/Platte voll"), std::string::npos) << env.port.boxes[0].text;
}

TEST(ProjectFile, ReadOnlyFolderKeepsTheOldFile) {
  Env env;
  if (geteuid() != 0) {
    test::TempFolder dir;
    std::string path = dir.file("alt.kmo");
    ASSERT_TRUE(WriteProjectFile(env.ui, env.settings, path, CamProject{}));
    std::string before = ReadFileBytes(path);
    fs::permissions(dir.path(), fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_FALSE(WriteProjectFile(env.ui, env.settings, path, test::GoldenProject()));
    fs::permissions(dir.path(), fs::perms::owner_all);
    EXPECT_TRUE(env.flags.abortFlag);
    EXPECT_EQ(ReadFileBytes(path), before);
    return;
  }
  // Root ignores permission bits, but not a read-only file system.
  TinyTmpfs disk;
  if (!disk.mounted()) GTEST_SKIP() << "root without permission to mount; the injected failure covers this";
  std::string path = disk.file("alt.kmo");
  ASSERT_TRUE(WriteProjectFile(env.ui, env.settings, path, CamProject{}));
  std::string before = ReadFileBytes(path);
  ASSERT_TRUE(disk.makeReadOnly());
  EXPECT_FALSE(WriteProjectFile(env.ui, env.settings, path, test::GoldenProject()));
  EXPECT_TRUE(env.flags.abortFlag);
  EXPECT_EQ(ReadFileBytes(path), before);
  EXPECT_EQ(env.port.boxes.size(), 1u);
}

}  // namespace
}  // namespace kamo
