// Least privilege: the running panel holds no capability, whatever it started with.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/statvfs.h>

#include "sim/EmulatedSoundCard.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/ProcessCapabilities.h"
#include "tests/support/TempDir.h"
#include "tests/support/Unprivileged.h"

namespace ondivo {
namespace {

using namespace std::chrono_literals;

// Starts program on emulated hardware and gives the capability sets of each of its threads once
// the panel is up.
std::vector<test::CapabilitySets> PanelThreadCapabilities(const std::string& program,
                                                          bool unprivileged) {
  test::TempDir dir;
  std::filesystem::create_directory(dir / "rt");
  ::chmod((dir / "rt").c_str(), 0700);
  test::WriteBytes(dir / "Ondivo.ini", "[Configuration]\nHardware=1\nPort=1\nVolumeLine=1\n");
  if (unprivileged) {
    ::chmod(dir.Path().c_str(), 0755);
    for (const auto& p : {dir.Path(), dir / "rt", dir / "Ondivo.ini"}) {
      test::GiveToUnprivilegedUser(p);
    }
  }
  test::ChildProcess ondivo(
      program, {"--simulate", "--config-dir", dir.Path().string(), "--print-title"},
      {"QT_QPA_PLATFORM=offscreen", "XDG_RUNTIME_DIR=" + (dir / "rt").string(),
       "HOME=" + dir.Path().string()},
      unprivileged);
  if (!ondivo.WaitForLine("title: ", 20s)) return {};
  auto threads = test::ThreadCapabilities(ondivo.Pid());
  ondivo.Signal(SIGTERM);
  EXPECT_EQ(ondivo.Wait(), 0);
  return threads;
}

TEST(CapabilityDropTest, RootGivesUpEveryCapabilityBeforeThePanelIsUp) {
  if (::getuid() != 0) GTEST_SKIP() << "needs root, who starts with every capability";
  const auto threads = PanelThreadCapabilities(ONDIVO_EXE, false);
  ASSERT_FALSE(threads.empty());
  for (const auto& t : threads) {
    EXPECT_TRUE(t.None()) << std::hex << "CapEff " << t.Effective << " CapPrm " << t.Permitted
                          << " CapInh " << t.Inheritable;
  }
}

// The installed case: an ordinary user runs a binary given cap_sys_rawio+ep. Without
// CAP_SETPCAP the bounding set stays, and the program still runs without the capability.
TEST(CapabilityDropTest, AUserRunningTheRawIoBinaryEndsWithNoCapability) {
  if (::getuid() != 0) GTEST_SKIP() << "needs root to become another user";
  test::UnprivilegedCopies copies;
  if (!copies.Reachable()) GTEST_SKIP() << "cannot run as uid 65534 in " << copies.Path();
  const auto program = copies.Add(ONDIVO_EXE);
  ASSERT_FALSE(copies.Add(sim::EmulatedSoundCardPlugin()).empty());
  struct statvfs mount {};
  if (::statvfs(copies.Path().c_str(), &mount) != 0 || (mount.f_flag & ST_NOSUID) != 0 ||
      test::RunProgram({"setcap", "cap_sys_rawio+ep", program.string()}) != 0) {
    GTEST_SKIP() << "no file capabilities for programs in " << copies.Path();
  }
  const auto threads = PanelThreadCapabilities(program.string(), true);
  ASSERT_FALSE(threads.empty());
  for (const auto& t : threads) {
    EXPECT_TRUE(t.None()) << std::hex << "CapEff " << t.Effective << " CapPrm " << t.Permitted
                          << " CapInh " << t.Inheritable;
  }
}

}  // namespace
}  // namespace ondivo
