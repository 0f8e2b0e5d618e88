#include "platform/SingleCopyGuard.h"

#include <QDir>
#include <QStandardPaths>

namespace ondivo {

namespace {

QString DefaultLockPath() {
  QString dir = qEnvironmentVariable("XDG_RUNTIME_DIR");
  if (dir.isEmpty() || !QDir(dir).exists()) dir = QDir::tempPath();
  return QDir(dir).filePath("ondivo.lock");
}

}  // namespace

SingleCopyGuard::SingleCopyGuard() : SingleCopyGuard(DefaultLockPath()) {}

SingleCopyGuard::SingleCopyGuard(const QString& lockPath)
    : path_(lockPath), lock_(std::make_unique<QLockFile>(lockPath)) {
  // Never stale by age: only a lock whose process is gone is taken over.
  lock_->setStaleLockTime(0);
  acquired_ = lock_->tryLock(0);
}

}  // namespace ondivo
