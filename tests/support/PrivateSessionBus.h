#pragma once

#include <chrono>
#include <string>

#include "tests/support/ChildProcess.h"

namespace ondivo::test {

// A session bus of the test's own: dbus-daemon started for the test and ended with it, so
// the panel and the desktop tools meet there and nowhere else.
class PrivateSessionBus {
 public:
  PrivateSessionBus()
      : daemon_("/usr/bin/dbus-daemon", {"--session", "--nofork", "--print-address"},
                {"PATH=/usr/bin:/bin"}) {
    using namespace std::chrono_literals;
    if (const auto line = daemon_.ReadLine(10s)) address_ = *line;
  }

  // DBUS_SESSION_BUS_ADDRESS for the panel and the tools; empty when the daemon did not start.
  const std::string& Address() const { return address_; }

 private:
  ChildProcess daemon_;
  std::string address_;
};

}  // namespace ondivo::test
