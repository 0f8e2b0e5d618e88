#include "platform/TextLineReader.h"

#include <gtest/gtest.h>

#include "tests/support/TempDir.h"

namespace ondivo {
namespace {

using Status = TextLineReader::Status;

TEST(TextLineReaderTest, SplitsCrLfAndLfLinesAndTheLastLineWithoutBreak) {
  test::TempDir dir;
  test::WriteBytes(dir / "f", "one\r\ntwo\n\r\nlast");
  TextLineReader reader(dir / "f");
  std::string line;
  ASSERT_TRUE(reader.IsOpen());
  EXPECT_EQ(reader.ReadLine(line, 100), Status::Line);
  EXPECT_EQ(line, "one");
  EXPECT_EQ(reader.ReadLine(line, 100), Status::Line);
  EXPECT_EQ(line, "two");
  EXPECT_EQ(reader.ReadLine(line, 100), Status::Line);
  EXPECT_EQ(line, "");
  EXPECT_FALSE(reader.AtEnd());
  EXPECT_EQ(reader.ReadLine(line, 100), Status::Line);
  EXPECT_EQ(line, "last");
  EXPECT_TRUE(reader.AtEnd());
  EXPECT_EQ(reader.ReadLine(line, 100), Status::End);
}

TEST(TextLineReaderTest, StopsAtAnOverlongLineAndReportsUnreadableFiles) {
  test::TempDir dir;
  test::WriteBytes(dir / "big", std::string(10 * 1024 * 1024, 'x'));
  TextLineReader big(dir / "big");
  std::string line;
  EXPECT_EQ(big.ReadLine(line, 4096), Status::TooLong);
  EXPECT_LE(line.capacity(), 1024u * 1024u);

  TextLineReader missing(dir / "none");
  EXPECT_FALSE(missing.IsOpen());
  EXPECT_EQ(missing.ReadLine(line, 10), Status::Error);

  TextLineReader folder(dir.Path());
  EXPECT_EQ(folder.ReadLine(line, 10), Status::Error);
}

}  // namespace
}  // namespace ondivo
