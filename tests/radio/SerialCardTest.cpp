#include <gtest/gtest.h>

#include <chrono>
#include <cmath>

#include "radio/PortIo.h"
#include "radio/RadioCard.h"
#include "radio/RadioErrors.h"
#include "radio/SerialPortProbe.h"
#include "sim/EmulatedSerialRadio.h"
#include "tests/support/PtyPair.h"

namespace ondivo {
namespace {

using namespace std::chrono_literals;
using sim::EmulatedSerialRadio;
using sim::SerialRadioStatus;

// The card with a serial radio of each model on COM2 (the serial models' default port).
class SerialCardTest : public ::testing::Test {
 protected:
  std::unique_ptr<TRadioCard> MakeCard(tModel model) {
    radio_.SetModel(model);
    CardHardware hardware{ports_, delay_};
    hardware.ComPaths.Override(2, radio_.SlavePath());
    hardware.ComPaths.Override(3, "/nonexistent/ttyNone");
    auto card = std::make_unique<TRadioCard>(std::move(hardware));
    card->SetModel(model);
    card->SetVolumeLine(vlNative);
    return card;
  }
  // Waits until the radio has decoded one more frame than before.
  SerialRadioStatus NextFrame(uint64_t& frames) {
    ++frames;
    EXPECT_TRUE(
        radio_.WaitUntil([&](const SerialRadioStatus& s) { return s.Frames >= frames; }, 5s));
    return radio_.Status();
  }
  bool WaitPowered(bool powered) {
    return radio_.WaitUntil([&](const SerialRadioStatus& s) { return s.Powered == powered; }, 5s);
  }

  NullPortIo ports_;
  test::RecordingDelay delay_;
  EmulatedSerialRadio radio_{mWizard, sim::StationLandscape()};

  void SetUp() override { radio_.Start(); }
};

constexpr tModel kSerialModels[] = {mWizard, mRadioMan, mRadionMaru, mRajikoma};

TEST_F(SerialCardTest, EveryFMGridPointLandsOnTheSameFrequencyOnAllFourModels) {
  for (const tModel model : kSerialModels) {
    for (const bool japanese : {false, true}) {
      auto card = MakeCard(model);
      card->SetJapaneseFM(japanese);
      card->SwitchOn();
      ASSERT_TRUE(WaitPowered(true));
      uint64_t frames = radio_.Status().Frames;
      const int points = static_cast<int>(std::lround((card->FMMax() - card->FMMin()) / 0.05));
      for (int n = 0; n <= points; ++n) {
        // Slightly off the grid, so the card snaps before it sends.
        card->SetFrequency(card->FMMin() + n * 0.05 + 0.012);
        const SerialRadioStatus status = NextFrame(frames);
        ASSERT_EQ(status.Band, bFM);
        ASSERT_NEAR(status.Frequency, card->Frequency(), 1e-9)
            << static_cast<int>(model) << " " << japanese << " " << n;
      }
      card->SwitchOff();
      ASSERT_TRUE(WaitPowered(false));
    }
  }
}

TEST_F(SerialCardTest, EveryAMGridPointLandsOnTheSameFrequencyOnTheTwoAMModels) {
  for (const tModel model : {mRadioMan, mRajikoma}) {
    auto card = MakeCard(model);
    card->SwitchOn();
    uint64_t frames = radio_.Status().Frames;
    card->SetBand(bAM);
    EXPECT_NEAR(NextFrame(frames).Frequency, 0.531, 1e-9);
    for (int n = 0; n <= 121; ++n) {
      card->SetFrequency(0.531 + n * 0.009 - 0.002);
      const SerialRadioStatus status = NextFrame(frames);
      ASSERT_EQ(status.Band, bAM);
      ASSERT_EQ(status.Channel, n);
      ASSERT_NEAR(status.Frequency, card->Frequency(), 1e-9) << n;
    }
  }
}

TEST_F(SerialCardTest, JapaneseFMClampsAndTheRadioHearsWhatTheCardReports) {
  auto card = MakeCard(mRajikoma);
  card->SetJapaneseFM(true);
  card->SwitchOn();
  EXPECT_EQ(delay_.Waits, std::vector<int>{200});
  uint64_t frames = radio_.Status().Frames;
  card->SetFrequency(95.0);
  EXPECT_EQ(NextFrame(frames).Channel, 300);
  EXPECT_DOUBLE_EQ(card->Frequency(), 91.0);

  card->SetFrequency(76.1);  // "Tokyo Bay FM"
  NextFrame(frames);
  EXPECT_EQ(card->GetSignal(), sTuned);
  card->SetFrequency(76.3);
  NextFrame(frames);
  EXPECT_EQ(card->GetSignal(), sNone);
}

TEST_F(SerialCardTest, MuteFollowsTheCardAndSwitchingOffOrDestroyingDropsThePower) {
  auto card = MakeCard(mRadioMan);
  card->SwitchOn();
  ASSERT_TRUE(WaitPowered(true));
  uint64_t frames = radio_.Status().Frames;
  card->Mute();
  EXPECT_TRUE(NextFrame(frames).Muted);
  EXPECT_TRUE(card->Muted());
  card->Unmute();
  EXPECT_FALSE(NextFrame(frames).Muted);
  EXPECT_FALSE(card->Muted());
  card->SwitchOff();
  EXPECT_TRUE(WaitPowered(false));
  EXPECT_TRUE(card->Muted());

  card->SwitchOn();
  EXPECT_TRUE(WaitPowered(true));
  card.reset();  // destroyed while on: switched off first
  EXPECT_TRUE(WaitPowered(false));
}

TEST_F(SerialCardTest, TheAMBandNeverAsksTheRadio) {
  auto card = MakeCard(mRadioMan);
  card->SwitchOn();
  uint64_t frames = radio_.Status().Frames;
  card->SetLastAM(0.999);  // "Gold 999": the radio would answer "tuned" if asked
  card->SetBand(bAM);
  EXPECT_NEAR(NextFrame(frames).Frequency, 0.999, 1e-9);
  const uint64_t replies = radio_.Status().Replies;
  EXPECT_EQ(card->GetSignal(), sNone);
  EXPECT_EQ(radio_.Status().Replies, replies);
  card->SetBand(bFM);
  card->SetFrequency(88.1);  // an FM station: the same radio does answer
  NextFrame(frames);
  EXPECT_EQ(card->GetSignal(), sTuned);
}

TEST_F(SerialCardTest, TheCardTellsItsPortsAndWhetherTheLineIsOpen) {
  auto card = MakeCard(mWizard);
  EXPECT_EQ(card->ComPaths().PathFor(2), radio_.SlavePath());
  EXPECT_EQ(card->ComPaths().PathFor(4), "/dev/ttyS3");
  EXPECT_FALSE(card->SerialConnected());
  card->SwitchOn();
  EXPECT_TRUE(card->SerialConnected());
  card->SwitchOff();
  EXPECT_FALSE(card->SerialConnected());
  card->SetPort(3);  // cannot be opened: on, but not connected
  EXPECT_THROW(card->SwitchOn(), ePortAlreayOpen);
  EXPECT_TRUE(card->On());
  EXPECT_FALSE(card->SerialConnected());
}

TEST_F(SerialCardTest, AnOrdinaryUserCanSwitchTheRadioOffAndOnAgain) {
  radio_.Stop();
  const std::string report = test::RunUnprivileged([this]() -> std::string {
    // The user's own radio and pty, as --simulate makes them.
    EmulatedSerialRadio radio(mWizard, sim::StationLandscape());
    radio.Start();
    CardHardware hardware{ports_, delay_};
    hardware.ComPaths.Override(2, radio.SlavePath());
    TRadioCard card(std::move(hardware));
    card.SetModel(mWizard);
    for (int i = 0; i < 3; ++i) {
      if (!IsSerialPortPresent(2, card.ComPaths())) return "the probe found no port";
      try {
        card.SwitchOn();
      } catch (const ePortAlreayOpen&) {
        return "switch-on " + std::to_string(i) + " could not open the port";
      }
      card.SwitchOff();
    }
    return {};
  });
  EXPECT_EQ(report, "");
}

TEST_F(SerialCardTest, APortThatCannotBeOpenedThrowsAndLeavesTheCardOn) {
  auto card = MakeCard(mWizard);
  card->SetPort(3);
  EXPECT_THROW(card->SwitchOn(), ePortAlreayOpen);
  EXPECT_TRUE(card->On());
  card->SetFrequency(100.0);  // nothing to send to; no harm
  EXPECT_EQ(card->GetSignal(), sNone);
  card->SwitchOff();
  EXPECT_FALSE(card->On());
}

TEST_F(SerialCardTest, AnUnpluggedRadioLeavesTheProgramRunningWithNoSignal) {
  auto card = MakeCard(mWizard);
  card->SwitchOn();
  uint64_t frames = radio_.Status().Frames;
  card->SetFrequency(88.1);
  NextFrame(frames);
  EXPECT_EQ(card->GetSignal(), sTuned);
  radio_.Unplug();
  card->SetFrequency(93.0);
  card->Mute();
  EXPECT_EQ(card->GetSignal(), sNone);
  card->SwitchOff();
}

}  // namespace
}  // namespace ondivo
