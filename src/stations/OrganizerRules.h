#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "stations/OrganizerTree.h"

namespace ondivo {

class PresetsBank;

// What the organizer refuses, with the words it tells the user (all captioned "Warning").
inline constexpr std::string_view kRootNotRenamed = "This node can't be renamed";
inline constexpr std::string_view kNameExists = "A node with this name already exists";
inline constexpr std::string_view kSameNode = "Destination node is the same as the source node";
inline constexpr std::string_view kRootNotMoved = "Cant drag/drop the root";
inline constexpr std::string_view kParentOntoChild = "Cant drop parent onto child";
inline constexpr std::string_view kNotAFolder = "You cant drop this type of node here!";

// The parent of node, or nullptr for the root and for a node that is not in the tree.
OrganizerNode* ParentOf(OrganizerTree& tree, const OrganizerNode& node);
// Whether a is b or one of b's ancestors.
bool IsSelfOrAncestor(const OrganizerNode& a, const OrganizerNode& b);

// Renaming node (now labelled oldLabel) to label under parent: the refusal, or nothing when
// the label may be taken. Ending an edit without changing the text refuses nothing.
std::optional<std::string_view> RenameRefusal(const OrganizerNode* parent,
                                              const OrganizerNode& node, std::string_view oldLabel,
                                              std::string_view label);

// Dropping source onto target, in the order the checks are made: the refusal, or nothing.
std::optional<std::string_view> DropRefusal(OrganizerTree& tree, const OrganizerNode& source,
                                            const OrganizerNode& target);
// Moves source with its subtree under target as its last child; source must pass DropRefusal.
// Nodes keep their addresses.
void MoveNode(OrganizerTree& tree, OrganizerNode& source, OrganizerNode& target);
// Removes node and its subtree; the root stays. False when nothing was removed.
bool RemoveNode(OrganizerTree& tree, const OrganizerNode& node);

// A station may go onto a preset button unless some assigned preset holds it already: the same
// frequency on the same band (the other band is another station).
bool StationFitsPresets(const PresetsBank& bank, const tStation& station);

}  // namespace ondivo
