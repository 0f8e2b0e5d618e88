#include "stations/OrganizerTree.h"

#include <algorithm>
#include <utility>

#include "platform/AsciiText.h"

namespace ondivo {

OrganizerNode::~OrganizerNode() {
  std::vector<std::unique_ptr<OrganizerNode>> pending = std::move(Children);
  while (!pending.empty()) {
    std::unique_ptr<OrganizerNode> node = std::move(pending.back());
    pending.pop_back();
    for (auto& child : node->Children) pending.push_back(std::move(child));
    node->Children.clear();
  }
}

OrganizerTree::OrganizerTree()
    : root_(std::make_unique<OrganizerNode>("Root", std::make_unique<tFolder>(0, 0))) {}

OrganizerNode* OrganizerTree::AddFolder(OrganizerNode& parent, std::string name) {
  if (parent.IsStation()) return nullptr;
  auto data = std::make_unique<tFolder>(parent.Data->Id, NewId());
  parent.Children.push_back(std::make_unique<OrganizerNode>(std::move(name), std::move(data)));
  return parent.Children.back().get();
}

OrganizerNode* OrganizerTree::AddStation(OrganizerNode& parent, std::string name, double frequency,
                                         tBand band) {
  if (parent.IsStation()) return nullptr;
  auto data = std::make_unique<tStation>(parent.Data->Id, frequency, band, NewId());
  parent.Children.push_back(std::make_unique<OrganizerNode>(std::move(name), std::move(data)));
  return parent.Children.back().get();
}

size_t OrganizerTree::NodeCount() const {
  size_t count = 0;
  ForEachInTreeOrder([&count](const OrganizerNode&, const OrganizerNode&) { ++count; });
  return count;
}

void OrganizerTree::ForEachInTreeOrder(
    const std::function<void(const OrganizerNode&, const OrganizerNode&)>& visit) const {
  // Explicit stack of (parent, next child index): no recursion on deep trees.
  std::vector<std::pair<const OrganizerNode*, size_t>> stack{{root_.get(), 0}};
  while (!stack.empty()) {
    auto& [parent, next] = stack.back();
    if (next == parent->Children.size()) {
      stack.pop_back();
      continue;
    }
    const OrganizerNode* node = parent->Children[next++].get();
    visit(*node, *parent);
    if (!node->Children.empty()) stack.emplace_back(node, 0);
  }
}

void OrganizerTree::Sort() {
  std::vector<OrganizerNode*> pending{root_.get()};
  while (!pending.empty()) {
    OrganizerNode* node = pending.back();
    pending.pop_back();
    std::stable_sort(node->Children.begin(), node->Children.end(),
                     [](const auto& a, const auto& b) {
                       if (a->IsStation() != b->IsStation()) return a->IsStation();
                       return LessIgnoringCase(a->Name, b->Name);
                     });
    for (auto& child : node->Children) {
      if (!child->Children.empty()) pending.push_back(child.get());
    }
  }
}

}  // namespace ondivo
