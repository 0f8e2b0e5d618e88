#include "platform/ReadWholeFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/UniqueFd.h"

namespace ondivo {

tWholeFileRead ReadWholeFile(const std::filesystem::path& path, size_t maxBytes,
                             std::string& text) {
  const UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (!fd) return errno == ENOENT ? tWholeFileRead::Missing : tWholeFileRead::Unreadable;
  struct stat info {};
  if (::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode)) return tWholeFileRead::Unreadable;
  if (static_cast<uintmax_t>(info.st_size) > maxBytes) return tWholeFileRead::TooLarge;
  text.clear();
  text.reserve(static_cast<size_t>(info.st_size));
  char buffer[64 * 1024];
  for (;;) {
    const ssize_t got = ::read(fd.get(), buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return tWholeFileRead::Unreadable;
    if (got == 0) return tWholeFileRead::Read;
    // The file may have grown since fstat.
    if (text.size() + static_cast<size_t>(got) > maxBytes) return tWholeFileRead::TooLarge;
    text.append(buffer, static_cast<size_t>(got));
  }
}

}  // namespace ondivo
