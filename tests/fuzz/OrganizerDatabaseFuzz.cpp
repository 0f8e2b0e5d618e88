// The Ondivo.db loader on arbitrary bytes.
#include <set>

#include "stations/OrganizerDatabase.h"
#include "tests/fuzz/FuzzInput.h"

namespace ondivo {

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const fuzz::FuzzInput input(data, size);
  OrganizerLoadReport report;
  const OrganizerTree tree = LoadOrganizerDatabase(input.Path(), input.Locale(), &report);

  // Whatever the file holds, the tree keeps the organizer's invariants.
  ONDIVO_FUZZ_CHECK(tree.NodeCount() == report.Loaded);
  std::set<int32_t> ids;
  tree.ForEachInTreeOrder([&](const OrganizerNode& node, const OrganizerNode& parent) {
    ONDIVO_FUZZ_CHECK(node.Data->Id != 0 && ids.insert(node.Data->Id).second);
    ONDIVO_FUZZ_CHECK(node.Data->ParentId == parent.Data->Id);
    ONDIVO_FUZZ_CHECK(!parent.IsStation());
    ONDIVO_FUZZ_CHECK(node.Data->Id <= tree.IdCounter());
  });

  if (!fuzz::RoundTripWanted() || tree.NodeCount() == 0) return 0;
  // Saving the tree, loading the save and saving again gives the same file.
  const auto first = fuzz::ScratchPath("first.db");
  const auto second = fuzz::ScratchPath("second.db");
  std::filesystem::remove(first);
  std::filesystem::remove(second);
  ONDIVO_FUZZ_CHECK(SaveOrganizerDatabase(first, tree, input.Locale()));
  const OrganizerTree reloaded = LoadOrganizerDatabase(first, input.Locale());
  ONDIVO_FUZZ_CHECK(reloaded.NodeCount() == tree.NodeCount());
  ONDIVO_FUZZ_CHECK(SaveOrganizerDatabase(second, reloaded, input.Locale()));
  ONDIVO_FUZZ_CHECK(fuzz::FileText(first) == fuzz::FileText(second));
  return 0;
}

}  // namespace ondivo
