#include "mixer/tdMixer.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QToolButton>

#include "mixer/Mixer.h"
#include "tests/support/EmulatedSoundCardFixture.h"

namespace ondivo {
namespace {

class tdMixerTest : public test::EmulatedSoundCardTestBase {
 protected:
  // Line in at 0..65535 with L = 30000, R = 15000; the rest as the emulated card has it.
  std::unique_ptr<tdMixer> Open(tVolumeLine routed = vlLineIn,
                                std::initializer_list<tMixerControlType> missing = {}) {
    sim::EmulatedCardState card = sim::WithoutControls(sim::DefaultEmulatedCard(), missing);
    card.At(mcLineInVolume).Maximum = 65535;
    card.At(mcLineInVolume).Value = {30000, 15000};
    StartCard(card);
    return std::make_unique<tdMixer>(
        OpenMixer(), routed, [this](const std::string& topic) { helpTopics.push_back(topic); });
  }
  static bool RunUntil(const std::function<bool()>& done) {
    QElapsedTimer bound;
    bound.start();
    while (!done() && bound.elapsed() < 5000) {
      QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 100);
    }
    return done();
  }
  std::vector<std::string> helpTopics;
};

TEST_F(tdMixerTest, ALineIsShownAsVolumeAndBalanceAndWrittenBackTheSameWay) {
  auto d = Open();
  EXPECT_EQ(d->windowTitle(), "Mixer control");
  QSlider* volume = d->Volume(tMixerStrip::LineIn);
  QSlider* pan = d->Panning(tMixerStrip::LineIn);
  EXPECT_EQ(volume->maximum(), 65535);
  EXPECT_EQ(volume->value(), 30000);
  EXPECT_EQ(pan->value(), -50);
  EXPECT_EQ(pan->minimum(), -100);
  EXPECT_EQ(pan->maximum(), 100);

  volume->setValue(20000);
  EXPECT_EQ(CardControl(mcLineInVolume).Value, (std::array<long, 2>{20000, 10000}));
  pan->setValue(50);
  EXPECT_EQ(CardControl(mcLineInVolume).Value, (std::array<long, 2>{10000, 20000}));

  d->Mute(tMixerStrip::Cd)->click();
  EXPECT_EQ(CardControl(mcCdMute).Value[0], 0);  // ALSA's switch off: muted
  d->Mute(tMixerStrip::Cd)->click();
  EXPECT_EQ(CardControl(mcCdMute).Value[0], 1);

  for (auto* b : d->findChildren<QPushButton*>()) {
    if (b->text() == "Help") b->click();
  }
  EXPECT_EQ(helpTopics, std::vector<std::string>{"Volume_controls"});
}

TEST_F(tdMixerTest, ChangesElsewhereAreFollowedAndSilenceKeepsTheBalanceWhereItWas) {
  auto d = Open();
  QSlider* volume = d->Volume(tMixerStrip::LineIn);
  QSlider* pan = d->Panning(tMixerStrip::LineIn);
  ASSERT_EQ(Amixer({"sset", "Line", "0,0"}), 0);
  ASSERT_TRUE(RunUntil([&] { return volume->value() == 0; }));
  EXPECT_EQ(pan->value(), -50);                                               // where it was
  EXPECT_EQ(CardControl(mcLineInVolume).Value, (std::array<long, 2>{0, 0}));  // nothing written

  ASSERT_EQ(Amixer({"sset", "Master", "10,31"}), 0);
  QSlider* master = d->Volume(tMixerStrip::Master);
  ASSERT_TRUE(RunUntil([&] { return master->value() == 31; }));
  EXPECT_EQ(d->Panning(tMixerStrip::Master)->value(), 67);  // 100 x 21 / 31
  ASSERT_EQ(Amixer({"sset", "Master", "mute"}), 0);
  ASSERT_TRUE(RunUntil([&] { return d->Mute(tMixerStrip::Master)->isChecked(); }));
  ASSERT_EQ(Amixer({"sset", "Treble", "5"}), 0);
  ASSERT_TRUE(RunUntil([&] { return d->Treble()->value() == 5; }));
}

TEST_F(tdMixerTest, MissingControlsAreDisabledAndNeverWrittenAndTheRoutedLineIsBold) {
  auto d = Open(vlCd, {mcBass, mcMicMute});
  EXPECT_FALSE(d->Bass()->isEnabled());
  EXPECT_TRUE(d->Treble()->isEnabled());
  // The card has no bass to write: moving the slider anyway writes nothing anywhere.
  const uint64_t writes = CardWrites();
  d->Bass()->setValue(7);
  EXPECT_EQ(CardWrites(), writes);
  EXPECT_FALSE(d->Mute(tMixerStrip::Mic)->isEnabled());
  EXPECT_FALSE(d->Panning(tMixerStrip::Mic)->isEnabled());  // the microphone is mono
  EXPECT_TRUE(d->Volume(tMixerStrip::Mic)->isEnabled());

  EXPECT_TRUE(d->Title(tMixerStrip::Cd)->font().bold());
  EXPECT_EQ(d->Title(tMixerStrip::Cd)->text(), "Compact Disc");
  for (auto strip : {tMixerStrip::Master, tMixerStrip::LineIn, tMixerStrip::Mic}) {
    EXPECT_FALSE(d->Title(strip)->font().bold());
  }
  auto lineIn = std::make_unique<tdMixer>(OpenMixer(), vlLineIn);
  EXPECT_TRUE(lineIn->Title(tMixerStrip::LineIn)->font().bold());
  auto native = std::make_unique<tdMixer>(OpenMixer(), vlNative);
  for (auto strip : kMixerStrips) EXPECT_FALSE(native->Title(strip)->font().bold());
}

}  // namespace
}  // namespace ondivo
