#include "params/settings_change.h"

namespace traveno::params {

std::optional<std::string> ApplySettingsChange(const std::filesystem::path& data_folder,
                                               ProgramSettings& settings,
                                               const SettingsChange& change) {
  ProgramSettings updated = settings;
  std::optional<std::string> refusal;
  if (!settings.password.Verify(change.old_password)) {
    refusal = kOldPasswordWrong;
  } else if (change.new_password != change.confirmation) {
    refusal = kNewPasswordsDiffer;
  } else {
    updated.password = StartPassword::FromClearText(change.new_password);
  }
  updated.conf_exit = change.confirm_exit ? "Y" : "N";
  SaveSettings(data_folder, updated);
  settings = std::move(updated);
  return refusal;
}

}  // namespace traveno::params
