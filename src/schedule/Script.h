#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "schedule/ScriptActions.h"

namespace ondivo {

// A titled list of timed actions. The script owns its actions; the editor keeps them in strictly
// increasing order of hour and minute, and the dispatcher relies on that order.
class tScript {
 public:
  tScript() = default;
  tScript(tScript&&) noexcept = default;
  tScript& operator=(tScript&&) noexcept = default;
  tScript(const tScript&) = delete;
  tScript& operator=(const tScript&) = delete;

  const std::string& Title() const { return title_; }
  void SetTitle(std::string title) { title_ = std::move(title); }

  size_t Count() const { return actions_.size(); }
  bool Empty() const { return actions_.empty(); }
  const zAction& operator[](size_t index) const { return *actions_.at(index); }
  zAction& operator[](size_t index) { return *actions_.at(index); }

  void Add(std::unique_ptr<zAction> action);
  void Insert(size_t index, std::unique_ptr<zAction> action);
  // Takes action index out of the script and hands it to the caller.
  std::unique_ptr<zAction> Extract(size_t index);
  void Delete(size_t index) { Extract(index); }
  void Clear() { actions_.clear(); }
  // Appends every action of source, in order, leaving source empty.
  void MoveFrom(tScript& source);
  // A deep copy: same title, copies of every action.
  tScript Copy() const;

  // Same title and the same actions in the same order.
  bool operator==(const tScript& other) const;

  auto begin() const { return actions_.begin(); }
  auto end() const { return actions_.end(); }

 private:
  std::string title_;
  std::vector<std::unique_ptr<zAction>> actions_;
};

}  // namespace ondivo
