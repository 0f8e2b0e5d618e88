#include <gtest/gtest.h>

#include <algorithm>

#include "panel/ConfigurationKeys.h"
#include "panel/KeyString.h"
#include "panel/PanelCommand.h"
#include "radio/DevCaps.h"
#include "radio/RadioCard.h"
#include "settings/SetupValues.h"
#include "tests/support/HardwareDoubles.h"

namespace ondivo {
namespace {

using test::FakeMixer;

// A mixer with both controls of line in and CD, and only the volume of the microphone.
FakeMixer LineInAndCdMixer() {
  FakeMixer mixer;
  for (const auto c : {mcLineInVolume, mcLineInMute, mcCdVolume, mcCdMute, mcMicVolume})
    mixer.controls[c] = {};
  return mixer;
}

tSetupMachine Machine(bool soundCard, const CardMixer* mixer) {
  tSetupMachine machine;
  machine.DevCaps = DefaultDevCaps();
  machine.SoundCard = soundCard;
  machine.Mixer = mixer;
  return machine;
}

tConfiguration Configured(tModel model, int port, tVolumeLine line) {
  tConfiguration settings;
  settings.Hardware = HardwareIndexFromModel(model);
  settings.Port = static_cast<uint8_t>(port);
  settings.VolumeLine = line;
  return settings;
}

size_t IndexOf(const std::vector<std::string>& list, const std::string& entry) {
  return static_cast<size_t>(std::find(list.begin(), list.end(), entry) - list.begin());
}

TEST(SetupValuesRadioCardTest, ModelListIsInModelOrderAndPicksByCaption) {
  tSetupValues values(tConfiguration{}, Machine(false, nullptr));
  const auto list = values.ModelList();
  ASSERT_EQ(list.size(), 9u);
  EXPECT_EQ(list.front(), "AimsLab Radiotrack");
  EXPECT_EQ(list[7], "Linux V4L2 radio device");
  EXPECT_EQ(list.back(), "SoapySDR software radio");
  const size_t zoltrix = IndexOf(list, "Zoltrix Radio Plus 108");
  ASSERT_LT(zoltrix, list.size());
  values.SetModel(static_cast<tModel>(zoltrix));
  EXPECT_EQ(values.Model(), mZoltrix);
}

TEST(SetupValuesRadioCardTest, PortChoicesGiveTheirPortNumbers) {
  tSetupValues values(Configured(mRA300, 1, vlNative), Machine(false, nullptr));
  const auto alternate =
      std::find_if(kIoPortChoices.begin(), kIoPortChoices.end(),
                   [](const auto& c) { return c.Caption == "20Ch (alternate)"; });
  ASSERT_NE(alternate, kIoPortChoices.end());
  EXPECT_TRUE(values.SetPort(alternate->Port));
  EXPECT_EQ(values.Port(), 2);
  EXPECT_FALSE(values.SetPort(3));  // a port card has two addresses
  EXPECT_EQ(values.Port(), 2);

  values.SetModel(mWizard);
  EXPECT_EQ(SerialPortFromEntry("Com3"), 3);
  EXPECT_TRUE(values.SetPort(SerialPortFromEntry("Com3")));
  EXPECT_EQ(values.Port(), 3);
  EXPECT_EQ(SerialPortFromEntry("Co"), 0);
  EXPECT_EQ(SerialPortEntry(7), "Com7");
}

TEST(SetupValuesRadioCardTest, SwitchingModelsAndBackRestoresWhatWasChosen) {
  FakeMixer mixer = LineInAndCdMixer();
  tSetupValues values(Configured(mRadioMan, 2, vlLineIn), Machine(true, &mixer));
  EXPECT_TRUE(values.SetPort(5));
  EXPECT_TRUE(values.SetVolumeLine(vlCd));
  EXPECT_TRUE(values.SetJapaneseFM(true));

  values.SetModel(mZoltrix);
  EXPECT_EQ(values.Port(), 1);  // its default
  EXPECT_EQ(values.VolumeLine(), vlNative);
  EXPECT_FALSE(values.JapaneseFM());
  EXPECT_TRUE(values.SetPort(2));

  values.SetModel(mRadioMan);
  EXPECT_EQ(values.Port(), 5);
  EXPECT_EQ(values.VolumeLine(), vlCd);
  EXPECT_TRUE(values.JapaneseFM());
  values.SetModel(mZoltrix);
  EXPECT_EQ(values.Port(), 2);

  // Untouched models start from their defaults: serial radios on COM2 and line in.
  values.SetModel(mRajikoma);
  EXPECT_EQ(values.MemoryOf(mRajikoma), (tModelMemory{2, vlLineIn, false}));
}

TEST(SetupValuesRadioCardTest, JapaneseFMOnlyWhereTheModelHasIt) {
  tConfiguration settings = Configured(mRadioTrack, 1, vlNative);
  settings.JapaneseFM = true;  // a hand-edited file
  tSetupValues values(settings, Machine(false, nullptr));
  EXPECT_FALSE(values.JapaneseFM());
  EXPECT_FALSE(values.JapaneseFMAvailable());
  EXPECT_FALSE(values.SetJapaneseFM(true));
  EXPECT_FALSE(values.JapaneseFM());

  // A model that has it keeps the configured choice; OK must not turn the band off.
  settings = Configured(mWizard, 3, vlNative);
  settings.JapaneseFM = true;
  tSetupValues wizard(settings, Machine(false, nullptr));
  EXPECT_TRUE(wizard.JapaneseFM());
  tConfiguration back = settings;
  wizard.StoreInto(back);
  EXPECT_TRUE(back.JapaneseFM);
}

TEST(SetupValuesRadioCardTest, InstalledLabelFollowsTheCardsModel) {
  tSetupMachine machine = Machine(false, nullptr);
  machine.CardModel = mRA300;
  tSetupValues values(Configured(mRA300, 1, vlNative), machine);
  EXPECT_TRUE(values.IsInstalledModel());
  values.SetModel(mWizard);
  EXPECT_FALSE(values.IsInstalledModel());
  EXPECT_FALSE(tSetupValues(tConfiguration{}, Machine(false, nullptr)).IsInstalledModel());
}

TEST(SetupValuesRadioCardTest, SerialListHasPresentPortsAndTheOneTheCardHolds) {
  const auto present = [](int32_t n) { return n == 1 || n == 4; };
  EXPECT_EQ(AvailableSerialPorts(present, std::nullopt), (std::vector<int32_t>{1, 4}));
  EXPECT_EQ(AvailableSerialPorts(present, 3), (std::vector<int32_t>{1, 3, 4}));
  EXPECT_TRUE(AvailableSerialPorts([](int32_t) { return false; }, std::nullopt).empty());
}

TEST(SetupValuesVolumeTest, WithoutASoundCardOnlyTheCardIsOffered) {
  FakeMixer mixer = LineInAndCdMixer();
  tSetupValues values(Configured(mRadioTrack, 1, vlLineIn), Machine(false, &mixer));
  EXPECT_EQ(values.OfferedRoutes(), (std::vector<tVolumeLine>{vlNative}));
  EXPECT_EQ(values.VolumeLine(), vlNative);  // a mixer line falls back to the card
  EXPECT_FALSE(values.SetVolumeLine(vlCd));
  values.SetModel(mWizard);  // can mute: still the card
  EXPECT_EQ(values.VolumeLine(), vlNative);
}

TEST(SetupValuesVolumeTest, WithASoundCardLinesNeedBothControls) {
  FakeMixer mixer = LineInAndCdMixer();
  tSetupValues values(Configured(mRadioTrack, 1, vlMicIn), Machine(true, &mixer));
  EXPECT_EQ(values.OfferedRoutes(), (std::vector<tVolumeLine>{vlNative, vlLineIn, vlCd}));
  // The microphone lacks its mute control: the first entry takes over.
  EXPECT_EQ(values.VolumeLine(), vlNative);
  EXPECT_FALSE(values.SetVolumeLine(vlMicIn));
  EXPECT_TRUE(values.SetVolumeLine(vlCd));
  EXPECT_EQ(values.VolumeLine(), vlCd);
}

TEST(SetupValuesVolumeTest, CardRouteMovesToLineInWhenTheCardCanDoNothing) {
  FakeMixer mixer = LineInAndCdMixer();
  tSetupMachine machine = Machine(true, &mixer);
  machine.DevCaps[static_cast<size_t>(mWizard)].CanMute = false;
  tSetupValues values(Configured(mWizard, 2, vlNative), machine);
  EXPECT_EQ(values.VolumeLine(), vlLineIn);
  EXPECT_EQ(values.OfferedRoutes(), (std::vector<tVolumeLine>{vlLineIn, vlCd}));

  // Without a sound card such a card has no route at all.
  tSetupMachine silent = Machine(false, nullptr);
  silent.DevCaps = machine.DevCaps;
  tSetupValues none(Configured(mWizard, 2, vlLineIn), silent);
  EXPECT_EQ(none.VolumeLine(), vlNone);
  EXPECT_TRUE(none.OfferedRoutes().empty());
}

TEST(SetupValuesVolumeTest, ARadioDeviceWithoutVolumeKeepsTheCardRouteAndSaysWhy) {
  FakeMixer mixer = LineInAndCdMixer();
  tSetupMachine machine = Machine(true, &mixer);
  tDevCap& device = machine.DevCaps[static_cast<size_t>(mV4l2)];
  device.CanVolume = false;
  device.CanMute = false;
  tSetupValues values(Configured(mV4l2, 1, vlNative), machine);
  EXPECT_EQ(values.VolumeLine(), vlNative);
  EXPECT_EQ(values.OfferedRoutes(), (std::vector<tVolumeLine>{vlNative, vlLineIn, vlCd}));
  EXPECT_NE(values.CapabilityText().find("\rThis radio device has no volume control."),
            std::string::npos)
      << values.CapabilityText();
}

TEST(SetupValuesVolumeTest, CapabilityTextFollowsTheModelAndTheSoundCard) {
  tSetupValues values(Configured(mWizard, 2, vlNative), Machine(false, nullptr));
  EXPECT_EQ(values.CapabilityText(),
            "Your radio card can't control volume sound.\rYour radio card can mute/unmute.\r"
            "In your computer no sound cards are installed.\r"
            "You can set volume sound only through the radio card.");
}

TEST(SetupValuesButtonsTest, PresetRowsNeverShareAChoice) {
  tSetupValues values(tConfiguration{}, Machine(false, nullptr));  // FM 2, AM 0, free 4
  EXPECT_TRUE(values.SetButtonColor(brPresetFM, 3));
  EXPECT_FALSE(values.ButtonChoiceEnabled(brPresetAM, 3));
  EXPECT_FALSE(values.ButtonChoiceEnabled(brPresetFree, 3));
  EXPECT_TRUE(values.ButtonChoiceEnabled(brGeneric, 3));
  EXPECT_TRUE(values.ButtonChoiceEnabled(brPresetFM, 3));
  EXPECT_FALSE(values.SetButtonColor(brPresetAM, 3));
  EXPECT_EQ(values.ButtonColor(brPresetAM), 0);
  // The choice the FM row left is free again.
  EXPECT_TRUE(values.ButtonChoiceEnabled(brPresetAM, 2));
  EXPECT_TRUE(values.SetButtonColor(brPresetFM, 6));
  EXPECT_TRUE(values.ButtonChoiceEnabled(brPresetAM, 3));
  EXPECT_TRUE(values.ButtonChoiceEnabled(brPresetFree, 3));
  // The generic row may share anything.
  EXPECT_TRUE(values.SetButtonColor(brGeneric, 6));
  EXPECT_FALSE(values.SetButtonColor(brGeneric, 8));
}

TEST(SetupValuesKeysTest, ADuplicateKeyKeepsTheOldOne) {
  tSetupValues values(tConfiguration{}, Machine(false, nullptr));
  const size_t up = KeyPosition(cmVolumeUp);
  EXPECT_FALSE(values.SetKey(up, 'D'));  // volume down holds it
  EXPECT_EQ(values.Key(up), 'U');
  EXPECT_FALSE(values.SetKey(up, '7'));  // the reserved position's key counts too
  EXPECT_FALSE(values.SetKey(up, 'u'));  // not in the alphabet
  EXPECT_TRUE(values.SetKey(up, 'W'));
  EXPECT_EQ(values.Key(up), 'W');
  EXPECT_TRUE(values.SetKey(up, 'W'));  // its own key again
  EXPECT_FALSE(values.SetKey(kReservedKeyPosition, 'V'));
  EXPECT_TRUE(IsUsableKeyString(values.KeyString()));
}

TEST(SetupValuesKeysTest, ResetThenOkStoresTheDefaultString) {
  tConfiguration settings;
  settings.KeyboardCommands = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789!";
  tSetupValues values(settings, Machine(false, nullptr));
  EXPECT_EQ(values.KeyString(), settings.KeyboardCommands);
  values.ResetKeys();
  values.StoreInto(settings);
  EXPECT_EQ(settings.KeyboardCommands, DefaultKeyString());
}

TEST(SetupValuesStoreTest, StoreWritesBackEverySettingItOwns) {
  FakeMixer mixer = LineInAndCdMixer();
  tSetupValues values(tConfiguration{}, Machine(true, &mixer));
  values.SetModel(mRadionMaru);
  values.SetPort(6);
  values.SetVolumeLine(vlCd);
  values.SetCheckIfTuned(true);
  values.SetStartup({false, true, true, true, true, true});
  EXPECT_TRUE(values.SetShutDown(1));
  EXPECT_FALSE(values.SetShutDown(3));
  EXPECT_TRUE(values.SetDigitOffColor(1) && values.SetDigitOnColor(9) && values.SetPanelColor(4));
  EXPECT_FALSE(values.SetPanelColor(16));
  EXPECT_TRUE(values.SetStyle(3) && values.SetTextColor(2) && values.SetFlagColor(6));
  EXPECT_FALSE(values.SetStyle(4));

  tConfiguration out;
  out.X = 123;  // not the dialog's: left alone
  values.StoreInto(out);
  EXPECT_EQ(out.X, 123);
  EXPECT_EQ(out.Hardware, 5);
  EXPECT_EQ(out.Port, 6);
  EXPECT_EQ(out.VolumeLine, vlCd);
  EXPECT_TRUE(out.CheckIfTuned);
  EXPECT_FALSE(out.LastStation);
  EXPECT_TRUE(out.StartMinimized && out.TipOfTheDay && out.LaunchAlarm && out.StartMuted &&
              out.ForceStereoOff);
  EXPECT_EQ(out.ShutDown, 1);
  EXPECT_EQ(out.Background, 1);
  EXPECT_EQ(out.Foreground, 9);
  EXPECT_EQ(out.ColorPanel, 4);
  EXPECT_EQ(out.Style, 3);
  EXPECT_EQ(out.ColorText, 2);
  EXPECT_EQ(out.ColorFlag, 6);

  // Read back unchanged, the values give what they were built from.
  tConfiguration again = out;
  tSetupValues(out, Machine(true, &mixer)).StoreInto(again);
  EXPECT_EQ(again, out);
}

TEST(SetupValuesStoreTest, ValuesTheDialogCannotShowGoBackAsTheyCame) {
  // A hand-edited file: the panel has its own reading of these, the dialog leaves them be.
  tConfiguration settings;
  settings.Style = 7;
  settings.ColorPanel = 200;
  settings.ColorFavAssButtonFM = 2;
  settings.ColorFavAssButtonAM = 2;  // two preset rows sharing a choice
  tSetupValues values(settings, Machine(false, nullptr));
  tConfiguration out = settings;
  values.StoreInto(out);
  EXPECT_EQ(out.Style, 7);
  EXPECT_EQ(out.ColorPanel, 200);
  // Shared from the file, but neither row may pick what the other holds.
  EXPECT_FALSE(values.ButtonChoiceEnabled(brPresetAM, 2));
  EXPECT_TRUE(values.SetButtonColor(brPresetAM, 5));
  EXPECT_TRUE(values.ButtonChoiceEnabled(brPresetFM, 2));
}

TEST(SetupValuesStoreTest, FromPanelTakesTheCardAndItsMixer) {
  test::RecordingBus bus;
  FakeMixer mixer = LineInAndCdMixer();
  CardHardware hardware{bus, bus};
  hardware.SoundCard = true;
  TRadioCard card(std::move(hardware));
  card.SetModel(mZoltrix);
  card.SetPort(2);
  tConfiguration settings = Configured(mZoltrix, 2, vlLineIn);
  tSetupValues values = tSetupValues::FromPanel(settings, card, &mixer);
  EXPECT_TRUE(values.IsInstalledModel());
  EXPECT_EQ(values.Port(), 2);
  EXPECT_EQ(values.VolumeLine(), vlLineIn);
  EXPECT_EQ(values.OfferedRoutes(), (std::vector<tVolumeLine>{vlNative, vlLineIn, vlCd}));
  EXPECT_EQ(values.HeldSerialPort(), std::nullopt);
}

}  // namespace
}  // namespace ondivo
