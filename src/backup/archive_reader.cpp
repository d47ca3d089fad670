#include "backup/archive_reader.h"

#include <archive.h>
#include <archive_entry.h>
#include <fcntl.h>
#include <sqlite3.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <map>
#include <set>
#include <vector>

#include "backup/memory_database.h"
#include "backup/sha256.h"
#include "core/data_folder.h"
#include "core/errors.h"
#include "core/store/schema_upgrades.h"
#include "core/store/sqlite.h"

namespace traveno::backup {
namespace fs = std::filesystem;
namespace {

// A manifest is a few kilobytes; anything far larger is no manifest.
constexpr la_int64_t kManifestLimit = 64 << 20;
// The most memory set aside at once for a database read back, whatever size
// the archive's header claims (it grows past that as the bytes come).
constexpr la_int64_t kReserveLimit = la_int64_t{256} << 20;

class ArchiveReader {
 public:
  explicit ArchiveReader(const fs::path& path) : path_(path) {
    archive_ = archive_read_new();
    if (archive_ == nullptr) throw Error("Nu este destula memorie pentru citirea arhivei.");
    archive_read_support_format_tar(archive_);
    archive_read_support_filter_all(archive_);
    std::error_code error;
    if (!fs::is_regular_file(path, error)) {
      throw Error("Fisierul " + path.string() + " nu exista sau nu este un fisier.");
    }
    if (archive_read_open_filename(archive_, path.c_str(), 1 << 20) != ARCHIVE_OK) {
      throw Error("Fisierul " + path.string() +
                  " nu poate fi citit sau nu este o arhiva de salvare a programului.");
    }
  }
  ~ArchiveReader() { archive_read_free(archive_); }
  ArchiveReader(const ArchiveReader&) = delete;
  ArchiveReader& operator=(const ArchiveReader&) = delete;

  // The next entry's header; false at the end. `after` names the last
  // entry read, for the message of a damaged archive.
  bool Next(archive_entry** entry, const std::string& after) {
    const int rc = archive_read_next_header(archive_, entry);
    if (rc == ARCHIVE_EOF) return false;
    if (rc == ARCHIVE_OK || rc == ARCHIVE_WARN) return true;
    Damaged(after.empty() ? "chiar de la inceput" : "dupa fisierul " + after);
  }

  // Reads the current entry's data in pieces.
  template <typename Sink>
  void ReadData(const std::string& name, Sink&& sink) {
    const void* block = nullptr;
    size_t size = 0;
    la_int64_t offset = 0;
    la_int64_t expected = 0;
    for (;;) {
      const int rc = archive_read_data_block(archive_, &block, &size, &offset);
      if (rc == ARCHIVE_EOF) return;
      if (rc != ARCHIVE_OK && rc != ARCHIVE_WARN) Damaged("la fisierul " + name);
      // A sparse entry would have holes: the program never writes one.
      if (offset != expected) Damaged("la fisierul " + name);
      sink(std::span<const unsigned char>(static_cast<const unsigned char*>(block), size));
      expected += static_cast<la_int64_t>(size);
    }
  }

  void Skip(const std::string& name) {
    if (archive_read_data_skip(archive_) != ARCHIVE_OK) Damaged("la fisierul " + name);
  }

 private:
  [[noreturn]] void Damaged(const std::string& where) {
    throw Error("Arhiva este deteriorata sau incompleta (trunchiata): nu poate fi citita " + where +
                ".");
  }

  fs::path path_;
  archive* archive_ = nullptr;
};

std::string ReadManifestText(ArchiveReader& reader, archive_entry* entry) {
  if (archive_entry_size(entry) > kManifestLimit) {
    throw Error("Manifestul arhivei este deteriorat: este mult prea mare.");
  }
  std::string text;
  reader.ReadData(kManifestName, [&](std::span<const unsigned char> bytes) {
    text.append(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  });
  return text;
}

// A file of the archive written under the staging folder.
class StagedFile {
 public:
  explicit StagedFile(const fs::path& path) : path_(path) {
    std::error_code error;
    fs::create_directories(path.parent_path(), error);
    fd_ = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd_ < 0) Fail(errno);
  }
  ~StagedFile() {
    if (fd_ >= 0) ::close(fd_);
  }
  StagedFile(const StagedFile&) = delete;
  StagedFile& operator=(const StagedFile&) = delete;

  void Write(std::span<const unsigned char> bytes) {
    std::size_t written = 0;
    while (written < bytes.size()) {
      const ssize_t n = ::write(fd_, bytes.data() + written, bytes.size() - written);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) Fail(n < 0 ? errno : ENOSPC);
      written += static_cast<std::size_t>(n);
    }
  }
  void Close() {
    // The bytes start on their way to the disk now; the restore waits for
    // them once, before its journal.
    ::sync_file_range(fd_, 0, 0, SYNC_FILE_RANGE_WRITE);
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) Fail(errno);
  }

 private:
  [[noreturn]] void Fail(int code) {
    throw OsError("Nu pot scrie fisierul " + path_.string() +
                      " (copia de lucru a restaurarii): discul este plin sau protejat la scriere.",
                  code);
  }
  fs::path path_;
  int fd_ = -1;
};

struct StagedFacts {
  std::uint64_t size = 0;
  std::string sha256;
  // A database: what its integrity check found (empty: nothing) and, when
  // sound, its facts.
  std::string problem;
  DatabaseFacts facts;
};

std::string Join(const std::vector<std::string>& items) {
  std::string text;
  for (const std::string& item : items) text += (text.empty() ? "" : ", ") + item;
  return text.empty() ? "niciuna" : text;
}

std::string IntegrityProblem(sqlite3* db) {
  Statement check(db, "PRAGMA main.integrity_check(5)");
  std::string found;
  while (check.Step()) {
    const std::string line = check.Text(0);
    if (line == "ok") return {};
    found += (found.empty() ? "" : "; ") + line;
  }
  return found.empty() ? "fara raspuns" : found;
}

// Checks a database read from the archive, in memory: its integrity and,
// when sound, the facts the manifest gives of it.
void CheckDatabase(std::span<const unsigned char> bytes, StagedFacts& staged) {
  try {
    MemoryDatabase db;
    db.View(bytes);
    staged.problem = IntegrityProblem(db.handle());
    if (staged.problem.empty()) staged.facts = ReadFacts(db.handle());
  } catch (const StoreError& error) {
    staged.problem = error.detail().empty() ? error.what() : error.detail();
  }
}

// Checks what was found of one staged database against its line of the
// manifest.
void VerifyDatabase(const StagedFacts& staged, const ArchivedFile& listed,
                    const Manifest& manifest) {
  const std::string& problem = staged.problem;
  const DatabaseFacts& facts = staged.facts;
  if (!problem.empty()) {
    throw Error("Baza de date " + listed.name +
                " din arhiva este deteriorata (verificarea integritatii a gasit: " + problem +
                ").");
  }
  if (facts.layout_version > kStoreLayoutVersion) {
    throw Error("Baza de date " + listed.name +
                " din arhiva a fost scrisa de o versiune mai noua a programului (formatul " +
                std::to_string(facts.layout_version) + ", programul cunoaste formatul " +
                std::to_string(kStoreLayoutVersion) +
                "). Folositi versiunea mai noua a programului.");
  }
  const std::string lie = "Manifestul arhivei nu corespunde datelor: ";
  if (!listed.layout_version || *listed.layout_version != facts.layout_version) {
    throw Error(lie + listed.name + " are formatul " + std::to_string(facts.layout_version) +
                ", manifestul spune " +
                (listed.layout_version ? std::to_string(*listed.layout_version) : "altceva") + ".");
  }
  for (const auto& [table, rows] : facts.rows) {
    const auto said = listed.rows.find(table);
    if (said == listed.rows.end()) {
      throw Error(lie + "tabela " + table + " din " + listed.name + " lipseste din manifest.");
    }
    if (said->second != rows) {
      throw Error(lie + "tabela " + table + " din " + listed.name + " are " + std::to_string(rows) +
                  " linii, manifestul spune " + std::to_string(said->second) + ".");
    }
  }
  for (const auto& [table, rows] : listed.rows) {
    if (!facts.rows.contains(table)) {
      throw Error(lie + "tabela " + table + " nu exista in " + listed.name + ".");
    }
  }
  const std::string code = CompanyOfFileName(listed.name);
  if (!code.empty()) {
    const ArchivedCompany* company = manifest.FindCompany(code);
    if (company == nullptr) {
      throw Error(lie + "fisierul " + listed.name + " nu apartine niciunei firme din manifest.");
    }
    if (company->months != facts.months) {
      throw Error(lie + "firma " + code + " are lunile " + Join(facts.months) +
                  ", manifestul spune " + Join(company->months) + ".");
    }
  }
}

void RefuseNewerArchive(const Manifest& manifest) {
  if (manifest.layout_version > kStoreLayoutVersion) {
    throw Error("Arhiva a fost facuta de o versiune mai noua a programului (formatul datelor " +
                std::to_string(manifest.layout_version) + ", programul cunoaste formatul " +
                std::to_string(kStoreLayoutVersion) +
                "). Folositi versiunea mai noua a programului.");
  }
}

}  // namespace

Manifest ReadManifest(const fs::path& path) {
  ArchiveReader reader(path);
  archive_entry* entry = nullptr;
  std::string last;
  while (reader.Next(&entry, last)) {
    last = archive_entry_pathname(entry) ? archive_entry_pathname(entry) : "";
    if (last == kManifestName) return ParseManifest(ReadManifestText(reader, entry));
    reader.Skip(last);
  }
  throw Error("Arhiva nu contine manifestul: este incompleta sau nu este o salvare a programului.");
}

Manifest ReadVerified(const fs::path& path, const fs::path& staging, ProgressReporter& progress) {
  if (sodium_init() < 0) throw Error("Biblioteca de criptare nu poate fi pornita.");
  struct Scope {
    ProgressReporter& progress;
    ~Scope() { progress.EndProgress(); }
  } shown{progress};
  progress.BeginProgress(kRestoreTitle, 100);

  std::uint64_t archive_size = 0;
  {
    std::error_code error;
    archive_size = fs::file_size(path, error);
    if (error) archive_size = 0;
  }
  ArchiveReader reader(path);
  std::map<std::string, StagedFacts> staged;
  std::optional<std::string> manifest_text;
  archive_entry* entry = nullptr;
  std::string last;
  std::uint64_t read = 0;
  while (reader.Next(&entry, last)) {
    const char* raw_name = archive_entry_pathname(entry);
    const std::string name = raw_name != nullptr ? raw_name : "";
    last = name;
    if (archive_entry_filetype(entry) != AE_IFREG) {
      throw Error("Arhiva contine \"" + name +
                  "\", care nu este un fisier de date al programului.");
    }
    if (name == kManifestName) {
      if (manifest_text) throw Error("Arhiva contine manifestul de doua ori.");
      manifest_text = ReadManifestText(reader, entry);
      continue;
    }
    if (!IsDataFileName(name)) {
      throw Error("Arhiva contine fisierul \"" + name +
                  "\", care nu este un fisier de date al programului.");
    }
    if (staged.contains(name)) throw Error("Arhiva contine fisierul " + name + " de doua ori.");
    StagedFile file(staging / name);
    Sha256 hash;
    StagedFacts facts;
    // A database is kept in memory as well, to be checked there.
    const bool database = name != kSettingsFileName;
    std::vector<unsigned char> image;
    if (database) {
      image.reserve(static_cast<std::size_t>(
          std::clamp<la_int64_t>(archive_entry_size(entry), 0, kReserveLimit)));
    }
    reader.ReadData(name, [&](std::span<const unsigned char> bytes) {
      hash.Update(bytes);
      file.Write(bytes);
      if (database) image.insert(image.end(), bytes.begin(), bytes.end());
      facts.size += bytes.size();
      read += bytes.size();
      if (archive_size > 0) {
        progress.Advance(static_cast<int>(std::min<std::uint64_t>(90, read * 90 / archive_size)));
      }
    });
    file.Close();
    facts.sha256 = hash.HexDigest();
    if (database) CheckDatabase(image, facts);
    staged[name] = std::move(facts);
  }
  if (!manifest_text) {
    throw Error(
        "Arhiva nu contine manifestul: este incompleta sau nu este o salvare a programului.");
  }
  const Manifest manifest = ParseManifest(*manifest_text);
  RefuseNewerArchive(manifest);
  if (manifest.FindFile(kRegisterDatabaseName) == nullptr) {
    throw Error("Manifestul arhivei nu contine registrul firmelor (" +
                std::string(kRegisterDatabaseName) + ").");
  }
  for (const ArchivedFile& file : manifest.files) {
    const auto found = staged.find(file.name);
    if (found == staged.end()) {
      throw Error("Lipseste din arhiva fisierul " + file.name + ", trecut in manifest.");
    }
    if (found->second.size != file.size || found->second.sha256 != file.sha256) {
      throw Error("Fisierul " + file.name +
                  " din arhiva este deteriorat: marimea sau suma lui de control nu este cea din "
                  "manifest.");
    }
  }
  for (const auto& [name, facts] : staged) {
    if (manifest.FindFile(name) == nullptr) {
      throw Error("Fisierul " + name + " din arhiva nu este trecut in manifest.");
    }
  }
  std::size_t checked = 0;
  for (const ArchivedFile& file : manifest.files) {
    if (file.name != kSettingsFileName) VerifyDatabase(staged.at(file.name), file, manifest);
    progress.Advance(90 + static_cast<int>(10 * ++checked / manifest.files.size()));
  }
  return manifest;
}

}  // namespace traveno::backup
