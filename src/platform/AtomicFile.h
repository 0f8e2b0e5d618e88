#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

#include "platform/UniqueFd.h"

namespace ondivo {

// Writes a file through a temporary file in the same folder that is flushed to disk and then
// renamed over the target. Until Commit() succeeds the target is never touched; on any failure
// only the temporary file is removed.
class AtomicFile {
 public:
  explicit AtomicFile(std::filesystem::path target);
  ~AtomicFile();
  AtomicFile(const AtomicFile&) = delete;
  AtomicFile& operator=(const AtomicFile&) = delete;

  // Appends bytes; false once anything has failed.
  bool Write(std::string_view bytes);
  // Flushes, closes and renames into place. False (and the target untouched) on failure.
  bool Commit();

  // The first error met, if any.
  std::error_code Error() const { return error_; }
  const std::filesystem::path& Target() const { return target_; }

 private:
  bool Open();
  void Fail(int errorNumber);
  void Discard();

  std::filesystem::path target_;
  std::filesystem::path temp_;
  UniqueFd fd_;
  bool committed_ = false;
  std::error_code error_;
};

// Replaces path with contents, atomically. False on failure, the previous file left as it was.
bool WriteFileAtomically(const std::filesystem::path& path, std::string_view contents,
                         std::error_code* error = nullptr);

}  // namespace ondivo
