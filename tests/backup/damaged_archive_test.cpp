// An archive that is damaged, cut short, missing a file, carrying a file it
// does not list, or whose manifest lies, is refused before anything is
// replaced, with a Romanian message that names what is wrong.
#include <gtest/gtest.h>

#include <ctime>
#include <filesystem>

#include "backup/archive_writer.h"
#include "backup/backup_source.h"
#include "backup/restore.h"
#include "backup/sha256.h"
#include "core/errors.h"
#include "core/store/schema_upgrades.h"
#include "core/text.h"
#include "tests/backup/backup_fixture.h"
#include "tests/support/temp_folder.h"

namespace traveno::backup::testing {
namespace {

using traveno::testing::TempFolder;

class DamagedArchiveTest : public ::testing::Test {
 protected:
  void SetUp() override {
    {
      Store store(data_.path());
      store.EnsureRegisterTables();
      params::Session session(store);
      AddCompanyWithMonths(store, session, "ALFA", 3, 2);
    }
    DataFolderSource source(data_.path());
    BackupRequest request;
    request.now = std::time(nullptr);
    SilentProgress quiet;
    manifest_ = WriteBackup(source, good_, request, quiet);
    // The data folder the damaged archives are restored into, with data of
    // its own that must stay exactly as it is.
    Store store(target_.path());
    store.EnsureRegisterTables();
    params::Session session(store);
    AddCompanyWithMonths(store, session, "ALFA", 2, 1);
  }

  // Restores `archive` into the target; the message of the refusal.
  std::string Refusal(const fs::path& archive) {
    const std::string before = FolderState(target_.path());
    RestoreOptions options;
    options.target = target_.path();
    SilentProgress quiet;
    std::string message;
    try {
      RestoreBackup(archive, options, quiet);
      ADD_FAILURE() << "restored " << archive;
    } catch (const Error& error) {
      message = error.what();
    }
    EXPECT_EQ(FolderState(target_.path()), before);
    for (const auto& entry : fs::directory_iterator(target_.path())) {
      EXPECT_FALSE(entry.path().filename().string().starts_with(kStagingPrefix));
    }
    EXPECT_FALSE(fs::exists(target_.path() / "salvari")) << "a refused restore keeps no copy";
    EXPECT_TRUE(message.ends_with(kNothingChanged)) << message;
    return message;
  }

  TempFolder data_;
  TempFolder work_;
  TempFolder target_;
  fs::path good_ = work_.path() / "buna.tar";
  Manifest manifest_;
};

TEST_F(DamagedArchiveTest, EachKindOfDamageIsNamed) {
  const std::string archive_bytes = FileText(good_);

  struct Case {
    const char* what;
    std::function<void(const fs::path&)> make;
    const char* expected;
  };
  const Case kCases[] = {
      {"a byte flipped inside a database",
       [&](const fs::path& file) {
         RewriteArchive(good_, file,
                        [](const std::string& name, std::string b) -> std::optional<std::string> {
                          if (name == "ALFA/firma.db") b[b.size() / 2] ^= 0x20;
                          return b;
                        });
       },
       "Fisierul ALFA/firma.db din arhiva este deteriorat"},
      {"a byte flipped in the archive's own headers",
       [&](const fs::path& file) {
         std::string bytes = archive_bytes;
         bytes[archive_bytes.find("ALFA/firma.db") + 2] ^= 0x01;
         WriteText(file, bytes);
       },
       "Arhiva este deteriorata sau incompleta"},
      {"cut short in the middle of a database",
       [&](const fs::path& file) {
         WriteText(file, archive_bytes.substr(0, archive_bytes.find("ALFA/firma.db") + 3000));
       },
       "Arhiva este deteriorata sau incompleta"},
      {"cut short before its manifest",
       [&](const fs::path& file) {
         RewriteArchive(good_, file,
                        [](const std::string& name, std::string b) -> std::optional<std::string> {
                          if (name == kManifestName) return std::nullopt;
                          return b;
                        });
       },
       "Arhiva nu contine manifestul"},
      {"a file of the manifest missing",
       [&](const fs::path& file) {
         RewriteArchive(good_, file,
                        [](const std::string& name, std::string b) -> std::optional<std::string> {
                          if (name == "ALFA/firma.db") return std::nullopt;
                          return b;
                        });
       },
       "Lipseste din arhiva fisierul ALFA/firma.db"},
      {"a file the manifest does not list",
       [&](const fs::path& file) {
         RewriteArchive(good_, file,
                        [&](const std::string& name, std::string b) -> std::optional<std::string> {
                          if (name == kManifestName) {
                            Manifest listed = ParseManifest(b);
                            std::erase_if(listed.files, [](const ArchivedFile& f) {
                              return f.name == "ALFA/firma.db";
                            });
                            listed.companies.clear();
                            return ManifestJson(listed);
                          }
                          return b;
                        });
       },
       "Fisierul ALFA/firma.db din arhiva nu este trecut in manifest"},
      {"a database that fails its integrity check, with a checksum made to match",
       [&](const fs::path& file) {
         std::string bytes_now;
         RewriteArchive(good_, file,
                        [&](const std::string& name, std::string b) -> std::optional<std::string> {
                          if (name == "ALFA/firma.db") {
                            b[4096] = '\xFF';  // the kind of the second page: none there is
                            bytes_now = b;
                          }
                          if (name != kManifestName) return b;
                          Manifest lying = ParseManifest(b);
                          for (ArchivedFile& f : lying.files) {
                            if (f.name != "ALFA/firma.db") continue;
                            Sha256 hash;
                            hash.Update({reinterpret_cast<const unsigned char*>(bytes_now.data()),
                                         bytes_now.size()});
                            f.sha256 = hash.HexDigest();
                          }
                          return ManifestJson(lying);
                        });
       },
       "Baza de date ALFA/firma.db din arhiva este deteriorata"},
      {"a manifest that lies about the rows, with every checksum right",
       [&](const fs::path& file) {
         RewriteArchive(good_, file,
                        [](const std::string& name, std::string b) -> std::optional<std::string> {
                          if (name != kManifestName) return b;
                          Manifest lying = ParseManifest(b);
                          for (ArchivedFile& f : lying.files) {
                            if (f.name == "ALFA/firma.db") f.rows["Pers"] += 1;
                          }
                          return ManifestJson(lying);
                        });
       },
       "tabela Pers din ALFA/firma.db are 6 linii, manifestul spune 7"},
      {"a manifest that lies about the months",
       [&](const fs::path& file) {
         RewriteArchive(good_, file,
                        [](const std::string& name, std::string b) -> std::optional<std::string> {
                          if (name != kManifestName) return b;
                          Manifest lying = ParseManifest(b);
                          lying.companies[0].months.push_back("2003-03");
                          return ManifestJson(lying);
                        });
       },
       "firma ALFA are lunile 2003-01, 2003-02, manifestul spune 2003-01, 2003-02, 2003-03"},
      {"a damaged manifest",
       [&](const fs::path& file) {
         RewriteArchive(good_, file,
                        [](const std::string& name, std::string b) -> std::optional<std::string> {
                          if (name == kManifestName) b.resize(b.size() / 2);
                          return b;
                        });
       },
       "Manifestul arhivei este deteriorat"},
      {"a name that would leave the data folder",
       [&](const fs::path& file) {
         RewriteArchive(
             good_, file,
             [](const std::string&, std::string b) -> std::optional<std::string> { return b; },
             {{"../registru.db", "x"}});
       },
       "\"../registru.db\", care nu este un fisier de date al programului"},
      {"no archive at all",
       [&](const fs::path& file) { WriteText(file, "Acesta nu este o arhiva de salvare.\n"); },
       "nu este o arhiva de salvare"},
  };
  int number = 0;
  for (const Case& c : kCases) {
    const fs::path file = work_.path() / ("stricata" + std::to_string(number++) + ".tar");
    c.make(file);
    const std::string message = Refusal(file);
    EXPECT_NE(message.find(c.expected), std::string::npos) << c.what << ": " << message;
  }
}

TEST_F(DamagedArchiveTest, AnArchiveOfANewerLayoutIsRefusedUntouched) {
  const fs::path newer = work_.path() / "noua.tar";
  RewriteArchive(good_, newer,
                 [](const std::string& name, std::string b) -> std::optional<std::string> {
                   // The layout version (user_version) is big-endian at offset 60.
                   if (name == "ALFA/firma.db") b[63] = static_cast<char>(kStoreLayoutVersion + 1);
                   if (name == kManifestName) {
                     Manifest manifest = ParseManifest(b);
                     manifest.layout_version = kStoreLayoutVersion + 1;
                     for (ArchivedFile& f : manifest.files) {
                       if (f.name == "ALFA/firma.db") f.layout_version = kStoreLayoutVersion + 1;
                     }
                     return ManifestJson(manifest);
                   }
                   return b;
                 });
  const std::string message = Refusal(newer);
  EXPECT_NE(message.find("versiune mai noua a programului"), std::string::npos) << message;
}

}  // namespace
}  // namespace traveno::backup::testing
