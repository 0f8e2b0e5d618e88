// The .ovp reader on arbitrary bytes.
#include "stations/PresetsFile.h"
#include "tests/fuzz/FuzzInput.h"

namespace ondivo {

namespace {
// The reader's success result, named once here.
constexpr auto kLoaded = kPresetsLoaded;
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const fuzz::FuzzInput input(data, size);
  PresetsBank bank;
  bank.Store(100, "kept", 99.9, bFM);
  const PresetsBank before = bank;
  const bool loaded = LoadPresetsFile(input.Path(), input.Locale(), bank) == kLoaded;
  if (!loaded) {
    ONDIVO_FUZZ_CHECK(bank == before);  // a refused file leaves the bank alone
    return 0;
  }
  if (!fuzz::RoundTripWanted()) return 0;
  // Whatever the reader accepts can be saved and reads back as the same bank.
  const std::optional<std::string> text = FormatPresetsFile(bank, input.Locale());
  ONDIVO_FUZZ_CHECK(text.has_value());
  PresetsBank again;
  ONDIVO_FUZZ_CHECK(LoadPresetsFile(input.Rewrite(*text), input.Locale(), again) == kLoaded);
  ONDIVO_FUZZ_CHECK(again == bank);
  return 0;
}

}  // namespace ondivo
