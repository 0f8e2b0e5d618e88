#pragma once

#include <unistd.h>

#include <utility>

namespace ondivo {

// The one owner of a file descriptor: closes it once, moves but never copies. Every descriptor
// the program opens lives in one of these.
class UniqueFd {
 public:
  UniqueFd() = default;
  explicit UniqueFd(int fd) : fd_(fd) {}
  ~UniqueFd() { reset(); }
  UniqueFd(UniqueFd&& other) noexcept : fd_(other.release()) {}
  UniqueFd& operator=(UniqueFd&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  UniqueFd(const UniqueFd&) = delete;
  UniqueFd& operator=(const UniqueFd&) = delete;

  int get() const { return fd_; }
  bool isValid() const { return fd_ >= 0; }
  explicit operator bool() const { return isValid(); }

  // Gives up ownership without closing.
  [[nodiscard]] int release() { return std::exchange(fd_, -1); }

  // Closes the held descriptor (if any) and takes fd. Returns close()'s result for callers
  // that must report a failed close (a write-back error shows up there).
  int reset(int fd = -1) {
    int result = 0;
    if (fd_ >= 0) result = ::close(fd_);
    fd_ = fd;
    return result;
  }

 private:
  int fd_ = -1;
};

}  // namespace ondivo
