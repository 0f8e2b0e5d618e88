#include "stations/OrganizerDatabase.h"

#include <unistd.h>

#include <gtest/gtest.h>

#include "stations/FrequencyText.h"
#include "tests/support/TempDir.h"
#include "tests/support/Unprivileged.h"

namespace ondivo {
namespace {

using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

const LocaleFormat kDot{'.', ':', "hh:mm:ss"};
const LocaleFormat kComma{',', ':', "hh:mm:ss"};

// One line per node in tree order: indentation by depth, kind, id, name and station data.
std::string Dump(const OrganizerTree& tree) {
  std::string out;
  std::vector<std::pair<const OrganizerNode*, int>> depth{{&tree.Root(), 0}};
  tree.ForEachInTreeOrder([&](const OrganizerNode& node, const OrganizerNode& parent) {
    while (depth.back().first != &parent) depth.pop_back();
    const int level = depth.back().second + 1;
    depth.emplace_back(&node, level);
    out += std::string(static_cast<size_t>(level) * 2, ' ');
    out += node.IsStation() ? "S" : "F";
    out += std::to_string(node.Data->Id) + "<" + std::to_string(node.Data->ParentId) + " [" +
           node.Name + "]";
    if (const tStation* s = node.Station()) {
      out += " " + BandLetter(s->Band) + FormatFrequencyKey(s->Frequency, kDot);
    }
    out += "\n";
  });
  return out;
}

OrganizerTree SampleTree() {
  OrganizerTree tree;
  OrganizerNode* music = tree.AddFolder(tree.Root(), "Music");
  OrganizerNode* jazz = tree.AddFolder(*music, "Jazz and blues");
  tree.AddStation(*jazz, "Smooth  Jazz FM", 101.35, bFM);
  tree.AddStation(*music, "", 88.5, bFM);
  OrganizerNode* news = tree.AddFolder(tree.Root(), "news");
  tree.AddStation(*news, "World Service", 0.531, bAM);
  OrganizerNode* inner = tree.AddFolder(*news, "Jazz and blues");  // same name, other parent
  tree.AddStation(*inner, "Late night", 1.62, bAM);
  tree.AddStation(tree.Root(), "Top level", 107.9, bFM);
  tree.Sort();
  return tree;
}

TEST(OrganizerDatabaseTest, RoundTripsUnderEachSeparatorAndRefusesTheOther) {
  for (const LocaleFormat& locale : {kDot, kComma}) {
    TempDir dir;
    const auto path = dir / "Ondivo.db";
    const OrganizerTree tree = SampleTree();
    ASSERT_TRUE(SaveOrganizerDatabase(path, tree, locale));
    const std::string sep(1, locale.DecimalSeparator);
    const std::string text = ReadBytes(path);
    EXPECT_NE(text.find("Rows=9\n"), std::string::npos) << text;
    EXPECT_NE(text.find("Row1=2 9 0 M 107" + sep + "900 Top level\n"), std::string::npos) << text;
    EXPECT_NE(text.find("Row2=1 1 0 X 000" + sep + "000 Music\n"), std::string::npos) << text;
    EXPECT_NE(text.find("2 6 5 K 000" + sep + "531 World Service\n"), std::string::npos) << text;

    OrganizerLoadReport report;
    const OrganizerTree loaded = LoadOrganizerDatabase(path, locale, &report);
    EXPECT_EQ(Dump(loaded), Dump(tree));
    EXPECT_EQ(report.Loaded, 9u);
    EXPECT_EQ(loaded.IdCounter(), 9);

    const LocaleFormat& other = locale.DecimalSeparator == '.' ? kComma : kDot;
    const OrganizerTree refused = LoadOrganizerDatabase(path, other, &report);
    EXPECT_EQ(refused.NodeCount(), 0u);
    EXPECT_EQ(report.Loaded, 0u);
    EXPECT_EQ(report.Skipped, 9u);
  }
}

TEST(OrganizerDatabaseTest, SortsStationsFirstThenNamesIgnoringCase) {
  const std::string dump = Dump(SampleTree());
  EXPECT_EQ(dump,
            "  S9<0 [Top level] M107.900\n"
            "  F1<0 [Music]\n"
            "    S4<1 [] M088.500\n"
            "    F2<1 [Jazz and blues]\n"
            "      S3<2 [Smooth  Jazz FM] M101.350\n"
            "  F5<0 [news]\n"
            "    S6<5 [World Service] K000.531\n"
            "    F7<5 [Jazz and blues]\n"
            "      S8<7 [Late night] K001.620\n");
}

TEST(OrganizerDatabaseTest, EmptyTreeAndMissingFile) {
  TempDir dir;
  const auto path = dir / "Ondivo.db";
  OrganizerLoadReport report;
  EXPECT_EQ(LoadOrganizerDatabase(path, kDot, &report).NodeCount(), 0u);
  EXPECT_EQ(report.File, IniLoadResult::Missing);
  ASSERT_TRUE(SaveOrganizerDatabase(path, OrganizerTree{}, kDot));
  EXPECT_EQ(ReadBytes(path), "[Archive]\nRows=0\n");
  const OrganizerTree loaded = LoadOrganizerDatabase(path, kDot);
  EXPECT_EQ(loaded.NodeCount(), 0u);
  EXPECT_EQ(loaded.IdCounter(), 0);
  EXPECT_EQ(loaded.Root().Name, "Root");
}

TEST(OrganizerDatabaseTest, NewNodesAfterReloadGetFreshIdsAndKeepTheirFolders) {
  TempDir dir;
  const auto path = dir / "Ondivo.db";
  ASSERT_TRUE(SaveOrganizerDatabase(path, SampleTree(), kDot));
  OrganizerTree tree = LoadOrganizerDatabase(path, kDot);
  OrganizerNode& news = *tree.Root().Children.back();
  ASSERT_EQ(news.Name, "news");
  OrganizerNode* added = tree.AddFolder(news, "Added");
  EXPECT_EQ(added->Data->Id, 10);
  EXPECT_EQ(tree.AddStation(*added, "New one", 95.0, bFM)->Data->Id, 11);
  EXPECT_EQ(tree.AddStation(*tree.AddStation(news, "leaf", 96.0, bFM), "x", 97.0, bFM), nullptr);
  tree.Sort();
  ASSERT_TRUE(SaveOrganizerDatabase(path, tree, kDot));
  EXPECT_EQ(Dump(LoadOrganizerDatabase(path, kDot)), Dump(tree));
}

TEST(OrganizerDatabaseTest, EmptyNamesWithOrWithoutTheTrailingBlank) {
  TempDir dir;
  WriteBytes(dir / "db",
             "[Archive]\nRows=3\nRow1=2 1 0 M 088.500 \nRow2=2 2 0 M 089.500\n"
             "Row3=1 3 0 X 000.000  two  blanks\n");
  const OrganizerTree tree = LoadOrganizerDatabase(dir / "db", kDot);
  EXPECT_EQ(Dump(tree),
            "  S1<0 [] M088.500\n"
            "  S2<0 [] M089.500\n"
            "  F3<0 [ two  blanks]\n");
}

TEST(OrganizerDatabaseTest, ControlCharactersInNamesReadAsBlanksSoTheOrderSurvivesASave) {
  TempDir dir;
  // Read as it stands, "a<SOH>z" would sort before "a b", and after it once saved as "a z".
  WriteBytes(dir / "db",
             "[Archive]\nRows=2\nRow1=2 1 0 M 088.500 a b\nRow2=2 2 0 M 089.500 a\x01z\n");
  const OrganizerTree tree = LoadOrganizerDatabase(dir / "db", kDot);
  EXPECT_EQ(Dump(tree),
            "  S1<0 [a b] M088.500\n"
            "  S2<0 [a z] M089.500\n");
  ASSERT_TRUE(SaveOrganizerDatabase(dir / "db", tree, kDot));
  const std::string saved = ReadBytes(dir / "db");
  ASSERT_TRUE(SaveOrganizerDatabase(dir / "db", LoadOrganizerDatabase(dir / "db", kDot), kDot));
  EXPECT_EQ(ReadBytes(dir / "db"), saved);
}

TEST(OrganizerDatabaseTest, DamagedRowsAreSkippedAndOrphansDroppedWithTheirSubtrees) {
  TempDir dir;
  WriteBytes(dir / "db",
             "[Other]\nKeep=1\n"
             "[archive]\nrows=20\n"
             "Row1=1 1 0 X 000.000 Kept\n"
             "Row2=1 2 99 X 000.000 Orphan\n"       // no node 99
             "Row3=2 3 2 M 088.000 Below orphan\n"  // parent was dropped
             "Row4=2 4 1 M 089.000 Station\n"
             "Row5=2 5 4 M 090.000 Under a station\n"  // stations are leaves
             "Row6=2 1 0 M 091.000 Reused id\n"
             "Row7=2 0 0 M 092.000 Root id\n"
             "Row8=2 -4 0 M 093.000 Negative id\n"
             "Row9=3 9 0 M 094.000 Unknown kind\n"
             "Row10=2 10 9 M 095.000 Below unknown kind\n"
             "Row11=2 x 0 M 096.000 Bad id\n"
             "Row12=2 12 0 M 09x.000 Bad frequency\n"
             "Row13=2 13 0 M\n"
             "Row14=\n"
             "Row15=2 99999999999 0 M 097.000 Overflowing id\n"
             "Row16=2 2147483647 0 M 098.000 Top id\n"
             "Row017=2 17 0 M 099.000 Leading zero\n"
             "Row18=2 18 1 K 000.531 Late but fine\n"
             "Row21=2 21 0 M 100.000 Beyond Rows\n"
             "ROW18=2 19 0 M 101.000 Duplicate key\n");
  OrganizerLoadReport report;
  const OrganizerTree tree = LoadOrganizerDatabase(dir / "db", kDot, &report);
  EXPECT_EQ(Dump(tree),
            "  F1<0 [Kept]\n"
            "    S18<1 [Late but fine] K000.531\n"
            "    S4<1 [Station] M089.000\n");
  EXPECT_EQ(report.Loaded, 3u);
  EXPECT_EQ(report.Dropped, 4u);
  EXPECT_EQ(report.Skipped, 9u);
  EXPECT_EQ(tree.IdCounter(), 18);

  // Saving keeps the other sections and rewrites the archive alone.
  ASSERT_TRUE(SaveOrganizerDatabase(dir / "db", tree, kDot));
  EXPECT_EQ(IniFile(dir / "db").ReadInteger("Other", "Keep", 0), 1);
  EXPECT_EQ(IniFile(dir / "db").ReadSection("Archive").size(), 4u);
}

TEST(OrganizerDatabaseTest, HostileFilesOpenAsAnEmptyTree) {
  TempDir dir;
  std::string junk;
  for (int i = 0; i < 100000; ++i) junk.push_back(static_cast<char>((i * 131) % 256));
  const std::pair<const char*, std::string> files[] = {
      {"empty", ""},
      {"junk", junk},
      {"huge rows", "[Archive]\nRows=2147483647\nRow2000000000=1 1 0 X 000.000 far\n"},
      {"overflowing rows", "[Archive]\nRows=99999999999999999999\nRow1=1 1 0 X 000.000 a\n"},
      {"negative rows", "[Archive]\nRows=-5\nRow1=1 1 0 X 000.000 a\n"},
      {"10 MB row", "[Archive]\nRows=1\nRow1=1 1 0 X 000.000 " + std::string(10 << 20, 'n') + "\n"},
  };
  for (const auto& [what, bytes] : files) {
    WriteBytes(dir / "db", bytes);
    const OrganizerTree tree = LoadOrganizerDatabase(dir / "db", kDot);
    EXPECT_LE(tree.NodeCount(), 1u) << what;
  }
  // Far but within Rows: read, without walking two billion keys.
  WriteBytes(dir / "db", files[2].second);
  EXPECT_EQ(LoadOrganizerDatabase(dir / "db", kDot).NodeCount(), 1u);
}

TEST(OrganizerDatabaseTest, DeepNestingNeedsNoRecursion) {
  TempDir dir;
  constexpr int kDepth = 200000;
  std::string text = "[Archive]\nRows=" + std::to_string(kDepth) + "\n";
  for (int i = 1; i <= kDepth; ++i) {
    text += "Row" + std::to_string(i) + "=1 " + std::to_string(i) + " " + std::to_string(i - 1) +
            " X 000.000 f\n";
  }
  WriteBytes(dir / "db", text);
  {
    const OrganizerTree tree = LoadOrganizerDatabase(dir / "db", kDot);
    EXPECT_EQ(tree.NodeCount(), static_cast<size_t>(kDepth));
    ASSERT_TRUE(SaveOrganizerDatabase(dir / "db", tree, kDot));
  }  // and torn down
  EXPECT_EQ(ReadBytes(dir / "db"), text);
}

TEST(OrganizerDatabaseTest, FailedSaveLeavesThePreviousFileByteIdentical) {
  TempDir dir;
  const auto path = dir / "Ondivo.db";
  ASSERT_TRUE(SaveOrganizerDatabase(path, SampleTree(), kDot));
  const std::string previous = ReadBytes(path);
  OrganizerTree bigger = SampleTree();
  for (int i = 0; i < 50; ++i) bigger.AddStation(bigger.Root(), "More", 90.0 + i * 0.1, bFM);
  EXPECT_FALSE(test::RunWithFileSizeLimit(static_cast<rlim_t>(previous.size()), [&] {
    const tWriteResult result = SaveOrganizerDatabase(path, bigger, kDot);
    return result.Ok() || result.Message != "Unable to write to " + path.string();
  }));
  EXPECT_EQ(ReadBytes(path), previous);
  EXPECT_EQ(test::CountEntries(dir.Path()), 1u);
}

TEST(OrganizerDatabaseTest, AnUnreadableDatabaseIsKeptAsBackupBeforeTheSave) {
  TempDir dir;
  const auto path = dir / "Ondivo.db";
  WriteBytes(path, "[Archive]\nRows=1\nRow1=1 1 0 X 000.000 Mine\n");
  std::filesystem::resize_file(path, IniFile::kMaxFileSize + 1);
  OrganizerLoadReport report;
  const OrganizerTree empty = LoadOrganizerDatabase(path, kDot, &report);
  EXPECT_EQ(report.File, IniLoadResult::Unreadable);
  ASSERT_TRUE(SaveOrganizerDatabase(path, SampleTree(), kDot));
  EXPECT_EQ(std::filesystem::file_size(dir / "Ondivo.db.bak"), IniFile::kMaxFileSize + 1);
  EXPECT_EQ(Dump(LoadOrganizerDatabase(path, kDot)), Dump(SampleTree()));
  // A second unreadable file does not replace the first backup.
  std::filesystem::resize_file(path, IniFile::kMaxFileSize + 2);
  ASSERT_TRUE(SaveOrganizerDatabase(path, SampleTree(), kDot));
  EXPECT_EQ(std::filesystem::file_size(dir / "Ondivo.db.bak"), IniFile::kMaxFileSize + 1);
  EXPECT_EQ(std::filesystem::file_size(dir / "Ondivo.db.bak2"), IniFile::kMaxFileSize + 2);
}

TEST(OrganizerDatabaseTest, AFileTheUserMayNotReadIsNeverSavedOver) {
  // The file must belong to another user than the one who tries it: set up as root.
  if (::geteuid() != 0) GTEST_SKIP() << "needs root to prepare a file for uid 65534";
  TempDir dir;
  const auto& folder = dir.Path();
  test::GiveToUnprivilegedUser(folder);
  const auto path = folder / "Ondivo.db";
  const std::string original = "[Archive]\nRows=1\nRow1=1 1 0 X 000.000 Mine\n";
  WriteBytes(path, original);
  std::filesystem::permissions(path, std::filesystem::perms::none);
  EXPECT_TRUE(test::RunAsUnprivilegedUser([&] {
    OrganizerLoadReport report;
    LoadOrganizerDatabase(path, kDot, &report);
    return report.File == IniLoadResult::Unreadable &&
           static_cast<bool>(SaveOrganizerDatabase(path, SampleTree(), kDot));
  }));
  EXPECT_EQ(ReadBytes(folder / "Ondivo.db.bak"), original);

  // Where the file cannot be moved aside, the save fails and leaves it alone.
  WriteBytes(path, original);
  std::filesystem::permissions(path, std::filesystem::perms::none);
  std::filesystem::permissions(
      folder, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
  EXPECT_TRUE(test::RunAsUnprivilegedUser(
      [&] { return !SaveOrganizerDatabase(path, SampleTree(), kDot); }));
  EXPECT_EQ(ReadBytes(path), original);
}

}  // namespace
}  // namespace ondivo
