// Each declaration file written over the file of an earlier writing, by a
// process killed (SIGKILL) once it has written a chosen number of bytes, or
// on a disk that fills up at that number: the name then holds the earlier
// file or the new one, whole, never an empty or a partial table. The file
// size limit of the process marks the byte; the numbers are drawn from a
// fixed seed, so every run tries the same moments.
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <random>

#include "core/atomic_file.h"
#include "core/errors.h"
#include "declarations/cas_files.h"
#include "declarations/unemployment_files.h"
#include "tests/declarations/monthly_files_fixture.h"

namespace traveno::declarations {
namespace {

namespace fs = std::filesystem;
using testing::kFilesToday;
using testing::MonthlyFilesFixture;

constexpr int kKillsPerFile = 8;

std::string ReadAll(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

int FilesIn(const fs::path& folder) {
  return static_cast<int>(std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

// What one writing of the files reads.
struct Writing {
  CasDeclaration cas;
  UnemploymentDeclaration somaj;
  DeclarationHeader header;
  Date today;
};

struct DeclarationFile {
  const char* name;
  std::function<void(const fs::path&, const Writing&, Prompter&)> write;
};

const DeclarationFile kFiles[] = {
    {"A11.txt", [](const fs::path& p, const Writing& w,
                   Prompter& prompter) { WriteA11Txt(p, w.cas, prompter); }},
    {"A11.dbf", [](const fs::path& p, const Writing& w,
                   Prompter& prompter) { WriteA11Dbf(p, w.cas, w.today, prompter); }},
    {"A12.txt",
     [](const fs::path& p, const Writing& w, Prompter& prompter) {
       WriteA12Txt(p, w.cas, {1, "B"}, prompter);
     }},
    {"A12.dbf",
     [](const fs::path& p, const Writing& w, Prompter& prompter) {
       WriteA12Dbf(p, w.cas, {1, "B"}, w.today, prompter);
     }},
    {"A1.txt", [](const fs::path& p, const Writing& w,
                  Prompter& prompter) { WriteA1Txt(p, w.somaj, prompter); }},
    {"A1.dbf", [](const fs::path& p, const Writing& w,
                  Prompter& prompter) { WriteA1Dbf(p, w.somaj, w.today, prompter); }},
    {"A2.txt", [](const fs::path& p, const Writing& w,
                  Prompter& prompter) { WriteA2Txt(p, w.somaj, w.header, prompter); }},
    {"A2.dbf", [](const fs::path& p, const Writing& w,
                  Prompter& prompter) { WriteA2Dbf(p, w.somaj, w.header, w.today, prompter); }},
};

class InterruptedFilesTest : public MonthlyFilesFixture {
 protected:
  void SetUp() override {
    MonthlyFilesFixture::SetUp();
    earlier_ = Current(Date::FromYmd(2003, 4, 4));
    // The newer writing differs in every file: other figures, another date.
    db().Run(
        "UPDATE firma.Pers SET BRUT = BRUT + 1000, SOMAJ = SOMAJ + 10 "
        "WHERE NUME = 'POPESCU'");
    newer_ = Current(kFilesToday);
    for (const DeclarationFile& file : kFiles) {
      kept_[file.name] = Written(file, earlier_, "earlier");
      whole_[file.name] = Written(file, newer_, "newer");
      ASSERT_NE(kept_[file.name], whole_[file.name]) << file.name;
    }
  }

  Writing Current(Date date) {
    return {BuildCasDeclaration(*session_),
            BuildUnemploymentDeclaration(*session_),
            {"123", date, {"POPESCU", "ION", "DIRECTOR", "B"}},
            date};
  }

  // The content of a file written alone into a folder of its own.
  std::string Written(const DeclarationFile& file, const Writing& writing, const char* folder) {
    const fs::path path = folder_.path() / folder / file.name;
    fs::create_directories(path.parent_path());
    file.write(path, writing, prompter_);
    return ReadAll(path);
  }

  // A folder holding the earlier file.
  fs::path FolderWithEarlier(const DeclarationFile& file, int trial) {
    const fs::path folder =
        folder_.path() / (std::string("trial-") + file.name + "-" + std::to_string(trial));
    fs::create_directories(folder);
    fs::copy_file(folder_.path() / "earlier" / file.name, folder / file.name);
    return folder;
  }

  Writing earlier_;
  Writing newer_;
  std::map<std::string, std::string> kept_;
  std::map<std::string, std::string> whole_;
};

// The child writes the file with its size limit at `bytes`; reaching it kills it.
pid_t WriteInChildKilledAt(const DeclarationFile& file, const fs::path& path,
                           const Writing& writing, Prompter& prompter, rlim_t bytes) {
  const pid_t child = ::fork();
  if (child != 0) return child;
  ::signal(SIGXFSZ, [](int) { ::raise(SIGKILL); });
  rlimit limit{};
  ::getrlimit(RLIMIT_FSIZE, &limit);
  limit.rlim_cur = bytes;
  if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) ::_exit(3);
  try {
    file.write(path, writing, prompter);
  } catch (...) {
    ::_exit(2);
  }
  ::_exit(0);
}

TEST_F(InterruptedFilesTest, AKillWhileAFileIsWrittenLeavesTheEarlierFileOrTheNewOne) {
  std::mt19937 random(20030405);
  for (const DeclarationFile& file : kFiles) {
    const std::string& kept = kept_[file.name];
    const std::string& whole = whole_[file.name];
    std::uniform_int_distribution<std::size_t> byte(0, whole.size() - 1);
    for (int trial = 0; trial < kKillsPerFile; ++trial) {
      const rlim_t at = byte(random);
      SCOPED_TRACE(std::string(file.name) + " killed at byte " + std::to_string(at));
      const fs::path folder = FolderWithEarlier(file, trial);
      const pid_t child = WriteInChildKilledAt(file, folder / file.name, newer_, prompter_, at);
      int status = 0;
      ASSERT_EQ(::waitpid(child, &status, 0), child);
      // Every byte of the new file is written: a limit below its size kills.
      EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << status;
      const std::string found = ReadAll(folder / file.name);
      EXPECT_TRUE(found == kept || found == whole)
          << "the file holds " << found.size() << " bytes: neither the earlier " << kept.size()
          << " nor the new " << whole.size();
    }
  }
}

TEST_F(InterruptedFilesTest, ADiskThatFillsUpLeavesTheEarlierFileAndTells) {
  const auto old_handler = ::signal(SIGXFSZ, SIG_IGN);
  rlimit old_limit{};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old_limit), 0);
  for (const DeclarationFile& file : kFiles) {
    const std::string& whole = whole_[file.name];
    for (const std::size_t at : {std::size_t{0}, whole.size() / 2, whole.size() - 1}) {
      SCOPED_TRACE(std::string(file.name) + " full at byte " + std::to_string(at));
      const fs::path folder = FolderWithEarlier(file, static_cast<int>(at));
      rlimit small = old_limit;
      small.rlim_cur = at;
      ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
      bool told = false;
      try {
        file.write(folder / file.name, newer_, prompter_);
      } catch (const OsError& error) {
        told = std::string(error.what()) == CannotWriteFileMessage(folder / file.name);
      }
      ::setrlimit(RLIMIT_FSIZE, &old_limit);
      EXPECT_TRUE(told);
      EXPECT_EQ(ReadAll(folder / file.name), kept_[file.name]);
      EXPECT_EQ(FilesIn(folder), 1) << "a temporary file stayed";
    }
  }
  ::signal(SIGXFSZ, old_handler);
  EXPECT_TRUE(prompter_.messages.empty());
}

}  // namespace
}  // namespace traveno::declarations
