// The entry sequence: options, the single-copy guard, the platform and port-access checks,
// real or emulated hardware, then the front panel and its event loop.
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QApplication>
#include <QDir>
#include <QSessionManager>
#include <QSocketNotifier>
#include <QTimer>
#include <cstdio>
#include <memory>

#include "mixer/SoundCard.h"
#include "mixer/tdMixer.h"
#include "panel/CommandLine.h"
#include "panel/ConfigurationFile.h"
#include "panel/QtPrompter.h"
#include "panel/StartupPlan.h"
#include "panel/TipWindow.h"
#include "panel/tdExit.h"
#include "panel/tdMain.h"
#include "platform/ConfigDirectory.h"
#include "platform/Delay.h"
#include "platform/IniFile.h"
#include "platform/SingleCopyGuard.h"
#include "platform/SystemLocale.h"
#include "platform/UniqueFd.h"
#include "radio/HardwarePortIo.h"
#include "radio/PlatformCheck.h"
#include "radio/RadioCard.h"
#include "radio/RadioErrors.h"
#include "radio/SerialPortProbe.h"
#include "settings/SetupValues.h"
#include "settings/tdJumpTo.h"
#include "settings/tdSetup.h"
#include "sim/EmulatedV4l2Radio.h"
#include "sim/SimulatedRig.h"

using namespace ondivo;

namespace {

int signalWrite = -1;

// The last guard of the event loop: a card error that no handler caught sounds the beep, as the
// panel always did, instead of ending the program.
class OndivoApplication final : public QApplication {
 public:
  using QApplication::QApplication;
  bool notify(QObject* receiver, QEvent* event) override {
    try {
      return QApplication::notify(receiver, event);
    } catch (const eRadioCardError&) {
      QApplication::beep();
      return false;
    }
  }
};

// With --print-title, every modal window and the panel's title are printed as they appear,
// so scripts and tests can follow the program without a screen.
class WindowReporter final : public QObject {
 public:
  using QObject::QObject;
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Show) {
      auto* w = qobject_cast<QWidget*>(watched);
      if (w && w->isWindow() && w->isModal()) {
        std::printf("dialog: %s\n", w->windowTitle().toUtf8().constData());
        std::fflush(stdout);
      }
    }
    return false;
  }
};

void OnTerminate(int) {
  const char byte = 1;
  [[maybe_unused]] auto n = ::write(signalWrite, &byte, 1);
}

std::string PortAccessText() {
  return "The installed radio card is controlled by direct access to I/O ports.\r\r"
         "Linux allows that only to programs that hold the CAP_SYS_RAWIO capability "
         "(for example: sudo setcap cap_sys_rawio+ep ondivo) or that may open /dev/port "
         "for reading and writing. Ondivo has neither.\r\rTo try Ondivo without a card, start it "
         "with --simulate.";
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> arguments(argv + 1, argv + argc);
  const tCommandLine options = ParseCommandLine(arguments);
  if (!options.Error.empty()) {
    std::fprintf(stderr, "ondivo: %s\n\n%s", options.Error.c_str(), UsageText().c_str());
    return 2;
  }
  if (options.Help) {
    std::fputs(UsageText().c_str(), stdout);
    return 0;
  }
  if (options.Version) {
    std::printf("ondivo %s\n", ONDIVO_VERSION);
    return 0;
  }

  OndivoApplication app(argc, argv);
  QApplication::setApplicationName("Ondivo");
  QApplication::setApplicationDisplayName("Ondivo");
  QApplication::setQuitOnLastWindowClosed(false);

  SingleCopyGuard guard;
  const Platform platform = CurrentPlatform();

  const std::filesystem::path exeDir = QCoreApplication::applicationDirPath().toStdString();
  tConfigDirectoryFacts facts;
  facts.ExecutableDir = exeDir;
  facts.XdgConfigHome = qEnvironmentVariable("XDG_CONFIG_HOME").toStdString();
  facts.Home = QDir::homePath().toStdString();
  facts.Override = options.ConfigDir;
  facts.Simulate = options.Simulate;
  const std::filesystem::path configDir = ChooseConfigDirectory(facts);

  int32_t hardware = 0, portIndex = 0;
  {
    IniFile ini(configDir / "Ondivo.ini");
    hardware = ReadHardwareSetting(ini);
    portIndex = ini.ReadInteger("Configuration", "Port", 0);
  }
  const tModel configured = ModelFromHardwareIndex(hardware);

  // Real hardware, or the emulated one.
  std::unique_ptr<sim::SimulatedRig> rig;
  HardwarePortIo ports;
  SleepingDelay sleeping;
  if (options.Simulate) rig = std::make_unique<sim::SimulatedRig>(configured, true);
  const bool granted = options.Simulate || PortAccessGrantable(configured, portIndex);

  QtPrompter qtPrompts;
  Prompter& prompts = qtPrompts;
  tEntryFacts entry;
  entry.OtherCopyRunning = !guard.Acquired();
  entry.PlatformSupported = platform.Supported;
  entry.PortAccessNeedsGrant = platform.PortAccessNeedsGrant && !options.Simulate;
  entry.Hardware = hardware;
  entry.PortAccessGranted = granted;
  switch (DecideEntry(entry)) {
    case tEntryOutcome::ExitSilently:
      return 0;
    case tEntryOutcome::CannotStart:
      prompts.Message("Ondivo can run only on Linux.", Prompter::Icon::Error);
      return 1;
    case tEntryOutcome::NeedsPortAccess:
      prompts.Message(PortAccessText(), Prompter::Icon::Error);
      return 1;
    case tEntryOutcome::Run:
      break;
  }

  CardHardware wiring = rig ? rig->Hardware() : CardHardware{ports, sleeping};
  for (const auto& [n, path] : options.ComPaths) wiring.ComPaths.Override(n, path);
  // The sound card: the emulated one with --simulate, else the chosen ALSA device. A mixer
  // that cannot be opened leaves the radio without one; the user hears why.
  std::string mixerDevice = ChooseMixerDevice(arguments);
  std::string soundCardTrouble;
  if (rig) {
    try {
      const sim::EmulatedSoundCard& emulated = rig->StartSoundCard();
      mixerDevice = ChooseMixerDevice(arguments, emulated.DeviceName());
      std::fprintf(stderr,
                   "ondivo: emulated sound card \"%s\"; move its controls from another terminal "
                   "with\n  ALSA_CONFIG_PATH=%s amixer -D %s sset Line 40%%\n",
                   emulated.DeviceName().c_str(), emulated.ConfigPath().c_str(),
                   emulated.DeviceName().c_str());
    } catch (const std::exception& e) {
      soundCardTrouble = e.what();
    }
  }
  TMixer* cardMixer = nullptr;
  try {
    cardMixer = ConnectSoundCard(wiring, mixerDevice);
  } catch (const std::exception& e) {
    wiring.SoundCard = false;
    wiring.Mixer.reset();
    soundCardTrouble = e.what();
  }
  if (!soundCardTrouble.empty()) {
    prompts.Message(
        "The sound card's mixer cannot be used, so the volume stays on the radio "
        "card.\r\r" +
            soundCardTrouble,
        Prompter::Icon::Warning);
  }
  const ComPortPaths comPaths = wiring.ComPaths;
  const LocaleFormat locale = ReadSystemLocale();
  TRadioCard card(std::move(wiring));
  // Kernel radio devices: port index n is /dev/radio<n-1> unless --radio says otherwise; the
  // simulation puts an emulated receiver with RDS at the first one.
  PathExists radioExists;
  if (rig) {
    radioExists = sim::UseSimulatedV4l2Radio(card, rig->Landscape(), options.RadioPaths);
  } else {
    card.SetRadioDevices(options.RadioPaths);
  }
  tdMain* panel = nullptr;  // the help hook of the dialogs opens the panel's help window
  const auto help = [&panel](const std::string& topic) {
    if (panel) panel->ShowHelp(QString::fromStdString(topic));
  };
  tSetupServices setupServices;
  setupServices.SerialPortPresent = [&comPaths](int32_t n) {
    return IsSerialPortPresent(n, comPaths);
  };
  if (!rig) setupServices.PortAccessGranted = PortAccessGrantable;
  setupServices.RadioDevices = [&card, radioExists] {
    return ListRadioDevices(card.RadioPaths(), radioExists);
  };
  setupServices.Help = help;

  tMainServices services;
  services.Card = &card;
  services.Prompts = &prompts;
  services.ConfigDir = configDir;
  services.DataDir = exeDir / "data";
  services.Locale = locale;
  services.ConfigureSwitch = options.Configure;
  services.Mixer = cardMixer;
  services.RunMixer = [&](QWidget* parent, const TRadioCard& radio) {
    try {
      tdMixer::Run(parent, OpenAlsaMixer(mixerDevice), radio.VolumeLine(), help);
    } catch (const std::exception& e) {
      prompts.Message(e.what());
    }
  };
  services.RunSetup = [&](QWidget* parent, const tConfiguration& current, TRadioCard& radio) {
    std::optional<tConfiguration> chosen;
    if (auto values = tdSetup::Run(parent, tSetupValues::FromPanel(current, radio, nullptr),
                                   setupServices, prompts)) {
      chosen = current;
      values->StoreInto(*chosen);
    }
    return chosen;
  };
  services.RunJumpTo = [&](QWidget* parent, const TRadioCard& radio) {
    std::optional<tJumpTarget> target;
    if (const auto r =
            tdJumpTo::Run(parent, tJumpToValues::FromCard(radio), help, locale.DecimalSeparator)) {
      target = tJumpTarget{r->Band, r->Frequency};
    }
    return target;
  };
  services.RunExit = tdExit::Run;
  services.RunTips = [&prompts](QWidget* parent, const std::filesystem::path& file) {
    return TipWindow::Run(parent, file, prompts);
  };
  // The card asks for its port grant itself; the emulated hardware follows the model.
  services.HardwareChanged = [&](tModel model) {
    if (rig) rig->Follow(model);
  };
  services.Wait = [&sleeping](int ms) { sleeping.Wait(ms); };

  WindowReporter reporter;
  if (options.PrintTitle) app.installEventFilter(&reporter);
  tdMain window(std::move(services));
  qtPrompts.SetParent(&window);
  panel = &window;

  // SIGTERM (and an interrupt from the terminal) ends like the desktop session ending.
  int pair[2] = {-1, -1};
  ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, pair);
  UniqueFd signalRead(pair[0]);
  UniqueFd signalWriteEnd(pair[1]);
  signalWrite = signalWriteEnd.get();
  struct sigaction action {};
  action.sa_handler = OnTerminate;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  sigaction(SIGTERM, &action, nullptr);
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGHUP, &action, nullptr);
  QSocketNotifier notifier(signalRead.get(), QSocketNotifier::Read);
  QObject::connect(&notifier, &QSocketNotifier::activated, &window, [&] {
    char byte;
    [[maybe_unused]] auto n = ::read(signalRead.get(), &byte, 1);
    window.SessionEnd();
  });
  QObject::connect(&app, &QGuiApplication::commitDataRequest, &window,
                   [&](QSessionManager&) { window.SessionEnd(); });

  if (!window.Create()) return 0;  // first-run setup cancelled: nothing written
  if (options.PrintTitle) {
    QTimer::singleShot(0, &window, [&window] {
      std::printf("title: %s\n", window.windowTitle().toUtf8().constData());
      std::fflush(stdout);
    });
  }
  return app.exec();
}
