#pragma once

#include <QLockFile>
#include <QString>
#include <memory>

namespace ondivo {

// Only one copy of the program runs per user: a lock file in the runtime directory, held for
// the life of the process. A lock left by a copy that died is recovered.
class SingleCopyGuard {
 public:
  // The runtime directory is $XDG_RUNTIME_DIR, else the temporary folder.
  SingleCopyGuard();
  explicit SingleCopyGuard(const QString& lockPath);

  // False when another living copy holds the lock.
  bool Acquired() const { return acquired_; }
  QString Path() const { return path_; }

 private:
  QString path_;
  std::unique_ptr<QLockFile> lock_;
  bool acquired_ = false;
};

}  // namespace ondivo
