#include "stations/OrganizerRules.h"

#include <algorithm>
#include <vector>

#include "platform/AsciiText.h"
#include "stations/FrequencyText.h"
#include "stations/PresetsBank.h"

namespace ondivo {

OrganizerNode* ParentOf(OrganizerTree& tree, const OrganizerNode& node) {
  // Breadth first without recursion; a tree of ten thousand nodes is searched in well under a
  // millisecond, and only on a drop or a delete.
  std::vector<OrganizerNode*> pending{&tree.Root()};
  while (!pending.empty()) {
    OrganizerNode* candidate = pending.back();
    pending.pop_back();
    for (auto& child : candidate->Children) {
      if (child.get() == &node) return candidate;
      if (!child->Children.empty()) pending.push_back(child.get());
    }
  }
  return nullptr;
}

bool IsSelfOrAncestor(const OrganizerNode& a, const OrganizerNode& b) {
  std::vector<const OrganizerNode*> pending{&a};
  while (!pending.empty()) {
    const OrganizerNode* node = pending.back();
    pending.pop_back();
    if (node == &b) return true;
    for (const auto& child : node->Children) pending.push_back(child.get());
  }
  return false;
}

namespace {

bool ChildNamed(const OrganizerNode& parent, std::string_view label) {
  return std::any_of(parent.Children.begin(), parent.Children.end(),
                     [label](const auto& c) { return EqualsIgnoringCase(c->Name, label); });
}

}  // namespace

std::optional<std::string_view> RenameRefusal(const OrganizerNode* parent,
                                              const OrganizerNode& node, std::string_view oldLabel,
                                              std::string_view label) {
  if (oldLabel == "Root" && !parent) return kRootNotRenamed;
  if (label == oldLabel) return std::nullopt;
  // The node itself counts: its own name in other letters is refused too.
  if (parent ? ChildNamed(*parent, label) : EqualsIgnoringCase(node.Name, label)) {
    return kNameExists;
  }
  return std::nullopt;
}

std::optional<std::string_view> DropRefusal(OrganizerTree& tree, const OrganizerNode& source,
                                            const OrganizerNode& target) {
  const OrganizerNode* parent = ParentOf(tree, source);
  if (&target == &source || &target == parent) return kSameNode;
  if (&source == &tree.Root()) return kRootNotMoved;
  if (IsSelfOrAncestor(source, target)) return kParentOntoChild;
  if (ChildNamed(target, source.Name)) return kNameExists;
  if (target.IsStation()) return kNotAFolder;
  return std::nullopt;
}

void MoveNode(OrganizerTree& tree, OrganizerNode& source, OrganizerNode& target) {
  OrganizerNode* parent = ParentOf(tree, source);
  if (!parent || target.IsStation() || IsSelfOrAncestor(source, target)) return;
  auto& siblings = parent->Children;
  const auto at = std::find_if(siblings.begin(), siblings.end(),
                               [&source](const auto& c) { return c.get() == &source; });
  std::unique_ptr<OrganizerNode> moved = std::move(*at);
  siblings.erase(at);
  moved->Data->ParentId = target.Data->Id;
  target.Children.push_back(std::move(moved));
}

bool RemoveNode(OrganizerTree& tree, const OrganizerNode& node) {
  OrganizerNode* parent = ParentOf(tree, node);
  if (!parent) return false;
  std::erase_if(parent->Children, [&node](const auto& c) { return c.get() == &node; });
  return true;
}

bool StationFitsPresets(const PresetsBank& bank, const tStation& station) {
  for (int n = 1; n <= PresetsBank::kPresetCount; ++n) {
    const tPreset& p = bank.Preset(n);
    if (p.Assigned && p.Band == station.Band && SameFrequency(p.Frequency, station.Frequency)) {
      return false;
    }
  }
  return true;
}

}  // namespace ondivo
