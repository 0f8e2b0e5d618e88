// Grabs every page of "Settings", the "Jump to" dialog, "Alarm setting", "Sleep" and the script
// editor as PNG files, in a few telling states: a port card with a sound card, a serial radio
// without free ports, a port card whose port access cannot be granted, an alarm with and without
// a station, and the editor with an action of each kind selected.
// Usage: dialog-shots <output folder>

#include <QApplication>
#include <QDir>
#include <QListWidget>
#include <QPixmap>
#include <QTabWidget>

#include <cstdio>
#include <fstream>

#include "panel/ConfigurationKeys.h"
#include "platform/Clock.h"
#include "radio/CardMixer.h"
#include "radio/DevCaps.h"
#include "radio/RadioCard.h"
#include "schedule/ScriptFile.h"
#include "schedule/ScriptRunner.h"
#include "schedule/TimeOfDaySource.h"
#include "schedule/tdAlarm.h"
#include "schedule/tdProgr.h"
#include "schedule/tdSnooze.h"
#include "settings/tdJumpTo.h"
#include "settings/tdSetup.h"
#include "sim/SimulatedRig.h"
#include "stations/PresetsBank.h"
#include "support/ShotSupport.h"

namespace {

using namespace ondivo;

// A sound card with line in and CD; the microphone has no mute control.
class SampleMixer final : public CardMixer {
 public:
  bool HasControl(tMixerControlType c) const override {
    return c == mcLineInVolume || c == mcLineInMute || c == mcCdVolume || c == mcCdMute ||
           c == mcMicVolume;
  }
  int32_t Minimum(tMixerControlType) const override { return 0; }
  int32_t Maximum(tMixerControlType) const override { return 31; }
  int32_t Value(tMixerControlType, int) const override { return 0; }
  void SetValue(tMixerControlType, int, int32_t) override {}
};

bool Save(QWidget& widget, const QString& folder, const QString& name) {
  widget.show();
  QApplication::processEvents();
  const QString path = QDir(folder).filePath(name + ".png");
  if (!widget.grab().save(path)) {
    std::fprintf(stderr, "dialog-shots: cannot write %s\n", qPrintable(path));
    return false;
  }
  return true;
}

bool ShootSetup(const QString& folder, const QString& prefix, tSetupValues values,
                tSetupServices services, int onlyPage = -1) {
  tdSetup dialog(nullptr, std::move(values), std::move(services));
  auto* pages = dialog.findChild<QTabWidget*>("Pages");
  bool ok = true;
  for (int i = 0; i < pages->count(); ++i) {
    if (onlyPage >= 0 && i != onlyPage) continue;
    pages->setCurrentIndex(i);
    ok = Save(dialog, folder, QStringLiteral("%1-%2").arg(prefix).arg(i + 1)) && ok;
  }
  return ok;
}

tSetupMachine Machine(bool soundCard, const CardMixer* mixer, std::optional<tModel> card) {
  tSetupMachine machine;
  machine.DevCaps = DefaultDevCaps();
  machine.SoundCard = soundCard;
  machine.Mixer = mixer;
  machine.CardModel = card;
  machine.CardPort = 1;
  return machine;
}

// A few presets, one of them an AM station.
PresetsBank SampleBank() {
  PresetsBank bank;
  bank.Store(1, "Classic 88", 88.1, bFM);
  bank.Store(2, "Radio Forum", 98.0, bFM);
  bank.Store(5, "Talk 999", 0.999, bAM);
  bank.Store(100, "Blues Avenue", 104.3, bFM);
  return bank;
}

// The alarm dialog on an FM card with a few presets (an AM one it cannot receive), once with
// the alarm's station chosen and once with none.
bool ShootAlarm(const QString& folder) {
  sim::SimulatedRig rig(mRadioTrack, false);
  TRadioCard card(rig.Hardware());
  card.SetModel(mRadioTrack);
  const PresetsBank bank = SampleBank();
  tdAlarm chosen(nullptr, tAlarmValues({6, 30, 2}, bank, card, 0), {});
  bool ok = Save(chosen, folder, "alarm");
  tdAlarm none(nullptr, tAlarmValues({23, 59, 0}, bank, card, 0), {});
  ok = Save(none, folder, "alarm-nostation") && ok;
  tdSnooze sleep(nullptr, 20, {});
  return Save(sleep, folder, "sleep") && ok;
}

// The script editor on a morning script holding one action of each kind, each selected in turn.
bool ShootEditor(const QString& folder) {
  sim::SimulatedRig rig(mRadioTrack, false);
  TRadioCard card(rig.Hardware());
  card.SetModel(mRadioTrack);
  const PresetsBank bank = SampleBank();
  const LocaleFormat locale;
  QTemporaryDir dir;
  const std::filesystem::path file = dir.filePath("morning.ovs").toStdString();
  {
    std::ofstream out(file, std::ios::binary);
    out << ";Weekday morning\r\nMute off.0630\r\nVolume.0631.12\r\nPreset.0632.2.ST\r\n"
           "Beep.0700.3.880.300\r\nJump to.0715.101.500.FM.ST\r\nMute on.0800\r\nOff.0805\r\n";
  }
  std::unique_ptr<tScript> script;
  if (ReadScriptFile(file, locale, script) != kScriptRead) return false;
  ScriptRunner scripts;
  scripts.Script() = std::move(*script);
  shots::SilentPrompter prompts;
  tdProgr editor(
      nullptr,
      {scripts, bank, card, false, SystemClockTimeOfDay(), SystemSteadyClock(), nullptr, locale},
      prompts, {});
  auto* program = editor.findChild<QListWidget*>("Script");
  const char* names[] = {"muteoff", "volume", "preset", "beep", "jumpto", "muteon", "off"};
  bool ok = true;
  for (int row = 0; row < program->count(); ++row) {
    program->setCurrentRow(row);
    ok = Save(editor, folder, QStringLiteral("editor-%1").arg(names[row])) && ok;
  }
  ScriptRunner none;
  const PresetsBank noPresets;
  tdProgr empty(
      nullptr,
      {none, noPresets, card, false, SystemClockTimeOfDay(), SystemSteadyClock(), nullptr, locale},
      prompts, {});
  return Save(empty, folder, "editor-empty") && ok;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc < 2) {
    std::fprintf(stderr, "usage: dialog-shots <output folder>\n");
    return 2;
  }
  const QString folder = QString::fromLocal8Bit(argv[1]);
  QDir().mkpath(folder);
  SampleMixer mixer;

  tConfiguration settings;
  settings.Hardware = HardwareIndexFromModel(mZoltrix);
  settings.Port = 1;
  settings.VolumeLine = vlLineIn;
  tSetupServices services;
  services.SerialPortPresent = [](int32_t n) { return n == 1 || n == 3; };
  bool ok = ShootSetup(folder, "setup", tSetupValues(settings, Machine(true, &mixer, mZoltrix)),
                       services);

  // Another colour scheme on the "Colors" page: seven segments on a navy panel.
  tConfiguration navy = settings;
  navy.ColorPanel = 4;
  navy.Background = 8;
  navy.Foreground = 14;
  navy.Style = 3;
  navy.ColorText = 3;
  navy.ColorFlag = 2;
  ok = ShootSetup(folder, "setup-navy", tSetupValues(navy, Machine(true, &mixer, mZoltrix)),
                  services, 3) &&
       ok;
  navy.Style = 0;
  ok = ShootSetup(folder, "setup-seg16", tSetupValues(navy, Machine(true, &mixer, mZoltrix)),
                  services, 3) &&
       ok;

  // A kernel radio device: the devices present, and none at all.
  tConfiguration device = settings;
  device.Hardware = HardwareIndexFromModel(mV4l2);
  device.Port = 2;
  tSetupServices devices = services;
  devices.RadioDevices = [] {
    return std::vector<RadioDeviceEntry>{{1, "/dev/radio0"}, {2, "/dev/radio1"}};
  };
  ok = ShootSetup(folder, "setup-v4l2", tSetupValues(device, Machine(true, &mixer, mV4l2)), devices,
                  0) &&
       ok;
  ok = ShootSetup(folder, "setup-v4l2-none", tSetupValues(device, Machine(true, &mixer, mV4l2)),
                  services, 0) &&
       ok;

  // An SDR receiver: the devices found by their labels, and none at all.
  tConfiguration sdr = settings;
  sdr.Hardware = HardwareIndexFromModel(mSdr);
  sdr.Port = 1;
  tSetupServices sdrs = services;
  sdrs.SdrDevices = [] {
    return std::vector<SdrPortEntry>{{1, "Ondivo emulated SDR"},
                                     {2, "Generic RTL2832U OEM :: 00000001"}};
  };
  ok = ShootSetup(folder, "setup-sdr", tSetupValues(sdr, Machine(true, &mixer, mSdr)), sdrs, 0) &&
       ok;
  ok = ShootSetup(folder, "setup-sdr-none", tSetupValues(sdr, Machine(true, &mixer, mSdr)),
                  services, 0) &&
       ok;

  // A serial radio on a computer without free serial ports, and no sound card.
  settings.Hardware = HardwareIndexFromModel(mRadioMan);
  settings.Port = 2;
  tSetupServices none;
  none.SerialPortPresent = [](int32_t) { return false; };
  ok = ShootSetup(folder, "setup-noserial",
                  tSetupValues(settings, Machine(false, nullptr, mRadioMan)), none, 0) &&
       ok;
  ok = ShootSetup(folder, "setup-noserial",
                  tSetupValues(settings, Machine(false, nullptr, mRadioMan)), none, 1) &&
       ok;

  // A port card without port access.
  settings.Hardware = HardwareIndexFromModel(mRadioTrack);
  settings.Port = 1;
  tSetupServices denied;
  denied.PortAccessGranted = [](tModel, int32_t) { return false; };
  ok = ShootSetup(folder, "setup-noaccess",
                  tSetupValues(settings, Machine(true, &mixer, std::nullopt)), denied, 0) &&
       ok;

  tdJumpTo fm(nullptr, tJumpToValues({true, 87, 108, 0.05}, {true, 0.531, 1.62, 0.009}, bFM, 98.5),
              {});
  ok = Save(fm, folder, "jumpto-fm") && ok;
  tdJumpTo am(nullptr, tJumpToValues({true, 87, 108, 0.05}, {true, 0.531, 1.62, 0.009}, bAM, 0.999),
              {}, ',');
  ok = Save(am, folder, "jumpto-am") && ok;
  ok = ShootAlarm(folder) && ok;
  ok = ShootEditor(folder) && ok;
  return ok ? 0 : 1;
}
