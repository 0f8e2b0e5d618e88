#include <gtest/gtest.h>

#include <cerrno>

#include "mixer/MixerErrors.h"

namespace ondivo {
namespace {

TEST(MixerErrorsTest, TextNamesKindCodeTextAndCall) {
  EXPECT_EQ(eMMError(5, "mixerGetLineControls").what(),
            std::string("Multimedia System Error 5 - Device handle is invalid in "
                        "mixerGetLineControls"));
  EXPECT_EQ(FormatMMError(1025, "snd_mixer_load"),
            "Multimedia Mixer Error 1025 - Invalid Mixer Control in snd_mixer_load");
  EXPECT_EQ(FormatMMError(12, "x"),
            "Multimedia System Error 12 - Handle being used simultaneously on another thread "
            "(eg callback) in x");
  EXPECT_EQ(FormatMMError(21, "x"), "Multimedia Unknown Error 21 - Unknown error in x");
  EXPECT_EQ(FormatMMError(1023, "x"), "Multimedia Unknown Error 1023 - Unknown error in x");
  EXPECT_EQ(FormatMMError(1027, "x"), "Multimedia Unknown Error 1027 - Unknown error in x");
}

TEST(MixerErrorsTest, EveryCodeHasItsText) {
  EXPECT_STREQ(MMErrorText(1), "Unspecified error");
  EXPECT_STREQ(MMErrorText(10), "Invalid flag passed");
  EXPECT_STREQ(MMErrorText(20), "Driver does not call DriverCallback");
  EXPECT_STREQ(MMErrorText(1024), "Invalid Mixer Line");
  EXPECT_STREQ(MMErrorText(1026), "Invalid Mixer Value");
  for (int32_t code = 1; code <= 20; ++code) EXPECT_STRNE(MMErrorText(code), "Unknown error");
  EXPECT_STREQ(MMErrorText(0), "Unknown error");
}

TEST(MixerErrorsTest, AlsaErrnoValuesMapOntoTheNearestCode) {
  EXPECT_EQ(MMCodeOfAlsaError(-ENOENT), kMMSysErrBadDeviceId);
  EXPECT_EQ(MMCodeOfAlsaError(-ENODEV), kMMSysErrNoDriver);
  EXPECT_EQ(MMCodeOfAlsaError(-EBUSY), kMMSysErrAllocated);
  EXPECT_EQ(MMCodeOfAlsaError(-EBADFD), kMMSysErrInvalHandle);
  EXPECT_EQ(MMCodeOfAlsaError(-ENOMEM), kMMSysErrNoMem);
  EXPECT_EQ(MMCodeOfAlsaError(-ENOSYS), kMMSysErrNotSupported);
  EXPECT_EQ(MMCodeOfAlsaError(-EINVAL), kMMSysErrInvalParam);
  EXPECT_EQ(MMCodeOfAlsaError(-EPIPE), kMMSysErrError);  // not listed: unspecified
  EXPECT_EQ(CheckAlsa(3, "snd_mixer_load"), 3);
  try {
    CheckAlsa(-EACCES, "snd_mixer_attach");
    FAIL();
  } catch (const eMMError& e) {
    EXPECT_EQ(e.Code(), kMMSysErrNotEnabled);
    EXPECT_EQ(e.SystemErrno(), EACCES);
    EXPECT_EQ(e.Call(), "snd_mixer_attach");
  }
}

}  // namespace
}  // namespace ondivo
