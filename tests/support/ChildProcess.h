#pragma once

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/UniqueFd.h"
#include "tests/support/Unprivileged.h"

namespace ondivo::test {

// A program started with its standard output on a pipe the test reads line by line.
class ChildProcess {
 public:
  // env entries are "NAME=value"; unprivileged runs the child as kNobody.
  ChildProcess(const std::string& program, const std::vector<std::string>& args,
               const std::vector<std::string>& env, bool unprivileged = false) {
    int out[2];
    if (::pipe2(out, O_CLOEXEC) != 0) return;
    pid_ = ::fork();
    if (pid_ == 0) {
      ::dup2(out[1], 1);
      if (unprivileged && !BecomeUnprivilegedUser()) ::_exit(126);
      std::vector<char*> argv{const_cast<char*>(program.c_str())};
      for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
      argv.push_back(nullptr);
      std::vector<char*> envp;
      for (const auto& e : env) envp.push_back(const_cast<char*>(e.c_str()));
      envp.push_back(nullptr);
      ::execve(program.c_str(), argv.data(), envp.data());
      ::_exit(127);
    }
    ::close(out[1]);
    out_.reset(out[0]);
  }
  ~ChildProcess() {
    if (pid_ > 0 && !status_) {
      ::kill(pid_, SIGKILL);
      Wait();
    }
  }

  pid_t Pid() const { return pid_; }
  bool Running() const { return pid_ > 0 && !status_ && ::waitpid(pid_, nullptr, WNOHANG) == 0; }

  // The next line of output, or nothing when none came within the time or the pipe closed.
  std::optional<std::string> ReadLine(std::chrono::milliseconds timeout) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    for (;;) {
      if (const auto nl = buffer_.find('\n'); nl != std::string::npos) {
        std::string line = buffer_.substr(0, nl);
        buffer_.erase(0, nl + 1);
        return line;
      }
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
          end - std::chrono::steady_clock::now());
      if (left.count() <= 0) return std::nullopt;
      pollfd p{out_.get(), POLLIN, 0};
      if (::poll(&p, 1, static_cast<int>(left.count())) <= 0) return std::nullopt;
      char chunk[512];
      const ssize_t n = ::read(out_.get(), chunk, sizeof chunk);
      if (n <= 0) return std::nullopt;
      buffer_.append(chunk, static_cast<size_t>(n));
    }
  }
  // Reads lines until one starts with prefix.
  std::optional<std::string> WaitForLine(const std::string& prefix,
                                         std::chrono::milliseconds timeout) {
    while (auto line = ReadLine(timeout)) {
      if (line->rfind(prefix, 0) == 0) return line;
    }
    return std::nullopt;
  }

  void Signal(int sig) const { ::kill(pid_, sig); }
  // Waits for the end; the exit code, or 128 + signal.
  int Wait() {
    if (!status_) {
      int st = 0;
      ::waitpid(pid_, &st, 0);
      status_ = WIFEXITED(st) ? WEXITSTATUS(st) : 128 + WTERMSIG(st);
    }
    return *status_;
  }

 private:
  pid_t pid_ = -1;
  UniqueFd out_;
  std::string buffer_;
  std::optional<int> status_;
};

// Starts body in a forked child that exits 0 when body returns true. Returns the child's pid.
inline pid_t StartChild(const std::function<bool()>& body) {
  const pid_t child = ::fork();
  if (child == 0) {
    bool ok = false;
    try {
      ok = body();
    } catch (...) {
    }
    ::_exit(ok ? 0 : 1);
  }
  return child;
}

// Waits for a child from StartChild; true when it exited with 0.
inline bool ChildSucceeded(pid_t child) {
  int status = 0;
  if (::waitpid(child, &status, 0) != child) return false;
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// Runs a program with the current environment, its output discarded. Gives its exit status,
// or -1 when it did not end normally.
inline int RunProgram(const std::vector<std::string>& argv) {
  const pid_t child = ::fork();
  if (child == 0) {
    const int null = ::open("/dev/null", O_WRONLY);
    ::dup2(null, STDOUT_FILENO);
    ::dup2(null, STDERR_FILENO);
    std::vector<char*> args;
    for (const auto& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);
    ::execvp(args[0], args.data());
    ::_exit(127);
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace ondivo::test
