// The real device class and the device list on real files and device nodes.
#include "radio/V4l2KernelDevice.h"

#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "radio/RadioDevicePaths.h"
#include "radio/RadioErrors.h"
#include "radio/V4l2Protocol.h"
#include "tests/support/TempDir.h"
#include "tests/support/Unprivileged.h"

namespace ondivo {
namespace {

// Protocol state as the card hands it in, on port index 1.
CardState DeviceState() {
  CardState state;
  state.Model = mV4l2;
  state.Cap = V4l2StaticRecord();
  state.Port = 1;
  return state;
}

TEST(V4l2KernelDeviceTest, OpenFailuresAreTheOpenErrorWithTheReasonKept) {
  test::TempDir dir;
  RadioDevicePaths paths;
  paths.Override(1, (dir / "radio-missing").string());
  V4l2KernelDevice device;
  V4l2Protocol radio(device, paths);
  CardState state = DeviceState();
  EXPECT_EQ(device.Open((dir / "radio-missing").string()), ENOENT);
  EXPECT_THROW(radio.SwitchOn(state), ePortAlreayOpen);
  EXPECT_FALSE(radio.IsOpen());

  // Something that opens but is no radio tuner: the open is undone.
  test::WriteBytes(dir / "not-a-radio", "x");
  paths.Override(1, (dir / "not-a-radio").string());
  EXPECT_THROW(radio.SwitchOn(state), ePortAlreayOpen);
  EXPECT_FALSE(device.IsOpen());
  EXPECT_EQ(device.Ioctl(0, nullptr), EBADF);
  EXPECT_EQ(device.Read(nullptr, 0), -EBADF);
  EXPECT_EQ(device.Descriptor(), -1);
}

TEST(V4l2KernelDeviceTest, ANodeTheUserMayNotOpenIsRefusedAsAnUnprivilegedUser) {
  // The file must belong to another user than the one who tries it: set up as root.
  if (::geteuid() != 0) GTEST_SKIP() << "needs root to prepare a file for uid 65534";
  test::TempDir dir;
  const auto node = dir / "radio0";
  test::WriteBytes(node, "");
  std::filesystem::permissions(
      node, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
  std::filesystem::permissions(dir.Path(), std::filesystem::perms::all);
  EXPECT_TRUE(test::RunAsUnprivilegedUser([&] {
    RadioDevicePaths paths;
    paths.Override(1, node.string());
    V4l2KernelDevice device;
    if (device.Open(node.string()) != EACCES) return false;
    V4l2Protocol radio(device, paths);
    CardState state = DeviceState();
    try {
      radio.SwitchOn(state);
    } catch (const ePortAlreayOpen&) {
      return !device.IsOpen();
    }
    return false;
  }));
}

TEST(V4l2KernelDeviceTest, ACharacterDeviceThatIsNoTunerIsRefused) {
  test::TempDir dir;
  const auto node = dir / "radio0";
  if (::mknod(node.c_str(), S_IFCHR | 0666, makedev(1, 3)) != 0) {
    GTEST_SKIP() << "mknod not permitted here: " << std::strerror(errno);
  }
  RadioDevicePaths paths;
  paths.Override(1, node.string());
  V4l2KernelDevice device;
  V4l2Protocol radio(device, paths);
  CardState state = DeviceState();
  EXPECT_THROW(radio.SwitchOn(state), ePortAlreayOpen);  // /dev/null answers ENOTTY
  EXPECT_EQ(device.Open(node.string()), 0);
  EXPECT_EQ(device.Poll(0), 1) << "a null device always reads (empty)";
  char byte;
  EXPECT_EQ(device.Read(&byte, 1), 0);

  // The setup dialog lists only nodes that exist as character devices.
  paths.Override(3, (dir / "radio2").string());
  test::WriteBytes(dir / "radio2", "");  // a plain file is no device
  const auto listed = ListRadioDevices(paths);
  ASSERT_FALSE(listed.empty());
  EXPECT_EQ(listed[0].Index, 1);
  EXPECT_EQ(listed[0].Path, node.string());
  for (const auto& entry : listed) EXPECT_NE(entry.Index, 3);
}

TEST(V4l2KernelDeviceTest, RadioPathsAndTheCommandLineOverride) {
  RadioDevicePaths paths;
  EXPECT_EQ(paths.PathFor(1), "/dev/radio0");
  EXPECT_EQ(paths.PathFor(8), "/dev/radio7");
  EXPECT_TRUE(ParseRadioOverride("2=/dev/my-stick", paths));
  EXPECT_EQ(paths.PathFor(2), "/dev/my-stick");
  for (const char* bad : {"0=/dev/x", "9=/dev/x", "2=", "=/dev/x", "x=/dev/x", "2/dev/x"}) {
    EXPECT_FALSE(ParseRadioOverride(bad, paths)) << bad;
  }
  EXPECT_EQ(paths.PathFor(2), "/dev/my-stick");
  const auto listed =
      ListRadioDevices(paths, [](const std::string& p) { return p == "/dev/my-stick"; });
  ASSERT_EQ(listed.size(), 1u);
  EXPECT_EQ(listed[0].Index, 2);
}

}  // namespace
}  // namespace ondivo
