#include "schedule/Script.h"

#include <iterator>
#include <stdexcept>

namespace ondivo {

void tScript::Add(std::unique_ptr<zAction> action) {
  if (!action) throw std::invalid_argument("tScript::Add: no action");
  actions_.push_back(std::move(action));
}

void tScript::Insert(size_t index, std::unique_ptr<zAction> action) {
  if (!action) throw std::invalid_argument("tScript::Insert: no action");
  if (index > actions_.size()) throw std::out_of_range("tScript::Insert");
  actions_.insert(actions_.begin() + static_cast<std::ptrdiff_t>(index), std::move(action));
}

std::unique_ptr<zAction> tScript::Extract(size_t index) {
  if (index >= actions_.size()) throw std::out_of_range("tScript::Extract");
  auto it = actions_.begin() + static_cast<std::ptrdiff_t>(index);
  auto action = std::move(*it);
  actions_.erase(it);
  return action;
}

void tScript::MoveFrom(tScript& source) {
  if (&source == this) return;
  actions_.insert(actions_.end(), std::make_move_iterator(source.actions_.begin()),
                  std::make_move_iterator(source.actions_.end()));
  source.actions_.clear();
}

tScript tScript::Copy() const {
  tScript copy;
  copy.title_ = title_;
  copy.actions_.reserve(actions_.size());
  for (const auto& action : actions_) copy.actions_.push_back(action->Clone());
  return copy;
}

bool tScript::operator==(const tScript& other) const {
  if (title_ != other.title_ || actions_.size() != other.actions_.size()) return false;
  for (size_t i = 0; i < actions_.size(); ++i) {
    if (!(*actions_[i] == *other.actions_[i])) return false;
  }
  return true;
}

}  // namespace ondivo
