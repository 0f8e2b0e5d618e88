#pragma once

#include <fcntl.h>
#include <grp.h>
#include <poll.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/Delay.h"
#include "platform/UniqueFd.h"

namespace ondivo::test {

using Bytes = std::vector<uint8_t>;

inline Bytes Frame(uint8_t command) {
  return {0x1D, 0x23, command, 0x23};
}

inline Bytes Concat(Bytes a, const std::string& text) {
  a.insert(a.end(), text.begin(), text.end());
  return a;
}

// The far end of a serial line: the master side of a pty, driven by the test.
class PtyPair {
 public:
  PtyPair() : master_(::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK)) {
    ::grantpt(master_.get());
    ::unlockpt(master_.get());
    std::array<char, 128> name{};
    ::ptsname_r(master_.get(), name.data(), name.size());
    slave_ = name.data();
  }
  const std::string& SlavePath() const { return slave_; }
  int Master() const { return master_.get(); }
  void CloseMaster() { master_.reset(); }

  void Write(const Bytes& bytes) const {
    [[maybe_unused]] auto n = ::write(master_.get(), bytes.data(), bytes.size());
  }
  // Reads until count bytes came or none came for quietMs.
  Bytes Read(size_t count = SIZE_MAX, int quietMs = 100) const {
    Bytes out;
    while (out.size() < count) {
      pollfd p{master_.get(), POLLIN, 0};
      if (::poll(&p, 1, quietMs) <= 0 || !(p.revents & POLLIN)) break;
      std::array<uint8_t, 4096> buffer{};
      const ssize_t n =
          ::read(master_.get(), buffer.data(), std::min(buffer.size(), count - out.size()));
      if (n <= 0) break;
      out.insert(out.end(), buffer.begin(), buffer.begin() + n);
    }
    return out;
  }

 private:
  UniqueFd master_;
  std::string slave_;
};

// Runs body in a child process as the unprivileged user 65534 (when started as root; as the
// user itself otherwise), since root passes by device locks that stop everyone else. Returns
// what body reports ("" when all went well), or why the child could not run it.
inline std::string RunUnprivileged(const std::function<std::string()>& body) {
  int pipe[2];
  if (::pipe(pipe) != 0) return "no pipe";
  const pid_t pid = ::fork();
  if (pid < 0) return "no fork";
  if (pid == 0) {
    ::close(pipe[0]);
    std::string report;
    if (::geteuid() == 0 &&
        (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0)) {
      report = "cannot become user 65534";
    } else if (::geteuid() == 0) {
      report = "still root";
    } else {
      report = body();
    }
    [[maybe_unused]] auto n = ::write(pipe[1], report.data(), report.size());
    ::_exit(0);
  }
  ::close(pipe[1]);
  std::string report;
  std::array<char, 256> buffer{};
  ssize_t n;
  while ((n = ::read(pipe[0], buffer.data(), buffer.size())) > 0) report.append(buffer.data(), n);
  ::close(pipe[0]);
  int status = 0;
  ::waitpid(pid, &status, 0);
  if (!WIFEXITED(status)) return "the child did not finish: " + report;
  return report;
}

// Records every wait instead of blocking.
class RecordingDelay final : public Delay {
 public:
  void Wait(int ms) override {
    if (OnWait) OnWait(ms);
    Waits.push_back(ms);
  }
  std::vector<int> Waits;
  std::function<void(int)> OnWait;
};

}  // namespace ondivo::test
