#include "platform/AtomicFile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "tests/support/TempDir.h"

namespace ondivo {
namespace {

using test::CountEntries;
using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

TEST(AtomicFileTest, CreatesAndReplacesKeepingPermissionsAndLeavingNoTempFile) {
  TempDir dir;
  const auto target = dir / "Ondivo.ini";
  ASSERT_TRUE(WriteFileAtomically(target, "first\n"));
  EXPECT_EQ(ReadBytes(target), "first\n");

  ::chmod(target.c_str(), 0640);
  ASSERT_TRUE(WriteFileAtomically(target, std::string(100000, 'x')));
  EXPECT_EQ(ReadBytes(target), std::string(100000, 'x'));
  struct stat info {};
  ASSERT_EQ(::stat(target.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0640u);
  EXPECT_EQ(CountEntries(dir.Path()), 1u);
}

TEST(AtomicFileTest, FullDiskLeavesPreviousFileByteIdentical) {
  TempDir dir;
  const auto target = dir / "presets.ovp";
  const std::string previous = "001.088.500.FM.Previous\r\n";
  WriteBytes(target, previous);

  // The child's writes stop at 64 bytes, as if the disk were full.
  const bool written = test::RunWithFileSizeLimit(
      64, [&] { return WriteFileAtomically(target, std::string(4096, 'n')); });
  EXPECT_FALSE(written);
  EXPECT_EQ(ReadBytes(target), previous);
  EXPECT_EQ(CountEntries(dir.Path()), 1u);  // the temporary file is gone
}

TEST(AtomicFileTest, FailuresReportAndNeverTouchTheTarget) {
  TempDir dir;
  std::error_code error;
  // The folder does not exist: nothing can be created.
  EXPECT_FALSE(WriteFileAtomically(dir / "missing/Ondivo.db", "x", &error));
  EXPECT_TRUE(error);

  // A folder in the target's place cannot be renamed over.
  const auto folder = dir / "taken";
  std::filesystem::create_directory(folder);
  WriteBytes(folder / "inside", "keep");
  EXPECT_FALSE(WriteFileAtomically(folder, "x"));
  EXPECT_TRUE(std::filesystem::is_directory(folder));
  EXPECT_EQ(ReadBytes(folder / "inside"), "keep");
  EXPECT_EQ(CountEntries(dir.Path()), 1u);
}

TEST(AtomicFileTest, AbandonedWriteRemovesOnlyItsTemporaryFile) {
  TempDir dir;
  const auto target = dir / "script.ovs";
  WriteBytes(target, "old");
  {
    AtomicFile file(target);
    EXPECT_TRUE(file.Write("new contents"));
  }
  EXPECT_EQ(ReadBytes(target), "old");
  EXPECT_EQ(CountEntries(dir.Path()), 1u);
}

TEST(AtomicFileTest, WritingThroughASymlinkReplacesTheFileItPointsTo) {
  TempDir dir;
  const auto real = dir / "real.ini";
  const auto link = dir / "link.ini";
  WriteBytes(real, "old");
  std::filesystem::create_symlink(real, link);
  ASSERT_TRUE(WriteFileAtomically(link, "new"));
  EXPECT_TRUE(std::filesystem::is_symlink(link));
  EXPECT_EQ(ReadBytes(real), "new");
}

}  // namespace
}  // namespace ondivo
