#include "schedule/ScriptRunner.h"

#include <cstdio>

namespace ondivo {

std::string ActionTimeText(int hour, int minute) {
  char text[8];
  std::snprintf(text, sizeof text, "%02d%02d", hour % 100, minute % 100);
  return text;
}

namespace {

std::string TextOf(const zAction& action) {
  return ActionTimeText(action.Hour(), action.Minute());
}

}  // namespace

int FindScriptAction(const tScript& script, int hour, int minute) {
  const int count = static_cast<int>(script.Count());
  if (count == 0) return 0;
  const std::string now = ActionTimeText(hour, minute);
  if (now > TextOf(script[count - 1])) return count + 1;
  int lo = 1, hi = count;
  while (lo <= hi) {
    const int mid = (lo + hi) / 2;
    const std::string at = TextOf(script[mid - 1]);
    if (at == now) return mid;
    if (now > at) {
      lo = mid + 1;
    } else {
      hi = mid - 1;
    }
  }
  return 0;
}

void ScriptRunner::SwitchOn() {
  on_ = true;
  lastActionTime_.clear();
}

void ScriptRunner::Load(std::string path, tScript&& script) {
  fileName_ = std::move(path);
  script_.SetTitle(script.Title());
  script_.Clear();
  script_.MoveFrom(script);
  origin_ = tOrigin::File;
  SwitchOn();
}

void ScriptRunner::Edited() {
  origin_ = tOrigin::Internal;
  SwitchOn();
}

std::string ScriptRunner::Hint() const {
  switch (origin_) {
    case tOrigin::Internal:
      return "Programming mode on/off (internal)";
    case tOrigin::File:
      return "Programming mode on/off (" + fileName_ + ")";
    case tOrigin::Empty:
      break;
  }
  return "Programming mode on/off (empty)";
}

ScriptRunner::tDispatch ScriptRunner::Dispatch(int hour, int minute) {
  if (!on_) return {};
  const int index = FindScriptAction(script_, hour, minute);
  if (index == 0) return {};
  if (index > static_cast<int>(script_.Count())) {
    on_ = false;
    return {tDispatch::End, 0};
  }
  return {tDispatch::Run, index};
}

bool ScriptRunner::TakeAction(int index) {
  const std::string at = TextOf(script_[static_cast<size_t>(index - 1)]);
  if (at == lastActionTime_) return false;
  lastActionTime_ = at;
  return true;
}

}  // namespace ondivo
