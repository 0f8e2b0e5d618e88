// Ondivo.ini through the configuration loader, on arbitrary bytes.
#include "panel/ConfigurationFile.h"
#include "platform/IniFile.h"
#include "stations/PresetsBank.h"
#include "tests/fuzz/FuzzInput.h"

namespace ondivo {

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const fuzz::FuzzInput input(data, size);
  const IniFile ini(input.Path());
  tConfiguration settings;
  PresetsBank bank;
  LoadConfiguration(ini, input.Locale(), settings, bank);
  const int32_t hardware = ReadHardwareSetting(ini);
  (void)hardware;

  if (!fuzz::RoundTripWanted()) return 0;
  // Saving what was read, loading the save and saving again gives the same file.
  const auto first = fuzz::ScratchPath("first.ini");
  const auto second = fuzz::ScratchPath("second.ini");
  std::filesystem::remove(first);
  std::filesystem::remove(second);
  IniFile firstIni(first);
  ONDIVO_FUZZ_CHECK(SaveConfiguration(firstIni, settings, bank, input.Locale()).Ok());
  const IniFile reread(first);
  tConfiguration settingsAgain;
  PresetsBank bankAgain;
  LoadConfiguration(reread, input.Locale(), settingsAgain, bankAgain);
  ONDIVO_FUZZ_CHECK(bankAgain == bank);
  IniFile secondIni(second);
  ONDIVO_FUZZ_CHECK(SaveConfiguration(secondIni, settingsAgain, bankAgain, input.Locale()).Ok());
  ONDIVO_FUZZ_CHECK(fuzz::FileText(first) == fuzz::FileText(second));
  return 0;
}

}  // namespace ondivo
