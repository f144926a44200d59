// Text files are replaced only when they were written completely.
#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>

#include "core/textfile.h"
#include "core/ui.h"
#include "support/scripted_port.h"

namespace kamo {
namespace {

class TextFileTest : public ::testing::Test {
 protected:
  test::ScriptedPort port;
  Flags flags;
  UiState state;
  NumberStyle numbers;
  Ui ui{port, flags, state, numbers};
  test::TempFolder dir;
  size_t filesInDir() {
    size_t n = 0;
    for ([[maybe_unused]] auto& e : std::filesystem::directory_iterator(dir.path())) ++n;
    return n;
  }
};

TEST_F(TextFileTest, WritesLinesWithCrLf) {
  TextFileWriter w(ui);
  ASSERT_TRUE(w.create(dir.file("a.txt")));
  w.line("eins");
  w.line("");
  w.line("drei");
  EXPECT_TRUE(w.close());
  EXPECT_EQ(test::ReadFileBytes(dir.file("a.txt")), "eins\r\n\r\ndrei\r\n");
  EXPECT_EQ(filesInDir(), 1u);
}

TEST_F(TextFileTest, FailedWriteKeepsTheOldFile) {
  test::WriteFileBytes(dir.file("a.txt"), "old content");
  TextFileWriter w(ui);
  w.failAfterBytes(10);
  ASSERT_TRUE(w.create(dir.file("a.txt")));
  w.line("a new line that is long");
  w.line("more");
  EXPECT_FALSE(w.close());
  EXPECT_TRUE(flags.abortFlag);
  EXPECT_EQ(test::ReadFileBytes(dir.file("a.txt")), "old content");
  EXPECT_EQ(filesInDir(), 1u);  // no temporary file left behind
  ASSERT_EQ(port.boxes.size(), 1u);  // told once
  EXPECT_EQ(port.boxes[0].text.rfind("Diskette/Platte voll", 0), 0u);
}

TEST_F(TextFileTest, CreateInMissingFolderFails) {
  TextFileWriter w(ui);
  EXPECT_FALSE(w.create(dir.file("no/such/a.txt")));
  EXPECT_TRUE(flags.abortFlag);
  EXPECT_EQ(port.boxes[0].text.rfind("file write error", 0), 0u);
}

TEST_F(TextFileTest, RetryUntilTheUserGivesUp) {
  std::string path = dir.file("sub/kamo.cfg");
  // The folder is missing: the user retries once, then gives up.
  port.retries = {true, false};
  TextFileWriter w(ui);
  std::filesystem::path sub = dir.file("sub");
  EXPECT_FALSE(w.createWithRetry(path));
  EXPECT_TRUE(flags.abortFlag);
  ASSERT_EQ(port.questions.size(), 2u);
  EXPECT_EQ(port.questions[0].rfind("Programmdiskette einlegen !", 0), 0u);
  flags.abortFlag = false;
  std::filesystem::create_directory(sub);
  TextFileWriter again(ui);
  EXPECT_TRUE(again.createWithRetry(path));
  again.line("x");
  EXPECT_TRUE(again.close());
  EXPECT_EQ(RetryCreateMessage(EROFS), "Schreibschutz entfernen !");
  EXPECT_EQ(RetryCreateMessage(EIO), "I/O-Error 5");
}

TEST_F(TextFileTest, ErrorMessagesByStep) {
  EXPECT_EQ(TextFileErrorMessage(FileStep::Write, ENOSPC), "Diskette/Platte voll");
  EXPECT_EQ(TextFileErrorMessage(FileStep::Write, EIO), "Fehler bei Zugriff auf Diskette/Platte");
  EXPECT_EQ(TextFileErrorMessage(FileStep::Close, EIO), "Fehler beim Schlie\xE1" "en einer Datei");
  EXPECT_EQ(TextFileErrorMessage(FileStep::Create, EACCES), "file write error");
}

}  // namespace
}  // namespace kamo
