// The emulated radio device through its seam, as a driver would answer.
#include "sim/EmulatedV4l2Radio.h"

#include <linux/videodev2.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <vector>

#include "radio/RadioErrors.h"
#include "radio/RdsDecoder.h"
#include "tests/support/HardwareDoubles.h"

namespace ondivo::sim {
namespace {

class EmulatedV4l2RadioTest : public ::testing::Test {
 protected:
  EmulatedV4l2RadioTest() {
    EmulatedV4l2Radio::Options options;
    options.NowMs = [this] { return now_; };
    radio_ = std::make_unique<EmulatedV4l2Radio>(StationLandscape(), options);
    EXPECT_EQ(radio_->Open("/dev/radio0"), 0);
  }
  void Tune(double mhz) {
    v4l2_frequency f{};
    f.type = V4L2_TUNER_RADIO;
    f.frequency = static_cast<uint32_t>(mhz * 16000 + 0.5);
    ASSERT_EQ(radio_->Ioctl(VIDIOC_S_FREQUENCY, &f), 0);
  }
  std::vector<v4l2_rds_data> ReadAll() {
    std::vector<v4l2_rds_data> all;
    v4l2_rds_data buffer[32];
    ssize_t n;
    while ((n = radio_->Read(buffer, sizeof(buffer))) > 0) {
      all.insert(all.end(), buffer, buffer + n / static_cast<ssize_t>(sizeof(v4l2_rds_data)));
    }
    EXPECT_EQ(n, -EAGAIN);
    return all;
  }

  int64_t now_ = 0;
  std::unique_ptr<EmulatedV4l2Radio> radio_;
};

TEST_F(EmulatedV4l2RadioTest, AnswersOnlyItsNodeAndOneOpenAtATime) {
  EmulatedV4l2Radio other(StationLandscape{});
  EXPECT_EQ(other.Open("/dev/radio1"), ENOENT);
  EXPECT_EQ(radio_->Open("/dev/radio0"), EBUSY);
  radio_->Close();
  v4l2_capability caps{};
  EXPECT_EQ(radio_->Ioctl(VIDIOC_QUERYCAP, &caps), EBADF);
  radio_->SetBusy(true);
  EXPECT_EQ(radio_->Open("/dev/radio0"), EBUSY);
}

TEST_F(EmulatedV4l2RadioTest, AfterAnUnplugOnlyAFreshOpenOfTheReturnedReceiverWorks) {
  radio_->Unplug();
  v4l2_capability caps{};
  EXPECT_EQ(radio_->Ioctl(VIDIOC_QUERYCAP, &caps), ENODEV);
  radio_->Replug();
  EXPECT_EQ(radio_->Ioctl(VIDIOC_QUERYCAP, &caps), ENODEV) << "the old handle stays dead";
  radio_->Close();
  EXPECT_EQ(radio_->Open("/dev/radio0"), 0);
  EXPECT_EQ(radio_->Ioctl(VIDIOC_QUERYCAP, &caps), 0);
  radio_->Close();
  radio_->Unplug();
  EXPECT_EQ(radio_->Open("/dev/radio0"), ENOENT);
  radio_->Replug();
  EXPECT_EQ(radio_->Open("/dev/radio0"), 0);
}

TEST_F(EmulatedV4l2RadioTest, BlocksArriveAtTheBroadcastRateAndOldOnesAreOverwritten) {
  Tune(97.1);
  EXPECT_EQ(radio_->Poll(0), 0);
  now_ += 1000;
  EXPECT_EQ(radio_->Poll(0), 1);
  const auto second = ReadAll();
  EXPECT_EQ(second.size(), 45u) << "1187.5 bit/s in 26-bit blocks";
  // Blocks come in group order A, B, C, D.
  for (size_t i = 0; i < second.size(); ++i) {
    EXPECT_EQ(second[i].block & V4L2_RDS_BLOCK_MSK, i % 4) << i;
  }
  now_ += 60000;
  EXPECT_EQ(ReadAll().size(), 100u) << "a driver keeps a bounded buffer";
  // Tuning away from the station ends the stream.
  Tune(88.5);
  now_ += 1000;
  EXPECT_TRUE(ReadAll().empty());
}

TEST_F(EmulatedV4l2RadioTest, TheStreamDecodesToTheStation) {
  Tune(104.3);
  RdsDecoder decoder;
  for (int second = 0; second < 20; ++second) {
    now_ += 1000;
    for (const auto& b : ReadAll()) decoder.Feed(b.lsb, b.msb, b.block);
  }
  const auto expected = radio_->RdsAt(bFM, 104.3);
  ASSERT_TRUE(expected.has_value());
  EXPECT_EQ(decoder.PI(), expected->PI);
  EXPECT_EQ(decoder.ProgramService(), "BLUES AV");
  EXPECT_EQ(decoder.RadioText(), "You are listening to Blues Avenue on 104.30 MHz");
  EXPECT_FALSE(radio_->RdsAt(bFM, 88.9).has_value()) << "mono stations send no RDS";
}

TEST_F(EmulatedV4l2RadioTest, ClampsToItsBandsAndReportsTheUnplug) {
  Tune(120.0);
  EXPECT_EQ(radio_->FrequencyMHz(), 108.0);
  v4l2_control mute{V4L2_CID_AUDIO_MUTE, 1};
  EXPECT_EQ(radio_->Ioctl(VIDIOC_S_CTRL, &mute), 0);
  EXPECT_TRUE(radio_->Muted());
  v4l2_control loud{V4L2_CID_AUDIO_VOLUME, 99};
  EXPECT_EQ(radio_->Ioctl(VIDIOC_S_CTRL, &loud), ERANGE);
  v4l2_control bass{V4L2_CID_AUDIO_BASS, 1};
  EXPECT_EQ(radio_->Ioctl(VIDIOC_S_CTRL, &bass), EINVAL);
  radio_->Unplug();
  v4l2_tuner tuner{};
  EXPECT_EQ(radio_->Ioctl(VIDIOC_G_TUNER, &tuner), ENODEV);
  char buffer[3];
  EXPECT_EQ(radio_->Read(buffer, sizeof(buffer)), -ENODEV);
  EXPECT_EQ(radio_->Poll(0), -ENODEV);
}

TEST(EmulatedV4l2RadioSimulateTest, TheSimulatedReceiverPlaysOnTheCardAndIsListed) {
  test::RecordingBus bus;
  TRadioCard card(test::BusHardware(bus));
  RadioDevicePaths paths;
  paths.Override(1, "/dev/sim-radio");
  const PathExists exists = UseSimulatedV4l2Radio(card, StationLandscape(), paths);
  const auto listed = ListRadioDevices(paths, exists);
  ASSERT_EQ(listed.size(), 1u);
  EXPECT_EQ(listed[0].Index, 1);
  card.SetModel(mV4l2);
  card.SetPort(1);
  card.SwitchOn();
  EXPECT_EQ(card.GetDevCap(mV4l2).Name, "Ondivo emulated radio");
  card.SetFrequency(100.3);
  EXPECT_EQ(card.GetSignal(), sStereo);
  EXPECT_TRUE(card.CanHardwareSeek());
  EXPECT_THROW(UseSimulatedV4l2Radio(card, StationLandscape()), eCantSetup) << "only while off";
}

}  // namespace
}  // namespace ondivo::sim
