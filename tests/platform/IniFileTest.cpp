#include "platform/IniFile.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include "tests/support/TempDir.h"

namespace ondivo {
namespace {

using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

TEST(IniFileTest, LooksUpCaseInsensitivelyTrimsAndTakesTheFirstDuplicate) {
  TempDir dir;
  WriteBytes(dir / "a.ini",
             "[Configuration]\r\n  Hardware =  3  \r\nStyle=1\r\nstyle=2\r\n"
             "; comment\r\n[Presets]\r\nStation01=M 088.500 Radio One  \r\n");
  IniFile ini(dir / "a.ini");
  EXPECT_EQ(ini.LoadResult(), IniLoadResult::Loaded);
  EXPECT_EQ(ini.ReadInteger("CONFIGURATION", "hardware", 0), 3);
  EXPECT_EQ(ini.ReadInteger("configuration", "STYLE", 0), 1);
  EXPECT_EQ(ini.ReadString("presets", "station01", ""), "M 088.500 Radio One");
  EXPECT_EQ(ini.ReadString("Presets", "Station02", "none"), "none");
  EXPECT_TRUE(ini.SectionExists("PRESETS"));
  EXPECT_FALSE(ini.ValueExists("Presets", "List"));

  // A write replaces every copy of a duplicated key.
  ASSERT_TRUE(ini.WriteInteger("Configuration", "Style", 3));
  ASSERT_TRUE(ini.Save());
  IniFile again(dir / "a.ini");
  EXPECT_EQ(again.ReadInteger("Configuration", "Style", 0), 3);
  EXPECT_EQ(ReadBytes(dir / "a.ini").find("style=2"), std::string::npos);
}

TEST(IniFileTest, IntegersAreDecimalOrHexAndAnythingElseGivesTheDefault) {
  TempDir dir;
  WriteBytes(dir / "n.ini",
             "[N]\nDec=-12\nHex=0x1F\nHexUpper=0X10\nDollar=$ff\nWrap=0xFFFFFFFF\nBare=0x\n"
             "Big=2147483648\nHexBig=0x100000000\nWord=abc\nReal=1.5\nEmpty=\nBool=7\n");
  IniFile ini(dir / "n.ini");
  EXPECT_EQ(ini.ReadInteger("N", "Dec", 0), -12);
  EXPECT_EQ(ini.ReadInteger("N", "Hex", 0), 31);
  EXPECT_EQ(ini.ReadInteger("N", "HexUpper", 0), 16);
  EXPECT_EQ(ini.ReadInteger("N", "Dollar", 0), 255);
  EXPECT_EQ(ini.ReadInteger("N", "Wrap", 0), -1);
  for (const char* key : {"Bare", "Big", "HexBig", "Word", "Real", "Empty", "Missing"}) {
    EXPECT_EQ(ini.ReadInteger("N", key, 99), 99) << key;
  }
  EXPECT_TRUE(ini.ReadBool("N", "Bool", false));
  EXPECT_TRUE(ini.ReadBool("N", "Dec", false));
  EXPECT_TRUE(ini.ReadBool("N", "Missing", true));
}

TEST(IniFileTest, EraseSectionDropsHandAddedKeysAndKeepsOtherSections) {
  TempDir dir;
  WriteBytes(dir / "c.ini", "[WinPos]\nX=5\nHand=added\n[Audio]\nVolume=64\n");
  {
    IniFile ini(dir / "c.ini");
    ASSERT_TRUE(ini.EraseSection("winpos"));
    ASSERT_TRUE(ini.WriteInteger("WinPos", "X", 10));
    ASSERT_TRUE(ini.Save());
  }
  IniFile ini(dir / "c.ini");
  EXPECT_EQ(ini.ReadInteger("WinPos", "X", 0), 10);
  EXPECT_FALSE(ini.ValueExists("WinPos", "Hand"));
  EXPECT_EQ(ini.ReadInteger("Audio", "Volume", 0), 64);
}

TEST(IniFileTest, ReadSectionKeepsFileOrderAndFirstDuplicates) {
  TempDir dir;
  WriteBytes(dir / "d.db", "[Archive]\nRows=3\nRow2=b\nrow1=a\nROW2=ignored\nRow3= c \n");
  IniFile ini(dir / "d.db");
  const auto entries = ini.ReadSection("ARCHIVE");
  ASSERT_EQ(entries.size(), 4u);
  EXPECT_EQ(entries[0], (std::pair<std::string, std::string>{"Rows", "3"}));
  EXPECT_EQ(entries[1], (std::pair<std::string, std::string>{"Row2", "b"}));
  EXPECT_EQ(entries[2], (std::pair<std::string, std::string>{"row1", "a"}));
  EXPECT_EQ(entries[3], (std::pair<std::string, std::string>{"Row3", "c"}));
  EXPECT_TRUE(ini.ReadSection("None").empty());
}

TEST(IniFileTest, ValuesWithBlanksAtEitherEndAreQuotedAndOnePairOfQuotesIsTakenOff) {
  TempDir dir;
  const auto path = dir / "q.ini";
  const std::string values[] = {" lead", "trail ", " both ",      "\"quoted\"", "'single'",
                                "'",     "\"",     "in \"side\"", "\"half",     ""};
  {
    IniFile ini(path);
    for (size_t i = 0; i < std::size(values); ++i)
      ASSERT_TRUE(ini.WriteString("Q", "K" + std::to_string(i), values[i]));
    ASSERT_TRUE(ini.Save());
  }
  IniFile ini(path);
  for (size_t i = 0; i < std::size(values); ++i)
    EXPECT_EQ(ini.ReadString("Q", "K" + std::to_string(i), "-"), values[i]) << ReadBytes(path);
  EXPECT_NE(ReadBytes(path).find("K0=\" lead\""), std::string::npos) << ReadBytes(path);

  WriteBytes(path,
             "[Q]\nA=\"x\"\nB='y'\nC=\"z'\nD=\"\"w\"\"\nE= \" v \" \nF=\"\nN=\"12\"\n"
             "P=\"8 \"\nT=' 1'\n");
  IniFile hand(path);
  EXPECT_EQ(hand.ReadString("Q", "A", ""), "x");
  EXPECT_EQ(hand.ReadString("Q", "B", ""), "y");
  EXPECT_EQ(hand.ReadString("Q", "C", ""), "\"z'");
  EXPECT_EQ(hand.ReadString("Q", "D", ""), "\"w\"");
  EXPECT_EQ(hand.ReadString("Q", "E", ""), " v ");
  EXPECT_EQ(hand.ReadString("Q", "F", ""), "\"");
  EXPECT_EQ(hand.ReadInteger("Q", "N", 0), 12);
  // Numbers read through the same unquoting as the text: "8 " is 8, " 1" is true.
  EXPECT_EQ(hand.ReadString("Q", "P", ""), "8 ");
  EXPECT_EQ(hand.ReadInteger("Q", "P", 0), 8);
  EXPECT_TRUE(hand.ReadBool("Q", "T", false));
}

TEST(IniFileTest, ANulByteIsReadPast) {
  TempDir dir;
  WriteBytes(dir / "z.ini", std::string("[A]\nK=1\0junk\nL=2\n[B]\nM=3\n", 25));
  IniFile ini(dir / "z.ini");
  EXPECT_EQ(ini.LoadResult(), IniLoadResult::Loaded);
  EXPECT_EQ(ini.ReadString("A", "K", ""), "1 junk");
  EXPECT_EQ(ini.ReadInteger("A", "L", 0), 2);
  EXPECT_EQ(ini.ReadInteger("B", "M", 0), 3);
}

TEST(IniFileTest, ControlCharactersReadAsTheBlanksTheyAreWrittenAs) {
  TempDir dir;
  WriteBytes(dir / "c.ini", "[A]\nTab=one\ttwo\nEnd=name\x7f\nQuoted=\"x\x01\"\n");
  IniFile ini(dir / "c.ini");
  EXPECT_EQ(ini.ReadString("A", "Tab", ""), "one two");
  EXPECT_EQ(ini.ReadString("A", "End", ""), "name");
  EXPECT_EQ(ini.ReadString("A", "Quoted", ""), "x ");
  EXPECT_EQ(ini.ReadSection("A")[1].second, "name");
  for (const auto& [key, value] : ini.ReadSection("A"))
    ASSERT_TRUE(ini.WriteString("A", key, value));
  ASSERT_TRUE(ini.Save());
  IniFile again(dir / "c.ini");
  EXPECT_EQ(again.ReadSection("A"), ini.ReadSection("A"));
}

TEST(IniFileTest, HandEditedLinesReadTheSameAfterASave) {
  TempDir dir;
  const auto path = dir / "h.ini";
  // A comment after an empty line and an indented one, CR line ends, a "[" line without its
  // "]", a "[]", a UTF-8 signature before a key further down, and lines that are no entry.
  WriteBytes(path,
             "\n  ; head\r[A]\rK=1\r\n[broken\nL=2\njunk\n=3\n[]\nM=4\n"
             "[B]\n\xEF\xBB\xBF\xEF\xBB\xBFN=5\n\t; note\r\nO=6\n");
  IniFile ini(path);
  EXPECT_EQ(ini.ReadInteger("A", "K", 0), 1);
  // The keys after a broken or empty section line stay in the section before it.
  EXPECT_EQ(ini.ReadInteger("A", "L", 0), 2);
  EXPECT_EQ(ini.ReadInteger("A", "M", 0), 4);
  EXPECT_EQ(ini.ReadInteger("B", "N", 0), 5);
  EXPECT_EQ(ini.ReadInteger("B", "O", 0), 6);
  const std::string text = ini.ToText();
  EXPECT_EQ(text.find('\r'), std::string::npos);
  EXPECT_NE(text.find("; note"), std::string::npos);
  ASSERT_TRUE(ini.Save());
  IniFile again(path);
  EXPECT_EQ(again.ToText(), text);
}

TEST(IniFileTest, ValuesWithLineBreaksCannotInjectKeys) {
  TempDir dir;
  {
    IniFile ini(dir / "e.ini");
    EXPECT_EQ(ini.LoadResult(), IniLoadResult::Missing);
    ASSERT_TRUE(ini.WriteString("Presets", "Station01", "M 088.500 A\r\n[Evil]\nKey=1"));
    ASSERT_TRUE(ini.Save());
  }
  IniFile ini(dir / "e.ini");
  EXPECT_FALSE(ini.SectionExists("Evil"));
  EXPECT_EQ(ini.ReadString("Presets", "Station01", ""), "M 088.500 A  [Evil] Key=1");
}

TEST(IniFileTest, HostileFilesReadAsEmptyWithoutCrashing) {
  TempDir dir;
  std::string junk;
  for (int i = 0; i < 200000; ++i) junk.push_back(static_cast<char>((i * 7919) % 256));
  const std::pair<const char*, std::string> files[] = {
      {"empty", ""},
      {"junk", junk},
      {"longline", "[A]\nKey=" + std::string(10 * 1024 * 1024, 'v') + "\n"},
      {"nul", std::string("[A]\nKey=1\0\nOther=2\n", 20)},
      {"brackets", "[[[\n]]]\n=\n==\n[A\nKey\n"},
  };
  for (const auto& [name, bytes] : files) {
    WriteBytes(dir / name, bytes);
    IniFile ini(dir / name);
    EXPECT_NE(ini.LoadResult(), IniLoadResult::Missing) << name;
    (void)ini.ReadString("A", "Key", "");
    (void)ini.ReadSection("A");
  }
  IniFile longLine(dir / "longline");
  EXPECT_EQ(longLine.ReadString("A", "Key", "").size(), 10u * 1024 * 1024);

  // Oversized files and folders are not parsed at all.
  const auto huge = dir / "huge";
  WriteBytes(huge, "");
  ASSERT_EQ(::truncate(huge.c_str(), static_cast<off_t>(IniFile::kMaxFileSize + 1)), 0);
  EXPECT_EQ(IniFile(huge).LoadResult(), IniLoadResult::Unreadable);
  EXPECT_EQ(IniFile(dir.Path()).LoadResult(), IniLoadResult::Unreadable);
}

TEST(IniFileTest, FailedSaveLeavesThePreviousFileByteIdentical) {
  TempDir dir;
  const auto path = dir / "Ondivo.ini";
  const std::string previous = "[Audio]\r\nVolume=128\r\n";
  WriteBytes(path, previous);
  const bool saved = test::RunWithFileSizeLimit(16, [&] {
    IniFile ini(path);
    ini.EraseSection("Audio");
    ini.WriteString("Audio", "Volume", std::string(1000, '9'));
    const tWriteResult result = ini.Save();
    return result.Ok() || result.Message != "Unable to write to " + path.string();
  });
  EXPECT_FALSE(saved);
  EXPECT_EQ(ReadBytes(path), previous);
  EXPECT_EQ(test::CountEntries(dir.Path()), 1u);
}

}  // namespace
}  // namespace ondivo
