#include "app/single_instance.h"

#include <QString>

namespace traveno::app {

SingleInstance::SingleInstance(const std::filesystem::path& data_folder)
    : lock_(std::make_unique<QLockFile>(
          QString::fromStdString((data_folder / kLockFileName).string()))) {
  // A lock is stale only when its process is gone, however long ago it was
  // taken: a program left running for days still holds it.
  lock_->setStaleLockTime(0);
}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::Acquire() { return lock_->isLocked() || lock_->tryLock(0); }

}  // namespace traveno::app
