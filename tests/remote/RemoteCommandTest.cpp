#include "remote/RemoteCommand.h"

#include <gtest/gtest.h>

#include "panel/CommandLine.h"
#include "stations/PresetsBank.h"

namespace ondivo {
namespace {

tRemoteCall CallOf(const std::vector<std::string>& words) {
  const tSendRequest request = ParseSendCommand(words);
  EXPECT_EQ(request.Error, "");
  return request.Call.value_or(tRemoteCall{});
}

TEST(RemoteCommandTest, SendWordsBecomeCallsInTheInterfacesTypes) {
  const tRemoteCall fm = CallOf({"tune", "98.5"});
  EXPECT_EQ(fm.Method, "Tune");
  EXPECT_EQ(fm.Arguments, (std::vector<tRemoteArgument>{std::string("FM"), 98.5}));
  // AM is given in kHz as the panel shows it, and called in MHz.
  EXPECT_EQ(CallOf({"tune", "Am", "531"}).Arguments,
            (std::vector<tRemoteArgument>{std::string("AM"), 0.531}));
  EXPECT_EQ(CallOf({"preset", "7"}).Arguments, (std::vector<tRemoteArgument>{int32_t{7}}));
  EXPECT_EQ(CallOf({"scan", "down"}).Arguments,
            (std::vector<tRemoteArgument>{std::string("down")}));
  EXPECT_EQ(CallOf({"volume", "40"}).Method, "SetVolume");
  EXPECT_EQ(CallOf({"mute"}).Arguments, (std::vector<tRemoteArgument>{true}));
  EXPECT_EQ(CallOf({"unmute"}).Arguments, (std::vector<tRemoteArgument>{false}));
  EXPECT_EQ(CallOf({"stop"}).Method, "StopScan");
  const tSendRequest status = ParseSendCommand({"status"});
  EXPECT_FALSE(status.Call);
  EXPECT_EQ(status.Error, "");
}

TEST(RemoteCommandTest, WrongWordsAreRefusedWithWhatWasExpected) {
  EXPECT_EQ(ParseSendCommand({}).Error, "--send needs a command");
  EXPECT_EQ(ParseSendCommand({"tune", "98,5"}).Error,
            "tune expects [fm|am] FREQUENCY, e.g. tune 98.5 or tune am 531");
  EXPECT_NE(ParseSendCommand({"tune", "lw", "198"}).Error, "");
  EXPECT_NE(ParseSendCommand({"tune"}).Error, "");
  EXPECT_EQ(ParseSendCommand({"preset", "x"}).Error,
            "preset expects a preset number from 1 to 100");
  EXPECT_EQ(ParseSendCommand({"volume", "101"}).Error, "volume expects a percentage from 0 to 100");
  EXPECT_EQ(ParseSendCommand({"scan", "sideways"}).Error, "scan expects up or down");
  EXPECT_EQ(ParseSendCommand({"mute", "now"}).Error, "mute takes no arguments");
  EXPECT_EQ(ParseSendCommand({"play"}).Error, "unknown command for --send: play");
}

TEST(RemoteCommandTest, SendTakesTheRestOfTheCommandLine) {
  const tCommandLine options = ParseCommandLine({"--simulate", "--send", "tune", "am", "531"});
  EXPECT_EQ(options.Error, "");
  ASSERT_TRUE(options.Send && options.Send->Call);
  EXPECT_EQ(options.Send->Call->Method, "Tune");
  EXPECT_EQ(ParseCommandLine({"--send", "play"}).Error, "unknown command for --send: play");
}

TEST(RemoteCommandTest, StatusTellsBandFrequencyStationSignalPresetAndVolume) {
  EXPECT_EQ(FormatRemoteStatus({"FM", 98.5, "Sports Call", "Stereo", 3, 50, false}),
            "band: FM\nfrequency: 98.5 MHz\nstation: Sports Call\nsignal: Stereo\npreset: 3\n"
            "volume: 50%\n");
  EXPECT_EQ(FormatRemoteStatus({"AM", 0.531, "", "?????", 0, 0, true}),
            "band: AM\nfrequency: 531 kHz\nstation: \nsignal: ?????\npreset: none\n"
            "volume: 0% (muted)\n");
}

TEST(RemoteCommandTest, NeighbourPresetsSkipEmptyOnesAndWrapRound) {
  PresetsBank bank;
  EXPECT_EQ(NeighbourPreset(bank, 0, +1), 0);
  bank.Store(3, "Three", 98.5, bFM);
  bank.Store(40, "Forty", 101.1, bFM);
  bank.Store(100, "Hundred", 0.531, bAM);
  EXPECT_EQ(NeighbourPreset(bank, 3, +1), 40);
  EXPECT_EQ(NeighbourPreset(bank, 100, +1), 3);
  EXPECT_EQ(NeighbourPreset(bank, 3, -1), 100);
  EXPECT_EQ(NeighbourPreset(bank, 0, +1), 3);  // none current: from the first
  EXPECT_EQ(NeighbourPreset(bank, 0, -1), 100);
  bank.Clear(40);
  bank.Clear(100);
  EXPECT_EQ(NeighbourPreset(bank, 3, +1), 3);  // the only one
}

}  // namespace
}  // namespace ondivo
