#include <gtest/gtest.h>

#include <string>

#include "panel/ConfigurationFile.h"
#include "platform/IniFile.h"
#include "stations/PresetsBank.h"
#include "tests/support/TempDir.h"

namespace ondivo {
namespace {

using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

constexpr int kPresetCount = PresetsBank::kPresetCount;

const LocaleFormat kComma{',', ':', "hh:mm:ss"};
const LocaleFormat kFullStop{'.', ':', "hh:mm:ss"};

class ConfigurationFileTest : public ::testing::Test {
 protected:
  // Loads the given file text into fresh defaults.
  void Load(const std::string& text, const LocaleFormat& locale = kFullStop) {
    WriteBytes(path_, text);
    LoadFile(locale);
  }
  void LoadFile(const LocaleFormat& locale = kFullStop) {
    settings_ = tConfiguration{};
    bank_ = PresetsBank{};
    const IniFile ini(path_);
    LoadConfiguration(ini, locale, settings_, bank_);
  }
  tWriteResult Save(const tConfiguration& settings, const PresetsBank& bank,
                    const LocaleFormat& locale = kFullStop) {
    IniFile ini(path_);
    return SaveConfiguration(ini, settings, bank, locale);
  }
  std::vector<int> Stored() const {
    std::vector<int> numbers;
    for (int n = 1; n <= kPresetCount; ++n)
      if (bank_.Preset(n).Assigned) numbers.push_back(n);
    return numbers;
  }

  TempDir folder_;
  std::filesystem::path path_ = folder_ / "Ondivo.ini";
  tConfiguration settings_;
  PresetsBank bank_;
};

void Assign(PresetsBank& bank, int n, std::string name, tBand band, double mhz) {
  bank.Store(n, std::move(name), mhz, band);
}

tConfiguration Changed() {
  tConfiguration s;
  s.X = -20;
  s.Y = 1200;
  s.Volume = 160;
  s.AlarmStation = 100;
  s.AlarmHour = 7;
  s.AlarmMinute = 5;
  s.LastBand = bAM;
  s.LastFrequency = 0.531;
  s.TuneStep = 4;
  s.Hardware = 7;
  s.Port = 2;
  s.VolumeLine = vlCd;
  s.CheckIfTuned = true;
  s.JapaneseFM = true;
  s.KeyboardCommands = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789!";
  s.LastStation = false;
  s.StartMinimized = true;
  s.TipOfTheDay = true;
  s.ShutDown = 0;
  s.Background = 15;
  s.Foreground = 0;
  s.Style = 3;
  s.ColorGenericButton = 1;
  s.ColorFavAssButtonFM = 7;
  s.ColorFavAssButtonAM = 6;
  s.ColorFavNotAssButton = 5;
  s.ColorPanel = 9;
  s.ColorText = 3;
  s.ColorFlag = 2;
  s.LaunchAlarm = true;
  s.StartMuted = true;
  s.ForceStereoOff = true;
  s.DisplayType = 5;
  s.AlwaysOnTop = true;
  s.Current = 15;
  return s;
}

PresetsBank ChangedBank() {
  PresetsBank bank;
  Assign(bank, 1, "Radio One", bFM, 88.5);
  Assign(bank, 15, "", bFM, 101.35);
  Assign(bank, 42, "Talk  and  news", bAM, 1.62);
  Assign(bank, 100, "Last", bFM, 107.9);
  return bank;
}

void ExpectSameBank(const PresetsBank& a, const PresetsBank& b) {
  for (int n = 1; n <= kPresetCount; ++n) {
    EXPECT_EQ(a.Preset(n).Assigned, b.Preset(n).Assigned) << n;
    EXPECT_EQ(a.Preset(n).Name, b.Preset(n).Name) << n;
    EXPECT_EQ(a.Preset(n).Band, b.Preset(n).Band) << n;
    EXPECT_DOUBLE_EQ(a.Preset(n).Frequency, b.Preset(n).Frequency) << n;
  }
}

TEST_F(ConfigurationFileTest, MissingFileReadsAsDefaults) {
  LoadFile();
  tConfiguration expected;
  EXPECT_EQ(settings_, expected);
  EXPECT_EQ(settings_.LastBand, bFM);
  EXPECT_EQ(settings_.LastFrequency, 0.0);  // the card keeps its own frequency
  EXPECT_TRUE(Stored().empty());
}

TEST_F(ConfigurationFileTest, EverySettingSurvivesSaveAndLoadUnderBothSeparators) {
  for (const LocaleFormat& locale : {kFullStop, kComma}) {
    SCOPED_TRACE(locale.DecimalSeparator);
    ASSERT_TRUE(Save(Changed(), ChangedBank(), locale));
    LoadFile(locale);
    EXPECT_EQ(settings_, Changed());
    ExpectSameBank(bank_, ChangedBank());
  }
  const std::string text = ReadBytes(path_);
  EXPECT_NE(text.find("Station00=M 107,900 Last"), std::string::npos) << text;
  EXPECT_NE(text.find("Station42=K 001,620 Talk  and  news"), std::string::npos);
  EXPECT_NE(text.find("List=1,15,42,100,"), std::string::npos);
  EXPECT_NE(text.find("Frequency=K 000,531"), std::string::npos);
  EXPECT_NE(text.find("Time=07:05"), std::string::npos);
}

TEST_F(ConfigurationFileTest, FrequenciesWrittenUnderOneSeparatorAreRefusedUnderTheOther) {
  ASSERT_TRUE(Save(Changed(), ChangedBank(), kComma));
  LoadFile(kFullStop);
  EXPECT_TRUE(Stored().empty());
  EXPECT_EQ(settings_.LastFrequency, 0.0);
  ASSERT_TRUE(Save(Changed(), ChangedBank(), kFullStop));
  LoadFile(kComma);
  EXPECT_TRUE(Stored().empty());
  EXPECT_EQ(settings_.LastFrequency, 0.0);
  // Everything that holds no frequency reads the same.
  EXPECT_EQ(settings_.KeyboardCommands, Changed().KeyboardCommands);
  EXPECT_EQ(settings_.Current, 15);
}

TEST_F(ConfigurationFileTest, StationsRefusedUnderAnotherSeparatorSurviveASaveUnchanged) {
  ASSERT_TRUE(Save(Changed(), ChangedBank(), kComma));
  // A run under the other separator refuses every station, stores one of its own in a free
  // slot and saves.
  LoadFile(kFullStop);
  ASSERT_TRUE(Stored().empty());
  bank_.Store(2, "New", 99.0, bFM);
  ASSERT_TRUE(Save(settings_, bank_, kFullStop));
  const std::string text = ReadBytes(path_);
  EXPECT_NE(text.find("List=1,2,15,42,100,"), std::string::npos) << text;
  EXPECT_NE(text.find("Station00=M 107,900 Last"), std::string::npos) << text;
  // Back under the first separator every station of the first run is there again.
  LoadFile(kComma);
  EXPECT_EQ(Stored(), (std::vector<int>{1, 15, 42, 100}));
  for (int n : {1, 15, 42, 100}) EXPECT_EQ(bank_.Preset(n), ChangedBank().Preset(n)) << n;

  // A slot the user stores into takes the new station; the refused entry goes.
  LoadFile(kFullStop);
  bank_.Store(1, "Mine", 95.0, bFM);
  ASSERT_TRUE(Save(settings_, bank_, kFullStop));
  LoadFile(kFullStop);
  EXPECT_EQ(bank_.Preset(1), (tPreset{"Mine", 95.0, bFM, true}));
}

TEST_F(ConfigurationFileTest, KeyStringsWithBlanksAtEitherEndSurvive) {
  std::string keys = DefaultKeyString();
  for (const size_t at : {size_t{0}, keys.size() - 1}) {
    std::string custom = keys;
    custom[at] = ' ';
    tConfiguration s;
    s.KeyboardCommands = custom;
    ASSERT_TRUE(Save(s, PresetsBank{}));
    LoadFile();
    EXPECT_EQ(settings_.KeyboardCommands, custom) << ReadBytes(path_);
  }
  // One pair of surrounding quotes is taken off, as the profile functions do.
  Load("[Configuration]\nKeyboardCommands=\"" + keys + "\"\n");
  EXPECT_EQ(settings_.KeyboardCommands, keys);
  Load("[Configuration]\nKeyboardCommands='" + keys.substr(1) + " '\n");
  EXPECT_EQ(settings_.KeyboardCommands, keys.substr(1) + " ");
}

TEST_F(ConfigurationFileTest, SaveWritesSectionsAndKeysInOrderAndDropsUnknownKeys) {
  WriteBytes(path_,
             "[Configuration]\nHandAdded=1\nHardware=3\n"
             "[Presets]\nStation07=M 090.000 Old\n"
             "[Other]\nKept=yes\n");
  ASSERT_TRUE(Save(Changed(), ChangedBank()));
  const std::string text = ReadBytes(path_);
  EXPECT_EQ(text.find("HandAdded"), std::string::npos);
  EXPECT_EQ(text.find("Station07"), std::string::npos);
  EXPECT_NE(text.find("Kept=yes"), std::string::npos);  // a section the program never writes
  size_t last = 0;
  for (const char* key : {"[WinPos]",
                          "X=",
                          "Y=",
                          "[Audio]",
                          "Volume=",
                          "[Alarm]",
                          "Station=",
                          "Time=",
                          "[Frequency]",
                          "Frequency=",
                          "TuneStep=",
                          "[Configuration]",
                          "Hardware=",
                          "Port=",
                          "VolumeLine=",
                          "CheckIfTuned=",
                          "JapaneseFM=",
                          "KeyboardCommands=",
                          "LastStation=",
                          "StartMinimized=",
                          "TipOfTheDay=",
                          "ShutDown=",
                          "Background=",
                          "Foreground=",
                          "Style=",
                          "ColorGenericButton=",
                          "ColorFavAssButtonFM=",
                          "ColorFavAssButtonAM=",
                          "ColorFavNotAssButton=",
                          "ColorPanel=",
                          "ColorText=",
                          "ColorFlag=",
                          "LaunchAlarm=",
                          "StartMuted=",
                          "ForceStereoOff=",
                          "[DisplayMode]",
                          "DisplayType=",
                          "AlwaysOnTop=",
                          "[Presets]",
                          "Current=",
                          "List=",
                          "Station01=",
                          "Station15=",
                          "Station42=",
                          "Station00="}) {
    const size_t at = text.find(key, last);
    ASSERT_NE(at, std::string::npos) << key << " after " << last << " in\n" << text;
    last = at;
  }
}

TEST_F(ConfigurationFileTest, IntegersReadDecimalOrHexAndByteSettingsKeepTheLowBits) {
  Load(
      "[Configuration]\nPort=0x1FF\nStyle=0X1f\nBackground=0x\nForeground=258\n"
      "ColorPanel=-1\nShutDown=99999999999\nCheckIfTuned=2\nJapaneseFM=0x0\n"
      "[Audio]\nVolume=abc\n[WinPos]\nX=-35\nY= 12 \n"
      "[Presets]\nCurrent=356\n[Alarm]\nStation=300\n");
  EXPECT_EQ(settings_.Port, 0xFF);
  EXPECT_EQ(settings_.Style, 31);
  EXPECT_EQ(settings_.Background, 2);  // "0x" alone does not convert
  EXPECT_EQ(settings_.Foreground, 2);
  EXPECT_EQ(settings_.ColorPanel, 255);
  EXPECT_EQ(settings_.ShutDown, 2);  // overflow keeps the default
  EXPECT_TRUE(settings_.CheckIfTuned);
  EXPECT_FALSE(settings_.JapaneseFM);
  EXPECT_EQ(settings_.Volume, 0);
  EXPECT_EQ(settings_.X, -35);
  EXPECT_EQ(settings_.Y, 12);
  EXPECT_EQ(settings_.Current, 100);      // 356 keeps 100 in its low byte
  EXPECT_EQ(settings_.AlarmStation, 44);  // 300 likewise keeps 44
}

TEST_F(ConfigurationFileTest, MeaninglessValuesFallBack) {
  Load(
      "[DisplayMode]\nDisplayType=6\n[Configuration]\nHardware=10\nVolumeLine=5\n"
      "[Presets]\nCurrent=200\n[Frequency]\nTuneStep=-3\n");
  EXPECT_EQ(settings_.TuneStep, 1);
  EXPECT_EQ(settings_.DisplayType, 0);
  EXPECT_EQ(settings_.Hardware, 0);
  EXPECT_EQ(settings_.VolumeLine, vlNone);
  EXPECT_EQ(settings_.Current, 0);
  Load(
      "[DisplayMode]\nDisplayType=-1\n[Configuration]\nHardware=9\nVolumeLine=4\n"
      "[Frequency]\nTuneStep=0\n");
  EXPECT_EQ(settings_.TuneStep, 1);
  EXPECT_EQ(settings_.DisplayType, 0);
  EXPECT_EQ(settings_.Hardware, 9);  // the SDR receiver, the last model
  EXPECT_EQ(settings_.VolumeLine, vlCd);
}

TEST_F(ConfigurationFileTest, LastFrequencyKeyNeedsItsBandLetterAndBlank) {
  struct Case {
    const char* value;
    tBand band;
    double mhz;
  };
  // Everything up to the first blank goes: a number without a band letter and blank reads as
  // 0, which leaves the card on its own frequency. A finer frequency reads as it is saved.
  for (const Case& c :
       {Case{"K 000.531", bAM, 0.531}, Case{"k 1.62", bAM, 1.62}, Case{"M 088.500", bFM, 88.5},
        Case{"X 090.000", bFM, 90.0}, Case{"088.500", bFM, 0.0}, Case{"87", bFM, 0.0},
        Case{"MM 088.500", bFM, 88.5}, Case{"M", bFM, 0.0}, Case{"M abc", bFM, 0.0},
        Case{"M -5", bFM, 0.0}, Case{"M 1e400", bFM, 0.0}, Case{"M 999.9996", bFM, 0.0},
        Case{"M 0.0004", bFM, 0.0}, Case{"M 999.9994", bFM, 999.999}}) {
    Load(std::string("[Frequency]\nFrequency=") + c.value + "\n");
    EXPECT_EQ(settings_.LastBand, c.band) << c.value;
    EXPECT_DOUBLE_EQ(settings_.LastFrequency, c.mhz) << c.value;
  }
  Load("[Frequency]\nTuneStep=2\n");
  EXPECT_EQ(settings_.LastFrequency, 0.0);
}

TEST_F(ConfigurationFileTest, PresetListAndStationKeys) {
  Load(
      "[Presets]\nList=3,1,0,101,-1,abc,4,5,6,7,8\n"
      "Station03=M 088.500 Three\nStation01=K 000.531\nStation04=M 000.000 Zero\n"
      "Station05=M\nStation06=M  090.000 Double blank\nStation07=M 091.000 Seven\n"
      "Station08=M 092.000 Eight\n");
  // 8 has no comma after it; 4 holds 0, 5 has no blank, 6 an empty frequency field.
  EXPECT_EQ(Stored(), (std::vector<int>{1, 3, 7}));
  EXPECT_EQ(bank_.Preset(3).Name, "Three");
  EXPECT_EQ(bank_.Preset(1).Name, "");
  EXPECT_EQ(bank_.Preset(1).Band, bAM);
  // Saved back in ascending order, the entries that could not be read unchanged.
  ASSERT_TRUE(Save(settings_, bank_));
  const std::string saved = ReadBytes(path_);
  EXPECT_NE(saved.find("List=1,3,4,5,6,7,"), std::string::npos) << saved;
  EXPECT_NE(saved.find("Station04=M 000.000 Zero\nStation05=M\nStation06=M  090.000 Double"),
            std::string::npos)
      << saved;

  Load(
      "[Presets]\nList=1,2,3,\nStation01=M 088.500 A\nStation02=M 089.500 B\n"
      "Station03=M 090.500 " +
      std::string(60, 'n') + "\n");
  EXPECT_EQ(Stored(), (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(bank_.Preset(3).Name.size(), PresetsBank::kMaxNameLength);

  // The limit counts characters: a long accented name keeps 40 whole characters.
  std::string accented;
  for (int i = 0; i < 45; ++i) accented += "\xC3\xA9";
  Load("[Presets]\nList=1,\nStation01=M 088.500 " + accented + "\n");
  EXPECT_EQ(bank_.Preset(1).Name, accented.substr(0, 80));
}

TEST_F(ConfigurationFileTest, EveryStationAcceptedIsWrittenBackAsReadAndReadsAgain) {
  // Numbers beyond 32 bits never wrap onto a preset.
  Load("[Presets]\nList=4294967297,-4294967295,1,\nStation01=M 088.500 One\n");
  EXPECT_EQ(Stored(), (std::vector<int>{1}));

  // Frequencies whose storage text would not read back are refused on reading.
  Load(
      "[Presets]\nList=1,2,3,4,\nStation01=M 0.0004 Low\nStation02=K 999.9999 High\n"
      "Station03=M 999.9994 Top\nStation04=M 1000 Over\n");
  EXPECT_EQ(Stored(), (std::vector<int>{3}));

  // A name cut to 40 characters loses the blank the cut leaves at its end.
  const std::string name = std::string(39, 'a') + " bcd";
  Load("[Presets]\nList=1,\nStation01=M 088.500 " + name + "\n");
  EXPECT_EQ(bank_.Preset(1).Name, std::string(39, 'a'));
  const PresetsBank first = bank_;
  ASSERT_TRUE(Save(settings_, bank_));
  LoadFile();
  EXPECT_EQ(bank_, first);
  EXPECT_EQ(Stored(), (std::vector<int>{1}));

  // Control characters in a name read as the blanks a save writes in their place.
  Load("[Presets]\nList=1,\nStation01=M 088.500 Tab\there\x7f\n");
  EXPECT_EQ(bank_.Preset(1).Name, "Tab here");
  const PresetsBank scrubbed = bank_;
  ASSERT_TRUE(Save(settings_, bank_));
  LoadFile();
  EXPECT_EQ(bank_, scrubbed);
}

TEST_F(ConfigurationFileTest, AlarmTimeAndKeyString) {
  for (const char* bad : {"24:00", "07:60", "abc", "", "7", ":30", "07:05:00", "-1:30", "123:00"}) {
    Load(std::string("[Alarm]\nTime=") + bad + "\n");
    EXPECT_EQ(settings_.AlarmHour * 100 + settings_.AlarmMinute, 630) << bad;
  }
  Load("[Alarm]\nTime=7:5\n");
  EXPECT_EQ(settings_.AlarmHour, 7);
  EXPECT_EQ(settings_.AlarmMinute, 5);

  const std::string keys = DefaultKeyString();
  Load("[Configuration]\nKeyboardCommands=" + keys.substr(1) + "\n");
  EXPECT_EQ(settings_.KeyboardCommands, keys);
  Load("[Configuration]\nKeyboardCommands=U" + keys.substr(1, 35) + "U\n");
  EXPECT_EQ(settings_.KeyboardCommands, keys);
  std::string custom = keys;
  custom[0] = 'w';
  Load("[Configuration]\nKeyboardCommands=" + custom + "\n");
  custom[0] = 'W';
  EXPECT_EQ(settings_.KeyboardCommands, custom);
}

TEST_F(ConfigurationFileTest, HostileFilesReadAsDefaultsWithoutCrash) {
  std::string junk;
  for (int i = 0; i < 1 << 16; ++i) junk += static_cast<char>((i * 7919 + i / 3) & 0xFF);
  Load(junk);
  EXPECT_EQ(settings_.KeyboardCommands, DefaultKeyString());
  EXPECT_LE(settings_.DisplayType, 5);

  // A 10 MB list is read only as far as the profile functions would.
  std::string list;
  while (list.size() < (10u << 20)) list += "1,";
  Load("[Presets]\nList=" + list + "\nStation01=M 088.500 A\n[Configuration]\nKeyboardCommands=" +
       std::string(10u << 20, 'K') + "\n");
  EXPECT_EQ(Stored(), (std::vector<int>{1}));
  EXPECT_EQ(settings_.KeyboardCommands, DefaultKeyString());
  Load("");
  EXPECT_EQ(settings_, tConfiguration{});
}

TEST_F(ConfigurationFileTest, ANulByteDoesNotHideTheRestOfTheFile) {
  Load("[Configuration]\nStyle=3\n" + std::string(1, '\0') +
       "junk\nHardware=4\n[Presets]\nList=1,\nStation01=M 088.500 One\n");
  EXPECT_EQ(settings_.Style, 3);
  EXPECT_EQ(settings_.Hardware, 4);
  EXPECT_EQ(Stored(), (std::vector<int>{1}));
}

TEST_F(ConfigurationFileTest, AnUnreadableFileIsKeptAsBackupBeforeTheSave) {
  // Larger than the adapter reads: the file exists but reads as nothing.
  WriteBytes(path_, "[Configuration]\nStyle=3\n");
  std::filesystem::resize_file(path_, IniFile::kMaxFileSize + 1);
  LoadFile();
  EXPECT_EQ(settings_.Style, tConfiguration{}.Style);
  const auto backup = folder_ / "Ondivo.ini.bak";
  {
    // The panel asks first, to tell the user once; the save then goes ahead.
    IniFile ini(path_);
    const auto notice = ini.KeepUnreadableFile();
    ASSERT_TRUE(notice);
    EXPECT_NE(notice->find(backup.string()), std::string::npos) << *notice;
    EXPECT_FALSE(ini.KeepUnreadableFile());
    const tWriteResult result = SaveConfiguration(ini, Changed(), ChangedBank(), kFullStop);
    ASSERT_TRUE(result);
    EXPECT_EQ(result.Notice, "");
  }
  EXPECT_EQ(std::filesystem::file_size(backup), IniFile::kMaxFileSize + 1);
  LoadFile();
  EXPECT_EQ(settings_, Changed());

  // Without asking, the save keeps the file itself and says so in its notice.
  std::filesystem::resize_file(path_, IniFile::kMaxFileSize + 2);
  const tWriteResult result = Save(Changed(), ChangedBank());
  ASSERT_TRUE(result);
  EXPECT_NE(result.Notice.find("Ondivo.ini.bak2"), std::string::npos) << result.Notice;
  EXPECT_EQ(std::filesystem::file_size(folder_ / "Ondivo.ini.bak2"), IniFile::kMaxFileSize + 2);
}

TEST_F(ConfigurationFileTest, FailedSaveKeepsThePreviousFileAndNamesIt) {
  ASSERT_TRUE(Save(tConfiguration{}, PresetsBank{}));
  const std::string before = ReadBytes(path_);
  // The new file is larger than the old; a file-size limit between the two fails the write.
  EXPECT_TRUE(test::RunWithFileSizeLimit(before.size() + 16, [&] {
    const tWriteResult result = Save(Changed(), ChangedBank(), kFullStop);
    return !result && result.Message == "Unable to write to " + path_.string() && result.Error;
  }));
  EXPECT_EQ(ReadBytes(path_), before);
  EXPECT_EQ(test::CountEntries(folder_.Path()), 1u);
}

}  // namespace
}  // namespace ondivo
