#include "app/EntrySequence.h"

#include <QDir>
#include <cstdio>
#include <cstdlib>

#include "panel/ConfigurationFile.h"
#include "panel/Prompter.h"
#include "platform/ConfigDirectory.h"
#include "platform/IniFile.h"
#include "platform/ProgramFiles.h"
#include "radio/DevCaps.h"
#include "radio/HardwarePortIo.h"
#include "stations/PresetsBank.h"

namespace ondivo {

namespace {

std::string PortAccessText() {
  return "The installed radio card is controlled by direct access to I/O ports.\r\r"
         "Linux allows that only to programs that hold the CAP_SYS_RAWIO capability "
         "(given once with: sudo setcap cap_sys_rawio+ep /usr/bin/ondivo) or that may open "
         "/dev/port for reading and writing. Ondivo has neither.\r\rTo try Ondivo without a "
         "card, start it with --simulate.";
}

std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

}  // namespace

std::optional<int> AnswerWithoutWindow(const tCommandLine& options, const char* version) {
  if (!options.Error.empty()) {
    std::fprintf(stderr, "ondivo: %s\n\n%s", options.Error.c_str(), UsageText().c_str());
    return 2;
  }
  if (options.Help) {
    std::fputs(UsageText().c_str(), stdout);
    return 0;
  }
  if (options.Version) {
    std::printf("ondivo %s\n", version);
    return 0;
  }
  return std::nullopt;
}

std::filesystem::path ConfigDirFor(const tCommandLine& options) {
  tConfigDirectoryFacts facts;
  facts.ExecutableDir = ExecutableDir();
  facts.XdgConfigHome = Environment("XDG_CONFIG_HOME");
  facts.Home = QDir::homePath().toStdString();
  facts.Override = options.ConfigDir;
  facts.Simulate = options.Simulate;
  return ChooseConfigDirectory(facts);
}

tStoredCard ReadStoredCard(const std::filesystem::path& configDir) {
  const IniFile ini(configDir / "Ondivo.ini");
  tConfiguration settings;
  PresetsBank bank;
  LoadConfiguration(ini, LocaleFormat{}, settings, bank);
  return {settings.Hardware, settings.Port};
}

namespace {

// The port the card will use: a stored port the model lacks falls back to its default; port 0
// is a first run, where the settings dialog checks the port the user picks.
int32_t StoredPort(const tStoredCard& stored) {
  const tModel model = ModelFromHardwareIndex(stored.Hardware);
  return stored.Port == 0 ? 0
                          : PortInUse(DefaultDevCaps()[static_cast<size_t>(model)], stored.Port);
}

}  // namespace

void TakeStartPorts(HardwarePortIo& ports, const tStoredCard& stored, bool configureSwitch) {
  if (NeedsSetup(stored.Hardware, stored.Port, configureSwitch)) {
    const auto caps = DefaultDevCaps();
    for (size_t model = 0; model < caps.size(); ++model) {
      if (caps[model].Connection != kPortConnection) continue;
      for (int32_t port = 1; port <= caps[model].PortCount; ++port) {
        GrantModelPorts(ports, static_cast<tModel>(model), port);
      }
    }
  }
  if (IsModelOnPort(stored.Hardware)) {
    GrantModelPorts(ports, ModelFromHardwareIndex(stored.Hardware), StoredPort(stored));
  }
  ports.Release();  // the card takes its grant when it is configured
}

tEntryOutcome DecideStart(const tStoredCard& stored, const Platform& platform, bool simulate,
                          const PortGrantCheck& grantable) {
  const tModel model = ModelFromHardwareIndex(stored.Hardware);
  tEntryFacts facts;
  facts.PlatformSupported = platform.Supported;
  facts.PortAccessNeedsGrant = platform.PortAccessNeedsGrant && !simulate;
  facts.Hardware = stored.Hardware;
  facts.PortAccessGranted = !facts.PortAccessNeedsGrant || grantable(model, StoredPort(stored));
  return DecideEntry(facts);
}

std::optional<int> RefuseStart(tEntryOutcome outcome, Prompter& prompts) {
  switch (outcome) {
    case tEntryOutcome::CannotStart:
      prompts.Message("Ondivo can run only on Linux.", Prompter::Icon::Error);
      return 1;
    case tEntryOutcome::NeedsPortAccess:
      prompts.Message(PortAccessText(), Prompter::Icon::Error);
      return 1;
    case tEntryOutcome::ExitSilently:
      return 0;
    case tEntryOutcome::Run:
      break;
  }
  return std::nullopt;
}

}  // namespace ondivo
