// Only regular files are read: devices, FIFOs and folders are refused at once.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include "core/inputfile.h"
#include "support/scripted_port.h"

namespace kamo {
namespace {

TEST(InputFile, ReadsRegularFilesAndRefusesEverythingElse) {
  test::TempFolder dir;
  test::WriteFileBytes(dir.file("a.kmo"), "project");
  ::mkfifo(dir.file("pipe").c_str(), 0600);
  std::string bytes;
  EXPECT_TRUE(ReadRegularFile(dir.file("a.kmo"), 100, bytes).ok());
  EXPECT_EQ(bytes, "project");
  EXPECT_EQ(ReadRegularFile(dir.file("a.kmo"), 3, bytes).status, InputStatus::TooLarge);
  struct Case {
    std::string path;
    InputStatus status;
  } cases[] = {
      {dir.file("pipe"), InputStatus::NotRegular},  // no writer: must not wait
      {"/dev/zero", InputStatus::NotRegular},      // endless: must not be read
      {dir.path(), InputStatus::NotRegular},
      {dir.file("missing.kmo"), InputStatus::Missing},
  };
  for (const Case& c : cases) {
    InputResult r = ReadRegularFile(c.path, 1 << 20, bytes);
    EXPECT_EQ(r.status, c.status) << c.path;
    EXPECT_FALSE(r.reason.empty()) << c.path;
    EXPECT_TRUE(bytes.empty()) << c.path;
  }
}

}  // namespace
}  // namespace kamo
