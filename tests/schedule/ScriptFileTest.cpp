#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "schedule/ScriptFile.h"
#include "stations/PresetsBank.h"
#include "tests/support/TempDir.h"

namespace ondivo {
namespace {

using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

const LocaleFormat kComma{',', ':', "hh:mm:ss"};
const LocaleFormat kFullStop{'.', ':', "hh:mm:ss"};

// The example script of the file format, written under a decimal comma.
const std::string kMorningFile =
    ";Morning\r\n"
    "Mute off.0645\r\n"
    "Preset.0646.3.ST\r\n"
    "Volume.0647.12\r\n"
    "Beep.0700.3.800.200\r\n"
    "Jump to.0730.101,500.FM.ST\r\n"
    "Off.0800\r\n";

tScript MorningScript() {
  tScript script;
  script.SetTitle("Morning");
  script.Add(std::make_unique<zMuteOff>(TimeOfDay(6, 45)));
  auto preset = std::make_unique<zPreset>(TimeOfDay(6, 46), true);
  preset->Preset = 3;
  script.Add(std::move(preset));
  auto volume = std::make_unique<zVolume>(TimeOfDay(6, 47));
  volume->Volume = 12;
  script.Add(std::move(volume));
  auto beep = std::make_unique<zBeep>(TimeOfDay(7, 0));
  beep->Times = 3;
  beep->Frequency = 800;
  beep->Duration = 200;
  script.Add(std::move(beep));
  auto jump = std::make_unique<zJumpTo>(TimeOfDay(7, 30), bFM, true);
  jump->Frequency = 101.5;
  script.Add(std::move(jump));
  script.Add(std::make_unique<zOff>(TimeOfDay(8, 0)));
  return script;
}

PresetsBank BankWith(int number, tBand band, double mhz) {
  PresetsBank bank;
  bank.Store(number, "Station", mhz, band);
  return bank;
}

tFileRead Read(const std::filesystem::path& path, const LocaleFormat& locale,
               std::unique_ptr<tScript>& script) {
  return ReadScriptFile(path, locale, script);
}

class ScriptFileTest : public ::testing::Test {
 protected:
  tFileRead ReadText(const std::string& bytes, const LocaleFormat& locale = kComma) {
    WriteBytes(file_, bytes);
    script_.reset();
    return ReadScriptFile(file_, locale, script_);
  }

  TempDir folder_;
  std::filesystem::path file_ = folder_ / "test.ovs";
  std::unique_ptr<tScript> script_;
};

TEST_F(ScriptFileTest, ExampleScriptIsWrittenByteForByteAndReadBack) {
  const tScript morning = MorningScript();
  const PresetsBank bank = BankWith(3, bFM, 88.5);
  ASSERT_TRUE(WriteScriptFile(file_, "Morning", morning, bank, kComma));
  EXPECT_EQ(ReadBytes(file_), kMorningFile);

  ASSERT_EQ(Read(file_, kComma, script_), kScriptRead);
  EXPECT_TRUE(*script_ == morning);
  EXPECT_EQ(script_->Title(), "Morning");
}

TEST_F(ScriptFileTest, FullStopJumpLinesReadBackFromTheEndOfTheLine) {
  tScript script = MorningScript();
  auto am = std::make_unique<zJumpTo>(TimeOfDay(9, 0), bAM, true);
  am->Frequency = 0.531;
  script.Add(std::move(am));
  const PresetsBank bank = BankWith(3, bFM, 88.5);
  const std::string text = FormatScriptFile("Morning", script, bank, kFullStop);
  EXPECT_NE(text.find("Jump to.0730.101.500.FM.ST\r\n"), std::string::npos);
  // An AM jump is always written mono.
  EXPECT_NE(text.find("Jump to.0900.000.531.AM.MN\r\n"), std::string::npos);

  ASSERT_EQ(ReadText(text, kFullStop), kScriptRead);
  ASSERT_EQ(script_->Count(), 7u);
  const auto& jump = static_cast<const zJumpTo&>((*script_)[6]);
  EXPECT_DOUBLE_EQ(jump.Frequency, 0.531);
  EXPECT_EQ(jump.Band, bAM);
  EXPECT_FALSE(jump.Stereo);
  EXPECT_DOUBLE_EQ(static_cast<const zJumpTo&>((*script_)[4]).Frequency, 101.5);
}

TEST_F(ScriptFileTest, JumpsWrittenUnderOneSeparatorAreRefusedUnderTheOther) {
  const tScript morning = MorningScript();
  const PresetsBank bank;
  EXPECT_EQ(ReadText(FormatScriptFile("M", morning, bank, kComma), kFullStop), kScriptCorrupt);
  EXPECT_EQ(ReadText(FormatScriptFile("M", morning, bank, kFullStop), kComma), kScriptCorrupt);
  EXPECT_EQ(script_, nullptr);
  // Without a jump nothing depends on the separator.
  tScript plain;
  plain.Add(std::make_unique<zMuteOn>(TimeOfDay(1, 2)));
  EXPECT_EQ(ReadText(FormatScriptFile("M", plain, bank, kComma), kFullStop), kScriptRead);
}

TEST_F(ScriptFileTest, EveryJumpAcceptedIsWrittenBackAsReadAndReadsAgain) {
  // Values whose storage text would not read back ("1000,000", "000,000") are refused.
  for (const char* mhz : {"999,9996", "0,0001", "0,0004", "-88,5", "1000"}) {
    EXPECT_EQ(ReadText(std::string(";T\r\nJump to.0700.") + mhz + ".FM.ST\r\n"), kScriptCorrupt)
        << mhz;
  }
  for (const LocaleFormat& locale : {kComma, kFullStop}) {
    const std::string sep(1, locale.DecimalSeparator);
    for (const std::string& mhz : {"999" + sep + "9994", "0" + sep + "0005", "88" + sep + "5",
                                   std::string("1e2"), "000" + sep + "531"}) {
      const std::string file = ";T\r\nJump to.0700." + mhz + ".FM.ST\r\n";
      ASSERT_EQ(ReadText(file, locale), kScriptRead) << mhz;
      const tScript first = script_->Copy();
      ASSERT_EQ(ReadText(FormatScriptFile("T", first, PresetsBank{}, locale), locale), kScriptRead)
          << mhz;
      EXPECT_EQ(FormatScriptFile("T", *script_, PresetsBank{}, locale),
                FormatScriptFile("T", first, PresetsBank{}, locale));
    }
  }
}

TEST_F(ScriptFileTest, PresetStereoWordFollowsTheBandOfThePresetInTheBank) {
  tScript script;
  auto preset = std::make_unique<zPreset>(TimeOfDay(9, 0), true);
  preset->Preset = 100;
  script.Add(std::move(preset));
  EXPECT_EQ(FormatScriptFile("T", script, BankWith(100, bAM, 0.531), kComma),
            ";T\r\nPreset.0900.100.MN\r\n");
  EXPECT_EQ(FormatScriptFile("T", script, BankWith(100, bFM, 88.5), kComma),
            ";T\r\nPreset.0900.100.ST\r\n");
  // An unassigned preset counts as FM.
  EXPECT_EQ(FormatScriptFile("T", script, PresetsBank{}, kComma), ";T\r\nPreset.0900.100.ST\r\n");
  static_cast<zPreset&>(script[0]).Stereo = false;
  EXPECT_EQ(FormatScriptFile("T", script, BankWith(100, bFM, 88.5), kComma),
            ";T\r\nPreset.0900.100.MN\r\n");
}

struct Case {
  const char* text;
  bool valid;
};

TEST(ValidateScriptFileTest, FollowsTheLineRules) {
  const Case cases[] = {
      {"", false},
      {";Only a title\r\n", false},
      {";T\r\nOff.0800\r\n\r\n", false},  // ends on a blank line
      {";T\r\nOff.0800\r\n   ", false},
      {";T\r\n\r\nOff.0800\r\n\r\nOff.0900\r\n", true},  // blank lines inside are skipped
      {"T\r\nOff.0800\r\n", false},                      // no ";"
      {"  ;T  \r\nOff.0800", true},                      // trimmed, no final line break
      {";T\nOff.0800\n", true},                          // bare line feeds
      {";T\r\nmute ON.0700\r\n", true},
      {";T\r\nMute on .0700\r\n", false},
      {";T\r\nMute on.0001\r\n", true},
      {";T\r\nMute on.0000\r\n", true},  // midnight is readable, see ScriptFile.cpp
      {";T\r\nMute on.2400\r\n", false},
      {";T\r\nMute on.1260\r\n", false},
      {";T\r\nMute on.07000\r\n", false},
      {";T\r\nMute on.070\r\n", false},
      {";T\r\nMute on0700\r\n", false},
      {";T\r\nMute in.0700\r\n", false},
      {";T\r\nBeep.0700.51.800.200\r\n", false},
      {";T\r\nBeep.0700.0.800.200\r\n", false},
      {";T\r\nBeep.0700.1.20000.1000\r\n", true},
      {";T\r\nBeep.0700.1.20001.1000\r\n", false},
      {";T\r\nBeep.0700.1.800.1001\r\n", false},
      {";T\r\nBeep.0700.1.800\r\n", false},
      {";T\r\nBeep.0700.1.800.200.5\r\n", false},
      {";T\r\nBeep.07000.1.800.200\r\n", false},
      {";T\r\nVolume.0700.0\r\n", true},
      {";T\r\nVolume.0700.20\r\n", true},
      {";T\r\nVolume.0700.21\r\n", false},
      {";T\r\nVolume.0700.-1\r\n", false},
      {";T\r\nVolume.0700.\r\n", false},
      {";T\r\nVolume.0700.99999999999999999999999\r\n", false},
      {";T\r\nVolume.0700.4294967297\r\n", false},  // 2^32 + 1 must not wrap to 1
      {";T\r\nPreset.0900.100.ST\r\n", true},
      {";T\r\nPreset.0900.0.ST\r\n", false},
      {";T\r\nPreset.0900.101.ST\r\n", false},
      {";T\r\nPreset.0900.5.XX\r\n", false},
      {";T\r\nPreset.0900.5.st\r\n", true},
      {";T\r\nJump to.0730.101,500.FM.ST\r\n", true},
      {";T\r\nJump to.0730.101,500.fm.mn\r\n", true},
      {";T\r\nJump to.0730.101,500.LW.ST\r\n", false},
      {";T\r\nJump to.0730.101,500.FM\r\n", false},
      {";T\r\nJump to.0730.FM.ST\r\n", false},
      {";T\r\nJump to.0730.-101,500.FM.ST\r\n", false},
      {";T\r\nJump to.0730.0,000.FM.ST\r\n", false},
      {";T\r\nJump to.0730.1e308.FM.ST\r\n", false},
      {";T\r\nJump to.0730.1e999.FM.ST\r\n", false},
      {";T\r\nJump to.0730.nan.FM.ST\r\n", false},
      {";T\r\nJump to.0730.101,500.FM.ST.ST\r\n", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ValidateScriptFile(c.text, kComma), c.valid) << c.text;
  }
}

TEST_F(ScriptFileTest, ReadsEveryFieldAndKeepsTheFileOrder) {
  ASSERT_EQ(ReadText("  ;  Night shift \t\r\n"
                     "Off.2300\r\n"
                     "Jump to.0730.101,500.fm.st\r\n"
                     "Jump to.0731.0,531.AM.ST\r\n"
                     "Preset.0646.3.mn\r\n"
                     "Off.2300\r\n"),
            kScriptRead);
  // The title is what follows the ";" of the trimmed first line.
  EXPECT_EQ(script_->Title(), "  Night shift");
  ASSERT_EQ(script_->Count(), 5u);
  EXPECT_EQ((*script_)[0].Hour(), 23);
  EXPECT_EQ((*script_)[4].Kind, akOff);  // out of order and twice: loaded as written
  const auto& fm = static_cast<const zJumpTo&>((*script_)[1]);
  // Band and stereo words are accepted in any case by the check, so they are read so too.
  EXPECT_EQ(fm.Band, bFM);
  EXPECT_TRUE(fm.Stereo);
  EXPECT_EQ(fm.Minute(), 30);
  const auto& am = static_cast<const zJumpTo&>((*script_)[2]);
  EXPECT_EQ(am.Band, bAM);
  EXPECT_DOUBLE_EQ(am.Frequency, 0.531);
  const auto& preset = static_cast<const zPreset&>((*script_)[3]);
  EXPECT_EQ(preset.Preset, 3);
  EXPECT_FALSE(preset.Stereo);
}

TEST_F(ScriptFileTest, MidnightActionWrittenByTheEditorReadsBack) {
  tScript script;
  script.SetTitle("Night");
  script.Add(std::make_unique<zMuteOn>(TimeOfDay(0, 0)));
  ASSERT_TRUE(WriteScriptFile(file_, "Night", script, PresetsBank{}, kComma));
  EXPECT_EQ(ReadBytes(file_), ";Night\r\nMute on.0000\r\n");
  ASSERT_EQ(Read(file_, kComma, script_), kScriptRead);
  EXPECT_TRUE(*script_ == script);
}

TEST_F(ScriptFileTest, HostileFilesAreRefusedWithoutHoldingThem) {
  EXPECT_EQ(ReadText(""), kScriptCorrupt);
  std::string junk;
  for (int i = 0; i < 4096; ++i) junk += static_cast<char>((i * 7919) & 0xFF);
  EXPECT_EQ(ReadText(junk), kScriptCorrupt);
  EXPECT_EQ(ReadText(std::string(";T\r\nOff.08\0"
                                 "00\r\n",
                                 15)),
            kScriptCorrupt);
  // One 10 MB line: refused by size before it is read.
  EXPECT_EQ(ReadText(";T\r\nOff.0800\r\n" + std::string(10 << 20, 'A') + "\r\n"), kScriptCorrupt);
  // A valid but oversized file likewise.
  std::string many = ";T\r\n";
  while (many.size() <= kMaxScriptFileSize) many += "Mute on.0700\r\n";
  EXPECT_EQ(ReadText(many), kScriptCorrupt);
  EXPECT_EQ(script_, nullptr);
}

TEST_F(ScriptFileTest, UnopenableFilesGiveReadError) {
  EXPECT_EQ(Read(folder_ / "missing.ovs", kComma, script_), kScriptUnreadable);
  EXPECT_EQ(Read(folder_.Path(), kComma, script_), kScriptUnreadable);  // a folder
  EXPECT_EQ(script_, nullptr);
  EXPECT_EQ(ScriptFileReadMessage(kScriptUnreadable), "Read error or disk not ready");
  EXPECT_EQ(ScriptFileReadMessage(kScriptCorrupt), "The script files is corrupt");
  EXPECT_EQ(ScriptFileReadMessage(kScriptRead), "");
}

TEST_F(ScriptFileTest, FailedWriteKeepsThePreviousFileAndReports) {
  WriteBytes(file_, kMorningFile);
  tScript big = MorningScript();
  for (int m = 0; m < 200; ++m) big.Add(std::make_unique<zMuteOn>(TimeOfDay(9 + m / 60, m % 60)));
  // A file-size limit below the new file's size stands in for a full disk.
  EXPECT_TRUE(test::RunWithFileSizeLimit(512, [&] {
    const tWriteResult result = WriteScriptFile(file_, "Big", big, PresetsBank{}, kComma);
    return !result && result.Message == "Script write error";
  }));
  EXPECT_EQ(ReadBytes(file_), kMorningFile);
  EXPECT_EQ(test::CountEntries(folder_.Path()), 1u);  // no temporary file left behind

  // A folder that does not exist.
  const tWriteResult missing =
      WriteScriptFile(folder_ / "no" / "x.ovs", "T", big, PresetsBank{}, kComma);
  EXPECT_EQ(missing.Message, "Script write error");
  EXPECT_EQ(missing.Error, std::errc::no_such_file_or_directory);
}

TEST_F(ScriptFileTest, ControlCharactersInTheTitleReadAsTheBlanksTheyAreWrittenAs) {
  ASSERT_EQ(ReadText(";Night\tshift\x7f\r\nOff.2300\r\n"), kScriptRead);
  EXPECT_EQ(script_->Title(), "Night shift");
  const std::string written = FormatScriptFile(script_->Title(), *script_, PresetsBank{}, kComma);
  ASSERT_EQ(ReadText(written), kScriptRead);
  EXPECT_EQ(FormatScriptFile(script_->Title(), *script_, PresetsBank{}, kComma), written);
}

TEST_F(ScriptFileTest, LineBreaksInTheTitleCannotSpoilTheFile) {
  tScript script;
  script.Add(std::make_unique<zOff>(TimeOfDay(8, 0)));
  ASSERT_TRUE(WriteScriptFile(file_, "Two\r\nlines", script, PresetsBank{}, kComma));
  ASSERT_EQ(Read(file_, kComma, script_), kScriptRead);
  EXPECT_EQ(script_->Title(), "Two  lines");
}

}  // namespace
}  // namespace ondivo
