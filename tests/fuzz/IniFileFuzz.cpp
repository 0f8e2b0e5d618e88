// The INI adapter on arbitrary bytes.
#include "platform/IniFile.h"
#include "tests/fuzz/FuzzInput.h"

namespace ondivo {

namespace {
// The adapter's success result, named once here.
constexpr auto kLoaded = IniLoadResult::Loaded;
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const fuzz::FuzzInput input(data, size);
  IniFile ini(input.Path());
  const bool loaded = ini.LoadResult() == kLoaded;
  for (const char* section : {"Configuration", "Presets", "Archive", ""}) {
    (void)ini.SectionExists(section);
    for (const auto& [key, value] : ini.ReadSection(section)) {
      ONDIVO_FUZZ_CHECK(ini.ValueExists(section, key));
      ONDIVO_FUZZ_CHECK(ini.ReadString(section, key, "") == value);
      // Numbers are the profile integer of the text read.
      const int32_t number = ParseProfileInteger(value).value_or(-1);
      ONDIVO_FUZZ_CHECK(ini.ReadInteger(section, key, -1) == number);
      ONDIVO_FUZZ_CHECK(ini.ReadBool(section, key, true) == (number != 0));
    }
  }
  (void)ParseProfileInteger(input.Text());

  if (!fuzz::RoundTripWanted() || !loaded) return 0;
  // Any value, the whole input included, is written so that it reads back as it is held.
  ini.WriteString("Fuzz", "Value", input.Text());
  const std::string held = ini.ReadString("Fuzz", "Value", "");
  const std::string text = ini.ToText();
  const IniFile reread(input.Rewrite(text));
  ONDIVO_FUZZ_CHECK(reread.LoadResult() == kLoaded);
  ONDIVO_FUZZ_CHECK(reread.ReadString("Fuzz", "Value", "") == held);
  ONDIVO_FUZZ_CHECK(reread.ToText() == text);
  return 0;
}

}  // namespace ondivo
