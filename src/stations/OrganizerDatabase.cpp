#include "stations/OrganizerDatabase.h"

#include <algorithm>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/TextConvert.h"
#include "stations/FrequencyText.h"

namespace ondivo {
namespace {

constexpr std::string_view kSection = "Archive";

struct Row {
  int64_t Kind = 0;
  int32_t Id = 0;
  int32_t ParentId = 0;
  tBand Band = bFM;
  double Frequency = 0;
  std::string Name;
};

// Text up to the next blank; false when there is no blank left.
bool TakeField(std::string_view& rest, std::string_view& field) {
  const size_t blank = rest.find(' ');
  if (blank == std::string_view::npos) return false;
  field = rest.substr(0, blank);
  rest.remove_prefix(blank + 1);
  return true;
}

// "kind id parent band frequency name"; the name may hold blanks or be missing.
std::optional<Row> ParseRow(std::string_view value, const LocaleFormat& locale) {
  std::string_view kind, id, parent, band, frequency;
  if (!TakeField(value, kind) || !TakeField(value, id) || !TakeField(value, parent) ||
      !TakeField(value, band)) {
    return std::nullopt;
  }
  const size_t blank = value.find(' ');
  frequency = value.substr(0, blank);
  const std::string_view name =
      blank == std::string_view::npos ? std::string_view() : value.substr(blank + 1);

  Row row;
  const auto kindValue = ParseInteger(kind);
  const auto idValue = ParseInt32(id);
  const auto parentValue = ParseInt32(parent);
  const auto frequencyValue = ParseStoredFrequency(frequency, locale);
  if (!kindValue || !idValue || !parentValue || !frequencyValue) return std::nullopt;
  row.Kind = *kindValue;
  row.Id = *idValue;
  row.ParentId = *parentValue;
  row.Band = ParseBandLetter(band);
  row.Frequency = *frequencyValue;
  row.Name = std::string(name);
  return row;
}

// The number of a "Row<n>" key (any case, plain decimal without leading zeros), or 0.
int64_t RowNumber(std::string_view key) {
  if (key.size() < 4 || UpperCaseAscii(key.substr(0, 3)) != "ROW" || key[3] == '0' ||
      key[3] == '+' || key[3] == '-') {
    return 0;
  }
  return ParseInteger(key.substr(3)).value_or(0);
}

std::string FormatRow(const OrganizerNode& node, const OrganizerNode& parent,
                      const LocaleFormat& locale) {
  const tStation* station = node.Station();
  std::string row = station ? "2 " : "1 ";
  row += std::to_string(node.Data->Id);
  row += ' ';
  // The tree is the truth: write the id of the parent the node actually hangs under.
  row += std::to_string(parent.Data->Id);
  row += ' ';
  row += station ? BandLetter(station->Band) : "X";
  row += ' ';
  row += FormatFrequencyKey(station ? station->Frequency : 0.0, locale);
  row += ' ';
  row += node.Name;
  return row;
}

}  // namespace

OrganizerTree LoadOrganizerDatabase(const std::filesystem::path& path, const LocaleFormat& locale,
                                    OrganizerLoadReport* report) {
  OrganizerLoadReport counts;
  OrganizerTree tree;
  const IniFile ini(path);
  counts.File = ini.LoadResult();

  // Rows 1..Rows in number order, taken from the keys that exist, so a huge "Rows" costs
  // nothing and no key is looked up one by one.
  const int64_t rowCount = ini.ReadInteger(kSection, "Rows", 0);
  std::vector<std::pair<int64_t, std::string>> rows;
  for (auto& [key, value] : ini.ReadSection(kSection)) {
    const int64_t number = RowNumber(key);
    if (number >= 1 && number <= rowCount && !value.empty()) {
      rows.emplace_back(number, std::move(value));
    }
  }
  std::stable_sort(rows.begin(), rows.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });

  std::unordered_map<int32_t, OrganizerNode*> byId;
  byId.reserve(rows.size() + 1);
  byId.emplace(0, &tree.Root());
  int32_t largestId = 0;
  for (const auto& [number, value] : rows) {
    const auto row = ParseRow(value, locale);
    // Ids must be unique and positive (0 is the root); the top id would overflow the counter.
    if (!row || (row->Kind != tFolder::kFolderKind && row->Kind != tFolder::kStationKind) ||
        row->Id <= 0 || row->Id == std::numeric_limits<int32_t>::max() || byId.count(row->Id)) {
      ++counts.Skipped;
      continue;
    }
    const auto parent = byId.find(row->ParentId);
    if (parent == byId.end() || parent->second->IsStation()) {
      ++counts.Dropped;
      continue;
    }
    std::unique_ptr<tFolder> data;
    if (row->Kind == tFolder::kFolderKind) {
      data = std::make_unique<tFolder>(row->ParentId, row->Id);
    } else {
      data = std::make_unique<tStation>(row->ParentId, row->Frequency, row->Band, row->Id);
    }
    auto& children = parent->second->Children;
    children.push_back(std::make_unique<OrganizerNode>(row->Name, std::move(data)));
    byId.emplace(row->Id, children.back().get());
    largestId = std::max(largestId, row->Id);
    ++counts.Loaded;
  }
  tree.Sort();
  tree.SetIdCounter(largestId);
  if (report) *report = counts;
  return tree;
}

tWriteResult SaveOrganizerDatabase(const std::filesystem::path& path, const OrganizerTree& tree,
                                   const LocaleFormat& locale) {
  IniFile ini(path);
  const auto failed = [&] {
    return tWriteResult::Failed(UnableToWriteMessage(path.string()),
                                std::make_error_code(std::errc::io_error));
  };
  if (!ini.EraseSection(kSection)) return failed();
  bool ok = ini.WriteInteger(kSection, "Rows", static_cast<int64_t>(tree.NodeCount()));
  int64_t number = 0;
  tree.ForEachInTreeOrder([&](const OrganizerNode& node, const OrganizerNode& parent) {
    ok = ok && ini.WriteString(kSection, "Row" + std::to_string(++number),
                               FormatRow(node, parent, locale));
  });
  if (!ok) return failed();
  return ini.Save();
}

}  // namespace ondivo
