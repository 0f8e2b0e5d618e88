// Pictures of the volume group and the mute lamps in each state, and of the mixer dialog, on
// the emulated hardware and the emulated sound card. Run it under QT_SCALE_FACTOR=2 for the
// 200 % pictures. Usage: volumeshots FOLDER [SUFFIX]
#include <QApplication>
#include <QDir>
#include <QSlider>
#include <QTemporaryDir>
#include <QToolButton>
#include <cstdio>

#include "mixer/Mixer.h"
#include "mixer/SoundCard.h"
#include "mixer/tdMixer.h"
#include "panel/tdMain.h"
#include "radio/RadioCard.h"
#include "sim/EmulatedV4l2Radio.h"
#include "sim/SimulatedRig.h"
#include "support/ShotSupport.h"

using namespace ondivo;
using shots::SilentPrompter;

namespace {

QString folder, suffix;

bool Save(QWidget& w, const QString& name) {
  return shots::Save(w, folder, name + suffix);
}

// The panel in "Display + volume + buttons" on a card wired as given.
struct Shot {
  Shot(const std::string& ini, CardHardware hardware, TMixer* mixer,
       std::unique_ptr<V4l2Device> radio = nullptr)
      : card(std::move(hardware)) {
    if (radio) card.SetRadioDevices({}, std::move(radio));
    QFile file(config.filePath("Ondivo.ini"));
    file.open(QIODevice::WriteOnly);
    file.write(ini.c_str());
    file.close();
    tMainServices s;
    s.Card = &card;
    s.Prompts = &prompts;
    s.ConfigDir = config.path().toStdString();
    s.DataDir = std::filesystem::path(ONDIVO_DATA_DIR);
    s.Mixer = mixer;
    window = std::make_unique<tdMain>(std::move(s));
    window->Create();
    window->SetDisplayMode(4);
    window->show();
  }
  QTemporaryDir config;
  TRadioCard card;
  SilentPrompter prompts;
  std::unique_ptr<tdMain> window;
};

const char* kBase = "TipOfTheDay=0\nStyle=2\n[Frequency]\nFrequency=M 098.000\n";

}  // namespace

int main(int argc, char** argv) {
  if (const auto status = shots::AnswerOptions(argc, argv, "[FOLDER [SUFFIX]]")) return *status;
  QApplication app(argc, argv);
  folder = argc > 1 ? argv[1] : "shots";
  suffix = argc > 2 ? argv[2] : "";
  QDir().mkpath(folder);
  bool ok = true;
  sim::SimulatedRig rig(mRadioTrack, false);
  const std::string device = rig.StartSoundCard().DeviceName();

  {  // The card's own volume, playing at half.
    Shot shot(std::string("[Configuration]\nHardware=1\nPort=1\nVolumeLine=1\n") + kBase +
                  "[Audio]\nVolume=128\n",
              rig.Hardware(), nullptr);
    ok &= Save(*shot.window, "volume-native");
    shot.window->Run(cmMuteOnOff);
    ok &= Save(*shot.window, "volume-native-muted");
  }
  {  // Line in, then silent at volume 0.
    CardHardware hardware = rig.Hardware();
    TMixer* mixer = ConnectSoundCard(hardware, device);
    Shot shot(std::string("[Configuration]\nHardware=1\nPort=1\nVolumeLine=2\n") + kBase +
                  "[Audio]\nVolume=200\n",
              std::move(hardware), mixer);
    shot.window->VolumeSlider()->setValue(200);
    ok &= Save(*shot.window, "volume-linein");
    shot.window->Run(cmVolumeTo0);
    ok &= Save(*shot.window, "volume-linein-zero");
    shot.window->VolumeSlider()->setValue(96);

    tdMixer dialog(OpenAlsaMixer(device), vlLineIn);
    dialog.show();
    ok &= Save(dialog, "mixer-dialog");
    dialog.Mute(tMixerStrip::Cd)->click();
    dialog.Panning(tMixerStrip::Master)->setValue(-60);
    ok &= Save(dialog, "mixer-dialog-changed");
  }
  {  // A radio device that controls neither volume nor mute, and no sound card.
    NullPortIo ports;
    SleepingDelay waits;
    sim::EmulatedV4l2Radio::Options options;
    options.Volume = false;
    options.Mute = false;
    auto radio = std::make_unique<sim::EmulatedV4l2Radio>(sim::StationLandscape{}, options);
    CardHardware hardware{ports, waits};
    Shot shot(std::string("[Configuration]\nHardware=8\nPort=1\nVolumeLine=0\n") + kBase,
              std::move(hardware), nullptr, std::move(radio));
    ok &= Save(*shot.window, "volume-notice");
  }
  return ok ? 0 : 1;
}
