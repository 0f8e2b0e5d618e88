#include "app/PanelWiring.h"

#include <QApplication>

#include "audio/AlsaTone.h"
#include "mixer/SoundCard.h"
#include "mixer/tdMixer.h"
#include "panel/Prompter.h"
#include "panel/TipWindow.h"
#include "panel/tdExit.h"
#include "radio/PlatformCheck.h"
#include "radio/RadioCard.h"
#include "radio/SerialPortProbe.h"
#include "schedule/tdAlarm.h"
#include "schedule/tdProgr.h"
#include "schedule/tdSnooze.h"
#include "settings/tdJumpTo.h"
#include "settings/tdSetup.h"

namespace ondivo {

namespace {

// Help from a dialog opens the help window of the panel that opened it.
std::function<void(const std::string&)> HelpOf(QWidget* parent) {
  return [parent](const std::string& topic) {
    if (auto* panel = qobject_cast<tdMain*>(parent)) panel->ShowHelp(QString::fromStdString(topic));
  };
}

tSetupServices SetupServices(const tPanelWiring& w, const TRadioCard& radio, QWidget* parent) {
  tSetupServices setup;
  setup.SerialPortPresent = [paths = radio.ComPaths()](int32_t n) {
    return IsSerialPortPresent(n, paths);
  };
  if (w.PortGrantNeeded) {
    setup.PortAccessGranted = [held = w.HeldPorts](tModel model, int32_t port) {
      return PortAccessGrantable(model, port, held);
    };
  }
  setup.RadioDevices = [&radio, exists = w.RadioExists] {
    return ListRadioDevices(radio.RadioPaths(), exists);
  };
  setup.SdrDevices = [&radio] { return ListSdrDevices(radio.Sdr()); };
  setup.Help = HelpOf(parent);
  return setup;
}

}  // namespace

tMainServices PanelServices(const tPanelWiring& w) {
  tMainServices services;
  services.Card = w.Card;
  services.Prompts = w.Prompts;
  services.ConfigDir = w.ConfigDir;
  services.DataDir = w.DataDir;
  services.Locale = w.Locale;
  services.ConfigureSwitch = w.ConfigureSwitch;
  services.Mixer = w.Mixer;
  services.HardwareChanged = w.HardwareChanged;
  services.Wait = w.Wait;
  Prompter& prompts = *w.Prompts;
  // The settings see the card's own mixer: its lines are the routes offered.
  services.RunSetup = [w, &prompts](QWidget* parent, const tConfiguration& current,
                                    TRadioCard& radio) {
    return tdSetup::Run(parent, tSetupValues::FromPanel(current, radio, w.Mixer),
                        SetupServices(w, radio, parent), prompts);
  };
  services.RunMixer = [device = w.MixerDevice, &prompts](QWidget* parent, const TRadioCard& radio) {
    try {
      tdMixer::Run(parent, OpenAlsaMixer(device), radio.VolumeLine(), HelpOf(parent));
    } catch (const std::exception& e) {
      prompts.Message(e.what());
    }
  };
  services.RunJumpTo = [separator = w.Locale.DecimalSeparator](QWidget* parent,
                                                               const TRadioCard& radio) {
    std::optional<tJumpTarget> target;
    if (const auto r =
            tdJumpTo::Run(parent, tJumpToValues::FromCard(radio), HelpOf(parent), separator)) {
      target = tJumpTarget{r->Band, r->Frequency};
    }
    return target;
  };
  services.RunAlarm = [](QWidget* parent, const tAlarmSetting& alarm, const PresetsBank& bank,
                         const TRadioCard& radio, int currentPreset) {
    return tdAlarm::Run(parent, alarm, bank, radio, currentPreset, HelpOf(parent));
  };
  services.RunSleep = [](QWidget* parent, int minutes) {
    return tdSnooze::Run(parent, minutes, HelpOf(parent));
  };
  services.RunScriptEditor = [&prompts](QWidget* parent, const tScriptEditorContext& context) {
    return tdProgr::Run(parent, context, prompts, HelpOf(parent));
  };
  services.Tones = w.Tones;
  services.RunExit = tdExit::Run;
  services.RunTips = [&prompts](QWidget* parent, const std::filesystem::path& file) {
    return TipWindow::Run(parent, file, prompts);
  };
  return services;
}

std::unique_ptr<Tone> PanelTone(const std::string& playbackDevice) {
  // The tone's own thread has no business with widgets: the beep is sounded on the UI thread.
  return std::make_unique<AlsaTone>(playbackDevice, [] {
    QMetaObject::invokeMethod(
        qApp, [] { QApplication::beep(); }, Qt::QueuedConnection);
  });
}

}  // namespace ondivo
