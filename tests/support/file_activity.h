// What SQLite does with the files while a test runs: a thin layer over the
// engine's default file system that notes, per file, how often it was opened
// as a database, a rollback journal or a super-journal (the journal of a
// commit over several files), and how often it was synced. Installed once as
// the default for the whole test program; connections opened before it keep
// the former one.
#pragma once

#include <sqlite3.h>

#include <cstring>
#include <map>
#include <mutex>
#include <string>
#include <vector>

namespace traveno::testing {

class FileActivity {
 public:
  struct Counts {
    int journals = 0;        // rollback journals opened beside the file
    int super_journals = 0;  // super-journals opened beside the file
    int syncs = 0;           // syncs of the file and of its journals
  };

  // Installs the layer (the first time) and forgets what it saw so far.
  static FileActivity& Start() {
    static FileActivity activity;
    std::lock_guard lock(activity.mutex_);
    activity.counts_.clear();
    return activity;
  }

  // What happened to the database file whose path ends with `suffix`
  // ("registru.db", "firma.db"), its journals included.
  Counts Of(const std::string& suffix) const {
    std::lock_guard lock(mutex_);
    Counts total;
    for (const auto& [path, counts] : counts_) {
      if (DatabaseOf(path).ends_with(suffix)) {
        total.journals += counts.journals;
        total.super_journals += counts.super_journals;
        total.syncs += counts.syncs;
      }
    }
    return total;
  }
  int SuperJournals() const {
    std::lock_guard lock(mutex_);
    int total = 0;
    for (const auto& [path, counts] : counts_) total += counts.super_journals;
    return total;
  }
  int Syncs() const {
    std::lock_guard lock(mutex_);
    int total = 0;
    for (const auto& [path, counts] : counts_) total += counts.syncs;
    return total;
  }

 private:
  struct File {
    sqlite3_file base;
    sqlite3_file* real;
    FileActivity* owner;
    char path[512];
  };

  FileActivity() {
    real_ = sqlite3_vfs_find(nullptr);
    vfs_ = *real_;
    vfs_.zName = "traveno-file-activity";
    vfs_.szOsFile = static_cast<int>(sizeof(File)) + real_->szOsFile;
    vfs_.pAppData = this;
    vfs_.xOpen = &Open;
    Methods(methods_);
    sqlite3_vfs_register(&vfs_, 1);
  }

  // The database a file belongs to: a journal's path without its suffix.
  static std::string DatabaseOf(const std::string& path) {
    for (const char* suffix : {"-journal", "-wal"}) {
      if (path.ends_with(suffix)) return path.substr(0, path.size() - std::strlen(suffix));
    }
    if (const auto mark = path.rfind("-mj"); mark != std::string::npos) return path.substr(0, mark);
    return path;
  }

  void Note(const char* path, int Counts::*what) {
    std::lock_guard lock(mutex_);
    ++(counts_[path ? path : ""].*what);
  }

  static int Open(sqlite3_vfs* vfs, const char* name, sqlite3_file* file, int flags,
                  int* out_flags) {
    auto* self = static_cast<FileActivity*>(vfs->pAppData);
    auto* wrapper = reinterpret_cast<File*>(file);
    wrapper->real = reinterpret_cast<sqlite3_file*>(wrapper + 1);
    wrapper->owner = self;
    wrapper->path[0] = 0;
    if (name) std::strncpy(wrapper->path, name, sizeof wrapper->path - 1);
    wrapper->path[sizeof wrapper->path - 1] = 0;
    const int rc = self->real_->xOpen(self->real_, name, wrapper->real, flags, out_flags);
    if (wrapper->real->pMethods == nullptr) {
      wrapper->base.pMethods = nullptr;
      return rc;
    }
    wrapper->base.pMethods = &self->methods_;
    if (rc == SQLITE_OK && name) {
      if (flags & SQLITE_OPEN_MAIN_JOURNAL) self->Note(name, &Counts::journals);
      if (flags & SQLITE_OPEN_SUPER_JOURNAL) self->Note(name, &Counts::super_journals);
    }
    return rc;
  }

  static sqlite3_file* Real(sqlite3_file* file) { return reinterpret_cast<File*>(file)->real; }

  static void Methods(sqlite3_io_methods& m) {
    m.iVersion = 3;
    m.xClose = [](sqlite3_file* f) { return Real(f)->pMethods->xClose(Real(f)); };
    m.xRead = [](sqlite3_file* f, void* data, int amount, sqlite3_int64 offset) {
      return Real(f)->pMethods->xRead(Real(f), data, amount, offset);
    };
    m.xWrite = [](sqlite3_file* f, const void* data, int amount, sqlite3_int64 offset) {
      return Real(f)->pMethods->xWrite(Real(f), data, amount, offset);
    };
    m.xTruncate = [](sqlite3_file* f, sqlite3_int64 size) {
      return Real(f)->pMethods->xTruncate(Real(f), size);
    };
    m.xSync = [](sqlite3_file* f, int flags) {
      auto* wrapper = reinterpret_cast<File*>(f);
      wrapper->owner->Note(wrapper->path, &Counts::syncs);
      return Real(f)->pMethods->xSync(Real(f), flags);
    };
    m.xFileSize = [](sqlite3_file* f, sqlite3_int64* size) {
      return Real(f)->pMethods->xFileSize(Real(f), size);
    };
    m.xLock = [](sqlite3_file* f, int lock) { return Real(f)->pMethods->xLock(Real(f), lock); };
    m.xUnlock = [](sqlite3_file* f, int lock) { return Real(f)->pMethods->xUnlock(Real(f), lock); };
    m.xCheckReservedLock = [](sqlite3_file* f, int* out) {
      return Real(f)->pMethods->xCheckReservedLock(Real(f), out);
    };
    m.xFileControl = [](sqlite3_file* f, int op, void* arg) {
      return Real(f)->pMethods->xFileControl(Real(f), op, arg);
    };
    m.xSectorSize = [](sqlite3_file* f) { return Real(f)->pMethods->xSectorSize(Real(f)); };
    m.xDeviceCharacteristics = [](sqlite3_file* f) {
      return Real(f)->pMethods->xDeviceCharacteristics(Real(f));
    };
    m.xShmMap = [](sqlite3_file* f, int page, int size, int extend, void volatile** out) {
      return Real(f)->pMethods->xShmMap(Real(f), page, size, extend, out);
    };
    m.xShmLock = [](sqlite3_file* f, int offset, int n, int flags) {
      return Real(f)->pMethods->xShmLock(Real(f), offset, n, flags);
    };
    m.xShmBarrier = [](sqlite3_file* f) { Real(f)->pMethods->xShmBarrier(Real(f)); };
    m.xShmUnmap = [](sqlite3_file* f, int erase) {
      return Real(f)->pMethods->xShmUnmap(Real(f), erase);
    };
    m.xFetch = [](sqlite3_file* f, sqlite3_int64 offset, int amount, void** out) {
      return Real(f)->pMethods->xFetch(Real(f), offset, amount, out);
    };
    m.xUnfetch = [](sqlite3_file* f, sqlite3_int64 offset, void* page) {
      return Real(f)->pMethods->xUnfetch(Real(f), offset, page);
    };
  }

  sqlite3_vfs* real_ = nullptr;
  sqlite3_vfs vfs_{};
  sqlite3_io_methods methods_{};
  mutable std::mutex mutex_;
  std::map<std::string, Counts> counts_;
};

}  // namespace traveno::testing
