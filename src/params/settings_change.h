// The change of the program's settings asked in "Configurare Program": the
// password and the exit confirmation. Free of windows, so that the window
// only gathers the boxes and shows the message.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/settings.h"

namespace traveno::params {

inline constexpr const char* kOldPasswordWrong =
    "Parola nu v-a fi modificata pentru ca \r\n vechea parola nu a fost corecta !";
inline constexpr const char* kNewPasswordsDiffer =
    "Parola nu v-a fi modificata pentru ca \"Parola noua\" \r\n si \"Confirmare parola noua\" "
    "sunt diferite !";

struct SettingsChange {
  std::string old_password;
  std::string new_password;
  std::string confirmation;
  bool confirm_exit = false;
};

// Applies the change and saves the settings. The password changes only when
// the old one is right (empty when none is set) and the new one equals its
// confirmation; an empty new password removes it. The exit confirmation is
// saved either way. Returns the message telling why the password did not
// change, empty when it changed. Throws what SaveSettings throws, leaving
// `settings` as it was.
std::optional<std::string> ApplySettingsChange(const std::filesystem::path& data_folder,
                                               ProgramSettings& settings,
                                               const SettingsChange& change);

}  // namespace traveno::params
