// The panel's start through the executable's wiring, heard on the emulated RadioTrack: the
// card's own volume control is wherever the last user left it (power-on: half way).
#include <gtest/gtest.h>

#include "app/PanelWiring.h"
#include "sim/EmulatedRadioTrack.h"
#include "sim/SimulatedRig.h"
#include "tests/support/ScriptedPrompter.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestPanelWiring.h"

namespace ondivo {
namespace {

class PanelStartTest : public ::testing::Test {
 protected:
  const sim::EmulatedRadioTrack& Start(const std::string& configuration) {
    test::WriteBytes(dir / "Ondivo.ini",
                     "[Configuration]\nHardware=1\nPort=1\nVolumeLine=1\n" + configuration);
    tPanelWiring wiring = test::EmulatedPanelWiring(card, prompts, dir.Path(), &rig);
    panel = std::make_unique<tdMain>(PanelServices(wiring));
    EXPECT_TRUE(panel->Create());
    return dynamic_cast<const sim::EmulatedRadioTrack&>(*rig.Bus().CardAt(0x30C));
  }

  test::TempDir dir;
  sim::SimulatedRig rig{mRadioTrack, false};
  TRadioCard card{rig.Hardware()};
  test::ScriptedPrompter prompts;
  std::unique_ptr<tdMain> panel;
};

TEST_F(PanelStartTest, TheStoredVolumeReachesTheCard) {
  const sim::EmulatedRadioTrack& radio = Start("[Audio]\nVolume=64\n");
  EXPECT_EQ(radio.Volume(), 64);
  EXPECT_TRUE(radio.Audible());
  EXPECT_EQ(card.Volume(), 64);
}

TEST_F(PanelStartTest, AMutedStartStaysSilent) {
  const sim::EmulatedRadioTrack& radio = Start("StartMuted=1\n[Audio]\nVolume=208\n");
  // Stepping the volume would have sounded: the card is left at its own level.
  EXPECT_EQ(radio.Volume(), 128);
  EXPECT_FALSE(radio.AudioOn());
  EXPECT_TRUE(card.Muted());
  EXPECT_EQ(card.Volume(), 208);
}

}  // namespace
}  // namespace ondivo
