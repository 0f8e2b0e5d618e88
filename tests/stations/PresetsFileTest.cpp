#include "stations/PresetsFile.h"

#include <gtest/gtest.h>

#include "stations/FrequencyText.h"
#include "tests/support/TempDir.h"

namespace ondivo {
namespace {

using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

const LocaleFormat kDot{'.', ':', "hh:mm:ss"};
const LocaleFormat kComma{',', ':', "hh:mm:ss"};

PresetsBank SampleBank() {
  PresetsBank bank;
  bank.Store(1, "Radio One", 88.5, bFM);
  bank.Store(7, "", 0.531, bAM);
  bank.Store(50, std::string(40, 'N'), 107.95, bFM);
  bank.Store(99, "Ünïcödé Radio", 1.62, bAM);
  bank.Store(100, "Last", 76.0, bFM);
  return bank;
}

TEST(PresetsBankTest, NumbersOutsideTheRangeNeverAddressARecord) {
  PresetsBank bank;
  EXPECT_FALSE(bank.Store(0, "x", 88.0, bFM));
  EXPECT_FALSE(bank.Store(101, "x", 88.0, bFM));
  EXPECT_FALSE(bank.Preset(0).Assigned);
  EXPECT_FALSE(bank.Preset(-5).Assigned);
  EXPECT_EQ(bank.AssignedCount(), 0);
  ASSERT_TRUE(bank.Store(100, "x", 88.0, bAM));
  bank.Clear(100);
  EXPECT_EQ(bank.Preset(100), tPreset{});
}

TEST(PresetsFileTest, WritesFixedWidthCrLfLinesAndReadsThemBackUnderEachSeparator) {
  for (const LocaleFormat& locale : {kDot, kComma}) {
    TempDir dir;
    const auto path = dir / "set.ovp";
    const PresetsBank bank = SampleBank();
    ASSERT_TRUE(WritePresetsFile(path, bank, locale));
    const std::string sep(1, locale.DecimalSeparator);
    const std::string text = ReadBytes(path);
    EXPECT_EQ(text.substr(0, 57),
              "001.088" + sep + "500.FM.Radio One" + std::string(31, ' ') + "\r\n");
    EXPECT_EQ(text.substr(57, 57), "007.000" + sep + "531.AM." + std::string(40, ' ') + "\r\n");

    PresetsBank loaded;
    ASSERT_EQ(LoadPresetsFile(path, locale, loaded), kPresetsLoaded);
    EXPECT_EQ(loaded, bank);

    // The other separator refuses the file rather than misreading it.
    const LocaleFormat& other = locale.DecimalSeparator == '.' ? kComma : kDot;
    PresetsBank untouched = SampleBank();
    untouched.Clear(1);
    const PresetsBank before = untouched;
    EXPECT_EQ(LoadPresetsFile(path, other, untouched), kPresetsMalformed);
    EXPECT_EQ(untouched, before);
  }
}

TEST(PresetsFileTest, AcceptsWhatAHandEditedFileReasonablyHolds) {
  TempDir dir;
  const auto path = dir / "a.ovp";
  // LF endings, no final line break, blanks around the name, a name of blanks.
  WriteBytes(path, "003.101.300.FM.  Jazz  \n004.095.000.FM.     ");
  PresetsBank bank;
  ASSERT_EQ(LoadPresetsFile(path, kDot, bank), kPresetsLoaded);
  EXPECT_EQ(bank.Preset(3), (tPreset{"Jazz", 101.3, bFM, true}));
  EXPECT_EQ(bank.Preset(4), (tPreset{"", 95.0, bFM, true}));
  EXPECT_EQ(bank.AssignedCount(), 2);
}

TEST(PresetsFileTest, EveryFileAcceptedIsWrittenBackAsReadAndReadsAgain) {
  TempDir dir;
  const auto path = dir / "a.ovp";
  for (const std::string frequency : {"088.500", "1e2    ", "088.5  ", "+88.500", "  1.620"}) {
    WriteBytes(path, "001." + frequency + ".FM.Name\r\n");
    PresetsBank first;
    ASSERT_EQ(LoadPresetsFile(path, kDot, first), kPresetsLoaded) << frequency;
    ASSERT_TRUE(WritePresetsFile(path, first, kDot)) << frequency;
    const std::string written = ReadBytes(path);
    PresetsBank second;
    ASSERT_EQ(LoadPresetsFile(path, kDot, second), kPresetsLoaded) << written;
    EXPECT_EQ(second, first);
    ASSERT_TRUE(WritePresetsFile(path, second, kDot));
    EXPECT_EQ(ReadBytes(path), written);
  }
}

TEST(PresetsFileTest, ReadsNamesAndFrequenciesAsTheyWillBeWritten) {
  TempDir dir;
  const auto path = dir / "a.ovp";
  // A control character reads as the blank the writer puts in its place; a frequency finer
  // than the storage text reads as that text.
  WriteBytes(path, std::string("001.88.5004.FM.Tab\there\x01\x7f\r\n002.0.05088.FM.x\0y\r\n", 47));
  PresetsBank first;
  ASSERT_EQ(LoadPresetsFile(path, kDot, first), kPresetsLoaded);
  EXPECT_EQ(first.Preset(1), (tPreset{"Tab here", 88.5, bFM, true}));
  EXPECT_EQ(first.Preset(2), (tPreset{"x y", 0.051, bFM, true}));
  ASSERT_TRUE(WritePresetsFile(path, first, kDot));
  PresetsBank second;
  ASSERT_EQ(LoadPresetsFile(path, kDot, second), kPresetsLoaded);
  EXPECT_EQ(second, first);
}

TEST(PresetsFileTest, StopsAfterAHundredLines) {
  TempDir dir;
  std::string text;
  for (int n = 1; n <= 100; ++n) {
    text += PadNumber(n, 3) + "." + FormatFrequencyKey(76.0 + n * 0.1, kDot) + ".FM.S\r\n";
  }
  WriteBytes(dir / "full.ovp", text + "garbage that is never read\r\n");
  PresetsBank bank;
  ASSERT_EQ(LoadPresetsFile(dir / "full.ovp", kDot, bank), kPresetsLoaded);
  EXPECT_EQ(bank.AssignedCount(), 100);
}

TEST(PresetsFileTest, RefusesMalformedFilesAndLeavesTheBankAlone) {
  const std::string good = "001.088.500.FM.One\r\n";
  const std::pair<const char*, std::string> cases[] = {
      {"empty file", ""},
      {"final empty line", good + "\r\n"},
      {"empty line between", good + "\r\n002.089.000.FM.Two\r\n"},
      {"same number twice", good + "001.089.000.FM.Two\r\n"},
      {"same frequency twice", good + "002.088.5004FM.Two\r\n"},
      {"same kHz twice", good + "002.088.50.FM.Two\r\n"},
      {"frequency 0 meets the unassigned", "001.000.000.FM.Zero\r\n"},
      {"number 0", "000.088.500.FM.x\r\n"},
      {"number 101", "101.088.500.FM.x\r\n"},
      {"negative number", "-01.088.500.FM.x\r\n"},
      {"number not digits", "0x1.088.500.FM.x\r\n"},
      {"short number", "01.088.500.FM.x\r\n"},
      {"lower-case band", "001.088.500.fm.x\r\n"},
      {"unknown band", "001.088.500.SW.x\r\n"},
      {"frequency not a number", "001.088.5x0.FM.x\r\n"},
      {"overflowing frequency", "001.1.0e999.FM.x\r\n"},
      {"negative frequency", "001.-88.500.FM.x\r\n"},
      {"frequency with exponent beyond the field", "001.0001e03.FM.x\r\n"},
      {"frequency without separator", "001.0765500.FM.x\r\n"},
      {"frequency that rounds to 1000", "001.999.9999FM.x\r\n"},
      {"frequency that rounds to 0", "001.000.0004.FM.x\r\n"},
      {"missing separator", "001.088.500FM.x\r\n"},
      {"truncated line", "001.088.5"},
      {"name of 41 characters", "001.088.500.FM." + std::string(41, 'n') + "\r\n"},
      {"binary junk", std::string("\x00\xff\x01\x80.\x7f\x00\r\n\x1b", 10)},
      {"10 MB line", std::string(10 * 1024 * 1024, '1')},
  };
  TempDir dir;
  for (const auto& [what, bytes] : cases) {
    WriteBytes(dir / "bad.ovp", bytes);
    PresetsBank bank = SampleBank();
    EXPECT_EQ(LoadPresetsFile(dir / "bad.ovp", kDot, bank), kPresetsMalformed) << what;
    EXPECT_EQ(bank, SampleBank()) << what;
  }
  EXPECT_EQ(PresetsFileReadMessage(kPresetsMalformed), "The presets files is corrupt");
  // A duplicated frequency counts across bands too.
  WriteBytes(dir / "bands.ovp", "001.001.000.AM.a\r\n002.001.000.FM.b\r\n");
  PresetsBank bank;
  EXPECT_EQ(LoadPresetsFile(dir / "bands.ovp", kDot, bank), kPresetsMalformed);
}

TEST(PresetsFileTest, UnreadableFilesGiveTwo) {
  TempDir dir;
  PresetsBank bank = SampleBank();
  EXPECT_EQ(LoadPresetsFile(dir / "none.ovp", kDot, bank), kPresetsUnreadable);
  EXPECT_EQ(LoadPresetsFile(dir.Path(), kDot, bank), kPresetsUnreadable);
  EXPECT_EQ(bank, SampleBank());
  EXPECT_EQ(PresetsFileReadMessage(kPresetsUnreadable), "Read error or disk not ready");
  EXPECT_EQ(PresetsFileReadMessage(kPresetsLoaded), "");
}

TEST(PresetsFileTest, WriteEdgeCases) {
  TempDir dir;
  const auto path = dir / "p.ovp";
  // No assigned preset: an empty file, which the reader refuses.
  ASSERT_TRUE(WritePresetsFile(path, PresetsBank{}, kDot));
  EXPECT_EQ(ReadBytes(path), "");
  PresetsBank bank;
  EXPECT_EQ(LoadPresetsFile(path, kDot, bank), kPresetsMalformed);

  // Long names are cut to 40 characters, line breaks in names cannot split a record.
  PresetsBank odd;
  odd.Store(2, std::string(45, 'L'), 90.0, bFM);
  odd.Store(3, "Two\r\nLines", 91.0, bFM);
  ASSERT_TRUE(WritePresetsFile(path, odd, kDot));
  ASSERT_EQ(LoadPresetsFile(path, kDot, bank), kPresetsLoaded);
  EXPECT_EQ(bank.Preset(2).Name, std::string(40, 'L'));
  EXPECT_EQ(bank.Preset(3).Name, "Two  Lines");

  // A frequency that would not fit its field is not written at all.
  const std::string before = ReadBytes(path);
  PresetsBank wide;
  wide.Store(1, "x", 1234.5, bFM);
  const tWriteResult refused = WritePresetsFile(path, wide, kDot);
  EXPECT_EQ(refused.Message, "Presets write error");
  EXPECT_EQ(ReadBytes(path), before);
  // A folder that does not exist.
  const tWriteResult missing = WritePresetsFile(dir / "no" / "p.ovp", SampleBank(), kDot);
  EXPECT_EQ(missing.Message, "Presets write error");
  EXPECT_EQ(missing.Error, std::errc::no_such_file_or_directory);
}

TEST(PresetsFileTest, FailedWriteLeavesThePreviousFileByteIdentical) {
  TempDir dir;
  const auto path = dir / "p.ovp";
  ASSERT_TRUE(WritePresetsFile(path, SampleBank(), kDot));
  const std::string previous = ReadBytes(path);
  PresetsBank bigger = SampleBank();
  for (int n = 10; n < 40; ++n) bigger.Store(n, "More", 80.0 + n * 0.1, bFM);
  // Room for less than one line: the write fails half-way.
  EXPECT_FALSE(
      test::RunWithFileSizeLimit(30, [&] { return WritePresetsFile(path, bigger, kDot).Ok(); }));
  EXPECT_EQ(ReadBytes(path), previous);
  EXPECT_EQ(test::CountEntries(dir.Path()), 1u);
}

}  // namespace
}  // namespace ondivo
