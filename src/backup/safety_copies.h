// The safety copies the program keeps before the operations that change a
// month wholesale (month transition, clone, the imports that replace data,
// the register purge, a restore): backup archives in the data folder's
// "salvari" folder, named "<time>-<operation>-<company>.tar" ("registru" for
// a copy of the register alone), the newest SalvariPastrate of each company
// kept. They are restored like any backup.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "backup/manifest.h"

namespace traveno::backup {

inline constexpr const char* kSafetyCopyFolder = "salvari";

std::filesystem::path SafetyCopyFolder(const std::filesystem::path& data_folder);

// Keeps a copy of the register, the company (when it has data) and the
// settings file before `operation` ("trecere", "clonare", "preluare",
// "fise", "curatare", "restaurare"); an empty code keeps the register and
// the settings alone. Then removes the company's oldest copies beyond the
// number the settings keep. Returns the copy; nothing when the data folder
// has no register yet (there is nothing to keep). Throws Error ("Copia de
// siguranta ... nu a putut fi facuta", with the reason) when the copy cannot
// be made: the operation must then not go on.
std::optional<std::filesystem::path> KeepSafetyCopy(const std::filesystem::path& data_folder,
                                                    std::string_view company_code,
                                                    std::string_view operation);
// The same for several companies in one copy, restored with `scope`.
std::optional<std::filesystem::path> KeepSafetyCopyOf(const std::filesystem::path& data_folder,
                                                      const std::vector<std::string>& companies,
                                                      BackupScope scope,
                                                      std::string_view operation);

// The safety copy of the register purge (the register and the settings),
// for Store::VerificareFoldere.
std::function<void()> PurgeSafetyCopy(const std::filesystem::path& data_folder);

struct ListedBackup {
  std::filesystem::path file;
  std::uintmax_t size = 0;
  // The manifest; nothing when it cannot be read, `problem` then says why.
  std::optional<Manifest> manifest;
  std::string problem;
};

// The safety copies of a data folder, newest first.
std::vector<ListedBackup> ListSafetyCopies(const std::filesystem::path& data_folder);

}  // namespace traveno::backup
