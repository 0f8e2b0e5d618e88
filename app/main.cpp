// The entry sequence: options (a --send goes to the running copy), the single-copy guard, the
// card's port grant and the end of every capability, the application, the platform and
// port-access checks, real or emulated hardware, the front panel, its remote control and its
// event loop.
#include <QDBusConnection>
#include <cstdio>
#include <string>
#include <vector>

#include "app/AppHardware.h"
#include "app/EntrySequence.h"
#include "app/OndivoApplication.h"
#include "app/PanelWiring.h"
#include "app/SessionSignals.h"
#include "audio/Tone.h"
#include "panel/QtPrompter.h"
#include "panel/tdMain.h"
#include "platform/Capabilities.h"
#include "platform/ProgramFiles.h"
#include "platform/SingleCopyGuard.h"
#include "platform/SystemLocale.h"
#include "remote/RemoteControl.h"
#include "remote/SendClient.h"

using namespace ondivo;

int main(int argc, char** argv) {
  const std::vector<std::string> arguments(argv + 1, argv + argc);
  const tCommandLine options = ParseCommandLine(arguments);
  if (const auto done = AnswerWithoutWindow(options, ONDIVO_VERSION)) return *done;

  // A command for the running copy needs no display, only the session bus.
  if (options.Send) {
    const QCoreApplication client(argc, argv);
    return SendToRunningCopy(*options.Send, QDBusConnection::sessionBus(), stdout, stderr);
  }
  // First of all: a second copy ends before it opens a connection to the display.
  const SingleCopyGuard guard;
  if (!guard.Acquired()) return 0;

  // The configured card's ports are taken while the program may still take them; then every
  // capability goes, before Qt starts a thread or opens a window.
  const std::filesystem::path configDir = ConfigDirFor(options);
  const tStoredCard stored = ReadStoredCard(configDir);
  HardwarePortIo ports;
  if (!options.Simulate) TakeStartPorts(ports, stored, options.Configure);
  if (const std::string trouble = DropCapabilities(); !trouble.empty()) {
    std::fprintf(stderr, "ondivo: cannot give up capabilities: %s\n", trouble.c_str());
    return 1;
  }

  OndivoApplication app(argc, argv);
  QtPrompter prompts;
  const auto held = [&ports](tModel model, int32_t port) {
    return PortAccessGrantable(model, port, &ports);
  };
  const tEntryOutcome outcome = DecideStart(stored, CurrentPlatform(), options.Simulate, held);
  if (const auto refused = RefuseStart(outcome, prompts)) return *refused;

  AppHardware hardware(options, arguments, ModelFromHardwareIndex(stored.Hardware), ports, prompts);
  tPanelWiring wiring;
  wiring.Card = &hardware.Card();
  wiring.Mixer = hardware.Mixer();
  wiring.MixerDevice = hardware.MixerDevice();
  wiring.Prompts = &prompts;
  wiring.ConfigDir = configDir;
  wiring.DataDir = ProgramDataDir(ExecutableDir());
  wiring.Locale = ReadSystemLocale();
  wiring.ConfigureSwitch = options.Configure;
  wiring.PortGrantNeeded = !hardware.Emulated();
  wiring.HeldPorts = &ports;
  wiring.RadioExists = hardware.RadioExists();
  wiring.HardwareChanged = [&hardware](tModel model) { hardware.Follow(model); };
  wiring.Wait = [&hardware](int ms) { hardware.Wait(ms); };
  const std::unique_ptr<Tone> tone = PanelTone(hardware.PlaybackDevice());
  wiring.Tones = tone.get();
  tdMain window(PanelServices(wiring));
  prompts.SetParent(&window);

  const SessionSignals sessionSignals([&window] { window.SessionEnd(); });
  if (options.PrintTitle) ReportDialogs(app, wiring.DataDir);
  if (!window.Create()) return 0;  // first-run setup cancelled: nothing written
  if (options.PrintTitle) ReportTitle(window);
  // Without a session bus the panel runs as it always did; the log says why once.
  const auto remote =
      RemoteControl::Start(window, QDBusConnection::sessionBus(), [](const QString& why) {
        std::fprintf(stderr, "ondivo: %s\n", why.toLocal8Bit().constData());
      });
  return app.exec();
}
