// The order of the entry sequence, seen from outside the executable.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "tests/support/ChildProcess.h"
#include "tests/support/TempDir.h"

namespace ondivo {
namespace {

using namespace std::chrono_literals;

// The guard comes first: a second copy ends before it opens a display connection, so it ends
// quietly even where it could not have opened one.
TEST(OndivoEntryTest, ASecondCopyEndsBeforeItOpensTheDisplay) {
  test::TempDir dir;
  std::filesystem::create_directory(dir / "rt");
  ::chmod((dir / "rt").c_str(), 0700);
  test::WriteBytes(dir / "Ondivo.ini", "[Configuration]\nHardware=1\nPort=1\nVolumeLine=1\n");
  const std::vector<std::string> args = {"--simulate", "--config-dir", dir.Path().string(),
                                         "--print-title"};
  const std::string runtime = "XDG_RUNTIME_DIR=" + (dir / "rt").string();
  const std::string home = "HOME=" + dir.Path().string();
  test::ChildProcess first(ONDIVO_EXE, args, {"QT_QPA_PLATFORM=offscreen", runtime, home});
  ASSERT_TRUE(first.WaitForLine("title: ", 20s));
  test::ChildProcess second(ONDIVO_EXE, args,
                            {"QT_QPA_PLATFORM=xcb", "DISPLAY=:4711", runtime, home});
  EXPECT_EQ(second.Wait(), 0);
  first.Signal(SIGTERM);
  EXPECT_EQ(first.Wait(), 0);
}

}  // namespace
}  // namespace ondivo
