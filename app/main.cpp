// The entry sequence: options, the single-copy guard, the application, the platform and
// port-access checks, real or emulated hardware, then the front panel and its event loop.
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

  OndivoApplication app(argc, argv);
  QtPrompter prompts;
  const std::filesystem::path configDir = ConfigDirFor(options);
  const tStoredCard stored = ReadStoredCard(configDir);
  const tEntryOutcome outcome =
      DecideStart(stored, CurrentPlatform(), options.Simulate, PortAccessGrantable);
  if (const auto refused = RefuseStart(outcome, prompts)) return *refused;

  AppHardware hardware(options, arguments, ModelFromHardwareIndex(stored.Hardware), prompts);
  tPanelWiring wiring;
  wiring.Card = &hardware.Card();
  wiring.Mixer = hardware.Mixer();
  wiring.MixerDevice = hardware.MixerDevice();
  wiring.Prompts = &prompts;
  wiring.ConfigDir = configDir;
  wiring.DataDir = QCoreApplication::applicationDirPath().toStdString() + "/data";
  wiring.Locale = ReadSystemLocale();
  wiring.ConfigureSwitch = options.Configure;
  wiring.PortGrantNeeded = !hardware.Emulated();
  wiring.RadioExists = hardware.RadioExists();
  wiring.HardwareChanged = [&hardware](tModel model) { hardware.Follow(model); };
  wiring.Wait = [&hardware](int ms) { hardware.Wait(ms); };
  const std::unique_ptr<Tone> tone = PanelTone(hardware.PlaybackDevice());
  wiring.Tones = tone.get();
  tdMain window(PanelServices(wiring));
  prompts.SetParent(&window);

  const SessionSignals sessionSignals([&window] { window.SessionEnd(); });
  if (options.PrintTitle) ReportDialogs(app);
  if (!window.Create()) return 0;  // first-run setup cancelled: nothing written
  if (options.PrintTitle) ReportTitle(window);
  // Without a session bus the panel runs as it always did; the log says why once.
  const auto remote =
      RemoteControl::Start(window, QDBusConnection::sessionBus(), [](const QString& why) {
        std::fprintf(stderr, "ondivo: %s\n", why.toLocal8Bit().constData());
      });
  return app.exec();
}
