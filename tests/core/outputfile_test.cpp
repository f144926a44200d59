// Output files are written whole into regular files only, never through a
// link, never over a kept file, and leave nothing behind when they fail.
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <functional>
#include <map>

#include "core/outputfile.h"
#include "support/scripted_port.h"

namespace kamo {
namespace {

namespace fs = std::filesystem;

// Every name in the folder with its bytes (links as "-> target").
std::map<std::string, std::string> Snapshot(const std::string& dir) {
  std::map<std::string, std::string> m;
  for (const auto& e : fs::recursive_directory_iterator(dir)) {
    std::string name = e.path().lexically_relative(dir).string();
    if (e.is_symlink()) m[name] = "-> " + fs::read_symlink(e.path()).string();
    else if (e.is_regular_file()) m[name] = test::ReadFileBytes(e.path().string());
    else m[name] = "(other)";
  }
  return m;
}

TEST(OutputFile, WritesNewAndReplacesExistingFilesWhole) {
  test::TempFolder dir;
  ASSERT_TRUE(WriteOutputFile(dir.file("a.txt"), "new"));
  EXPECT_EQ(test::ReadFileBytes(dir.file("a.txt")), "new");
  // A replaced file keeps its permissions.
  ASSERT_EQ(::chmod(dir.file("a.txt").c_str(), 0640), 0);
  ASSERT_TRUE(WriteOutputFile(dir.file("a.txt"), std::string(300000, 'x')));
  EXPECT_EQ(fs::file_size(dir.file("a.txt")), 300000u);
  struct stat st {};
  ASSERT_EQ(::stat(dir.file("a.txt").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
  EXPECT_EQ(Snapshot(dir.path()).size(), 1u);
}

TEST(OutputFile, TheLongestNameTheFileSystemTakesCanBeWritten) {
  test::TempFolder dir;
  std::string name(255 - 4, 'n');
  name += ".dxf";
  ASSERT_TRUE(WriteOutputFile(dir.file(name), "x"));
  EXPECT_EQ(test::ReadFileBytes(dir.file(name)), "x");
}

// Each case prepares the target; the old bytes and names must all stay.
TEST(OutputFile, RefusedTargetsStayAsTheyWere) {
  struct Case {
    const char* what;
    std::function<std::string(const test::TempFolder&, KeepFiles&)> prepare;  // returns the target
    const char* reason;
  } cases[] = {
      {"symbolic link to a file",
       [](const test::TempFolder& d, KeepFiles&) {
         test::WriteFileBytes(d.file("victim"), "victim");
         fs::create_symlink(d.file("victim"), d.file("out.pdf"));
         return d.file("out.pdf");
       },
       "is a symbolic link"},
      {"dangling symbolic link",
       [](const test::TempFolder& d, KeepFiles&) {
         fs::create_symlink(d.file("nowhere"), d.file("out.pdf"));
         return d.file("out.pdf");
       },
       "is a symbolic link"},
      {"folder",
       [](const test::TempFolder& d, KeepFiles&) {
         fs::create_directory(d.file("out.dxf"));
         return d.file("out.dxf");
       },
       "is a folder"},
      {"FIFO",
       [](const test::TempFolder& d, KeepFiles&) {
         ::mkfifo(d.file("pipe").c_str(), 0600);
         return d.file("pipe");
       },
       "is not a regular file"},
      {"device", [](const test::TempFolder&, KeepFiles&) { return std::string("/dev/null"); },
       "is not a regular file"},
      {"kept file",
       [](const test::TempFolder& d, KeepFiles& keep) {
         test::WriteFileBytes(d.file("cam.kmo"), "project");
         keep.add(d.file("cam.kmo"), "the project file");
         return d.file("cam.kmo");
       },
       "the output would replace the project file"},
      {"hard link to a kept file",
       [](const test::TempFolder& d, KeepFiles& keep) {
         test::WriteFileBytes(d.file("cam.kmo"), "project");
         keep.add(d.file("./cam.kmo"), "the project file");
         fs::create_hard_link(d.file("cam.kmo"), d.file("cam.dxf"));
         return d.file("cam.dxf");
       },
       "the output would replace the project file"},
      {"missing folder", [](const test::TempFolder& d, KeepFiles&) { return d.file("no/out.dxf"); },
       "No such file or directory"},
      {"name ending in a separator", [](const test::TempFolder& d, KeepFiles&) { return d.file("x/"); },
       "names a folder"},
  };
  for (const Case& c : cases) {
    test::TempFolder dir;
    KeepFiles keep;
    std::string target = c.prepare(dir, keep);
    auto before = Snapshot(dir.path());
    EXPECT_FALSE(OutputTargetProblem(target, &keep).empty()) << c.what;
    std::string message;
    EXPECT_FALSE(WriteOutputFile(target, "new bytes", &keep, &message)) << c.what;
    EXPECT_NE(message.find(c.reason), std::string::npos) << c.what << ": " << message;
    EXPECT_EQ(message.rfind(target + ": ", 0), 0u) << c.what << ": " << message;
    EXPECT_EQ(Snapshot(dir.path()), before) << c.what;
  }
}

TEST(OutputFile, ReadOnlyFolderGivesTheSystemsReason) {
  if (::geteuid() == 0) GTEST_SKIP() << "root writes into read-only folders";
  test::TempFolder dir;
  fs::create_directory(dir.file("ro"));
  test::WriteFileBytes(dir.file("ro/out.txt"), "old");
  fs::permissions(dir.file("ro"), fs::perms(0555));
  std::string message;
  EXPECT_FALSE(WriteOutputFile(dir.file("ro/out.txt"), "new", nullptr, &message));
  EXPECT_NE(message.find("Permission denied"), std::string::npos) << message;
  fs::permissions(dir.file("ro"), fs::perms(0755));
  EXPECT_EQ(test::ReadFileBytes(dir.file("ro/out.txt")), "old");
  EXPECT_EQ(Snapshot(dir.path()).size(), 2u);
}

// A link planted while the file is being written is not followed either.
TEST(OutputFile, TargetThatBecomesALinkBeforeTheRenameIsRefused) {
  test::TempFolder dir;
  test::WriteFileBytes(dir.file("victim"), "victim");
  OutputFile f;
  ASSERT_TRUE(f.open(dir.file("out.svg")));
  ASSERT_TRUE(f.write("<svg/>"));
  fs::create_symlink(dir.file("victim"), dir.file("out.svg"));
  EXPECT_FALSE(f.commit());
  EXPECT_NE(f.message().find("symbolic link"), std::string::npos);
  EXPECT_EQ(test::ReadFileBytes(dir.file("victim")), "victim");
  EXPECT_TRUE(fs::is_symlink(dir.file("out.svg")));
  EXPECT_EQ(Snapshot(dir.path()).size(), 2u);
}

TEST(OutputFile, FullDiskKeepsTheOldFileAndLeavesNothing) {
  test::TempFolder dir;
  test::WriteFileBytes(dir.file("out.png"), "old picture");
  // A real file-size limit: the write fails with EFBIG, as on a full disk.
  auto previous = std::signal(SIGXFSZ, SIG_IGN);
  rlimit saved{};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
  rlimit small = saved;
  small.rlim_cur = 1000;
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  std::string message;
  bool ok = WriteOutputFile(dir.file("out.png"), std::string(200000, 'p'), nullptr, &message);
  ::setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, previous);
  EXPECT_FALSE(ok);
  EXPECT_NE(message.find("File too large"), std::string::npos) << message;
  EXPECT_EQ(test::ReadFileBytes(dir.file("out.png")), "old picture");
  EXPECT_EQ(Snapshot(dir.path()).size(), 1u);

  OutputFile f;
  f.failAfterBytes(3);
  ASSERT_TRUE(f.open(dir.file("out.png")));
  EXPECT_FALSE(f.write("12345"));
  EXPECT_FALSE(f.commit());
  EXPECT_EQ(f.reason(), "No space left on device");
  EXPECT_EQ(test::ReadFileBytes(dir.file("out.png")), "old picture");
  EXPECT_EQ(Snapshot(dir.path()).size(), 1u);
}

TEST(OutputFile, DiscardedOrDestroyedFilesLeaveNothing) {
  test::TempFolder dir;
  {
    OutputFile f;
    ASSERT_TRUE(f.open(dir.file("a.dxf")));
    f.write("half");
  }
  OutputFile g;
  ASSERT_TRUE(g.open(dir.file("b.dxf")));
  g.write("half");
  g.discard();
  EXPECT_TRUE(fs::is_empty(dir.path()));
}

}  // namespace
}  // namespace kamo
