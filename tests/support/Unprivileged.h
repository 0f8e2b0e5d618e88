#pragma once

#include <sys/wait.h>
#include <unistd.h>

#include <functional>

namespace ondivo::test {

// Runs body in a forked child that has dropped to the unprivileged user 65534 (nobody), as the
// program runs on a user's desktop while CI runs as root. Gives body's result, or false when the
// child could not drop its rights or did not end normally.
inline bool RunAsNobody(const std::function<bool()>& body) {
  const pid_t child = ::fork();
  if (child == 0) {
    if (::setgid(65534) != 0 || ::setuid(65534) != 0) ::_exit(2);
    ::_exit(body() ? 0 : 1);
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace ondivo::test
