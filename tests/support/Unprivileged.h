#pragma once

#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <functional>

#include "tests/support/TempDir.h"

namespace ondivo::test {

// The uid and gid of the unprivileged user that permission tests run as, because root ignores
// file permissions and CI runs as root.
inline constexpr uid_t kNobody = 65534;

// In a child about to run as kNobody: root's supplementary groups go first, since group root
// would still open files the user cannot. False when the rights could not be dropped.
inline bool BecomeUnprivilegedUser() {
  if (::setgroups(0, nullptr) != 0 && ::getuid() == 0) return false;
  return ::setgid(kNobody) == 0 && ::setuid(kNobody) == 0;
}

// Runs body in a forked child that has given up root for kNobody. Gives body's result, or false
// when the child did not end normally or could not drop its privileges.
inline bool RunAsUnprivilegedUser(const std::function<bool()>& body) {
  const pid_t child = ::fork();
  if (child == 0) {
    if (!BecomeUnprivilegedUser()) ::_exit(2);
    ::_exit(body() ? 0 : 1);
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// Hands a folder to kNobody, so that a test running as that user may create files in it.
inline void GiveToUnprivilegedUser(const std::filesystem::path& path) {
  (void)::chown(path.c_str(), kNobody, kNobody);
}

// Build files (the executable, the emulated sound card's plugin) copied to where kNobody can
// run and load them: the checkout may sit in a folder only its owner enters (a mktemp -d
// folder, /root).
class UnprivilegedCopies {
 public:
  UnprivilegedCopies() { ::chmod(dir_.Path().c_str(), 0755); }

  // A copy of file in the shared folder, with file's permissions; empty when it failed.
  std::filesystem::path Add(const std::filesystem::path& file) {
    const auto copy = dir_ / file.filename().string();
    std::error_code error;
    if (!std::filesystem::copy_file(file, copy, error)) return {};
    return copy;
  }
  // Whether the copies can be run as kNobody: not when this process cannot become that user,
  // nor when the temporary folder itself is private.
  bool Reachable() const {
    const std::string folder = dir_.Path().string();
    return RunAsUnprivilegedUser([&folder] { return ::access(folder.c_str(), R_OK | X_OK) == 0; });
  }
  const std::filesystem::path& Path() const { return dir_.Path(); }

 private:
  TempDir dir_;
};

}  // namespace ondivo::test
