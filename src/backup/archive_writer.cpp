#include "backup/archive_writer.h"

#include <archive.h>
#include <archive_entry.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <future>
#include <system_error>

#include "backup/sha256.h"
#include "core/atomic_file.h"
#include "core/data_folder.h"
#include "core/errors.h"
#include "core/store/schema_upgrades.h"
#include "core/system_info.h"

namespace traveno::backup {
namespace fs = std::filesystem;
namespace {

// The archive being written under its temporary name: removed unless it
// was renamed into place.
class PartialArchive {
 public:
  explicit PartialArchive(const fs::path& destination) : destination_(destination) {
    const fs::path folder =
        destination.has_parent_path() ? destination.parent_path() : fs::path(".");
    std::string pattern = (folder / ("." + destination.filename().string() + ".XXXXXX")).string();
    fd_ = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (fd_ < 0) Fail(errno);
    path_ = pattern;
    ::fchmod(fd_, 0644);
    archive_ = archive_write_new();
    if (archive_ == nullptr) Fail(ENOMEM);
    // Uncompressed tar: any archiver opens it, and the databases go in at
    // the speed of the disk.
    if (archive_write_set_format_pax_restricted(archive_) != ARCHIVE_OK ||
        archive_write_add_filter_none(archive_) != ARCHIVE_OK ||
        // No blocking of its own: the entries go from the copies straight
        // to the file, without one more copy of every byte.
        archive_write_set_bytes_per_block(archive_, 0) != ARCHIVE_OK ||
        archive_write_set_bytes_in_last_block(archive_, 1) != ARCHIVE_OK ||
        archive_write_open_fd(archive_, fd_) != ARCHIVE_OK) {
      FailArchive();
    }
  }
  ~PartialArchive() {
    if (archive_ != nullptr) archive_write_free(archive_);
    if (fd_ >= 0) ::close(fd_);
    if (!renamed_) ::unlink(path_.c_str());
  }
  PartialArchive(const PartialArchive&) = delete;
  PartialArchive& operator=(const PartialArchive&) = delete;

  void Add(const std::string& name, std::span<const unsigned char> bytes, std::time_t now) {
    archive_entry* entry = archive_entry_new();
    archive_entry_set_pathname(entry, name.c_str());
    archive_entry_set_size(entry, static_cast<la_int64_t>(bytes.size()));
    archive_entry_set_filetype(entry, AE_IFREG);
    archive_entry_set_perm(entry, 0644);
    archive_entry_set_mtime(entry, now, 0);
    const int header = archive_write_header(archive_, entry);
    archive_entry_free(entry);
    if (header != ARCHIVE_OK) FailArchive();
    std::size_t written = 0;
    while (written < bytes.size()) {
      const la_ssize_t n =
          archive_write_data(archive_, bytes.data() + written, bytes.size() - written);
      if (n <= 0) FailArchive();
      written += static_cast<std::size_t>(n);
    }
    // What is written starts on its way to the disk while the next copy is
    // made; Finish then waits for the rest only.
    ::sync_file_range(fd_, 0, 0, SYNC_FILE_RANGE_WRITE);
  }

  // Ends the archive, flushes it to the disk and renames it into place.
  void Finish() {
    if (archive_write_close(archive_) != ARCHIVE_OK) FailArchive();
    if (::fsync(fd_) != 0) Fail(errno);
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) Fail(errno);
    if (std::rename(path_.c_str(), destination_.c_str()) != 0) Fail(errno);
    renamed_ = true;
    SyncFolder(destination_.has_parent_path() ? destination_.parent_path() : fs::path("."));
  }

 private:
  [[noreturn]] void Fail(int code) { throw OsError(CannotWriteFileMessage(destination_), code); }
  [[noreturn]] void FailArchive() {
    const int code = archive_ != nullptr ? archive_errno(archive_) : 0;
    Fail(code != 0 ? code : EIO);
  }

  fs::path destination_;
  std::string path_;
  int fd_ = -1;
  archive* archive_ = nullptr;
  bool renamed_ = false;
};

// Ends the progress window also on failure.
class ProgressScope {
 public:
  ProgressScope(ProgressReporter& progress, int total) : progress_(progress) {
    progress_.BeginProgress(kBackupTitle, total);
  }
  ~ProgressScope() { progress_.EndProgress(); }
  ProgressScope(const ProgressScope&) = delete;
  ProgressScope& operator=(const ProgressScope&) = delete;

 private:
  ProgressReporter& progress_;
};

std::string HexSha256(std::span<const unsigned char> bytes) {
  Sha256 hash;
  hash.Update(bytes);
  return hash.HexDigest();
}

// Adds a file to the archive and describes it; its checksum is computed on
// a second thread while the bytes are written.
ArchivedFile AddFile(PartialArchive& archive, const std::string& name,
                     std::span<const unsigned char> bytes, std::time_t now) {
  ArchivedFile file;
  file.name = name;
  file.size = bytes.size();
  std::future<std::string> hashing;
  try {
    hashing = std::async(std::launch::async, HexSha256, bytes);
  } catch (const std::system_error&) {
    // No thread to spare: the checksum is computed here after the write.
  }
  archive.Add(name, bytes, now);
  file.sha256 = hashing.valid() ? hashing.get() : HexSha256(bytes);
  return file;
}

ArchivedFile AddDatabase(PartialArchive& archive, const std::string& name, MemoryDatabase& copy,
                         std::time_t now, std::vector<std::string>* months) {
  const DatabaseFacts facts = copy.Facts();
  ArchivedFile file = AddFile(archive, name, copy.Image(), now);
  file.layout_version = facts.layout_version;
  file.rows = facts.rows;
  if (months != nullptr) *months = facts.months;
  return file;
}

std::span<const unsigned char> Bytes(const std::string& text) {
  return {reinterpret_cast<const unsigned char*>(text.data()), text.size()};
}

}  // namespace

std::string ManifestTime(std::time_t time) {
  std::tm local{};
  char text[32] = "";
  if (localtime_r(&time, &local) != nullptr) {
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
  }
  return text;
}

Manifest WriteBackup(BackupSource& source, const fs::path& destination,
                     const BackupRequest& request, ProgressReporter& progress) {
  if (sodium_init() < 0) throw Error("Biblioteca de criptare nu poate fi pornita.");
  const std::vector<SourceCompany> all = source.Companies();
  std::vector<SourceCompany> chosen;
  if (!request.companies) {
    chosen = all;
  } else {
    for (const std::string& code : *request.companies) {
      bool found = false;
      for (const SourceCompany& company : all) {
        if (company.code == code) {
          found = true;
          bool listed = false;
          for (const SourceCompany& c : chosen) listed = listed || c.code == code;
          if (!listed) chosen.push_back(company);
        }
      }
      if (!found) {
        throw Error("Firma " + code + " nu exista in registru sau nu are date de salvat !");
      }
    }
  }

  Manifest manifest;
  manifest.program_version = VersionString();
  manifest.layout_version = kStoreLayoutVersion;
  manifest.created = ManifestTime(request.now);
  manifest.scope = request.scope;
  manifest.operation = request.operation;

  ProgressScope shown(progress, static_cast<int>(chosen.size()) + 2);
  PartialArchive archive(destination);
  int done = 0;
  {
    std::unique_ptr<MemoryDatabase> copy = source.CopyRegister();
    manifest.files.push_back(
        AddDatabase(archive, kRegisterDatabaseName, *copy, request.now, nullptr));
  }
  progress.Advance(++done);
  for (const SourceCompany& company : chosen) {
    std::unique_ptr<MemoryDatabase> copy = source.CopyCompany(company.code);
    ArchivedCompany archived{company.code, company.name, {}};
    const std::string name = CompanyFileName(company.code);
    manifest.files.push_back(AddDatabase(archive, name, *copy, request.now, &archived.months));
    manifest.companies.push_back(std::move(archived));
    progress.Advance(++done);
  }
  if (const std::optional<std::string> settings = source.SettingsText()) {
    manifest.files.push_back(AddFile(archive, kSettingsFileName, Bytes(*settings), request.now));
  }
  archive.Add(kManifestName, Bytes(ManifestJson(manifest)), request.now);
  archive.Finish();
  progress.Advance(++done);
  return manifest;
}

}  // namespace traveno::backup
