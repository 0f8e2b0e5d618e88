#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "radio/RadioTypes.h"

namespace ondivo {

// Data object of an organizer node: a folder, and the base of every node.
class tFolder {
 public:
  static constexpr uint8_t kFolderKind = 1;
  static constexpr uint8_t kStationKind = 2;

  tFolder(int32_t parentId, int32_t id) : tFolder(kFolderKind, parentId, id) {}
  virtual ~tFolder() = default;

  uint8_t Kind;
  int32_t ParentId;  // 0 for top-level nodes and the root
  int32_t Id;        // 0 only for the root

 protected:
  tFolder(uint8_t kind, int32_t parentId, int32_t id) : Kind(kind), ParentId(parentId), Id(id) {}
};

// A station: always a leaf.
class tStation : public tFolder {
 public:
  tStation(int32_t parentId, double frequency, tBand band, int32_t id)
      : tFolder(kStationKind, parentId, id), Frequency(frequency), Band(band) {}

  double Frequency;  // MHz
  tBand Band;
};

// One node of the organizer's tree; the name is the node's text. A node owns its data object
// and its children.
struct OrganizerNode {
  OrganizerNode(std::string name, std::unique_ptr<tFolder> data)
      : Name(std::move(name)), Data(std::move(data)) {}
  // Tears the subtree down without recursion: a damaged file can nest nodes very deep.
  ~OrganizerNode();
  OrganizerNode(const OrganizerNode&) = delete;
  OrganizerNode& operator=(const OrganizerNode&) = delete;

  bool IsStation() const { return Data->Kind == tFolder::kStationKind; }
  const tStation* Station() const {
    return IsStation() ? static_cast<const tStation*>(Data.get()) : nullptr;
  }

  std::string Name;
  std::unique_ptr<tFolder> Data;
  std::vector<std::unique_ptr<OrganizerNode>> Children;
};

// The tree under its root "Root" (tFolder(0, 0)), with the counter that ids new nodes.
class OrganizerTree {
 public:
  OrganizerTree();

  OrganizerNode& Root() { return *root_; }
  const OrganizerNode& Root() const { return *root_; }

  // New nodes get the next id and are appended as the parent's last child. Stations are
  // leaves: adding under a station gives nullptr.
  OrganizerNode* AddFolder(OrganizerNode& parent, std::string name);
  OrganizerNode* AddStation(OrganizerNode& parent, std::string name, double frequency, tBand band);

  // The last id given; the next new node gets IdCounter() + 1.
  int32_t IdCounter() const { return idCounter_; }
  void SetIdCounter(int32_t value) { idCounter_ = value; }
  int32_t NewId() { return ++idCounter_; }

  // Number of nodes without the root.
  size_t NodeCount() const;

  // Every node but the root, a node before its descendants, children in their order; visit
  // gets the node and its parent.
  void ForEachInTreeOrder(
      const std::function<void(const OrganizerNode&, const OrganizerNode&)>& visit) const;

  // At every level stations before folders, then by name regardless of letter case.
  void Sort();

 private:
  std::unique_ptr<OrganizerNode> root_;
  int32_t idCounter_ = 0;
};

}  // namespace ondivo
