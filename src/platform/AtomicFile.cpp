#include "platform/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <random>

namespace ondivo {
namespace {

std::string RandomSuffix() {
  static constexpr char kChars[] = "abcdefghijklmnopqrstuvwxyz0123456789";
  std::random_device device;
  std::uniform_int_distribution<size_t> pick(0, sizeof kChars - 2);
  std::string suffix;
  for (int i = 0; i < 8; ++i) suffix.push_back(kChars[pick(device)]);
  return suffix;
}

// Writing through a symbolic link replaces the file it points to, not the link.
std::filesystem::path ResolveTarget(const std::filesystem::path& path) {
  std::error_code ec;
  if (std::filesystem::is_symlink(path, ec)) {
    const auto resolved = std::filesystem::weakly_canonical(path, ec);
    if (!ec) return resolved;
  }
  return path;
}

}  // namespace

AtomicFile::AtomicFile(std::filesystem::path target) : target_(ResolveTarget(target)) {
  Open();
}

AtomicFile::~AtomicFile() {
  if (!committed_) Discard();
}

bool AtomicFile::Open() {
  std::filesystem::path folder = target_.parent_path();
  if (folder.empty()) folder = ".";
  const std::string name = target_.filename().string();
  for (int attempt = 0; attempt < 16; ++attempt) {
    const auto candidate = folder / ("." + name + ".tmp-" + RandomSuffix());
    // 0666 so the umask decides, as it would for a plainly created file.
    UniqueFd fd(::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
    if (fd) {
      fd_ = std::move(fd);
      temp_ = candidate;
      // Keep the permissions of the file being replaced.
      struct stat existing {};
      if (::stat(target_.c_str(), &existing) == 0 && S_ISREG(existing.st_mode)) {
        (void)::fchmod(fd_.get(), existing.st_mode & 07777);
      }
      return true;
    }
    if (errno != EEXIST) {
      Fail(errno);
      return false;
    }
  }
  Fail(EEXIST);
  return false;
}

void AtomicFile::Fail(int errorNumber) {
  if (!error_) error_ = std::error_code(errorNumber, std::generic_category());
}

bool AtomicFile::Write(std::string_view bytes) {
  if (error_ || !fd_ || committed_) return false;
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd_.get(), bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      Fail(errno);
      return false;
    }
    if (written == 0) {
      Fail(EIO);
      return false;
    }
    bytes.remove_prefix(static_cast<size_t>(written));
  }
  return true;
}

bool AtomicFile::Commit() {
  if (error_ || !fd_ || committed_) {
    Discard();
    return false;
  }
  if (::fsync(fd_.get()) != 0) Fail(errno);
  // A write-back error may only show up at close.
  if (fd_.reset() != 0) Fail(errno);
  if (!error_ && ::rename(temp_.c_str(), target_.c_str()) != 0) Fail(errno);
  if (error_) {
    Discard();
    return false;
  }
  committed_ = true;
  temp_.clear();
  // Make the rename itself durable; the data is already safe either way.
  std::filesystem::path folder = target_.parent_path();
  if (folder.empty()) folder = ".";
  const UniqueFd dirFd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (dirFd) (void)::fsync(dirFd.get());
  return true;
}

void AtomicFile::Discard() {
  fd_.reset();
  if (!temp_.empty()) {
    ::unlink(temp_.c_str());
    temp_.clear();
  }
}

bool WriteFileAtomically(const std::filesystem::path& path, std::string_view contents,
                         std::error_code* error) {
  AtomicFile file(path);
  const bool ok = file.Write(contents) && file.Commit();
  if (!ok && error) *error = file.Error();
  return ok;
}

}  // namespace ondivo
