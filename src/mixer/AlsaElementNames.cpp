#include "mixer/AlsaElementNames.h"

#include <algorithm>

namespace ondivo {

bool IsAlsaSourceElement(std::string_view name) {
  return std::any_of(kAlsaElementRows.begin(), kAlsaElementRows.end(), [name](const auto& row) {
    return std::find(row.names.begin(), row.names.end(), name) != row.names.end();
  });
}

std::optional<std::string_view> ChooseAlsaMaster(const std::vector<std::string_view>& volumes) {
  if (std::find(volumes.begin(), volumes.end(), kAlsaMasterName) != volumes.end()) {
    return kAlsaMasterName;
  }
  for (const auto name : volumes) {
    if (!name.empty() && !IsAlsaSourceElement(name)) return name;
  }
  return std::nullopt;
}

}  // namespace ondivo
