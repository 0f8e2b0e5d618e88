#include <gtest/gtest.h>

#include <QAction>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QSlider>
#include <QToolButton>

#include "panel/PanelPictures.h"
#include "panel/tdMain.h"
#include "radio/DeviceMessages.h"
#include "sim/EmulatedRadioTrack.h"
#include "tests/support/EmulatedSoundCardFixture.h"
#include "tests/support/PanelWindow.h"
#include "tests/support/V4l2Rig.h"

namespace ondivo {
namespace {

using test::PanelWindow;
using test::RadioTrackIni;

QImage IconImage(const QIcon& icon) {
  return icon.pixmap(QSize(16, 8)).toImage().convertToFormat(QImage::Format_ARGB32);
}

// What the panel shows of the mute state, the way a user would see it.
struct MuteLook {
  explicit MuteLook(tdMain& w) {
    const tConfiguration& s = w.Settings();
    soundOffLamp = IconImage(w.MuteButton()->icon()) ==
                   IconImage(PictureIcon(LampName("BT", s.ColorGenericButton, true)));
    const QImage shown = w.SoundIndicator()->pixmap().toImage();
    const QImage off = IndicatorPixmap(LampName("RADIO", s.ColorFlag, false),
                                       PanelColor(s.ColorPanel), w.devicePixelRatioF())
                           .toImage();
    indicatorOff =
        shown.convertToFormat(QImage::Format_ARGB32) == off.convertToFormat(QImage::Format_ARGB32);
    windowIconOff = w.windowIcon().cacheKey() == w.SoundOffIcon().cacheKey();
    menuChecked = w.Action(cmMuteOnOff)->isChecked();
  }
  bool soundOffLamp, indicatorOff, windowIconOff, menuChecked;
};

class tdMainVolumeTest : public test::EmulatedSoundCardTestBase {
 protected:
  // Runs the event loop until done() or a generous bound; the loop waits on events, not time.
  static bool RunUntil(const std::function<bool()>& done) {
    QElapsedTimer bound;
    bound.start();
    while (!done() && bound.elapsed() < 5000) {
      QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 100);
    }
    return done();
  }
  std::unique_ptr<PanelWindow> LineInPanel(const std::string& more = "") {
    StartCard();
    auto p = std::make_unique<PanelWindow>(
        "[Configuration]\nHardware=1\nPort=1\nVolumeLine=2\n" + more, mRadioTrack,
        sim::StationLandscape{}, soundCard->DeviceName());
    EXPECT_TRUE(p->Create());
    return p;
  }
};

TEST_F(tdMainVolumeTest, AmixerFromAnotherProcessMovesTheSliderAndMutesWithoutTouchingTheVolume) {
  auto p = LineInPanel("[Audio]\nVolume=200\n");
  tdMain& w = *p->window;
  ASSERT_TRUE(p->card.SoundCard());
  EXPECT_TRUE(w.MixerButton()->isEnabled());
  EXPECT_EQ(w.VolumeSlider()->maximum(), 256);

  ASSERT_EQ(Amixer({"sset", "Line", "40%"}), 0);
  ASSERT_TRUE(RunUntil([&] { return p->card.Volume() != 200; }));
  const int volume = p->card.Volume();
  EXPECT_NEAR(volume, 0.4 * 256, 256 / 31.0);  // one step of the card's 0..31 control
  EXPECT_EQ(w.VolumeSlider()->value(), volume);
  EXPECT_EQ(w.VolumeSlider()->toolTip().toStdString(),
            std::to_string(std::lround(volume * 100.0 / 256)) + "%");
  EXPECT_FALSE(MuteLook(w).indicatorOff);

  const std::array<long, 2> lineLevel = CardControl(mcLineInVolume).Value;
  ASSERT_EQ(Amixer({"sset", "Line", "mute"}), 0);
  ASSERT_TRUE(RunUntil([&] { return w.State().Muted; }));
  const MuteLook muted(w);
  EXPECT_TRUE(muted.soundOffLamp);
  EXPECT_TRUE(muted.indicatorOff);
  EXPECT_TRUE(muted.windowIconOff);
  EXPECT_TRUE(muted.menuChecked);
  EXPECT_EQ(p->card.Volume(), volume);
  EXPECT_EQ(w.VolumeSlider()->value(), volume);
  EXPECT_EQ(CardControl(mcLineInVolume).Value, lineLevel);

  ASSERT_EQ(Amixer({"sset", "Line", "unmute"}), 0);
  ASSERT_TRUE(RunUntil([&] { return !w.State().Muted; }));
  const MuteLook playing(w);
  EXPECT_FALSE(playing.soundOffLamp);
  EXPECT_FALSE(playing.indicatorOff);
  EXPECT_FALSE(playing.windowIconOff);
  EXPECT_FALSE(playing.menuChecked);
}

TEST_F(tdMainVolumeTest, OnLineInAtVolumeZeroTheSoundIsOffAndMuteWaitsForAVolume) {
  auto p = LineInPanel("[Audio]\nVolume=0\n");
  tdMain& w = *p->window;
  w.VolumeSlider()->setValue(50);
  w.VolumeSlider()->setValue(0);
  EXPECT_EQ(CardControl(mcLineInVolume).Value[0], 0);
  EXPECT_TRUE(MuteLook(w).indicatorOff);
  // Each of the two ways alone does nothing: "Mute" stays checked and the line untouched.
  const long lineSwitch = CardControl(mcLineInMute).Value[0];
  ASSERT_TRUE(MuteLook(w).menuChecked);
  w.Run(cmMuteOnOff);
  EXPECT_EQ(CardControl(mcLineInMute).Value[0], lineSwitch);
  EXPECT_TRUE(MuteLook(w).menuChecked);
  w.MuteButton()->click();
  EXPECT_EQ(CardControl(mcLineInMute).Value[0], lineSwitch);
  EXPECT_TRUE(MuteLook(w).menuChecked);
  EXPECT_TRUE(MuteLook(w).indicatorOff);

  w.VolumeSlider()->setValue(128);
  EXPECT_EQ(CardControl(mcLineInVolume).Value[0], 16);  // half of 0..31, rounded
  EXPECT_FALSE(MuteLook(w).indicatorOff);
  w.MuteButton()->click();
  EXPECT_EQ(CardControl(mcLineInMute).Value[0], 0);  // ALSA's switch off: muted
  EXPECT_TRUE(MuteLook(w).menuChecked);
  w.Run(cmMuteOnOff);
  EXPECT_EQ(CardControl(mcLineInMute).Value[0], 1);
  EXPECT_FALSE(MuteLook(w).indicatorOff);

  // Reset takes the line down to silence too.
  w.Run(cmVolumeTo0);
  EXPECT_EQ(CardControl(mcLineInVolume).Value[0], 0);
  EXPECT_EQ(w.VolumeSlider()->value(), 0);
  EXPECT_EQ(w.VolumeSlider()->toolTip(), "0%");
  EXPECT_TRUE(MuteLook(w).indicatorOff);
  EXPECT_FALSE(w.Action(cmVolumeDown)->isEnabled());
}

TEST_F(tdMainVolumeTest, ARadioDeviceLostDuringAMixerReportIsToldOnceAndTheMixerStaysFollowed) {
  StartCard();
  PanelWindow p("[Configuration]\nHardware=8\nPort=1\nVolumeLine=2\n", mRadioTrack,
                sim::StationLandscape{}, soundCard->DeviceName());
  sim::EmulatedV4l2Radio::Options options;
  options.Rds = false;  // no RDS descriptor hears the unplug first
  sim::EmulatedV4l2Radio* device =
      sim::PlugSimulatedV4l2Radio(p.card, sim::StationLandscape{}, {}, options).Device;
  ASSERT_TRUE(p.Create());
  ASSERT_EQ(p.card.VolumeLine(), vlLineIn);
  tdMain& w = *p.window;
  const auto lostTold = [&] {
    const auto m = p.prompts.Messages();
    return std::count(m.begin(), m.end(), std::string(kDeviceLostMessage));
  };

  device->Unplug();
  // An unmuted line makes the panel unmute the radio itself, which is gone.
  ASSERT_EQ(Amixer({"sset", "Line", "40%", "unmute"}), 0);
  ASSERT_TRUE(RunUntil([&] { return lostTold() == 1; }));
  EXPECT_TRUE(p.card.DeviceLost());

  ASSERT_EQ(Amixer({"sset", "Line", "100%"}), 0);
  ASSERT_TRUE(RunUntil([&] { return w.VolumeSlider()->value() == 256; }));
  ASSERT_EQ(Amixer({"sset", "Line", "mute"}), 0);
  ASSERT_TRUE(RunUntil([&] { return w.State().Muted; }));
  EXPECT_TRUE(MuteLook(w).indicatorOff);
  EXPECT_EQ(p.prompts.Messages().size(), 1u);
}

TEST_F(tdMainVolumeTest, TheMixerButtonOpensTheDialogAsAModalOfThePanel) {
  auto p = LineInPanel();
  p->window->MixerButton()->click();
  p->window->Run(cmMixer);
  EXPECT_EQ(p->mixerShown, 2);
  EXPECT_TRUE(p->dialogOpenDuringMixer);
  EXPECT_FALSE(p->window->State().DialogOpen);

  PanelWindow noSoundCard(RadioTrackIni());
  ASSERT_TRUE(noSoundCard.Create());
  EXPECT_FALSE(noSoundCard.window->MixerButton()->isEnabled());
  EXPECT_FALSE(noSoundCard.window->Action(cmMixer)->isEnabled());
  noSoundCard.window->Run(cmMixer);
  EXPECT_EQ(noSoundCard.mixerShown, 0);
}

TEST_F(tdMainVolumeTest, ChoosingLineInInTheSettingsCarriesTheVolumeOverAndFollowsTheLine) {
  StartCard();
  PanelWindow p(RadioTrackIni("[Audio]\nVolume=128\n"), mRadioTrack, sim::StationLandscape{},
                soundCard->DeviceName());
  ASSERT_TRUE(p.Create());
  tdMain& w = *p.window;
  ASSERT_EQ(p.card.VolumeLine(), vlNative);
  EXPECT_EQ(w.VolumeSlider()->singleStep(), 16);
  tConfiguration chosen = w.Settings();
  chosen.VolumeLine = vlLineIn;
  p.setupAnswer = chosen;
  w.Run(cmSetup);
  ASSERT_EQ(p.card.VolumeLine(), vlLineIn);
  EXPECT_EQ(CardControl(mcLineInVolume).Value[0], 16);  // 128 of 256 on the card's 0..31
  EXPECT_EQ(CardControl(mcLineInMute).Value[0], 1);     // unmuted: the switch passes sound
  EXPECT_EQ(w.VolumeSlider()->singleStep(), 1);
  EXPECT_EQ(w.VolumeSlider()->value(), p.card.Volume());
  EXPECT_NEAR(p.card.Volume(), 128, 256 / 31.0);
  EXPECT_FALSE(w.State().Muted);
  EXPECT_FALSE(MuteLook(w).indicatorOff);

  ASSERT_EQ(Amixer({"sset", "Line", "31"}), 0);
  ASSERT_TRUE(RunUntil([&] { return w.VolumeSlider()->value() == 256; }));
  EXPECT_FALSE(w.Action(cmVolumeUp)->isEnabled());
}

TEST(tdMainVolumePanelTest, TheCardsOwnVolumeStepsWithTheSliderAndTheKeysAndTheCardAgrees) {
  PanelWindow p(RadioTrackIni("[Audio]\nVolume=128\n"));
  ASSERT_TRUE(p.Create());
  tdMain& w = *p.window;
  auto* radio = dynamic_cast<sim::EmulatedRadioTrack*>(p.rig.Bus().CardAt(0x30C));
  ASSERT_NE(radio, nullptr);
  EXPECT_EQ(w.VolumeSlider()->value(), 128);
  EXPECT_EQ(w.VolumeSlider()->toolTip(), "50%");
  EXPECT_EQ(w.VolumeSlider()->singleStep(), 16);

  w.Run(cmVolumeTo0);
  EXPECT_EQ(radio->Volume(), 0);
  EXPECT_EQ(w.VolumeSlider()->value(), 0);
  EXPECT_TRUE(w.State().Muted);
  for (int i = 1; i <= 3; ++i) {
    w.Run(cmVolumeUp);
    EXPECT_EQ(w.VolumeSlider()->value(), 16 * i);
    EXPECT_EQ(radio->Volume(), w.VolumeSlider()->value());
  }
  EXPECT_FALSE(w.State().Muted);
  w.Run(cmVolumeDown);
  EXPECT_EQ(radio->Volume(), 32);
  EXPECT_EQ(w.VolumeSlider()->value(), 32);

  w.VolumeSlider()->setValue(100);  // between two of the card's steps
  EXPECT_EQ(w.VolumeSlider()->value(), p.card.Volume());
  EXPECT_EQ(radio->Volume(), w.VolumeSlider()->value());
  w.VolumeSlider()->setValue(256);
  EXPECT_EQ(radio->Volume(), 256);
  EXPECT_FALSE(w.Action(cmVolumeUp)->isEnabled());
  EXPECT_TRUE(w.Action(cmVolumeDown)->isEnabled());
}

TEST(tdMainVolumePanelTest, AModelThatControlsNothingWithoutASoundCardShowsTheNotice) {
  test::V4l2Rig rig;
  test::V4l2Rig::Setup setup;
  setup.Device.Volume = false;
  setup.Device.Mute = false;
  TRadioCard& card = rig.Build(setup);
  test::ScriptedPrompter prompts;
  tMainServices s;
  s.Card = &card;
  s.Prompts = &prompts;
  tdMain w(std::move(s));
  w.UpdateVolumeControls();
  EXPECT_FALSE(w.VolumeGroup()->isEnabled());
  EXPECT_TRUE(w.VolumeSlider()->isHidden());
  EXPECT_TRUE(w.MixerButton()->isHidden());
  EXPECT_FALSE(w.VolumeNotice()->isHidden());
  EXPECT_EQ(w.VolumeNotice()->text(), "Ondivo can't control\nthe volume sound");
  EXPECT_FALSE(w.MuteButton()->isEnabled());
  EXPECT_FALSE(w.Action(cmMuteOnOff)->isEnabled());
  EXPECT_FALSE(w.Action(cmVolumeUp)->isEnabled());
}

}  // namespace
}  // namespace ondivo
