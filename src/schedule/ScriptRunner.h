#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <utility>

#include "schedule/Script.h"

namespace ondivo {

// The action due at hour:minute in a script kept in time order: 0 when none is due, 1..count
// for the action of exactly this minute, count + 1 once the time is past the last action.
// Actions whose minute has passed are never due later.
int FindScriptAction(const tScript& script, int hour, int minute);

// "HHMM" of an hour and minute; text order is time order.
std::string ActionTimeText(int hour, int minute);

// Programming mode: the current script, where it came from, and which of its actions are run.
class ScriptRunner {
 public:
  // What the clock tick does in programming mode.
  struct tDispatch {
    enum { Nothing, Run, End } What = Nothing;
    int Index = 0;  // 1-based, for Run
  };

  bool On() const { return on_; }
  // A freshly started script runs the action of the current minute even when an earlier run
  // already performed one at that time.
  void SwitchOn();
  void SwitchOff() { on_ = false; }

  tScript& Script() { return script_; }
  const tScript& Script() const { return script_; }
  const std::string& FileName() const { return fileName_; }
  // The file the script editor last saved to or loaded from.
  void SetFileName(std::string path) { fileName_ = std::move(path); }
  const std::string& LastActionTime() const { return lastActionTime_; }

  // A script read from path replaces the current one, and programming mode goes on.
  void Load(std::string path, tScript&& script);
  // The editor replaced the current script, and programming mode goes on.
  void Edited();
  // btProg's hint, naming where the current script came from.
  std::string Hint() const;

  // The dispatch of one clock tick; End has switched programming mode off (the script stays).
  tDispatch Dispatch(int hour, int minute);
  // Whether action index (1-based) is to be performed now: each runs once within its minute.
  bool TakeAction(int index);

 private:
  enum class tOrigin { Empty, Internal, File };
  bool on_ = false;
  tScript script_;
  std::string fileName_;
  std::string lastActionTime_;
  tOrigin origin_ = tOrigin::Empty;
};

}  // namespace ondivo
