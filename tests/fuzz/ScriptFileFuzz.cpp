// The .ovs reader on arbitrary bytes.
#include "schedule/ScriptFile.h"
#include "stations/PresetsBank.h"
#include "tests/fuzz/FuzzInput.h"

namespace ondivo {

namespace {
// The reader's success result, named once here.
constexpr auto kRead = kScriptRead;
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const fuzz::FuzzInput input(data, size);
  auto script = std::make_unique<tScript>();
  script->SetTitle("kept");
  const tScript* before = script.get();
  const bool read = ReadScriptFile(input.Path(), input.Locale(), script) == kRead;
  if (!read) {
    // A refused file hands nothing over.
    ONDIVO_FUZZ_CHECK(script.get() == before && script->Title() == "kept" && script->Empty());
    return 0;
  }
  ONDIVO_FUZZ_CHECK(script != nullptr);
  if (!fuzz::RoundTripWanted()) return 0;
  // What the writer makes of a read script reads again and is written the same way.
  const PresetsBank bank;
  const std::string text = FormatScriptFile(script->Title(), *script, bank, input.Locale());
  std::unique_ptr<tScript> again;
  ONDIVO_FUZZ_CHECK(ReadScriptFile(input.Rewrite(text), input.Locale(), again) == kRead);
  ONDIVO_FUZZ_CHECK(FormatScriptFile(again->Title(), *again, bank, input.Locale()) == text);
  return 0;
}

}  // namespace ondivo
